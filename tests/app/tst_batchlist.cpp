#include "app/BatchList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace clipnab;

namespace {

// "N:address" for each line given, "N:too long" for a refused one.
QStringList readAll(BatchList &list)
{
    QStringList lines;
    while (const auto line = list.next())
        lines << QStringLiteral("%1:%2")
                     .arg(line->number)
                     .arg(line->tooLong ? QStringLiteral("too long") : line->address);
    return lines;
}

} // namespace

// Reading a batch file one line at a time.
class BatchListTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void reads_data();
    void reads();
};

void BatchListTest::reads_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");
    const QByteArray limit(BatchList::kMaxLineBytes, 'x');
    const QString limitText = QString::fromLatin1(limit);
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("blanks and comments")
        << QByteArray("\n# a comment\n  http://a/watch?v=1 \r\n\n   # indented\nhttp://b\n")
        << QStringList{QStringLiteral("3:http://a/watch?v=1"), QStringLiteral("6:http://b")};
    QTest::newRow("last line without a feed")
        << QByteArray("a\nb") << QStringList{QStringLiteral("1:a"), QStringLiteral("2:b")};
    QTest::newRow("hash inside an address")
        << QByteArray("http://a/watch?v=1#t=5\n")
        << QStringList{QStringLiteral("1:http://a/watch?v=1#t=5")};
    QTest::newRow("utf-8") << QByteArray("http://a/watch?v=\xc3\xa9t\xc3\xa9\n")
                           << QStringList{QStringLiteral("1:http://a/watch?v=été")};
    QTest::newRow("line of 1 MiB")
        << QByteArray("a\n" + QByteArray(1024 * 1024, 'x') + "\nb\n")
        << QStringList{QStringLiteral("1:a"), QStringLiteral("2:too long"), QStringLiteral("3:b")};
    QTest::newRow("long last line without a feed")
        << QByteArray("a\n" + QByteArray(100000, 'x'))
        << QStringList{QStringLiteral("1:a"), QStringLiteral("2:too long")};
    QTest::newRow("at the limit, with CR LF")
        << QByteArray(limit + "\r\n" + limit + "y\n")
        << QStringList{QStringLiteral("1:") + limitText, QStringLiteral("2:too long")};
    QTest::newRow("at the limit, last") << limit << QStringList{QStringLiteral("1:") + limitText};
    QTest::newRow("one past the limit, last")
        << QByteArray(limit + "y") << QStringList{QStringLiteral("1:too long")};
}

void BatchListTest::reads()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    BatchList list;
    QVERIFY(list.open(path));
    QCOMPARE(readAll(list), lines);
    QCOMPARE(list.errorString(), QString());
    QVERIFY(!list.next());
}

QTEST_GUILESS_MAIN(BatchListTest)
#include "tst_batchlist.moc"
