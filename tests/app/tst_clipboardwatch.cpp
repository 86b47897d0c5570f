#include "app/ClipboardWatch.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

using namespace clipnab;

// The clipboard watch on the offscreen platform's clipboard.
class ClipboardWatchTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void announces_data();
    void announces();
};

void ClipboardWatchTest::announces_data()
{
    // Each step copies a text, or turns the watch "ON" or "OFF"; the watch starts off.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("found");
    const QString a = QStringLiteral("http://127.0.0.1:8080/watch?v=abc");
    const QString b = QStringLiteral("http://127.0.0.1:8080/watch?v=def");
    const QString on = QStringLiteral("ON");
    const QString off = QStringLiteral("OFF");
    QTest::newRow("off by default") << QStringList{a} << QStringList{};
    QTest::newRow("an address") << QStringList{on, a} << QStringList{a};
    QTest::newRow("blanks around it")
        << QStringList{on, QStringLiteral("  ") + a + QStringLiteral("\n")} << QStringList{a};
    QTest::newRow("refused texts")
        << QStringList{on,
                       QStringLiteral("hello"),
                       QStringLiteral("ftp://x/watch?v=abc"),
                       QStringLiteral("http://x/watch?v="),
                       QStringLiteral("see watch?v=abc"),
                       a + QStringLiteral("\nand more"),
                       a + QString(ClipboardWatch::kMaxAddressLength, QLatin1Char('x'))}
        << QStringList{};
    QTest::newRow("the same again") << QStringList{on, a, a} << QStringList{a};
    QTest::newRow("back and forth") << QStringList{on, a, b, a} << QStringList{a, b, a};
    QTest::newRow("a refused text between")
        << QStringList{on, a, QStringLiteral("hello"), a} << QStringList{a};
    QTest::newRow("turned off") << QStringList{on, a, off, b} << QStringList{a};
    QTest::newRow("on again forgets") << QStringList{on, a, off, on, a} << QStringList{a, a};
}

void ClipboardWatchTest::announces()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, found);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    ClipboardWatch watch(clipboard);
    QVERIFY(!watch.isWatching());
    QSignalSpy spy(&watch, &ClipboardWatch::addressFound);
    for (const QString &step : std::as_const(steps)) {
        if (step == QLatin1String("ON") || step == QLatin1String("OFF"))
            watch.setWatching(step == QLatin1String("ON"));
        else
            clipboard->setText(step);
    }
    QStringList announced;
    for (const QList<QVariant> &signal : std::as_const(spy))
        announced << signal.first().toString();
    QCOMPARE(announced, found);
}

QTEST_MAIN(ClipboardWatchTest)
#include "tst_clipboardwatch.moc"
