// Saving many videos at once: `clipnab --save --batch-file LIST --jobs 4` against curl fetching
// the same video files four at a time (`xargs -P4`), from the demo site running as a process of
// its own, into a folder on a real disk. Both must save every file exact; the figure is the
// ratio of their wall times, best of three each, taken in turns. The program syncs each video
// to disk before it names it; curl leaves its files to the page cache, so the time of syncing
// curl's files afterwards is shown beside it.
//
//   clipnab-bench-batch [COUNT] [SIZE_KIB] [FOLDER]   (default 100 videos of 4096 KiB)
#include "BenchRuns.h"
#include "SiteProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRounds = 3;
constexpr int kJobs = 4;
constexpr int kLimitMs = 600000;

// Wall seconds of `program` run to its end, its output dropped; negative when it failed.
double timed(const QString &program, const QStringList &arguments,
             const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return BenchRuns::wallSeconds(process, program, arguments, kLimitMs);
}

void clear(const QString &folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? args[1].toInt() : 100;
    const qint64 size = (args.size() > 2 ? args[2].toLongLong() : 4096) * 1024;
    const QString work =
        args.size() > 3 ? args[3]
                        : QCoreApplication::applicationDirPath() + QStringLiteral("/batch-bench");
    const QString ours = QDir(work).filePath(QStringLiteral("clipnab"));
    const QString theirs = QDir(work).filePath(QStringLiteral("curl"));
    clear(work);

    QList<std::pair<QString, qint64>> videos;
    for (int i = 0; i < count; ++i)
        videos.append({QStringLiteral("b%1").arg(i), size});
    SiteProcess site;
    if (count < 1 || size < 1 || !site.start(videos)) {
        std::fprintf(stderr, "the demo site did not start\n");
        return 1;
    }
    // The batch file for the program; "FILE ADDRESS" pairs for xargs and curl.
    QFile list(QDir(work).filePath(QStringLiteral("list.txt")));
    QFile pairs(QDir(work).filePath(QStringLiteral("pairs.txt")));
    if (!list.open(QIODevice::WriteOnly) || !pairs.open(QIODevice::WriteOnly))
        return 1;
    for (int i = 0; i < count; ++i) {
        const QString id = QStringLiteral("b%1").arg(i);
        list.write((site.base() + QStringLiteral("/watch?v=") + id + QLatin1Char('\n')).toUtf8());
        pairs.write((QDir(theirs).filePath(id + QStringLiteral(".flv")) + QLatin1Char(' ') +
                     site.videoFileAddress(id) + QLatin1Char('\n'))
                        .toUtf8());
    }
    list.close();
    pairs.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The program's history goes into the work folder, not the user's.
    environment.insert(QStringLiteral("XDG_DATA_HOME"),
                       QDir(work).filePath(QStringLiteral("data")));
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString program =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/clipnab");

    double curlBest = -1;
    double curlSyncedBest = -1;
    double clipnabBest = -1;
    bool exact = true;
    const auto keepBest = [](double &best, double run) {
        if (run >= 0 && (best < 0 || run < best))
            best = run;
    };
    for (int round = 0; round < kRounds; ++round) {
        clear(theirs);
        const double curl = timed(
            QStringLiteral("sh"),
            {QStringLiteral("-c"),
             QStringLiteral("xargs -P%1 -n2 curl -sf -o < '%2'").arg(kJobs).arg(pairs.fileName())},
            environment);
        keepBest(curlBest, curl);
        const double synced =
            timed(QStringLiteral("sh"),
                  {QStringLiteral("-c"), QStringLiteral("sync '%1'/*").arg(theirs)}, environment);
        keepBest(curlSyncedBest, curl >= 0 && synced >= 0 ? curl + synced : -1);
        clear(ours);
        const double clipnab =
            timed(program,
                  {QStringLiteral("--site"), site.base(), QStringLiteral("--download-dir"), ours,
                   QStringLiteral("--save"), QStringLiteral("--batch-file"), list.fileName(),
                   QStringLiteral("--jobs"), QString::number(kJobs)},
                  environment);
        keepBest(clipnabBest, clipnab);
        const QStringList sums = BenchRuns::folderContents(ours);
        exact = exact && curl >= 0 && clipnab >= 0 && sums.size() == count &&
                sums == BenchRuns::folderContents(theirs);
        std::printf("round %d: curl %6.2f s (%6.2f s with sync)  clipnab %6.2f s\n", round + 1,
                    curl, curl + synced, clipnab);
    }
    QDir(work).removeRecursively();

    std::printf("%d videos of %lld KiB, %d at once\n", count, static_cast<long long>(size / 1024),
                kJobs);
    std::printf("curl (xargs -P%d): %s %7.2f s\n", kJobs, exact ? "ok  " : "FAIL", curlBest);
    std::printf("curl, then sync:   %s %7.2f s\n", exact ? "ok  " : "FAIL", curlSyncedBest);
    std::printf("clipnab --jobs %d: %s %7.2f s\n", kJobs, exact ? "ok  " : "FAIL", clipnabBest);
    std::printf("time ratio clipnab/curl: %.2f (target at most 1.2); against curl then sync: "
                "%.2f\n",
                curlBest > 0 ? clipnabBest / curlBest : 0.0,
                curlSyncedBest > 0 ? clipnabBest / curlSyncedBest : 0.0);
    return exact ? 0 : 1;
}
