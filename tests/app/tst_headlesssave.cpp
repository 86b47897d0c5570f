#include "DemoSite.h"
#include "GeneratedBody.h"
#include "support/FreePort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>

using namespace clipnab;

namespace {

constexpr int kTimeout = 60000;

// The program's environment without a display: a save must run offscreen by itself. Its
// history goes into `dataHome`, not the user's.
QProcessEnvironment withoutDisplay(const QString &dataHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "CLIPNAB_SITE"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    return environment;
}

// The program run to its end with `arguments`, its output kept.
struct Run
{
    Run(const QProcessEnvironment &environment, const QStringList &arguments)
    {
        program.setProcessEnvironment(environment);
        // The demo site answers from this test's event loop while the program runs.
        QSignalSpy finished(&program, &QProcess::finished);
        program.start(QStringLiteral(CLIPNAB_PROGRAM), arguments);
        ended = finished.wait(kTimeout);
        out = QString::fromLocal8Bit(program.readAllStandardOutput());
        err = QString::fromLocal8Bit(program.readAllStandardError());
    }

    QProcess program;
    bool ended = false;
    QString out;
    QString err;
};

} // namespace

// The built program on the command line: its answers and exit codes, and saving without a
// window against the demo site.
class HeadlessSaveTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void answers_data();
    void answers();
    void batch();
    void interruptLeavesNothing_data();
    void interruptLeavesNothing();
    void killedSaveContinues_data();
    void killedSaveContinues();

private:
    DemoSite m_site;
    QString m_video;          // one of the bundled videos
    QStringList m_bundled;    // all of them
    QTemporaryDir m_dataHome; // where the program keeps its history
};

void HeadlessSaveTest::initTestCase()
{
    QVERIFY(m_site.listen() != 0);
    m_bundled = m_site.videoIds();
    m_video = m_bundled.first();
    m_site.addVideo(QStringLiteral("gone"), QStringLiteral("Gone clip"), QByteArray(100, 'g'));
    m_site.setVideoStatus(QStringLiteral("gone"), 404);
    m_site.addVideo(QStringLiteral("token"), QStringLiteral("No token"), QByteArray(100, 't'));
    m_site.setWithoutToken(QStringLiteral("token"), true);
    m_site.addVideo(QStringLiteral("stall"), QStringLiteral("Stalled clip"),
                    QByteArray(90000, 's'));
    m_site.setStalled(QStringLiteral("stall"), true);
    m_site.addVideo(QStringLiteral("stall2"), QStringLiteral("Stalled too"),
                    QByteArray(90000, 'S'));
    m_site.setStalled(QStringLiteral("stall2"), true);
}

void HeadlessSaveTest::answers_data()
{
    // "SITE" stands for the demo site, "VIDEO" for a bundled video's id, "DIR" for an empty folder,
    // "PLAIN" for a file, "NOWHERE" for a site nobody answers at; the site comes from
    // CLIPNAB_SITE unless --site gives it.
    QTest::addColumn<QString>("arguments"); // separated by "|"
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // what stdout starts with; "SAVED" for the saved path
    // A line on stderr, among what Qt and the browser engine may say; "" for nothing on stderr,
    // "-" when not checked.
    QTest::addColumn<QString>("err");

    QTest::newRow("version") << "--version" << 0 << "clipnab 2.0\n"
                             << "";
    QTest::newRow("help") << "--help" << 0 << "Usage: "
                          << "";
    QTest::newRow("unknown option") << "--bogus" << 2 << ""
                                    << "Try 'clipnab --help' for more information.";
    QTest::newRow("saved") << "--download-dir|DIR|--save|SITE/watch?v=VIDEO" << 0 << "SAVED"
                           << "-";
    QTest::newRow("not http") << "--download-dir|DIR|--save|ftp://host/watch?v=VIDEO" << 1 << ""
                              << "URL must be based on HTTP Socket";
    // A failure's sentence is followed by its reason.
    QTest::newRow("refused download")
        << "--download-dir|DIR|--save|SITE/watch?v=gone" << 1 << ""
        << "Can not download the video file: the server answered 404 Not Found";
    QTest::newRow("no token") << "--download-dir|DIR|--save|SITE/watch?v=token" << 1 << ""
                              << "Can not get the video file from this URL: no video token on "
                                 "the page";
    QTest::newRow("site unreachable")
        << "--site|NOWHERE|--download-dir|DIR|--save|NOWHERE/watch?v=VIDEO" << 1 << ""
        << "Can not get the video file from this URL: the site could not be reached";
    QTest::newRow("folder not writable")
        << "--download-dir|PLAIN/videos|--save|SITE/watch?v=VIDEO" << 1 << ""
        << "Can not save the video file: can not make the folder PLAIN/videos: not a directory";
}

void HeadlessSaveTest::answers()
{
    QFETCH(QString, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("videos"));
    const QString plain = dir.filePath(QStringLiteral("plain"));
    QFile(plain).open(QIODevice::WriteOnly);
    const QString nowhere = QStringLiteral("http://127.0.0.1:%1").arg(freePort());
    arguments.replace(QStringLiteral("VIDEO"), m_video)
        .replace(QStringLiteral("SITE"), m_site.baseUrl())
        .replace(QStringLiteral("DIR"), folder)
        .replace(QStringLiteral("PLAIN"), plain)
        .replace(QStringLiteral("NOWHERE"), nowhere);
    err.replace(QStringLiteral("PLAIN"), plain);

    QProcessEnvironment environment = withoutDisplay(m_dataHome.path());
    environment.insert(QStringLiteral("CLIPNAB_SITE"), m_site.baseUrl());
    const Run run(environment, arguments.split(QLatin1Char('|')));
    QVERIFY(run.ended);
    const QString &stdOut = run.out;
    const QString &stdErr = run.err;
    QCOMPARE(run.program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.program.exitCode(), exitCode);
    // The browser engine may write from its own threads at any moment, so the message is looked
    // for as a line of its own rather than as the last one.
    const QStringList errLines = stdErr.split(QLatin1Char('\n'));
    if (err != QLatin1String("-"))
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : errLines.contains(err), qPrintable(stdErr));

    const QStringList saved = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    if (out != QLatin1String("SAVED")) {
        QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
        QVERIFY(saved.isEmpty());
        return;
    }
    // One file, named from the time, holding the video byte for byte; its path on stdout.
    QCOMPARE(saved.size(), 1);
    QVERIFY(saved.first().endsWith(QLatin1String(".flv")));
    const QString path = QDir(folder).filePath(saved.first());
    QCOMPARE(stdOut, path + QLatin1Char('\n'));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), DemoSite::bundledVideo(m_video));
}

void HeadlessSaveTest::batch()
{
    // Addresses from the arguments and a batch file, four at once: every good one saved exact,
    // each bad one reported with its address, a summary, and each save in the history.
    QTemporaryDir dir;
    QTemporaryDir data;
    const QString folder = dir.filePath(QStringLiteral("videos"));
    const QString site = m_site.baseUrl();
    const auto page = [&site](const QString &id) -> QString {
        return site + QStringLiteral("/watch?v=") + id;
    };
    QFile list(dir.filePath(QStringLiteral("list.txt")));
    QVERIFY(list.open(QIODevice::WriteOnly));
    QStringList lines{QStringLiteral("# videos to keep"), QString()};
    for (const QString &id : m_bundled.mid(1))
        lines << page(id);
    lines << page(QStringLiteral("gone")) << QStringLiteral("ftp://host/watch?v=x");
    list.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    list.close();
    const QStringList arguments{QStringLiteral("--site"),         site,
                                QStringLiteral("--download-dir"), folder,
                                QStringLiteral("--save"),         page(m_video),
                                QStringLiteral("--batch-file"),   list.fileName(),
                                QStringLiteral("--jobs"),         QStringLiteral("4")};
    const QProcessEnvironment environment = withoutDisplay(data.path());

    const Run first(environment, arguments);
    QVERIFY(first.ended);
    QCOMPARE(first.program.exitCode(), 1);
    const QStringList errLines = first.err.split(QLatin1Char('\n'));
    QVERIFY2(
        errLines.contains(QStringLiteral("%1 saved, 0 skipped, 2 failed").arg(m_bundled.size())),
        qPrintable(first.err));
    QVERIFY2(errLines.contains(QStringLiteral("ftp://host/watch?v=x: URL must be based on HTTP "
                                              "Socket")),
             qPrintable(first.err));
    QVERIFY2(first.err.contains(page(QStringLiteral("gone")) +
                                QStringLiteral(": Can not download the video file (")),
             qPrintable(first.err));
    // Each saved file once on stdout, holding one of the videos byte for byte; no part left.
    QList<QByteArray> bodies;
    for (const QString &path : first.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        bodies << file.readAll();
    }
    QList<QByteArray> expected;
    for (const QString &id : std::as_const(m_bundled))
        expected << DemoSite::bundledVideo(id);
    std::sort(bodies.begin(), bodies.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(bodies, expected);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), m_bundled.size());

    // Again with --skip-saved and the good ones only: the history knows them all, so all are
    // skipped and nothing is fetched.
    QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
    list.write(lines.mid(0, lines.size() - 2).join(QLatin1Char('\n')).toUtf8());
    list.close();
    const Run second(environment, arguments + QStringList{QStringLiteral("--skip-saved")});
    QVERIFY(second.ended);
    QCOMPARE(second.program.exitCode(), 0);
    QCOMPARE(second.out, QString());
    QVERIFY2(second.err.split(QLatin1Char('\n'))
                 .contains(QStringLiteral("0 saved, %1 skipped, 0 failed").arg(m_bundled.size())),
             qPrintable(second.err));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), m_bundled.size());
}

void HeadlessSaveTest::interruptLeavesNothing_data()
{
    QTest::addColumn<QStringList>("ids");
    QTest::newRow("one address") << QStringList{QStringLiteral("stall")};
    QTest::newRow("two at once") << QStringList{QStringLiteral("stall"), QStringLiteral("stall2")};
}

void HeadlessSaveTest::interruptLeavesNothing()
{
    // Ctrl-C while the bodies arrive stops the saves as Stop does in the window.
    QFETCH(QStringList, ids);
    QTemporaryDir dir;
    QProcess program;
    program.setProcessEnvironment(withoutDisplay(m_dataHome.path()));
    QSignalSpy finished(&program, &QProcess::finished);
    QStringList arguments{QStringLiteral("--site"),         m_site.baseUrl(),
                          QStringLiteral("--download-dir"), dir.path(),
                          QStringLiteral("--jobs"),         QString::number(ids.size()),
                          QStringLiteral("--save")};
    for (const QString &id : std::as_const(ids))
        arguments << m_site.baseUrl() + QStringLiteral("/watch?v=") + id;
    program.start(QStringLiteral(CLIPNAB_PROGRAM), arguments);
    QTRY_VERIFY_WITH_TIMEOUT(QDir(dir.path()).entryList(QDir::Files).size() == ids.size(),
                             kTimeout);
    ::kill(static_cast<pid_t>(program.processId()), SIGINT);
    QVERIFY(finished.wait(kTimeout));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(err.count(QLatin1String("Stopped: nothing was saved")), ids.size());
    if (ids.size() > 1)
        QVERIFY2(err.contains(QStringLiteral("0 saved, 0 skipped, 0 failed, 2 stopped")),
                 qPrintable(err));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

void HeadlessSaveTest::killedSaveContinues_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("changed"); // the site has a new body for the video by the second run
    QTest::newRow("same body") << QStringLiteral("killedSame") << false;
    QTest::newRow("body changed") << QStringLiteral("killedNew") << true;
}

void HeadlessSaveTest::killedSaveContinues()
{
    // A save killed with half the body in its part file (the site stalls there): the next save
    // asks for the rest from the part file's size and ends with the site's body byte for byte,
    // whether the site answers with the rest or, the body having changed, with all of it.
    QFETCH(QString, id);
    QFETCH(bool, changed);
    const QByteArray before = GeneratedBody::bytes(0, 300000);
    const QByteArray after = changed ? GeneratedBody::bytes(1, 200000) : before;
    m_site.addVideo(id, id, before);
    m_site.setStalled(id, true);
    QTemporaryDir dir;
    const QTemporaryDir data;
    const QStringList arguments{
        QStringLiteral("--site"),         m_site.baseUrl(),
        QStringLiteral("--download-dir"), dir.path(),
        QStringLiteral("--save"),         m_site.baseUrl() + QStringLiteral("/watch?v=") + id};
    const auto parts = [&dir] {
        return QDir(dir.path()).entryInfoList({QStringLiteral("*.part")}, QDir::Files);
    };
    QProcess first;
    first.setProcessEnvironment(withoutDisplay(data.path()));
    first.start(QStringLiteral(CLIPNAB_PROGRAM), arguments);
    QTRY_VERIFY_WITH_TIMEOUT(parts().size() == 1 && parts().first().size() == before.size() / 2,
                             kTimeout);
    first.kill();
    QVERIFY(first.waitForFinished(kTimeout));
    const QString partPath = parts().first().filePath();
    const qint64 kept = QFileInfo(partPath).size();

    if (changed)
        m_site.addVideo(id, id, after);
    m_site.setStalled(id, false);
    const qsizetype earlier = m_site.rangeLog().size();
    const Run second(withoutDisplay(data.path()), arguments);
    QVERIFY2(second.ended && second.program.exitCode() == 0, qPrintable(second.err));
    QCOMPARE(m_site.rangeLog().mid(earlier), QStringList{QStringLiteral("bytes=%1-").arg(kept)});
    // The part file continued is the one renamed, and nothing else is left.
    const QString savedPath = partPath.chopped(5);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QFileInfo(savedPath).fileName()});
    QFile saved(savedPath);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll() == after);
}

QTEST_GUILESS_MAIN(HeadlessSaveTest)
#include "tst_headlesssave.moc"
