#include "bench/bench_report.h"

#include <cstdio>

namespace {

double Microseconds(const benchmark::BenchmarkReporter::Run& run)
{
    // CPU time: the machine is shared, and waiting for it is not the frame's cost.
    // The multiplier turns seconds into the unit.
    return run.GetAdjustedCPUTime() * benchmark::GetTimeUnitMultiplier(benchmark::kMicrosecond) /
           benchmark::GetTimeUnitMultiplier(run.time_unit);
}

struct FrameBudget {
    const char* family;
    const char* label;
    double maxRatio; // 0: no budget, reported only
};

constexpr FrameBudget kFrames[] = {
    {"BM_PlayFrameTypical", "PlayFrame, typical position", 2.0},
    {"BM_PlayFrameWorst", "PlayFrame, worst case", 3.0},
    {"BM_EntryFrame", "EntryFrame", 0.0},
};

constexpr double FRAME_MICROSECONDS = 10000.0;

} // namespace

void FrameFloorReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) {
            continue;
        }
        const std::string family = run.run_name.function_name;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (median || (run.run_type == Run::RT_Iteration && !fromMedian_[family])) {
            times_[family] = Microseconds(run);
            fromMedian_[family] = median;
        }
    }
}

bool FrameFloorReporter::PrintRatios() const
{
    auto clear = times_.find("BM_FloorClear");
    auto copy = times_.find("BM_FloorCopy");
    if (clear == times_.end() || copy == times_.end()) {
        std::printf("\n(no floor measured in this run: run BM_Floor* with the frames)\n");
        return true;
    }
    const double floor = clear->second + copy->second;
    std::printf("\nFloor = clear 800x600x16 bit (%.1f us) + copy of the worst frame's pixels "
                "(%.1f us) = %.1f us\n\n",
                clear->second, copy->second, floor);
    std::printf("%-30s %10s %8s %8s %10s\n", "frame", "time us", "x floor", "budget",
                "of 10 ms");
    bool within = true;
    for (const FrameBudget& frame : kFrames) {
        auto found = times_.find(frame.family);
        if (found == times_.end()) {
            continue;
        }
        const double ratio = found->second / floor;
        const bool over = frame.maxRatio > 0.0 && ratio > frame.maxRatio;
        within = within && !over;
        char budget[16] = "-";
        if (frame.maxRatio > 0.0) {
            std::snprintf(budget, sizeof budget, "%.1f", frame.maxRatio);
        }
        std::printf("%-30s %10.1f %8.2f %8s %9.2f%%%s\n", frame.label, found->second, ratio,
                    budget, 100.0 * found->second / FRAME_MICROSECONDS, over ? "  OVER" : "");
    }
    return within;
}
