// Runs the benchmarks and prints the summary of their medians.

#include <benchmark/benchmark.h>

#include <iostream>

#include "bench/RenderBench.h"
#include "bench/SummaryReporter.h"

int main(int argc, char** argv) {
    bench::RegisterRenderBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary(std::cout);
    benchmark::Shutdown();
    return 0;
}
