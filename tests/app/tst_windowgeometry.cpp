#include "app/WindowGeometry.h"

#include <QTest>

using namespace clipnab;

class WindowGeometryTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pixels_data();
    void pixels();
    void stripWidth_data();
    void stripWidth();
    void sweep_data();
    void sweep();
};

void WindowGeometryTest::pixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("client width") << 9195 << 613;
    QTest::newRow("left of the tools panel") << -30 << -2;
    QTest::newRow("one twip") << 1 << 0;
    QTest::newRow("eight twips") << 8 << 1;
    QTest::newRow("full strip") << 5475 << 365;
}

void WindowGeometryTest::pixels()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(WindowGeometry::pixels(twips), pixels);
}

void WindowGeometryTest::stripWidth_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("max");
    QTest::addColumn<int>("twips");
    QTest::newRow("first of three chunks") << 1024.0f << 3000.0f << 1869;
    QTest::newRow("second of three chunks") << 2048.0f << 3000.0f << 3738;
    QTest::newRow("complete") << 3000.0f << 3000.0f << 5475;
    QTest::newRow("nothing yet") << 0.0f << 3000.0f << 0;
    QTest::newRow("half to even") << 1500.0f << 3000.0f << 2738; // 2737.5
    QTest::newRow("no length") << 0.0f << 0.0f << -1;
    // Live byte counts of a 1 GiB body.
    QTest::newRow("first byte of 1 GiB") << 1.0f << 1073741824.0f << 0;
    QTest::newRow("half of 1 GiB") << 536870912.0f << 1073741824.0f << 2738; // 2737.5
    QTest::newRow("a third of 1 GiB") << 357913941.0f << 1073741824.0f << 1825;
    QTest::newRow("one byte short of 1 GiB") << 1073741823.0f << 1073741824.0f << 5475;
}

void WindowGeometryTest::sweep_data()
{
    QTest::addColumn<int>("tick");
    QTest::addColumn<int>("offset");
    // 4380 twips of travel (5475 less the 1095 of the block), 150 per tick.
    QTest::newRow("start") << 0 << 0;
    QTest::newRow("second tick") << 1 << 150;
    QTest::newRow("just before the right end") << 29 << 4350;
    QTest::newRow("turned at the right end") << 30 << 4260;
    QTest::newRow("back at the left end") << 58 << 60;
    QTest::newRow("turned at the left end") << 59 << 90;
}

void WindowGeometryTest::sweep()
{
    QFETCH(int, tick);
    QFETCH(int, offset);
    QCOMPARE(WindowGeometry::sweepOffsetTwips(tick), offset);
}

void WindowGeometryTest::stripWidth()
{
    QFETCH(float, value);
    QFETCH(float, max);
    QFETCH(int, twips);
    QCOMPARE(WindowGeometry::stripWidthTwips(value, max), twips);
}

QTEST_GUILESS_MAIN(WindowGeometryTest)
#include "tst_windowgeometry.moc"
