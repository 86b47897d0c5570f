// Refresh of a 103 x 41 button in each of the styles 0 to 10, next to Qt's own push button of
// the same size rendered into an image, with the ratio per style printed at the end.

#include "controls/button/deRurara.h"
#include "MedianReporter.h"
#include "platform/widgets/PlatformContext.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>

#include <cstdio>
#include <string>

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

void printRatios(const MedianReporter &reporter)
{
    const double qt = reporter.cpuTime(kQtButton);
    if (qt <= 0)
        return;
    std::printf("\nRefresh CPU time relative to Qt's push button (%.0f ns):\n", qt);
    for (int style = 0; style <= kLastStyle; ++style) {
        const double time = reporter.cpuTime("ButtonRefresh/" + std::to_string(style));
        if (time > 0)
            std::printf("  style %d: %8.0f ns  ratio %.2f\n", style, time, time / qt);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MedianReporter reporter;
    if (!reporter.runAll(argc, argv))
        return 1;
    printRatios(reporter);
    return 0;
}
