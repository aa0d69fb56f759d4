// The parts of drawing one piece by the scratch-sprite pattern, and the
// field backdrop, each alone: where a frame's time goes.
#include "bench/bench_support.h"

#include "display/display_device.h"
#include "display/sprite.h"
#include "screens/play_screen.h"
#include "screens/screen_drawing.h"

#include <benchmark/benchmark.h>

namespace {

// The flag tile, grabbed into the scratch sprite at the top-left cell.
void PrepareFlagTile()
{
    SpriteDestroy(&g_scratchSprite);
    SpriteCreate(&g_scratchSprite, 0, 0, TILE_SIZE, TILE_SIZE, 16);
    SpriteGrab(&g_scratchSprite, &g_tileAtlas, ATLAS_FLAG.x, ATLAS_FLAG.y, GRAB_PIXEL);
}

// The whole pattern, over every cell in turn.
void BM_PieceWhole(benchmark::State& state)
{
    BenchStartGame();
    BackBufferLock();
    int32_t cell = 0;
    for (auto _ : state) {
        DrawAtlasPiece(ATLAS_FLAG.x, ATLAS_FLAG.y, TILE_SIZE, TILE_SIZE, (cell % 25) * CELL_PITCH,
                       (cell / 25) * CELL_PITCH);
        cell = (cell + 1) % 625;
    }
    BackBufferUnlock();
    BenchStopGame();
}
BENCHMARK(BM_PieceWhole);

void BM_PieceDestroyCreate(benchmark::State& state)
{
    BenchStartGame();
    for (auto _ : state) {
        SpriteDestroy(&g_scratchSprite);
        SpriteCreate(&g_scratchSprite, 0, 0, TILE_SIZE, TILE_SIZE, 16);
    }
    BenchStopGame();
}
BENCHMARK(BM_PieceDestroyCreate);

void BM_PieceGrab(benchmark::State& state)
{
    BenchStartGame();
    PrepareFlagTile();
    for (auto _ : state) {
        SpriteGrab(&g_scratchSprite, &g_tileAtlas, ATLAS_FLAG.x, ATLAS_FLAG.y, GRAB_PIXEL);
    }
    BenchStopGame();
}
BENCHMARK(BM_PieceGrab);

void BM_PieceDraw(benchmark::State& state)
{
    BenchStartGame();
    PrepareFlagTile();
    BackBufferLock();
    int32_t cell = 0;
    for (auto _ : state) {
        g_scratchSprite.x = (cell % 25) * CELL_PITCH;
        g_scratchSprite.y = (cell / 25) * CELL_PITCH;
        SpriteDraw(&g_scratchSprite, g_backBits, g_backPitch, 1);
        cell = (cell + 1) % 625;
    }
    BackBufferUnlock();
    BenchStopGame();
}
BENCHMARK(BM_PieceDraw);

// The 575 x 575 backdrop every play frame starts with.
void BM_BackdropDraw(benchmark::State& state)
{
    BenchStartGame();
    BackBufferLock();
    for (auto _ : state) {
        SpriteDraw(&g_fieldBackdrop, g_backBits, g_backPitch, 1);
    }
    BackBufferUnlock();
    BenchStopGame();
}
BENCHMARK(BM_BackdropDraw)->Unit(benchmark::kMicrosecond);

} // namespace
