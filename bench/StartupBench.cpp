// Start-up of the program: the time from starting it to its window's first paint and to the
// home page shown in the search browser, against the demo site running as a process of its
// own, and the time a bare Qt main window of the same size and title takes to its first paint
// (clipnab-bare-window), started in turns with the program in the same run. Both report their
// moments on standard error (the program with CLIPNAB_TRACE_STARTUP set); the time is taken
// here, from the start of the process. Medians of seven.
//
//   clipnab-bench-startup
#include "BenchRuns.h"
#include "SiteProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRounds = 7;
constexpr int kLimitMs = 60000;
const auto kTitle = QStringLiteral("Clipnab V2");

struct Moments
{
    double windowMs = -1;
    double homePageMs = -1;
    QString windowSize; // WIDTHxHEIGHT, as the program reports it
};

// Runs `program` until it reports the window shown and, when `untilHomePage`, the home page.
Moments startOnce(const QString &program, const QStringList &arguments, const QString &site,
                  bool untilHomePage)
{
    static const QRegularExpression shown(QStringLiteral("clipnab: window shown(?: (\\d+x\\d+))?"));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CLIPNAB_SITE"), site);
    environment.insert(QStringLiteral("CLIPNAB_TRACE_STARTUP"), QStringLiteral("1"));
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    Moments moments;
    QElapsedTimer timer;
    timer.start();
    process.setReadChannel(QProcess::StandardError);
    process.start(program, arguments);
    QByteArray seen;
    const auto done = [&] {
        return moments.windowMs >= 0 && (!untilHomePage || moments.homePageMs >= 0);
    };
    while (!done() && timer.elapsed() < kLimitMs && process.waitForReadyRead(kLimitMs)) {
        const double now = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        seen += process.readAllStandardError();
        const auto match = shown.match(QString::fromLocal8Bit(seen));
        if (match.hasMatch() && moments.windowMs < 0) {
            moments.windowMs = now;
            moments.windowSize = match.captured(1);
        }
        if (seen.contains("clipnab: home page shown") && moments.homePageMs < 0)
            moments.homePageMs = now;
    }
    process.terminate();
    process.waitForFinished(10000);
    return moments;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString dir = QCoreApplication::applicationDirPath();
    SiteProcess site;
    if (!site.start()) {
        std::fprintf(stderr, "the demo site did not start\n");
        return 1;
    }

    std::vector<double> windows;
    std::vector<double> homePages;
    std::vector<double> bareWindows;
    bool ok = true;
    for (int round = 0; round < kRounds; ++round) {
        const Moments run =
            startOnce(dir + QStringLiteral("/../bin/clipnab"), {}, site.base(), true);
        ok = ok && run.windowMs >= 0 && run.homePageMs >= 0 && !run.windowSize.isEmpty();
        if (!ok)
            break;
        const Moments bare = startOnce(dir + QStringLiteral("/clipnab-bare-window"),
                                       {run.windowSize, kTitle}, site.base(), false);
        ok = bare.windowMs >= 0;
        windows.push_back(run.windowMs);
        homePages.push_back(run.homePageMs);
        bareWindows.push_back(bare.windowMs);
    }
    const char *verdict = ok ? "ok  " : "FAIL";
    const double window = BenchRuns::median(windows);
    const double bareWindow = BenchRuns::median(bareWindows);
    std::printf("start to window shown   : %s %7.0f ms\n", verdict, window);
    std::printf("bare Qt main window     : %s %7.0f ms (same size and title)\n", verdict,
                bareWindow);
    std::printf("window shown / bare     : %s %7.2f x\n", verdict,
                bareWindow > 0 ? window / bareWindow : 0.0);
    std::printf("start to home page shown: %s %7.0f ms\n", verdict, BenchRuns::median(homePages));
    return ok ? 0 : 1;
}
