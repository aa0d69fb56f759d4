// The frames of both screens, without the frame wait, and the machine's floor
// for them: clearing the screen and copying the pixel volume the worst frame
// writes, as plain memset and memcpy.
#include "bench/bench_report.h"
#include "bench/bench_support.h"

#include "display/display_device.h"
#include "field/mine_field.h"
#include "platform/fake/fake_core.h"
#include "screens/entry_screen.h"
#include "screens/play_screen.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr size_t SCREEN_BYTES = 800 * 600 * 2;

void RunPlayFrames(benchmark::State& state)
{
    for (auto _ : state) {
        PlayFrame();
        // The fake keeps a record of every platform call; a game would not.
        FakeClearCallLog();
    }
}

void BM_PlayFrameTypical(benchmark::State& state)
{
    BenchStartGame();
    BenchTypicalPosition();
    int32_t open = 0;
    int32_t flags = 0;
    for (int32_t i = 0; i < fieldSize; ++i) {
        for (int32_t j = 0; j < fieldSize; ++j) {
            open += StateIsOpen(cellState[i][j]) ? 1 : 0;
            flags += cellState[i][j] == STATE_FLAGGED ? 1 : 0;
        }
    }
    RunPlayFrames(state);
    state.counters["open"] = open;
    state.counters["flags"] = flags;
    BenchStopGame();
}
BENCHMARK(BM_PlayFrameTypical)->Unit(benchmark::kMicrosecond)->Apply(AddMinimumStatistic);

void BM_PlayFrameWorst(benchmark::State& state)
{
    BenchStartGame();
    BenchWorstPosition();
    RunPlayFrames(state);
    state.counters["pixels"] = static_cast<double>(WorstFrameVolume().Total());
    BenchStopGame();
}
BENCHMARK(BM_PlayFrameWorst)->Unit(benchmark::kMicrosecond)->Apply(AddMinimumStatistic);

void BM_EntryFrame(benchmark::State& state)
{
    BenchStartGame();
    std::strcpy(g_entryText, "25");
    g_entryLength = 2;
    g_entryActive = true;
    for (auto _ : state) {
        EntryFrame(PROMPT_FIELD_SIZE);
        FakeClearCallLog();
    }
    BenchStopGame();
}
BENCHMARK(BM_EntryFrame)->Unit(benchmark::kMicrosecond)->Apply(AddMinimumStatistic);

void BM_FloorClear(benchmark::State& state)
{
    std::vector<uint8_t> screen(SCREEN_BYTES, 1);
    for (auto _ : state) {
        std::memset(screen.data(), 0, screen.size());
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(SCREEN_BYTES));
}
BENCHMARK(BM_FloorClear)->Unit(benchmark::kMicrosecond)->Apply(AddMinimumStatistic);

void BM_FloorCopy(benchmark::State& state)
{
    // Sized from the worst position itself, so the count follows the game.
    BenchStartGame();
    BenchWorstPosition();
    const FrameVolume volume = WorstFrameVolume();
    BenchStopGame();
    const auto bytes = static_cast<size_t>(volume.Total()) * 2;
    std::vector<uint8_t> from(bytes, 7);
    std::vector<uint8_t> to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.counters["pixels"] = static_cast<double>(volume.Total());
}
BENCHMARK(BM_FloorCopy)->Unit(benchmark::kMicrosecond)->Apply(AddMinimumStatistic);

} // namespace
