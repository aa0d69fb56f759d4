// The field's backdrop is painted in the page, by the data tool's own painter,
// rather than downloaded: the recipe is a few kilobytes of code, the picture a
// megabyte that hardly compresses (its grain is noise by design). The native
// build writes the same bytes from the same code; the page test compares the
// two by hash. Painting runs a few rows at a time so that the page stays
// responsive while it starts.
#include "platform/web/web_internal.h"
#include "tools/datagen/backdrop_painter.h"
#include "tools/datagen/bmp_writer.h"

#include <emscripten.h>

#include <cstdio>
#include <vector>

namespace {

// The longest the start-up keeps the browser waiting: a slow phone takes
// four or five times as long, and still stays within its 50 ms.
constexpr double START_SLICE_MS = 5.0;
constexpr int BACKDROP_ROWS_PER_PIECE = 2;
constexpr const char* BACKDROP_FILE = "/dellomar-data/Textures/back.txr";

double s_busySince = 0;

// A turn for the browser with no wait: a message to itself comes back as the
// next task, where a timer would be held back a few milliseconds each time.
// clang-format off
EM_ASYNC_JS(void, WebYieldNow, (), {
    await new Promise(function(resume) {
        if (typeof MessageChannel === "undefined") {
            setTimeout(resume, 0);
            return;
        }
        var channel = new MessageChannel();
        channel.port1.onmessage = function() {
            channel.port1.close();
            resume();
        };
        channel.port2.postMessage(0);
    });
});
// clang-format on

} // namespace

void WebTurnIfBusy()
{
    if (emscripten_get_now() - s_busySince < START_SLICE_MS) {
        return;
    }
    WebYieldNow();
    s_busySince = emscripten_get_now();
}

// A file that cannot be written leaves the backdrop missing, as a missing
// file does on every platform: the game plays on without it.
void WebPaintData()
{
    // The runtime's own start has just run in this task: the first piece waits for the next.
    WebYieldNow();
    s_busySince = emscripten_get_now();
    BackdropPainting painting = StartBackdrop();
    while (!PaintBackdropRows(painting, BACKDROP_ROWS_PER_PIECE)) {
        WebTurnIfBusy();
    }
    const std::vector<uint8_t> bytes = EncodeBmp24(painting.image);
    WebTurnIfBusy();
    std::FILE* file = std::fopen(BACKDROP_FILE, "wb");
    if (file == nullptr) {
        return;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::remove(BACKDROP_FILE);
    }
    WebTurnIfBusy();
}
