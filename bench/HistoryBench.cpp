// A long download history: 100,000 rows made in a temporary folder, then the size of the file,
// the time HistoryStore::open() takes, the Downloads list's first paint (the model made and the
// cells of its first screen read) and a scroll to the end (the row count, then the cells of the
// last screen), and a jump to the middle. The scroll is set against a plain QSqlQuery reading the
// same rows by number (COUNT, then LIMIT and OFFSET), measured in the same run. Then the Downloads
// window itself: made on a fresh model and shown, until its first paint is done. Medians of several
// rounds.
//
//   clipnab-bench-history [ROWS] [FOLDER]   (default 100000 rows, a temporary folder)
#include "app/DownloadsWindow.h"
#include "BenchRuns.h"
#include "downloads/DownloadQueue.h"
#include "downloads/DownloadsModel.h"
#include "downloads/HistoryStore.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace clipnab;

namespace {

constexpr int kRounds = 7;
constexpr int kScreenRows = 30;
constexpr double kReadyTargetMs = 200;
constexpr double kScrollTargetMs = 20;
constexpr double kSizeTargetMiB = 50;

// The window opens nothing here.
class NoShell final : public Shell
{
public:
    bool open(const QString &) override { return false; }
};

// Saved downloads with fields as long as real ones, written in one statement.
bool fill(const QString &path, int rows)
{
    const QString name = QStringLiteral("fill");
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        done = db.open() &&
               QSqlQuery(db).exec(
                   QStringLiteral(
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                       "WHERE i < %1) INSERT INTO downloads (address, video_id, title, "
                       "file_path, bytes, total, etag, last_modified, queued_at, started_at, "
                       "ended_at, state) SELECT 'http://127.0.0.1:8080/watch?v=' || "
                       "printf('%011d', i), printf('%011d', i), 'A video of the site, number ' "
                       "|| i, '/home/someone/Downloads/Clipnab/' || printf('%011d', i) || "
                       "'.flv', 4194304, 4194304, '\"' || hex(i) || '\"', "
                       "'Wed, 01 May 2024 10:20:30 GMT', '2024-05-01T10:20:30.456Z', "
                       "'2024-05-01T10:20:31.456Z', '2024-05-01T10:20:39.456Z', 'saved' FROM n")
                       .arg(rows));
    }
    QSqlDatabase::removeDatabase(name);
    return done;
}

double msSince(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Reads every column of `count` rows from `first`, as a view painting them does.
qsizetype readScreen(const DownloadsModel &model, int first, int count)
{
    qsizetype characters = 0;
    for (int row = first; row < first + count && row < model.rowCount(); ++row) {
        for (int column = 0; column < DownloadsModel::ColumnCount; ++column)
            characters += model.data(model.index(row, column)).toString().size();
    }
    return characters;
}

const char *verdict(double value, double target)
{
    return value < target ? "PASS" : "FAIL";
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int rows = args.size() > 1 ? args[1].toInt() : 100000;
    QTemporaryDir temporary;
    const QString folder = args.size() > 2 ? args[2] : temporary.path();
    QDir(folder).removeRecursively();
    if (rows < kScreenRows) {
        std::fprintf(stderr, "at least %d rows\n", kScreenRows);
        return 1;
    }
    {
        HistoryStore store(folder);
        if (!store.open() || !fill(store.filePath(), rows)) {
            std::fprintf(stderr, "the history could not be made in %s\n", qPrintable(folder));
            return 1;
        }
    }
    const QString path = QDir(folder).filePath(HistoryStore::fileName());
    const double sizeMiB = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);

    std::vector<double> openMs;
    std::vector<double> checkMs;
    std::vector<double> readyMs;
    std::vector<double> scrollMs;
    std::vector<double> plainMs;
    std::vector<double> middleMs;
    std::vector<double> windowMs;
    bool same = true;
    for (int round = 0; round < kRounds; ++round) {
        HistoryStore store(folder);
        QElapsedTimer timer;
        timer.start();
        if (!store.open())
            return 1;
        openMs.push_back(msSince(timer));

        timer.restart();
        DownloadsModel model(&store, nullptr);
        readScreen(model, 0, kScreenRows);
        readyMs.push_back(msSince(timer));

        timer.restart();
        const int count = model.rowCount();
        const qsizetype modelCharacters = readScreen(model, count - kScreenRows, kScreenRows);
        scrollMs.push_back(msSince(timer));

        // The farthest from both ends: the costliest page to find.
        timer.restart();
        readScreen(model, count / 2, kScreenRows);
        middleMs.push_back(msSince(timer));

        // The window on a model of its own, shown and painted once.
        {
            timer.restart();
            DownloadQueue queue(&store);
            DownloadsModel fresh(&store, &queue);
            NoShell shell;
            DownloadsWindow window(fresh, queue, shell);
            window.show();
            window.grab();
            windowMs.push_back(msSince(timer));
        }

        // The same rows through a connection of its own, by row number.
        qsizetype plainCharacters = 0;
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
            db.setDatabaseName(path);
            db.open();
            QSqlQuery query(db);
            query.setForwardOnly(true);
            timer.restart();
            query.exec(QStringLiteral("SELECT COUNT(*) FROM downloads"));
            query.next();
            const qint64 total = query.value(0).toLongLong();
            query.exec(QStringLiteral("SELECT title, address, state, bytes, total, file_path, "
                                      "reason FROM downloads ORDER BY id LIMIT %1 OFFSET %2")
                           .arg(kScreenRows)
                           .arg(total - kScreenRows));
            while (query.next()) {
                for (int column = 0; column < 7; ++column)
                    plainCharacters += query.value(column).toString().size();
            }
            plainMs.push_back(msSince(timer));
            same = same && total == count;

            timer.restart();
            query.exec(QStringLiteral("PRAGMA quick_check"));
            query.next();
            checkMs.push_back(msSince(timer));
            same = same && query.value(0).toString() == QLatin1String("ok");
        }
        QSqlDatabase::removeDatabase(QStringLiteral("plain"));
        same = same && modelCharacters > 0 && plainCharacters > 0;
    }

    const double ready = BenchRuns::median(readyMs);
    const double scroll = BenchRuns::median(scrollMs);
    const double plain = BenchRuns::median(plainMs);
    std::printf("%d rows in %s, medians of %d rounds\n", rows, qPrintable(folder), kRounds);
    std::printf("database size         : %8.1f MiB  (target < %.0f MiB: %s)\n", sizeMiB,
                kSizeTargetMiB, verdict(sizeMiB, kSizeTargetMiB));
    std::printf("open()                : %8.2f ms  (the full check it skips: %.2f ms)\n",
                BenchRuns::median(openMs), BenchRuns::median(checkMs));
    std::printf("model first paint     : %8.2f ms  (target < %.0f ms: %s)\n", ready, kReadyTargetMs,
                verdict(ready, kReadyTargetMs));
    std::printf("open + first paint    : %8.2f ms  (target < %.0f ms: %s)\n",
                BenchRuns::median(openMs) + ready, kReadyTargetMs,
                verdict(BenchRuns::median(openMs) + ready, kReadyTargetMs));
    std::printf("Downloads window shown: %8.2f ms  (open + window, target < %.0f ms: %s)\n",
                BenchRuns::median(windowMs), kReadyTargetMs,
                verdict(BenchRuns::median(openMs) + BenchRuns::median(windowMs), kReadyTargetMs));
    std::printf("scroll to the end     : %8.2f ms  (target < %.0f ms: %s)\n", scroll,
                kScrollTargetMs, verdict(scroll, kScrollTargetMs));
    std::printf("a jump to the middle  : %8.2f ms\n", BenchRuns::median(middleMs));
    std::printf("plain QSqlQuery, same : %8.2f ms  ratio model/plain %.2f\n", plain,
                plain > 0 ? scroll / plain : 0.0);
    if (!same)
        std::printf("FAIL: the model and the plain query disagree, or the check failed\n");
    return same ? 0 : 1;
}
