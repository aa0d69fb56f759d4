// Console output as usual, then each frame's time against the floor measured
// in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Adds the fastest repetition to a benchmark's aggregates: on a shared
// machine it is the run least disturbed by others.
void AddMinimumStatistic(benchmark::internal::Benchmark* bench);

class FrameFloorReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // The ratio table; false when a frame is over its budget.
    bool PrintRatios() const;

private:
    struct Times {
        double single = 0.0; // without repetitions
        double median = 0.0;
        double minimum = 0.0;
    };
    // Microseconds of CPU time per iteration, by benchmark.
    std::map<std::string, Times> times_;
};
