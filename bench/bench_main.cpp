// The headless benchmarks, with the frame-to-floor table after the usual
// output. Exit status 0 even when a frame is over budget: benchmarks report,
// they do not judge.
#include "bench/bench_report.h"

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    FrameFloorReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
