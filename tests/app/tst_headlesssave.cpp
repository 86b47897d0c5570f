#include "DemoSite.h"
#include "support/FreePort.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace clipnab;

namespace {

constexpr int kTimeout = 60000;

// The program's environment without a display: a save must run offscreen by itself.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "CLIPNAB_SITE"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

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
    void interruptLeavesNothing();

private:
    DemoSite m_site;
    QString m_video; // one of the bundled videos
};

void HeadlessSaveTest::initTestCase()
{
    QVERIFY(m_site.listen() != 0);
    m_video = m_site.videoIds().first();
    m_site.addVideo(QStringLiteral("gone"), QStringLiteral("Gone clip"), QByteArray(100, 'g'));
    m_site.setVideoStatus(QStringLiteral("gone"), 404);
    m_site.addVideo(QStringLiteral("token"), QStringLiteral("No token"), QByteArray(100, 't'));
    m_site.setWithoutToken(QStringLiteral("token"), true);
    m_site.addVideo(QStringLiteral("stall"), QStringLiteral("Stalled clip"),
                    QByteArray(90000, 's'));
    m_site.setStalled(QStringLiteral("stall"), true);
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

    QProcess program;
    QProcessEnvironment environment = withoutDisplay();
    environment.insert(QStringLiteral("CLIPNAB_SITE"), m_site.baseUrl());
    program.setProcessEnvironment(environment);
    // The demo site answers from this test's event loop while the program runs.
    QSignalSpy finished(&program, &QProcess::finished);
    program.start(QStringLiteral(CLIPNAB_PROGRAM), arguments.split(QLatin1Char('|')));
    QVERIFY(finished.wait(kTimeout));

    const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
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

void HeadlessSaveTest::interruptLeavesNothing()
{
    // Ctrl-C while the body arrives stops the save as Stop does in the window.
    QTemporaryDir dir;
    QProcess program;
    program.setProcessEnvironment(withoutDisplay());
    QSignalSpy finished(&program, &QProcess::finished);
    program.start(QStringLiteral(CLIPNAB_PROGRAM),
                  {QStringLiteral("--site"), m_site.baseUrl(), QStringLiteral("--download-dir"),
                   dir.path(), QStringLiteral("--save"),
                   m_site.baseUrl() + QStringLiteral("/watch?v=stall")});
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(dir.path()).entryList(QDir::Files).isEmpty(), kTimeout);
    ::kill(static_cast<pid_t>(program.processId()), SIGINT);
    QVERIFY(finished.wait(kTimeout));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QVERIFY(
        QString::fromLocal8Bit(program.readAllStandardError()).contains(QLatin1String("Stopped")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

QTEST_GUILESS_MAIN(HeadlessSaveTest)
#include "tst_headlesssave.moc"
