// The board rules and the loaders of the game folder's files.
#include "bench/bench_support.h"

#include "display/bitmap_loader.h"
#include "field/field_rules.h"
#include "field/mine_field.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_system.h"
#include "sound/sound_effects.h"

#include <benchmark/benchmark.h>

namespace {

void BM_GenerateField625(benchmark::State& state)
{
    BenchStartGame();
    fieldSize = 25;
    g_mineCount = 625;
    for (auto _ : state) {
        FreeField();
        GenerateField();
        benchmark::DoNotOptimize(cellValue);
    }
    BenchStopGame();
}
BENCHMARK(BM_GenerateField625)->Unit(benchmark::kMicrosecond);

void BM_FloodOpenEmpty(benchmark::State& state)
{
    BenchStartGame();
    FreeField();
    fieldSize = 25;
    g_mineCount = 0;
    GenerateField();
    for (auto _ : state) {
        state.PauseTiming();
        for (int32_t i = 0; i < fieldSize; ++i) {
            for (int32_t j = 0; j < fieldSize; ++j) {
                cellState[i][j] = STATE_HIDDEN;
            }
        }
        state.ResumeTiming();
        FloodOpen(fieldSize / 2, fieldSize / 2);
        benchmark::ClobberMemory();
    }
    BenchStopGame();
}
BENCHMARK(BM_FloodOpenEmpty)->Unit(benchmark::kMicrosecond);

// The scan every frame makes until the field is won: all mines flagged but
// the last, so it runs to the end.
void BM_IsFieldCleared(benchmark::State& state)
{
    BenchStartGame();
    int32_t lastMineX = -1;
    int32_t lastMineY = -1;
    for (int32_t i = 0; i < fieldSize; ++i) {
        for (int32_t j = 0; j < fieldSize; ++j) {
            if (cellValue[i][j] == MINE) {
                cellState[i][j] = STATE_FLAGGED;
                lastMineX = i;
                lastMineY = j;
            }
        }
    }
    if (lastMineX >= 0) {
        cellState[lastMineX][lastMineY] = STATE_HIDDEN;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(IsFieldCleared());
    }
    BenchStopGame();
}
BENCHMARK(BM_IsFieldCleared);

void LoadPicture(benchmark::State& state, const char* path)
{
    BenchStartGame();
    Bitmap bitmap{};
    for (auto _ : state) {
        if (BitmapLoad(&bitmap, path) != 1) {
            state.SkipWithError("picture did not load");
            break;
        }
        FakeClearCallLog();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bitmap.infoHeader.biWidth *
                            bitmap.infoHeader.biHeight * 2);
    BitmapUnload(&bitmap);
    BenchStopGame();
}

void BM_BitmapLoadAtlas(benchmark::State& state)
{
    LoadPicture(state, "Textures\\txtr.txr");
}
BENCHMARK(BM_BitmapLoadAtlas)->Unit(benchmark::kMicrosecond);

void BM_BitmapLoadBackdrop(benchmark::State& state)
{
    LoadPicture(state, "Textures\\back.txr");
}
BENCHMARK(BM_BitmapLoadBackdrop)->Unit(benchmark::kMicrosecond);

// The three sounds the game loads at start-up, in its order; the slots are
// given back between passes, outside the timing.
void BM_SoundLoadWav(benchmark::State& state)
{
    BenchStartGame();
    for (auto _ : state) {
        state.PauseTiming();
        SoundDeleteAll();
        SoundOpen();
        FakeClearCallLog();
        state.ResumeTiming();
        for (const char* path : {"Sounds\\wd.wav", "Sounds\\bng.wav", "Sounds\\clk.wav"}) {
            if (SoundLoadWav(path, SOUND_LOAD_FLAGS) == SOUND_NONE) {
                state.SkipWithError("sound did not load");
            }
        }
    }
    BenchStopGame();
}
BENCHMARK(BM_SoundLoadWav)->Unit(benchmark::kMicrosecond);

} // namespace
