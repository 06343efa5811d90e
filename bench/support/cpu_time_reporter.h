#pragma once

// Prints the runs as the console does and keeps each benchmark's CPU time per iteration, for
// the ratios a program prints at its end: CPU time, because other programs may share the
// machine's cores. A benchmark run with repetitions is kept by its median, under its name
// without arguments; one run once, under its whole name.

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

namespace kelmor::bench {

class CpuTimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                times[run.run_name.function_name] = run.GetAdjustedCPUTime();
            else if (run.run_type == Run::RT_Iteration && run.repetitions <= 1)
                times[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
    }
    std::map<std::string, double> times;
};

} // namespace kelmor::bench
