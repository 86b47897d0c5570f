#include "MedianReporter.h"

void MedianReporter::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        if (run.error_occurred)
            continue;
        const std::string name = run.run_name.str();
        if (run.run_type == Run::RT_Iteration && !m_medians.contains(name)) {
            m_times[name] = run.GetAdjustedCPUTime();
        } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
            m_times[name] = run.GetAdjustedCPUTime();
            m_medians.insert(name);
        }
    }
}

double MedianReporter::cpuTime(const std::string &name) const
{
    const auto it = m_times.find(name);
    return it == m_times.end() ? 0.0 : it->second;
}

bool MedianReporter::runAll(int argc, char **argv)
{
    std::vector<char *> arguments(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    static char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    arguments.insert(arguments.begin() + 1, {repetitions, aggregatesOnly});
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return false;
    benchmark::RunSpecifiedBenchmarks(this);
    benchmark::Shutdown();
    return true;
}
