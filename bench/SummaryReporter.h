#pragma once
// The console report, cut to the aggregates when runs are repeated, and a
// short table of the figures that matter made from the medians: the ray
// evaluation against the reference camera and the floor, the per-frame
// set-up's share of a frame, the preview's cost, and the renderer's rays
// per second on one and two threads with the scaling between them.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

namespace bench {

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter();
    void ReportRuns(const std::vector<Run>& runs) override;
    void printSummary(std::ostream& out) const;

private:
    struct Figure {
        double cpuNanoseconds = 0.0;                  // per iteration; the median when repeated
        std::map<std::string, double> counters;       // the median's counters when repeated
        double allocations = 0.0;                     // summed over every repetition
        double moduleAllocations = 0.0;
        int repetitions = 0;
    };
    const Figure* find(const std::string& name) const;
    void printRender(std::ostream& out) const;

    std::map<std::string, Figure> figures_;
};

}  // namespace bench
