#include "app/DownloadFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace clipnab;

// Where the videos go, with the program in a folder of a given kind.
class DownloadFolderTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void choosesFolder_data();
    void choosesFolder();
};

void DownloadFolderTest::choosesFolder_data()
{
    QTest::addColumn<QString>("program"); // the program's folder, below the test's folder
    QTest::addColumn<QString>("setUp");   // what is there before
    QTest::addColumn<bool>("installed");  // the program's folder is the installed one
    QTest::addColumn<QString>("chosen");  // --download-dir
    QTest::addColumn<QString>("expected");

    QTest::newRow("build tree") << "bin"
                                << "" << false << ""
                                << "bin/download";
    QTest::newRow("folder already there") << "bin"
                                          << "dir" << false << ""
                                          << "bin/download";
    QTest::newRow("download is a file") << "bin"
                                        << "file" << false << ""
                                        << "user/Clipnab";
    QTest::newRow("folder cannot be made") << "plain/bin"
                                           << "" << false << ""
                                           << "user/Clipnab";
    QTest::newRow("read-only folder") << "bin"
                                      << "read-only" << false << ""
                                      << "user/Clipnab";
    QTest::newRow("installed program") << "bin"
                                       << "" << true << ""
                                       << "user/Clipnab";
    QTest::newRow("chosen folder wins") << "bin"
                                        << "" << false << "videos"
                                        << "videos";
}

void DownloadFolderTest::choosesFolder()
{
    QFETCH(QString, program);
    QFETCH(QString, setUp);
    QFETCH(bool, installed);
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    if (setUp == QLatin1String("read-only") && geteuid() == 0)
        QSKIP("Permission bits do not bind root");

    QTemporaryDir dir;
    const QDir root(dir.path());
    // "plain" is a file, so nothing can be made below it.
    QFile plain(root.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString programFolder = root.filePath(program);
    QDir().mkpath(programFolder);
    const QString beside = QDir(programFolder).filePath(QStringLiteral("download"));
    if (setUp == QLatin1String("dir")) {
        QVERIFY(QDir().mkpath(beside));
    } else if (setUp == QLatin1String("file")) {
        QFile file(beside);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (setUp == QLatin1String("read-only")) {
        QVERIFY(QFile::setPermissions(programFolder, QFile::ReadOwner | QFile::ExeOwner));
    }

    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString folder = DownloadFolder::choose(
        {programFolder, installed ? programFolder : root.filePath(QStringLiteral("usr/bin")),
         root.filePath(QStringLiteral("user")), chosen});
    QDir::setCurrent(previous);
    QFile::setPermissions(programFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(folder, root.filePath(expected));
    // Only a folder beside the program is made while choosing, and the probe that tried it is
    // gone; an installed program's folder is left alone.
    QCOMPARE(QFileInfo(beside).isDir(),
             expected.endsWith(QLatin1String("bin/download")) || setUp == QLatin1String("dir"));
    QVERIFY(QDir(beside).entryList({QStringLiteral(".clipnab-*")}, QDir::Hidden).isEmpty());
}

QTEST_GUILESS_MAIN(DownloadFolderTest)
#include "tst_downloadfolder.moc"
