#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <string>
#include <vector>

// Google Benchmark's console report that also keeps each benchmark's CPU time per iteration
// (steadier than wall time on a busy machine), for ratios printed at the end; with
// repetitions, their median.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override;
    // 0 when the benchmark did not run.
    double cpuTime(const std::string &name) const;

    // Runs the benchmarks the command line selects, five repetitions each and their median
    // unless it says otherwise; false on an argument Google Benchmark does not know.
    bool runAll(int argc, char **argv);

private:
    std::map<std::string, double> m_times;
    std::set<std::string> m_medians;
};
