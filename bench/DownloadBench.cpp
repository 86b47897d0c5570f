// Saving a large video: the transfer component and the drain against `curl -o` of the same
// address, both as child processes so that each one's peak resident size is its own.
//
//   clipnab-bench-download [SIZE_MIB]   (default 1024)
#include "components/network/NetworkTransfer.h"
#include "DemoSite.h"
#include "retrieval/Drain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace clipnab;

namespace {

constexpr int kRounds = 3;

struct Run
{
    double seconds = 0;
    long peakKiB = 0;
    qint64 bytes = 0;
    bool ok = false;
};

// The child side: one GET through the transfer component, drained into `path`.
int saveWithTransfer(const QString &url, const QString &path)
{
    NetworkTransfer transfer;
    transfer.setURL(url);
    QSignalSpy states(&transfer, &TransferComponent::StateChanged);
    QElapsedTimer timer;
    timer.start();
    if (!transfer.Execute(QStringLiteral("Get")))
        return 3;
    for (;;) {
        if (states.isEmpty() && !states.wait(600000))
            return 4;
        const int state = states.takeFirst().first().toInt();
        if (state == static_cast<int>(TransferComponent::State::Error))
            return 5;
        if (state == static_cast<int>(TransferComponent::State::ResponseCompleted))
            break;
    }
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return 6;
    ProgressCounters progress;
    progress.max = transfer.GetHeader(QStringLiteral("Content-length")).toFloat();
    const qint64 received = timer.elapsed();
    const auto result =
        Drain::drainBody([&] { return transfer.GetChunk(Drain::kChunkSize); }, out, progress, {});
    out.close();
    std::fprintf(stderr, "clipnab : received in %lld ms, drained in %lld ms\n",
                 static_cast<long long>(received),
                 static_cast<long long>(timer.elapsed() - received));
    return result.writeFailed ? 7 : 0;
}

// Runs a command as a child and measures its wall time and peak resident size.
Run measure(const QStringList &command, const QString &output)
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
    // The site serves from its own thread while this one waits.
    wait4(pid, &status, 0, &usage);
    run.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    run.peakKiB = usage.ru_maxrss;
    run.bytes = QFileInfo(output).size();
    std::fflush(stderr);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--child"))
        return saveWithTransfer(args[2], args[3]);

    const qint64 mib = args.size() > 1 ? args[1].toLongLong() : 1024;
    const qint64 size = mib * 1024 * 1024;

    // The site lives on a thread of its own so that both clients meet the same server.
    QThread siteThread;
    DemoSite *site = nullptr;
    quint16 port = 0;
    QObject anchor;
    anchor.moveToThread(&siteThread);
    siteThread.start();
    QMetaObject::invokeMethod(
        &anchor,
        [&] {
            site = new DemoSite;
            site->addGeneratedVideo(QStringLiteral("big"), QStringLiteral("Big clip"), size);
            port = site->listen();
        },
        Qt::BlockingQueuedConnection);
    if (port == 0) {
        std::fprintf(stderr, "the demo site could not listen\n");
        return 1;
    }
    const QString url = site->baseUrl() + QStringLiteral("/get_video?video_id=big&t=") +
                        site->tokenFor(QStringLiteral("big"));

    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("clipnab.flv"));
    const QString theirs = dir.filePath(QStringLiteral("curl.flv"));
    // Best of three runs each, taken in turns, so that a passing disturbance counts for neither.
    Run curl;
    Run clipnab;
    const auto keepBest = [](Run &best, const Run &run) {
        const long peak = std::max(best.peakKiB, run.peakKiB);
        if (!best.ok || (run.ok && run.seconds < best.seconds))
            best = run;
        best.peakKiB = peak;
    };
    const QStringList curlCommand{QStringLiteral("curl"), QStringLiteral("-s"),
                                  QStringLiteral("-o"), theirs, url};
    for (int round = 0; round < kRounds; ++round) {
        keepBest(curl, measure(curlCommand, theirs));
        QFile::remove(theirs);
        keepBest(clipnab, measure({args[0], QStringLiteral("--child"), url, ours}, ours));
        QFile::remove(ours);
    }

    const auto mibps = [](const Run &r) {
        return r.seconds > 0 ? static_cast<double>(r.bytes) / (1024.0 * 1024.0) / r.seconds : 0;
    };
    std::printf("body: %lld MiB\n", static_cast<long long>(mib));
    std::printf("curl    : %s %8.1f MiB/s  peak RSS %6.1f MiB\n", curl.ok ? "ok  " : "FAIL",
                mibps(curl), static_cast<double>(curl.peakKiB) / 1024.0);
    std::printf("clipnab : %s %8.1f MiB/s  peak RSS %6.1f MiB\n",
                clipnab.ok && clipnab.bytes == size ? "ok  " : "FAIL", mibps(clipnab),
                static_cast<double>(clipnab.peakKiB) / 1024.0);
    std::printf("throughput ratio clipnab/curl: %.2f\n",
                mibps(curl) > 0 ? mibps(clipnab) / mibps(curl) : 0.0);

    QMetaObject::invokeMethod(
        site, [site] { delete site; }, Qt::BlockingQueuedConnection);
    siteThread.quit();
    siteThread.wait();
    return clipnab.ok && curl.ok ? 0 : 1;
}
