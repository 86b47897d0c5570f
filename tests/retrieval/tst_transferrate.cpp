#include "retrieval/TransferRate.h"

#include <QTest>

#include <optional>

using namespace clipnab;

Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(std::optional<qint64>)

// The speed over the last seconds and the time left, from samples of the byte count.
class TransferRateTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rate_data();
    void rate();
};

void TransferRateTest::rate_data()
{
    QTest::addColumn<QList<QPoint>>("samples"); // (milliseconds, bytes received)
    QTest::addColumn<qint64>("total");
    QTest::addColumn<std::optional<double>>("speed");
    QTest::addColumn<std::optional<qint64>>("left");
    const std::optional<double> noSpeed;
    const std::optional<qint64> noTime;
    QTest::newRow("one sample") << QList<QPoint>{{0, 0}} << qint64(1000) << noSpeed << noTime;
    QTest::newRow("too close together")
        << QList<QPoint>{{0, 0}, {400, 4000}} << qint64(10000) << noSpeed << noTime;
    QTest::newRow("steady") << QList<QPoint>{{0, 0}, {500, 5000}, {1000, 10000}} << qint64(25000)
                            << std::optional<double>(10000) << std::optional<qint64>(2);
    QTest::newRow("time left rounds up") << QList<QPoint>{{0, 0}, {1000, 3000}} << qint64(10000)
                                         << std::optional<double>(3000) << std::optional<qint64>(3);
    // Only the last three seconds count: the fast start is forgotten.
    QTest::newRow("follows a slower pace")
        << QList<QPoint>{{0, 0}, {1000, 90000}, {4000, 93000}, {5000, 94000}} << qint64(100000)
        << std::optional<double>(1000) << std::optional<qint64>(6);
    QTest::newRow("stalled") << QList<QPoint>{{0, 5000}, {1000, 5000}} << qint64(10000)
                             << std::optional<double>(0) << noTime;
    QTest::newRow("no length") << QList<QPoint>{{0, 0}, {1000, 2000}} << qint64(0)
                               << std::optional<double>(2000) << noTime;
    QTest::newRow("started over") << QList<QPoint>{{0, 0}, {1000, 8000}, {1200, 100}}
                                  << qint64(10000) << noSpeed << noTime;
    QTest::newRow("all in") << QList<QPoint>{{0, 0}, {1000, 10000}} << qint64(10000)
                            << std::optional<double>(10000) << std::optional<qint64>(0);
}

void TransferRateTest::rate()
{
    QFETCH(QList<QPoint>, samples);
    QFETCH(qint64, total);
    QFETCH(std::optional<double>, speed);
    QFETCH(std::optional<qint64>, left);
    TransferRate rate;
    for (const QPoint &sample : samples)
        rate.sample(sample.x(), sample.y());
    QCOMPARE(rate.bytesPerSecond(), speed);
    QCOMPARE(rate.secondsLeft(total), left);
}

QTEST_APPLESS_MAIN(TransferRateTest)
#include "tst_transferrate.moc"
