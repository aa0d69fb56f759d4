#include "bench/bench_support.h"
#include "display/display_device.h"
#include "display/sprite.h"
#include "screens/play_screen.h"
#include "screens/screen_drawing.h"
#include <benchmark/benchmark.h>
namespace {
void BM_PartCreateDestroy(benchmark::State& state) {
    BenchStartGame();
    for (auto _ : state) { SpriteDestroy(&g_scratchSprite); SpriteCreate(&g_scratchSprite, 0, 0, 24, 24, 16); }
    BenchStopGame();
}
BENCHMARK(BM_PartCreateDestroy);
void BM_PartGrab(benchmark::State& state) {
    BenchStartGame();
    SpriteDestroy(&g_scratchSprite); SpriteCreate(&g_scratchSprite, 0, 0, 24, 24, 16);
    for (auto _ : state) { SpriteGrab(&g_scratchSprite, &g_tileAtlas, 216, 0, GRAB_PIXEL); }
    BenchStopGame();
}
BENCHMARK(BM_PartGrab);
void BM_PartDraw(benchmark::State& state) {
    BenchStartGame();
    SpriteDestroy(&g_scratchSprite); SpriteCreate(&g_scratchSprite, 0, 0, 24, 24, 16);
    SpriteGrab(&g_scratchSprite, &g_tileAtlas, 216, 0, GRAB_PIXEL);
    BackBufferLock();
    int cell = 0;
    for (auto _ : state) { g_scratchSprite.x = (cell % 25) * 23; g_scratchSprite.y = (cell / 25) * 23; SpriteDraw(&g_scratchSprite, g_backBits, g_backPitch, 1); cell = (cell + 1) % 625; }
    BackBufferUnlock();
    BenchStopGame();
}
BENCHMARK(BM_PartDraw);
void BM_PartBackdrop(benchmark::State& state) {
    BenchStartGame();
    BackBufferLock();
    for (auto _ : state) { SpriteDraw(&g_fieldBackdrop, g_backBits, g_backPitch, 1); }
    BackBufferUnlock();
    BenchStopGame();
}
BENCHMARK(BM_PartBackdrop)->Unit(benchmark::kMicrosecond);
}
