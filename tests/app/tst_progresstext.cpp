#include "app/ProgressText.h"

#include <QTest>

#include <optional>

using namespace clipnab;

Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(std::optional<qint64>)

// A running download's numbers in words, as the window's title, the strip's tooltip and
// `--save` show them.
class ProgressTextTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void words_data();
    void words();
};

void ProgressTextTest::words_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total"); // 0: no length announced
    QTest::addColumn<std::optional<double>>("speed");
    QTest::addColumn<std::optional<qint64>>("left");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("title");
    const std::optional<double> noSpeed;
    const std::optional<qint64> noTime;
    constexpr qint64 kMiB = 1024 * 1024;

    QTest::newRow("first bytes, no speed yet")
        << qint64(0) << qint64(29 * kMiB) << noSpeed << noTime << "0%: 0 bytes of 29.0 MB"
        << "0% - Clipnab V2";
    QTest::newRow("under way") << qint64(12.3 * kMiB) << qint64(29 * kMiB)
                               << std::optional<double>(1.5 * kMiB) << std::optional<qint64>(12)
                               << "42%: 12.3 MB of 29.0 MB at 1.5 MB/s, 12 s left"
                               << "42% - Clipnab V2";
    QTest::newRow("percent rounds down")
        << qint64(999) << qint64(1000) << noSpeed << noTime << "99%: 999 bytes of 1000 bytes"
        << "99% - Clipnab V2";
    QTest::newRow("complete") << qint64(1000) << qint64(1000) << std::optional<double>(800.0)
                              << std::optional<qint64>(0)
                              << "100%: 1000 bytes of 1000 bytes at 800 bytes/s, 0 s left"
                              << "100% - Clipnab V2";
    QTest::newRow("minutes left") << qint64(1536) << qint64(300 * kMiB)
                                  << std::optional<double>(2048.0) << std::optional<qint64>(125)
                                  << "0%: 1.5 KB of 300.0 MB at 2.0 KB/s, 2 min 05 s left"
                                  << "0% - Clipnab V2";
    QTest::newRow("hours left") << qint64(kMiB) << qint64(3LL * 1024 * kMiB)
                                << std::optional<double>(100.0 * 1024)
                                << std::optional<qint64>(3 * 3600 + 120)
                                << "0%: 1.0 MB of 3.00 GB at 100.0 KB/s, 3 h 02 min left"
                                << "0% - Clipnab V2";
    QTest::newRow("no length: amount and speed, no time")
        << qint64(3.1 * kMiB) << qint64(0) << std::optional<double>(800.0 * 1024)
        << std::optional<qint64>(5) << "3.1 MB at 800.0 KB/s"
        << "3.1 MB - Clipnab V2";
    QTest::newRow("one byte") << qint64(1) << qint64(0) << noSpeed << noTime << "1 byte"
                              << "1 byte - Clipnab V2";
}

void ProgressTextTest::words()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(std::optional<double>, speed);
    QFETCH(std::optional<qint64>, left);
    QFETCH(QString, line);
    QFETCH(QString, title);
    const ProgressText text(received, total, speed, left);
    QCOMPARE(text.line(), line);
    QCOMPARE(text.windowTitle(QStringLiteral("Clipnab V2")), title);
}

QTEST_APPLESS_MAIN(ProgressTextTest)
#include "tst_progresstext.moc"
