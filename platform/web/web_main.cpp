// The page's entry: main runs the game's own loop, which gives the browser
// its turn once a frame (web_video.cpp). When the game ends, the page keeps
// its last frame, dimmed, with a line saying how to play again.
#include "platform/entry.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(void, WebShowEnded, (int exitCode), {
    if (Module.dellomarEnded) Module.dellomarEnded(exitCode);
});
// clang-format on

} // namespace

int main()
{
    WebUseFilePlaces();
    WebPaintData();
    static char instanceTag;
    int exitCode = AppMain(reinterpret_cast<PlatInstance>(&instanceTag), nullptr, "", 0);
    WebStopListening();
    WebShowEnded(exitCode);
    return exitCode;
}
