// Console output as usual, then each frame's time against the floor measured
// in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

class FrameFloorReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // The ratio table; false when a frame is over its budget.
    bool PrintRatios() const;

private:
    // Microseconds per iteration by benchmark family (median when repeated).
    std::map<std::string, double> times_;
    std::map<std::string, bool> fromMedian_;
};
