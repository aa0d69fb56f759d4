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

// The longest the start-up keeps the browser waiting: well inside the 50 ms
// a slow phone may take for what a desktop does in a fifth of it.
constexpr double START_SLICE_MS = 8.0;
constexpr int BACKDROP_ROWS_PER_PIECE = 4;
constexpr const char* BACKDROP_FILE = "/dellomar-data/Textures/back.txr";

double s_busySince = 0;

} // namespace

void WebTurnIfBusy()
{
    if (emscripten_get_now() - s_busySince < START_SLICE_MS) {
        return;
    }
    emscripten_sleep(0);
    s_busySince = emscripten_get_now();
}

// A file that cannot be written leaves the backdrop missing, as a missing
// file does on every platform: the game plays on without it.
void WebPaintData()
{
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
