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

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The longest the page's work in pieces (the start, a file opened, a picture
// converted whole) keeps the browser waiting: a slow phone takes four or five
// times as long, and still stays within its 50 ms.
constexpr double START_SLICE_MS = 5.0;
// A piece must stay short even while the browser still runs the code
// unoptimised (its first calls) and shares the processor with the rest of
// the start: one painted row, a few encoded ones, 64 KB written.
constexpr int BACKDROP_ROWS_PER_PIECE = 1;
constexpr int ENCODED_ROWS_PER_PIECE = 16;
constexpr size_t WRITTEN_BYTES_PER_PIECE = 64 * 1024;
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

void WebNoteTurnGiven()
{
    s_busySince = emscripten_get_now();
}

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
    BmpEncoding encoding = StartBmp24(painting.image);
    while (!EncodeBmp24Rows(encoding, ENCODED_ROWS_PER_PIECE)) {
        WebTurnIfBusy();
    }
    WebTurnIfBusy();
    std::FILE* file = std::fopen(BACKDROP_FILE, "wb");
    if (file == nullptr) {
        return;
    }
    const std::vector<uint8_t>& bytes = encoding.bytes;
    bool written = true;
    for (size_t at = 0; written && at < bytes.size(); at += WRITTEN_BYTES_PER_PIECE) {
        const size_t count = std::min(WRITTEN_BYTES_PER_PIECE, bytes.size() - at);
        written = std::fwrite(bytes.data() + at, 1, count, file) == count;
        WebTurnIfBusy();
    }
    if (std::fclose(file) != 0 || !written) {
        std::remove(BACKDROP_FILE);
    }
    WebTurnIfBusy();
}
