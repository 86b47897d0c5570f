// Refresh of a 103 x 41 button in each of the styles 0 to 10, next to Qt's own push button of
// the same size rendered into an image, with the ratio per style printed at the end.

#include "controls/button/deRurara.h"
#include "platform/widgets/PlatformContext.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 103;
constexpr int kHeight = 41;
constexpr int kLastStyle = 10;
const char *const kQtButton = "QtPushButtonRender";

void ButtonRefresh(benchmark::State &state)
{
    clipnab::PlatformContext context;
    clipnab::deRurara button(context);
    button.initProperties();
    button.resize(kWidth, kHeight);
    button.writeCaption(QStringLiteral("Download"));
    button.writeStyle(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        button.Refresh();
        benchmark::DoNotOptimize(button.surfaceImage().constBits());
    }
}
BENCHMARK(ButtonRefresh)->DenseRange(0, kLastStyle);

void QtPushButtonRender(benchmark::State &state)
{
    QPushButton button(QStringLiteral("Download"));
    button.resize(kWidth, kHeight);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        button.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(QtPushButtonRender);

// Keeps each run's CPU time per iteration (steadier than wall time on a busy machine) for the
// ratio table; with repetitions, the median.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            if (run.run_type == Run::RT_Iteration && !m_medians.contains(run.run_name.str()))
                m_times[run.run_name.str()] = run.GetAdjustedCPUTime();
            else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_times[run.run_name.str()] = run.GetAdjustedCPUTime();
                m_medians.insert(run.run_name.str());
            }
        }
    }

    void printRatios() const
    {
        const auto qt = m_times.find(kQtButton);
        if (qt == m_times.end() || qt->second <= 0)
            return;
        std::printf("\nRefresh CPU time relative to Qt's push button (%.0f ns):\n", qt->second);
        for (int style = 0; style <= kLastStyle; ++style) {
            const auto it = m_times.find("ButtonRefresh/" + std::to_string(style));
            if (it != m_times.end())
                std::printf("  style %d: %8.0f ns  ratio %.2f\n", style, it->second,
                            it->second / qt->second);
        }
    }

private:
    std::map<std::string, double> m_times;
    std::set<std::string> m_medians;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Five repetitions and their median, unless the command line says otherwise.
    std::vector<char *> arguments(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    static char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    arguments.insert(arguments.begin() + 1, {repetitions, aggregatesOnly});
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
