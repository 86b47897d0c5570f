#include "retrieval/PartFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace clipnab;

namespace {

const QString kName = QStringLiteral("12_7_1_5_9.flv");

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeNew(const QString &path, const QByteArray &data, QIODevice::OpenMode mode)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | mode) && file.write(data) == data.size();
}

// An entry as it is, without following it.
QString describe(const QString &path)
{
    const QFileInfo entry(path);
    if (entry.isSymLink())
        return QStringLiteral("link to ") + entry.symLinkTarget();
    if (entry.isDir())
        return QStringLiteral("folder of %1").arg(QDir(path).count());
    return entry.exists() ? QStringLiteral("file ") + QString::fromLatin1(contentsOf(path))
                          : QStringLiteral("nothing");
}

} // namespace

class PartFileTest : public QObject
{
    Q_OBJECT

private:
    // A file, a folder, or a link to a file outside the download folder (to none: "dangling").
    bool place(const QString &kind, const QString &path)
    {
        if (kind == QLatin1String("file"))
            return writeNew(path, "someone else's", QIODevice::NewOnly);
        if (kind == QLatin1String("folder"))
            return QDir().mkdir(path);
        return QFile::link(kind == QLatin1String("dangling") ? m_missing : m_outside, path);
    }

    QTemporaryDir m_dir;
    QString m_outside;
    QString m_missing;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_outside = m_dir.filePath(QStringLiteral("outside.txt"));
        m_missing = m_dir.filePath(QStringLiteral("never-made.txt"));
        QVERIFY(writeNew(m_outside, "outside", QIODevice::NewOnly));
    }

    // A part file left by a download is taken over only as the plain file it was, and named
    // after the video it holds.
    void adoptsOnlyPlainPartFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("savedName"); // empty: refused
        const QString part = kName + QStringLiteral(".part");
        QTest::newRow("plain part file") << "file" << part << kName;
        QTest::newRow("not a part file") << "file" << kName << QString();
        QTest::newRow("only the suffix") << "file" << QStringLiteral(".part") << QString();
        for (const char *kind : {"folder", "symlink", "dangling"})
            QTest::addRow("%s", kind) << kind << part << QString();
        QTest::newRow("gone") << "" << part << QString();
    }
    void adoptsOnlyPlainPartFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, savedName);
        QTemporaryDir scratch(m_dir.filePath(QStringLiteral("adoptXXXXXX")));
        const QString path = scratch.filePath(name);
        if (!kind.isEmpty())
            QVERIFY(place(kind, path));
        const QString before = describe(path);

        PartFile file;
        QCOMPARE(file.adopt(path), !savedName.isEmpty());
        if (savedName.isEmpty()) {
            QVERIFY(!file.errorString().isEmpty());
            file.remove();
            QCOMPARE(describe(path), before);
            return;
        }
        QCOMPARE(file.size(), qint64(14));
        QVERIFY(file.keep());
        QCOMPARE(file.savedPath(), scratch.filePath(savedName));
        // Let go of, a part file stays for a later download.
        PartFile again;
        QVERIFY(writeNew(path, "kept", QIODevice::NewOnly));
        QVERIFY(again.adopt(path));
        again.release();
        QVERIFY(QFileInfo::exists(path));
    }

    void namesAreNeverTakenFromOthers_data()
    {
        QTest::addColumn<QString>("kind");
        // "part": put there before the part file is made; "final" (and "final+next": on the
        // numbered name too) between its making and the rename; "over part": in its place.
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("partName");
        QTest::addColumn<QString>("savedName"); // empty: the rename is refused
        const QString part = kName + QStringLiteral(".part");
        const QString second = PartFile::numberedName(kName, 2);
        QTest::newRow("nothing in the way") << ""
                                            << "" << part << kName;
        for (const char *kind : {"file", "folder", "symlink", "dangling"}) {
            QTest::addRow("%s at the part name", kind)
                << kind << "part" << second + QStringLiteral(".part") << kName;
            QTest::addRow("%s at the video's name", kind) << kind << "final" << part << second;
            QTest::addRow("%s in place of the part file", kind)
                << kind << "over part" << part << QString();
        }
        QTest::newRow("files at the video's name and the next")
            << "file"
            << "final+next" << part << QStringLiteral("12_7_1_5_9 (3).flv");
        QTest::newRow("two writers, the other first")
            << "writer"
            << "" << second + QStringLiteral(".part") << second;
    }
    void namesAreNeverTakenFromOthers()
    {
        QFETCH(QString, kind);
        QFETCH(QString, where);
        QFETCH(QString, partName);
        QFETCH(QString, savedName);
        QTemporaryDir scratch(m_dir.filePath(QStringLiteral("rowXXXXXX")));
        const QDir folder(scratch.filePath(QStringLiteral("download")));
        // The entry in the way, which must stay as it was.
        QString watched = folder.filePath(
            where == QLatin1String("part") ? kName + QStringLiteral(".part") : kName);
        if (where == QLatin1String("part")) {
            QVERIFY(folder.mkpath(QStringLiteral(".")));
            QVERIFY(place(kind, watched));
        }
        // Another download of the same name, made just before this one and kept first.
        PartFile other;
        if (kind == QLatin1String("writer")) {
            QVERIFY(other.create(folder.path(), kName));
            QVERIFY(writeNew(other.path(), "other video", QIODevice::ExistingOnly));
        }

        PartFile file;
        QVERIFY2(file.create(folder.path(), kName), qPrintable(file.errorString()));
        QCOMPARE(file.path(), folder.filePath(partName));
        QVERIFY(writeNew(file.path(), "this video", QIODevice::ExistingOnly));
        QCOMPARE(file.size(), qint64(10));
        if (where.startsWith(QLatin1String("final")))
            QVERIFY(place(kind, watched));
        if (where == QLatin1String("final+next"))
            QVERIFY(place(kind, folder.filePath(PartFile::numberedName(kName, 2))));
        if (where == QLatin1String("over part")) {
            watched = file.path();
            QVERIFY(QFile::remove(watched) && place(kind, watched));
            QCOMPARE(file.size(), qint64(-1));
        }
        if (kind == QLatin1String("writer"))
            QVERIFY(other.keep());
        const QString before = describe(watched);

        QCOMPARE(file.keep(), !savedName.isEmpty());
        if (savedName.isEmpty()) {
            QVERIFY(!file.errorString().isEmpty());
            file.remove();
        } else {
            QCOMPARE(file.savedPath(), folder.filePath(savedName));
            QCOMPARE(contentsOf(file.savedPath()), QByteArray("this video"));
            QVERIFY(!QFileInfo::exists(folder.filePath(partName)));
        }
        if (!kind.isEmpty())
            QCOMPARE(describe(watched), before);
        QCOMPARE(contentsOf(m_outside), QByteArray("outside"));
        QVERIFY(!QFileInfo::exists(m_missing));
    }
};

QTEST_GUILESS_MAIN(PartFileTest)
#include "tst_partfile.moc"
