// Full redraw of a main-window-sized panel against Qt's own gradient fill of the same area.

#include "controls/panel/XPContainer.h"
#include "MedianReporter.h"
#include "platform/widgets/PlatformContext.h"

#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>

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

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    MedianReporter reporter;
    if (!reporter.runAll(argc, argv))
        return 1;

    const double panel = reporter.cpuTime("PanelFullRedraw");
    const double qt = reporter.cpuTime("QtGradientFill");
    if (panel > 0.0 && qt > 0.0)
        std::printf("panel full redraw / Qt gradient fill, CPU time (%dx%d): %.2f\n", kWidth,
                    kHeight, panel / qt);
    return 0;
}
