#include "retrieval/PartFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace clipnab;

namespace {

const QString kName = QStringLiteral("12_7_1_5_9.flv");
const QByteArray kTheirs = "someone else's";

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::ExistingOnly) &&
           file.write(data) == data.size();
}

} // namespace

class PartFileTest : public QObject
{
    Q_OBJECT

private:
    // Puts an entry of the given kind at `path`: a file, a folder, or a link to a file outside
    // the download folder (to none for "dangling").
    bool place(const QString &kind, const QString &path)
    {
        if (kind == QLatin1String("file")) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && file.write(kTheirs) > 0;
        }
        if (kind == QLatin1String("folder"))
            return QDir().mkdir(path);
        return QFile::link(kind == QLatin1String("dangling") ? m_missingTarget : m_target, path);
    }

    // The entry placed is as it was, and so is what a link points at.
    void checkUntouched(const QString &kind, const QString &path)
    {
        const QFileInfo entry(path);
        if (kind == QLatin1String("file")) {
            QVERIFY(entry.isFile() && !entry.isSymLink());
            QCOMPARE(contentsOf(path), kTheirs);
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(entry.isDir() && !entry.isSymLink());
            QVERIFY(QDir(path).isEmpty());
        } else {
            QVERIFY(entry.isSymLink());
            const bool dangling = kind == QLatin1String("dangling");
            QCOMPARE(entry.symLinkTarget(), dangling ? m_missingTarget : m_target);
            QVERIFY(!QFileInfo::exists(m_missingTarget));
            QCOMPARE(contentsOf(m_target), kTheirs);
        }
    }

    QTemporaryDir m_dir;
    QString m_target;
    QString m_missingTarget;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_target = m_dir.filePath(QStringLiteral("outside.txt"));
        m_missingTarget = m_dir.filePath(QStringLiteral("never-made.txt"));
        QVERIFY(place(QStringLiteral("file"), m_target));
    }

    void namesAreNeverTakenFromOthers_data()
    {
        QTest::addColumn<QString>("kind");
        // Where it is put: "part" before the part file is made, "final" (and "final+next" on
        // the numbered name too) between its making and the rename, "over part" in place of the
        // part file made.
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("partName");
        QTest::addColumn<QString>("savedName"); // empty: the rename is refused

        const QString part = kName + QStringLiteral(".part");
        const QString second = QStringLiteral("12_7_1_5_9 (2).flv");
        const QString third = QStringLiteral("12_7_1_5_9 (3).flv");
        QTest::newRow("nothing in the way") << ""
                                            << "" << part << kName;
        for (const char *kind : {"file", "folder", "symlink", "dangling"}) {
            QTest::addRow("%s at the part name", kind)
                << kind << "part" << second + QStringLiteral(".part") << kName;
            QTest::addRow("%s at the video's name", kind) << kind << "final" << part << second;
            QTest::addRow("%s in place of the part file", kind)
                << kind << "over part" << part << QString();
        }
        QTest::newRow("files at the video's name and the next") << "file"
                                                                << "final+next" << part << third;
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
        const QString in = folder.path();
        if (where == QLatin1String("part")) {
            QVERIFY(folder.mkpath(QStringLiteral(".")));
            QVERIFY(place(kind, folder.filePath(kName + QStringLiteral(".part"))));
        }
        // Another download of the same name, made just before this one and kept first.
        std::unique_ptr<PartFile> other;
        if (kind == QLatin1String("writer")) {
            other = std::make_unique<PartFile>();
            QVERIFY(other->create(in, kName));
            QVERIFY(write(other->path(), "other video"));
        }

        PartFile file;
        QVERIFY2(file.create(in, kName), qPrintable(file.errorString()));
        QCOMPARE(file.path(), folder.filePath(partName));
        QVERIFY(write(file.path(), "this video"));
        QCOMPARE(file.size(), qint64(10));

        if (where == QLatin1String("final") || where == QLatin1String("final+next"))
            QVERIFY(place(kind, folder.filePath(kName)));
        if (where == QLatin1String("final+next"))
            QVERIFY(place(kind, folder.filePath(PartFile::numberedName(kName, 2))));
        if (where == QLatin1String("over part")) {
            QVERIFY(QFile::remove(file.path()));
            QVERIFY(place(kind, file.path()));
            QCOMPARE(file.size(), qint64(-1));
        }
        if (other) {
            QVERIFY(other->keep());
            QCOMPARE(other->savedPath(), folder.filePath(kName));
        }

        QCOMPARE(file.keep(), !savedName.isEmpty());
        if (savedName.isEmpty()) {
            QVERIFY(!file.errorString().isEmpty());
            file.remove();
        } else {
            QCOMPARE(file.savedPath(), folder.filePath(savedName));
            QCOMPARE(contentsOf(file.savedPath()), QByteArray("this video"));
            QVERIFY(!QFileInfo::exists(folder.filePath(partName)));
        }
        if (other)
            QCOMPARE(contentsOf(other->savedPath()), QByteArray("other video"));
        else if (where == QLatin1String("part"))
            checkUntouched(kind, folder.filePath(kName + QStringLiteral(".part")));
        else if (where == QLatin1String("over part"))
            checkUntouched(kind, folder.filePath(partName));
        else if (!kind.isEmpty())
            checkUntouched(kind, folder.filePath(kName));
    }
};

QTEST_GUILESS_MAIN(PartFileTest)
#include "tst_partfile.moc"
