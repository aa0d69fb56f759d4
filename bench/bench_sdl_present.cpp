// Presenting one 800 x 600 frame on the SDL backend: the display seam's flip,
// which compares the back buffer with the picture last shown and puts what
// changed on the window: a whole new picture, a picture where only the lamp
// moved, and an unchanged picture. Meant for SDL_VIDEODRIVER=dummy (the
// window's own surface in memory, no window system), where it measures the
// comparison, the scaling and the copy, not a graphics card.
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

// The pattern, shifted by `phase`, with a 120 x 120 block (the lamp) at `lampX`.
void DrawPattern(int32_t phase, int32_t lampX)
{
    BackBufferLock();
    if (g_backBits == nullptr) {
        return;
    }
    const int32_t line = g_backPitch / 2;
    for (int32_t y = 0; y < g_screenHeight; ++y) {
        for (int32_t x = 0; x < g_screenWidth; ++x) {
            const bool lamp = x >= lampX && x < lampX + 120 && y >= 200 && y < 320;
            g_backBits[y * line + x] = static_cast<uint16_t>(
                lamp ? 0xFFE0 : PackRGB565(x + phase, y, x ^ y));
        }
    }
    BackBufferUnlock();
}

// Each flip shows the picture as `next` draws it for that iteration.
void Flips(benchmark::State& state, void (*next)(int64_t iteration))
{
    if (!OpenGameDisplay()) {
        state.SkipWithError(PlatLastError());
        return;
    }
    // The work alone, not the wait for the next refresh.
    SdlVideoPace(false);
    int64_t iteration = 0;
    for (auto _ : state) {
        state.PauseTiming();
        next(iteration++);
        state.ResumeTiming();
        if (DisplayFlip() != 1) {
            state.SkipWithError("the flip was refused");
            break;
        }
    }
}

void BM_SdlPresentWholeChange(benchmark::State& state)
{
    Flips(state, [](int64_t iteration) { DrawPattern(static_cast<int32_t>(iteration % 2), 300); });
}
BENCHMARK(BM_SdlPresentWholeChange)->Unit(benchmark::kMicrosecond);

void BM_SdlPresentLampMoved(benchmark::State& state)
{
    Flips(state,
          [](int64_t iteration) { DrawPattern(0, 300 + static_cast<int32_t>(iteration % 2) * 5); });
}
BENCHMARK(BM_SdlPresentLampMoved)->Unit(benchmark::kMicrosecond);

void BM_SdlPresentUnchanged(benchmark::State& state)
{
    Flips(state, [](int64_t) { DrawPattern(0, 300); });
}
BENCHMARK(BM_SdlPresentUnchanged)->Unit(benchmark::kMicrosecond);

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
