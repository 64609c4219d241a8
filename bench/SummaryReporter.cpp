#include "bench/SummaryReporter.h"

#include <fmt/format.h>
#include <fmt/ostream.h>
#include <unistd.h>

namespace bench {
namespace {

// The picture a renderer makes per frame: 1920 × 1080 pixels, 16 samples each.
constexpr double kRaysPerFrame = 1920.0 * 1080.0 * 16.0;
constexpr double kRatioToReference = 0.75;
constexpr double kRatioToFloor = 1.05;

std::string BaseName(const benchmark::BenchmarkReporter::Run& run) {
    return run.run_name.args.empty() ? run.run_name.function_name
                                     : run.run_name.function_name + "/" + run.run_name.args;
}

double CpuNanoseconds(const benchmark::BenchmarkReporter::Run& run) {
    return run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
}

double Counter(const benchmark::BenchmarkReporter::Run& run, const char* name) {
    const auto found = run.counters.find(name);
    return found == run.counters.end() ? 0.0 : found->second.value;
}

}  // namespace

// Colours only on a terminal.
SummaryReporter::SummaryReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
    std::vector<Run> shown;
    for (const Run& run : runs) {
        // Repetitions may come one at a time (interleaved), their aggregates later.
        const bool repeated = run.repetitions > 1;
        Figure& figure = figures_[BaseName(run)];
        if (run.run_type == Run::RT_Iteration) {
            figure.allocations += Counter(run, "allocs");
            figure.moduleAllocations += Counter(run, "module_allocs");
            ++figure.repetitions;
            if (!repeated) {
                figure.cpuNanoseconds = CpuNanoseconds(run);
                for (const auto& [name, counter] : run.counters) figure.counters[name] = counter.value;
                shown.push_back(run);
            }
        } else if (run.aggregate_name == "median") {
            figure.cpuNanoseconds = CpuNanoseconds(run);
            for (const auto& [name, counter] : run.counters) figure.counters[name] = counter.value;
        }
        if (run.run_type == Run::RT_Aggregate) shown.push_back(run);
    }
    ConsoleReporter::ReportRuns(shown);
}

const SummaryReporter::Figure* SummaryReporter::find(const std::string& name) const {
    const auto found = figures_.find(name);
    return found == figures_.end() ? nullptr : &found->second;
}

void SummaryReporter::printSummary(std::ostream& out) const {
    out << "\nSummary (CPU time, median of each benchmark's repetitions)\n";
    const Figure* evaluate = find("Ray/EvaluateRay");
    const Figure* reference = find("Ray/ThinLensReference");
    const Figure* floor = find("Ray/InlinedFloor");
    if (evaluate != nullptr) {
        fmt::print(out, "  EvaluateRay through the handler record  {:8.2f} ns/ray\n", evaluate->cpuNanoseconds);
    }
    if (reference != nullptr) {
        fmt::print(out, "  thin-lens reference camera              {:8.2f} ns/ray\n", reference->cpuNanoseconds);
    }
    if (floor != nullptr) {
        fmt::print(out, "  inlined lens arithmetic (floor)         {:8.2f} ns/ray\n", floor->cpuNanoseconds);
    }
    if (evaluate != nullptr && reference != nullptr && reference->cpuNanoseconds > 0.0) {
        const double ratio = evaluate->cpuNanoseconds / reference->cpuNanoseconds;
        fmt::print(out, "  EvaluateRay / reference                 {:8.3f}    target <= {:.2f}: {}\n", ratio,
                   kRatioToReference, ratio <= kRatioToReference ? "met" : "MISSED");
    }
    if (evaluate != nullptr && floor != nullptr && floor->cpuNanoseconds > 0.0) {
        const double ratio = evaluate->cpuNanoseconds / floor->cpuNanoseconds;
        fmt::print(out, "  EvaluateRay / floor                     {:8.3f}    target <= {:.2f}: {}\n", ratio,
                   kRatioToFloor, ratio <= kRatioToFloor ? "met" : "MISSED");
    }
    for (const auto& [name, label] : {std::pair{"Ray/InlinedWithLookup", "the floor with the table lookup"},
                                      std::pair{"Ray/CallWithoutLookup", "the floor behind a function pointer"}}) {
        if (const Figure* figure = find(name)) fmt::print(out, "  {:<39} {:8.2f} ns/ray\n", label, figure->cpuNanoseconds);
    }
    if (evaluate != nullptr) {
        fmt::print(out, "  heap allocations while evaluating rays  {:8.0f}    (from the module file: {:.0f}; over {} runs)\n",
                   evaluate->allocations, evaluate->moduleAllocations, evaluate->repetitions);
    }

    bool heading = false;
    for (const auto& [name, figure] : figures_) {
        if (name.rfind("SetupFrame/", 0) != 0) continue;
        if (!heading) {
            out << "\n  SetupFrame   steps  samples     us/call  ns/sample  allocs/call (module)";
            if (evaluate != nullptr) out << "  share of a 1920x1080x16 frame";
            out << '\n';
            heading = true;
        }
        const auto counter = [&figure](const char* counterName) {
            const auto found = figure.counters.find(counterName);
            return found == figure.counters.end() ? 0.0 : found->second;
        };
        const double samples = counter("samples");
        if (samples == 0.0) continue;  // the run failed
        fmt::print(out, "  {:>19}  {:>7.0f}  {:>10.2f}  {:>9.1f}  {:>11.2f} ({:.2f})", name.substr(name.rfind('/') + 1),
                   samples, figure.cpuNanoseconds / 1e3, figure.cpuNanoseconds / samples,
                   counter("allocs_per_call"), counter("module_allocs_per_call"));
        if (evaluate != nullptr) {
            const double frame = figure.cpuNanoseconds + kRaysPerFrame * evaluate->cpuNanoseconds;
            fmt::print(out, "  {:>22.5f} %", 100.0 * figure.cpuNanoseconds / frame);
        }
        out << '\n';
    }

    if (const Figure* preview = find("PreviewProjection")) {
        fmt::print(out, "\n  PreviewProjection                       {:8.1f} ns/call\n", preview->cpuNanoseconds);
    }
    printRender(out);
}

// The renderer's figures are wall-clock rates. The camera's share is an
// estimate: EvaluateRay's time per ray in its own loop over the frame's time
// per ray on one thread.
void SummaryReporter::printRender(std::ostream& out) const {
    const Figure* evaluate = find("Ray/EvaluateRay");
    bool heading = false;
    for (const auto& [name, figure] : figures_) {
        if (name.rfind("Render/", 0) != 0) continue;
        const auto counter = [&figure](const char* counterName) {
            const auto found = figure.counters.find(counterName);
            return found == figure.counters.end() ? 0.0 : found->second;
        };
        const double one = counter("rays_per_second_1");
        if (one == 0.0) continue;  // the run failed
        if (!heading) {
            out << "\n  Render (wall-clock)  Mrays/s 1 thread  2 threads  2/1 threads";
            if (evaluate != nullptr) out << "  EvaluateRay's share at 1 thread (est.)";
            out << '\n';
            heading = true;
        }
        fmt::print(out, "  {:<19}  {:>16.2f}  {:>9.2f}  {:>11.2f}", name.substr(7), one / 1e6,
                   counter("rays_per_second_2") / 1e6, counter("scaling_2_1"));
        if (evaluate != nullptr) fmt::print(out, "  {:>37.1f} %", 100.0 * evaluate->cpuNanoseconds * one / 1e9);
        out << '\n';
    }
}

}  // namespace bench
