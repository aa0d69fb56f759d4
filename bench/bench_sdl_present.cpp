// Presenting one 800 x 600 frame on the SDL backend: the display seam's flip,
// which uploads the back buffer and has the renderer show it. Meant for
// SDL_VIDEODRIVER=dummy (software renderer, no window system), where it
// measures the upload and the software copy, not a graphics card.
#include "app/app_shell.h"
#include "display/display_device.h"
#include "platform/sdl/sdl_video.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// Once per program: the window class can be registered only once, and the
// benchmark function runs several times.
bool OpenGameDisplay()
{
    static const bool opened = [] {
        return OpenMainWindow(nullptr) == 0 && DisplayOpen(SCREEN_WIDTH, SCREEN_HEIGHT, 16, 0) == 1;
    }();
    return opened;
}

void DrawPattern()
{
    BackBufferLock();
    if (g_backBits == nullptr) {
        return;
    }
    const int32_t line = g_backPitch / 2;
    for (int32_t y = 0; y < g_screenHeight; ++y) {
        for (int32_t x = 0; x < g_screenWidth; ++x) {
            g_backBits[y * line + x] = static_cast<uint16_t>(PackRGB565(x, y, x ^ y));
        }
    }
    BackBufferUnlock();
}

void BM_SdlPresentFrame(benchmark::State& state)
{
    if (!OpenGameDisplay()) {
        state.SkipWithError(PlatLastError());
        return;
    }
    DrawPattern();
    // The upload and the copy alone, not the wait for the next refresh.
    SdlVideoPace(false);
    for (auto _ : state) {
        if (DisplayFlip() != 1) {
            state.SkipWithError("the flip was refused");
            break;
        }
    }
}
BENCHMARK(BM_SdlPresentFrame)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DisplayClose();
    return 0;
}
