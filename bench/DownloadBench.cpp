// Saving a large video: the program's download (locator, transfer, save) against `curl -o` of
// the same address, from the demo site running as a process of its own, into a folder on a real
// disk. Each client is a child process, so that each one's peak resident size is its own; the
// program's child also runs a heartbeat timer on its event loop (the window's, in the program)
// and reports the longest gap between two beats.
//
//   clipnab-bench-download [SIZE_MIB] [FOLDER]   (default 1024, a folder beside this program)
#include "components/BrowserComponent.h"
#include "components/network/NetworkTransfer.h"
#include "platform/Clock.h"
#include "retrieval/DownloadFlow.h"
#include "SiteProcess.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <sys/resource.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace clipnab;

namespace {

constexpr int kRounds = 3;
constexpr int kHeartbeatMs = 5;
constexpr long kTmpfsMagic = 0x01021994;

struct Run
{
    double seconds = 0;
    long peakKiB = 0;
    qint64 bytes = 0;
    double stallMs = 0;
    bool ok = false;
};

// The hidden browser's part: follows the player address and reports where it landed.
class RedirectLocator final : public BrowserComponent
{
public:
    void Navigate(const QString &address) override
    {
        QNetworkReply *reply = m_manager.get(QNetworkRequest(QUrl(address)));
        connect(reply, &QNetworkReply::finished, this, [this, reply] {
            m_location = reply->url().toString();
            reply->deleteLater();
            Q_EMIT DocumentComplete(m_location);
        });
    }
    QString LocationURL() const override { return m_location; }

private:
    QNetworkAccessManager m_manager;
    QString m_location;
};

// The child side: one download through the program's flow into `folder`; writes the longest
// gap between heartbeats (ms) to `report`.
int saveWithFlow(const QString &site, const QString &folder, const QString &report)
{
    SystemClock clock;
    RedirectLocator locator;
    NetworkTransfer transfer;
    DownloadFlow flow(clock, locator, transfer, {site, folder});

    QElapsedTimer sinceBeat;
    qint64 longestGap = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceBeat.nsecsElapsed());
        sinceBeat.start();
    });
    int status = 1;
    QObject::connect(&flow, &DownloadFlow::finished, [&](const DownloadOutcome &outcome) {
        status = outcome.kind == DownloadOutcome::Kind::Saved ? 0 : 1;
        if (status != 0)
            std::fprintf(stderr, "clipnab: %s\n", qPrintable(outcome.message));
        QCoreApplication::quit();
    });
    heartbeat.start(kHeartbeatMs);
    sinceBeat.start();
    flow.start(site + QStringLiteral("/watch?v=big"));
    QCoreApplication::exec();

    QFile out(report);
    if (out.open(QIODevice::WriteOnly))
        out.write(QByteArray::number(static_cast<double>(longestGap) / 1e6));
    return status;
}

// Runs a command as a child and measures its wall time and peak resident size.
Run measure(const QStringList &command)
{
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        QList<QByteArray> args;
        for (const QString &a : command)
            args.append(a.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    Run run;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    run.peakKiB = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--child"))
        return saveWithFlow(args[2], args[3], args[4]);

    const qint64 mib = args.size() > 1 ? args[1].toLongLong() : 1024;
    const qint64 size = mib * 1024 * 1024;
    const QString folder = args.size() > 2 ? args[2]
                                           : QCoreApplication::applicationDirPath() +
                                                 QStringLiteral("/download-bench");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    struct statfs fs
    {
    };
    if (statfs(QFile::encodeName(folder).constData(), &fs) == 0 && fs.f_type == kTmpfsMagic)
        std::fprintf(stderr, "warning: %s is in memory (tmpfs), not on a disk\n",
                     qPrintable(folder));

    SiteProcess site;
    if (!site.start({{QStringLiteral("big"), size}})) {
        std::fprintf(stderr, "the demo site did not start\n");
        return 1;
    }
    const QString url = site.videoFileAddress(QStringLiteral("big"));
    const QString theirs = QDir(folder).filePath(QStringLiteral("curl.flv"));
    const QString report = QDir(folder).filePath(QStringLiteral("stall.txt"));

    // Best of three runs each, taken in turns, so that a passing disturbance counts for neither.
    Run curl;
    Run clipnab;
    const auto keepBest = [](Run &best, const Run &run) {
        const long peak = std::max(best.peakKiB, run.peakKiB);
        const double stall = std::max(best.stallMs, run.stallMs);
        if (!best.ok || (run.ok && run.seconds < best.seconds))
            best = run;
        best.peakKiB = peak;
        best.stallMs = stall;
    };
    for (int round = 0; round < kRounds; ++round) {
        Run theirRun = measure(
            {QStringLiteral("curl"), QStringLiteral("-s"), QStringLiteral("-o"), theirs, url});
        theirRun.bytes = QFileInfo(theirs).size();
        keepBest(curl, theirRun);
        QFile::remove(theirs);

        Run ourRun = measure({args[0], QStringLiteral("--child"), site.base(), folder, report});
        const QStringList saved = QDir(folder).entryList({QStringLiteral("*.flv")}, QDir::Files);
        ourRun.bytes =
            saved.size() == 1 ? QFileInfo(QDir(folder).filePath(saved.first())).size() : 0;
        ourRun.ok = ourRun.ok && ourRun.bytes == size;
        QFile stall(report);
        if (stall.open(QIODevice::ReadOnly))
            ourRun.stallMs = stall.readAll().toDouble();
        keepBest(clipnab, ourRun);
        for (const QString &name : QDir(folder).entryList(QDir::Files))
            QFile::remove(QDir(folder).filePath(name));
    }

    const auto mibps = [](const Run &r) {
        return r.seconds > 0 ? static_cast<double>(r.bytes) / (1024.0 * 1024.0) / r.seconds : 0;
    };
    std::printf("body: %lld MiB into %s\n", static_cast<long long>(mib), qPrintable(folder));
    std::printf("curl    : %s %8.1f MiB/s  peak RSS %6.1f MiB\n", curl.ok ? "ok  " : "FAIL",
                mibps(curl), static_cast<double>(curl.peakKiB) / 1024.0);
    std::printf("clipnab : %s %8.1f MiB/s  peak RSS %6.1f MiB\n", clipnab.ok ? "ok  " : "FAIL",
                mibps(clipnab), static_cast<double>(clipnab.peakKiB) / 1024.0);
    std::printf("longest gap of the %d ms heartbeat on the event loop: %.1f ms\n", kHeartbeatMs,
                clipnab.stallMs);
    std::printf("throughput ratio clipnab/curl: %.2f\n",
                mibps(curl) > 0 ? mibps(clipnab) / mibps(curl) : 0.0);
    QDir(folder).removeRecursively();
    return clipnab.ok && curl.ok ? 0 : 1;
}
