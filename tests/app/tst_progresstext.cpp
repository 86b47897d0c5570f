#include "app/ProgressText.h"
#include "retrieval/TransferRate.h"

#include <QTest>

using namespace clipnab;

// A running download's numbers, from byte counts sampled over time (TransferRate) to the words
// the window's title, the strip's tooltip and `--save` show (ProgressText).
class ProgressTextTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void words_data();
    void words();
};

void ProgressTextTest::words_data()
{
    QTest::addColumn<QList<QPoint>>("samples"); // (milliseconds, bytes received)
    QTest::addColumn<qint64>("total");          // 0: no length announced
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("title");
    constexpr int kKiB = 1024;
    QTest::newRow("first bytes, no speed yet")
        << QList<QPoint>{{0, 0}, {400, 4000}} << qint64(29 << 20) << "0%: 3.9 KB of 29.0 MB"
        << "0% - Clipnab V2";
    QTest::newRow("under way") << QList<QPoint>{{0, 0}, {1000, 1536 * kKiB}, {8000, 12 << 20}}
                               << qint64(29 << 20)
                               << "41%: 12.0 MB of 29.0 MB at 1.5 MB/s, 12 s left"
                               << "41% - Clipnab V2";
    QTest::newRow("minutes left, rounded up")
        << QList<QPoint>{{0, 0}, {1000, 3 * kKiB}} << qint64(376 * kKiB)
        << "0%: 3.0 KB of 376.0 KB at 3.0 KB/s, 2 min 05 s left"
        << "0% - Clipnab V2";
    QTest::newRow("hours left") << QList<QPoint>{{0, 0}, {1000, 100 * kKiB}}
                                << qint64(1000LL * 1100 * kKiB)
                                << "0%: 100.0 KB of 1.05 GB at 100.0 KB/s, 3 h 03 min left"
                                << "0% - Clipnab V2";
    QTest::newRow("stalled: no time left") << QList<QPoint>{{0, 999}, {1000, 999}} << qint64(1000)
                                           << "99%: 999 bytes of 1000 bytes at 0 bytes/s"
                                           << "99% - Clipnab V2";
    QTest::newRow("all in") << QList<QPoint>{{0, 0}, {1000, 1000}} << qint64(1000)
                            << "100%: 1000 bytes of 1000 bytes at 1000 bytes/s, 0 s left"
                            << "100% - Clipnab V2";
    QTest::newRow("no length") << QList<QPoint>{{0, 0}, {1000, 800 * kKiB}} << qint64(0)
                               << "800.0 KB at 800.0 KB/s"
                               << "800.0 KB - Clipnab V2";
    QTest::newRow("started over") << QList<QPoint>{{0, 0}, {1000, 8000}, {1200, 1}} << qint64(0)
                                  << "1 byte"
                                  << "1 byte - Clipnab V2";
}

void ProgressTextTest::words()
{
    QFETCH(QList<QPoint>, samples);
    QFETCH(qint64, total);
    QFETCH(QString, line);
    QFETCH(QString, title);
    TransferRate rate;
    for (const QPoint &sample : samples)
        rate.sample(sample.x(), sample.y());
    const ProgressText text(rate.received(), total, rate.bytesPerSecond(), rate.secondsLeft(total));
    QCOMPARE(text.line(), line);
    QCOMPARE(text.windowTitle(QStringLiteral("Clipnab V2")), title);
}

QTEST_APPLESS_MAIN(ProgressTextTest)
#include "tst_progresstext.moc"
