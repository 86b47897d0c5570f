// The download queue under load, against the demo site running as a process of its own, into a
// folder on a real disk:
//  - four large videos saved at once by `clipnab --save A B C D --jobs 4` against four `curl -o`
//    run together: the ratio of total throughput and the program's peak resident size (VmHWM
//    of its own process, read while it runs; the browser engine's helper processes are not
//    counted) and the longest its event loop stood still (it reports that with
//    CLIPNAB_TRACE_STALLS set);
//  - many small videos from `--batch-file - --jobs 4`: every file exact and the resident size
//    after the first ten saved against the size at the end.
// Every file the program saves is compared with curl's copy of the same video.
//
//   clipnab-bench-queue [LARGE_MIB] [SMALL_COUNT] [SMALL_KIB] [FOLDER]
//   (default 1024 MiB, 200 videos of 64 KiB, a folder beside this program)
#include "BenchRuns.h"
#include "SiteProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kLarge = 4;
constexpr int kJobs = 4;
constexpr int kRounds = 2;
constexpr int kLimitMs = 1800000;
constexpr int kSampleMs = 20;
constexpr int kEarlyCount = 10;
constexpr double kThroughputTarget = 0.9;
constexpr double kPeakTargetMiB = 64;
constexpr double kStallTargetMs = 50;
constexpr double kGrowthLimit = 0.10;

// A field of /proc/PID/status in KiB; -1 when the process is gone.
long statusKiB(qint64 pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = field + ':';
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(prefix))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// A run of the program: wall time, its own peak resident size, its resident size after the
// first saves and at the end.
struct ProgramRun
{
    double seconds = -1;
    long peakKiB = 0;
    long earlyKiB = 0;
    long lastKiB = 0;
    int saved = 0;
    double stallMs = -1; // the longest the program's event loop stood still
};

// Runs the program with `arguments` to its end, `input` on its standard input, sampling its
// status as it goes; the saved paths it prints on standard output are counted.
ProgramRun runProgram(const QStringList &arguments, const QByteArray &input,
                      const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setReadChannel(QProcess::StandardOutput);
    ProgramRun run;
    QTimer sampler;
    const auto sample = [&] {
        if (const long peak = statusKiB(process.processId(), "VmHWM"); peak > 0)
            run.peakKiB = std::max(run.peakKiB, peak);
    };
    QObject::connect(&sampler, &QTimer::timeout, sample);
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
        while (process.canReadLine()) {
            process.readLine();
            ++run.saved;
            const long now = statusKiB(process.processId(), "VmRSS");
            if (run.saved == kEarlyCount)
                run.earlyKiB = now;
            if (now > 0)
                run.lastKiB = now;
            sample();
        }
    });
    QElapsedTimer timer;
    timer.start();
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/clipnab"),
                  arguments);
    if (!process.waitForStarted())
        return run;
    sampler.start(kSampleMs);
    process.write(input);
    process.closeWriteChannel();
    const bool ended = process.waitForFinished(kLimitMs);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        run.seconds = seconds;
    const QByteArray errors = process.readAllStandardError();
    const QByteArray stallLine = "longest event-loop stall ";
    if (const qsizetype at = errors.lastIndexOf(stallLine); at >= 0)
        run.stallMs = errors.mid(at + stallLine.size()).split(' ').value(0).toDouble();
    return run;
}

// Wall seconds of a shell command; negative when it failed.
double timedShell(const QString &command)
{
    QProcess shell;
    return BenchRuns::wallSeconds(shell, QStringLiteral("sh"), {QStringLiteral("-c"), command},
                                  kLimitMs);
}

void clear(const QString &folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

double mib(double kib)
{
    return kib / 1024.0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qint64 largeMiB = args.size() > 1 ? args[1].toLongLong() : 1024;
    const int smallCount = args.size() > 2 ? args[2].toInt() : 200;
    const qint64 smallKiB = args.size() > 3 ? args[3].toLongLong() : 64;
    const QString work =
        args.size() > 4 ? args[4]
                        : QCoreApplication::applicationDirPath() + QStringLiteral("/queue-bench");
    if (largeMiB < 1 || smallCount < kEarlyCount || smallKiB < 1) {
        std::fprintf(stderr, "usage: %s [LARGE_MIB] [SMALL_COUNT >= %d] [SMALL_KIB] [FOLDER]\n",
                     qPrintable(args[0]), kEarlyCount);
        return 1;
    }
    const qint64 largeSize = largeMiB * 1024 * 1024;
    const QString ours = QDir(work).filePath(QStringLiteral("clipnab"));
    const QString theirs = QDir(work).filePath(QStringLiteral("curl"));
    clear(work);

    QList<std::pair<QString, qint64>> videos;
    for (int i = 0; i < kLarge; ++i)
        videos.append({QStringLiteral("q%1").arg(i), largeSize});
    for (int i = 0; i < smallCount; ++i)
        videos.append({QStringLiteral("s%1").arg(i), smallKiB * 1024});
    SiteProcess site;
    if (!site.start(videos)) {
        std::fprintf(stderr, "the demo site did not start\n");
        return 1;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The program's history goes into the work folder, not the user's.
    environment.insert(QStringLiteral("XDG_DATA_HOME"),
                       QDir(work).filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("CLIPNAB_TRACE_STALLS"), QStringLiteral("1"));
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QStringList common{QStringLiteral("--site"), site.base(),
                             QStringLiteral("--download-dir"), ours, QStringLiteral("--save")};

    // Four large videos at once. Best of the rounds each, taken in turns.
    QStringList largeAddresses;
    QString curlTogether;
    for (int i = 0; i < kLarge; ++i) {
        const QString id = QStringLiteral("q%1").arg(i);
        largeAddresses << site.base() + QStringLiteral("/watch?v=") + id;
        curlTogether += QStringLiteral("curl -sf -o %1 %2 & p%3=$!; ")
                            .arg(quoted(QDir(theirs).filePath(id + QStringLiteral(".flv"))),
                                 quoted(site.videoFileAddress(id)))
                            .arg(i);
    }
    for (int i = 0; i < kLarge; ++i)
        curlTogether += QStringLiteral("wait $p%1 && ").arg(i);
    curlTogether += QStringLiteral("true");

    double curlBest = -1;
    double curlSyncedBest = -1;
    ProgramRun large;
    bool largeExact = true;
    for (int round = 0; round < kRounds; ++round) {
        clear(theirs);
        const double curl = timedShell(curlTogether);
        const double synced = timedShell(QStringLiteral("sync %1/*").arg(quoted(theirs)));
        if (curl >= 0 && (curlBest < 0 || curl < curlBest))
            curlBest = curl;
        if (curl >= 0 && synced >= 0 && (curlSyncedBest < 0 || curl + synced < curlSyncedBest))
            curlSyncedBest = curl + synced;
        clear(ours);
        const ProgramRun run = runProgram(
            common + largeAddresses + QStringList{QStringLiteral("--jobs"), QString::number(kJobs)},
            {}, environment);
        if (run.seconds >= 0 && (large.seconds < 0 || run.seconds < large.seconds))
            large.seconds = run.seconds;
        large.peakKiB = std::max(large.peakKiB, run.peakKiB);
        large.stallMs = std::max(large.stallMs, run.stallMs);
        // The files are read once, in the last round: a second read of gigabytes says nothing.
        if (round == kRounds - 1) {
            const QStringList saved = BenchRuns::folderContents(ours);
            largeExact = saved.size() == kLarge && saved == BenchRuns::folderContents(theirs);
        }
        largeExact = largeExact && curl >= 0 && run.seconds >= 0 && run.saved == kLarge;
        std::printf("round %d: four curl %7.2f s (%7.2f s with sync)  clipnab %7.2f s\n", round + 1,
                    curl, curl + synced, run.seconds);
        std::fflush(stdout);
    }
    clear(ours);
    clear(theirs);

    // Many small videos from a batch on standard input, against curl four at a time.
    QByteArray batch;
    QByteArray pairs;
    for (int i = 0; i < smallCount; ++i) {
        const QString id = QStringLiteral("s%1").arg(i);
        batch += (site.base() + QStringLiteral("/watch?v=") + id + QLatin1Char('\n')).toUtf8();
        pairs += (QDir(theirs).filePath(id + QStringLiteral(".flv")) + QLatin1Char(' ') +
                  site.videoFileAddress(id) + QLatin1Char('\n'))
                     .toUtf8();
    }
    QFile pairsFile(QDir(work).filePath(QStringLiteral("pairs.txt")));
    if (!pairsFile.open(QIODevice::WriteOnly) || pairsFile.write(pairs) != pairs.size())
        return 1;
    pairsFile.close();
    const double smallCurl = timedShell(QStringLiteral("xargs -P%1 -n2 curl -sf -o < %2")
                                            .arg(kJobs)
                                            .arg(quoted(pairsFile.fileName())));
    const ProgramRun small =
        runProgram(common + QStringList{QStringLiteral("--batch-file"), QStringLiteral("-"),
                                        QStringLiteral("--jobs"), QString::number(kJobs)},
                   batch, environment);
    const QStringList smallSaved = BenchRuns::folderContents(ours);
    const bool smallExact = smallCurl >= 0 && small.seconds >= 0 && small.saved == smallCount &&
                            smallSaved.size() == smallCount &&
                            smallSaved == BenchRuns::folderContents(theirs);
    QDir(work).removeRecursively();

    const double totalMiB = static_cast<double>(kLarge * largeMiB);
    const double ourRate = large.seconds > 0 ? totalMiB / large.seconds : 0;
    const double curlRate = curlBest > 0 ? totalMiB / curlBest : 0;
    const double syncedRate = curlSyncedBest > 0 ? totalMiB / curlSyncedBest : 0;
    const double ratio = curlRate > 0 ? ourRate / curlRate : 0;
    const double peak = mib(static_cast<double>(large.peakKiB));
    const double growth = small.earlyKiB > 0 ? static_cast<double>(small.lastKiB - small.earlyKiB) /
                                                   static_cast<double>(small.earlyKiB)
                                             : 1;
    std::printf("%d videos of %lld MiB at once, best of %d rounds\n", kLarge,
                static_cast<long long>(largeMiB), kRounds);
    std::printf("four curl          : %s %8.1f MiB/s (%8.1f MiB/s with sync)\n",
                largeExact ? "ok  " : "FAIL", curlRate, syncedRate);
    std::printf("clipnab --jobs %d   : %s %8.1f MiB/s\n", kJobs, largeExact ? "ok  " : "FAIL",
                ourRate);
    std::printf("throughput ratio clipnab/curl: %.2f (target at least %.1f: %s); against curl "
                "then sync: %.2f\n",
                ratio, kThroughputTarget, ratio >= kThroughputTarget ? "PASS" : "FAIL",
                syncedRate > 0 ? ourRate / syncedRate : 0.0);
    std::printf("clipnab peak RSS   : %8.1f MiB (target below %.0f MiB: %s)\n", peak,
                kPeakTargetMiB, peak > 0 && peak < kPeakTargetMiB ? "PASS" : "FAIL");
    std::printf("longest stall      : %8.1f ms (target below %.0f ms: %s)\n", large.stallMs,
                kStallTargetMs,
                large.stallMs >= 0 && large.stallMs < kStallTargetMs ? "PASS" : "FAIL");
    std::printf("%d videos of %lld KiB from --batch-file -, %d at once\n", smallCount,
                static_cast<long long>(smallKiB), kJobs);
    std::printf("saved exact        : %s %d of %d  (clipnab %.2f s, xargs -P%d curl %.2f s)\n",
                smallExact ? "ok  " : "FAIL", static_cast<int>(smallSaved.size()), smallCount,
                small.seconds, kJobs, smallCurl);
    std::printf("RSS after %d saved : %8.1f MiB, at the end %8.1f MiB, growth %+.1f%% (target "
                "within %.0f%%: %s)\n",
                kEarlyCount, mib(static_cast<double>(small.earlyKiB)),
                mib(static_cast<double>(small.lastKiB)), growth * 100, kGrowthLimit * 100,
                std::abs(growth) <= kGrowthLimit ? "PASS" : "FAIL");
    return largeExact && smallExact ? 0 : 1;
}
