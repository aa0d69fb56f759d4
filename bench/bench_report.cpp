#include "bench/bench_report.h"

#include <algorithm>
#include <cstdio>

namespace {

// CPU time: the machine is shared, and waiting for it is not the frame's cost.
double Microseconds(const benchmark::BenchmarkReporter::Run& run)
{
    // The multiplier turns seconds into the unit.
    return run.GetAdjustedCPUTime() * benchmark::GetTimeUnitMultiplier(benchmark::kMicrosecond) /
           benchmark::GetTimeUnitMultiplier(run.time_unit);
}

struct FrameBudget {
    const char* family;
    const char* label;
    double maxRatio; // 0: no budget, reported only
};

constexpr FrameBudget FRAMES[] = {
    {"BM_PlayFrameTypical", "PlayFrame, typical position", 2.0},
    {"BM_PlayFrameWorst", "PlayFrame, worst case", 3.0},
    {"BM_EntryFrame", "EntryFrame", 0.0},
};

constexpr double FRAME_MICROSECONDS = 10000.0;

} // namespace

void AddMinimumStatistic(benchmark::internal::Benchmark* bench)
{
    bench->ComputeStatistics("min", [](const std::vector<double>& values) {
        return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
    });
}

void FrameFloorReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) {
            continue;
        }
        Times& times = times_[run.run_name.function_name];
        if (run.run_type == Run::RT_Iteration) {
            times.single = Microseconds(run);
        } else if (run.aggregate_name == "median") {
            times.median = Microseconds(run);
        } else if (run.aggregate_name == "min") {
            times.minimum = Microseconds(run);
        }
    }
}

bool FrameFloorReporter::PrintRatios() const
{
    auto clear = times_.find("BM_FloorClear");
    auto copy = times_.find("BM_FloorCopy");
    if (clear == times_.end() || copy == times_.end()) {
        std::printf("\n(no floor in this run: run BM_Floor* with the frames for the ratios)\n");
        return true;
    }
    // Repeated runs give a fastest and a median; a single run gives one time.
    auto best = [](const Times& t) { return t.minimum > 0.0 ? t.minimum : t.single; };
    auto typical = [](const Times& t) { return t.median > 0.0 ? t.median : t.single; };
    const double floorBest = best(clear->second) + best(copy->second);
    const double floorTypical = typical(clear->second) + typical(copy->second);
    std::printf("\nFloor = clear of 800x600 16-bit pixels + copy of the pixels the worst frame "
                "writes\n      = %.1f + %.1f = %.1f us fastest, %.1f us median "
                "(CPU time)\n\n",
                best(clear->second), best(copy->second), floorBest, floorTypical);
    std::printf("%-28s %9s %9s %9s %9s %7s %9s\n", "frame", "fastest", "x floor", "median",
                "x floor", "budget", "of 10 ms");
    bool within = true;
    for (const FrameBudget& frame : FRAMES) {
        auto found = times_.find(frame.family);
        if (found == times_.end()) {
            continue;
        }
        const double ratio = best(found->second) / floorBest;
        const double medianRatio = typical(found->second) / floorTypical;
        const bool over = frame.maxRatio > 0.0 && ratio > frame.maxRatio;
        within = within && !over;
        char budget[16] = "-";
        if (frame.maxRatio > 0.0) {
            std::snprintf(budget, sizeof budget, "%.1f", frame.maxRatio);
        }
        std::printf("%-28s %9.1f %9.2f %9.1f %9.2f %7s %8.2f%%%s\n", frame.label,
                    best(found->second), ratio, typical(found->second), medianRatio, budget,
                    100.0 * typical(found->second) / FRAME_MICROSECONDS, over ? "  OVER" : "");
    }
    std::printf("\nBudgets are judged on the fastest repetitions (frame and floor alike); "
                "times in microseconds.\n");
    return within;
}
