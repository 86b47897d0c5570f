// Full redraw of a main-window-sized panel against Qt's own gradient fill of the same area.

#include "controls/panel/XPContainer.h"
#include "platform/widgets/PlatformContext.h"

#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 615;
constexpr int kHeight = 427;

void PanelFullRedraw(benchmark::State &state)
{
    clipnab::PlatformContext context;
    clipnab::XPContainer panel(context);
    panel.initProperties();
    panel.resize(kWidth, kHeight);
    panel.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        // Every property write redraws the whole panel.
        panel.writeStyle(0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(PanelFullRedraw);

void QtGradientFill(benchmark::State &state)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QLinearGradient gradient(0, 0, 0, kHeight);
    gradient.setColorAt(0, QColor(239, 244, 252));
    gradient.setColorAt(1, QColor(220, 232, 250));
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), gradient);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(QtGradientFill);

// Keeps each benchmark's CPU time per iteration (steadier than wall time on a busy machine)
// so the two can be compared at the end; with repetitions, the median.
class RecordingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
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

    double time(const std::string &name) const
    {
        const auto it = m_times.find(name);
        return it == m_times.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> m_times;
    std::set<std::string> m_medians;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    // Five repetitions and their median, unless the command line says otherwise.
    std::vector<char *> arguments(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    static char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    arguments.insert(arguments.begin() + 1, {repetitions, aggregatesOnly});
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double panel = reporter.time("PanelFullRedraw");
    const double qt = reporter.time("QtGradientFill");
    if (panel > 0.0 && qt > 0.0)
        std::printf("panel full redraw / Qt gradient fill, CPU time (%dx%d): %.2f\n", kWidth,
                    kHeight, panel / qt);
    return 0;
}
