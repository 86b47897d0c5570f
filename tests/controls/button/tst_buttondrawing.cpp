#include "controls/button/ButtonGeometry.h"
#include "controls/button/deRurara.h"
#include "controls/button/Primitives.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"
#include "platform/widgets/PlatformContext.h"

#include <QRegion>
#include <QTest>

using namespace clipnab;

namespace {

int countColor(const Surface &s, Rgb color)
{
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            n += s.pixel(x, y) == color ? 1 : 0;
    return n;
}

} // namespace

class ButtonDrawingTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void colorArithmetic_data()
    {
        QTest::addColumn<Rgb>("result");
        QTest::addColumn<Rgb>("expected");
        QTest::newRow("mix rounds 1.5 up")
            << mixColors(makeRgb(1, 1, 1), makeRgb(2, 2, 2)) << makeRgb(2, 2, 2);
        QTest::newRow("mix rounds 2.5 down")
            << mixColors(makeRgb(2, 2, 2), makeRgb(3, 3, 3)) << makeRgb(2, 2, 2);
        QTest::newRow("mix per channel")
            << mixColors(makeRgb(0, 100, 255), makeRgb(255, 0, 0)) << makeRgb(128, 50, 128);
        QTest::newRow("lighten black") << lightenColor(0, 176) << makeRgb(176, 176, 176);
        QTest::newRow("lighten by 0")
            << lightenColor(makeRgb(12, 34, 56), 0) << makeRgb(12, 34, 56);
        QTest::newRow("lighten by 255")
            << lightenColor(makeRgb(12, 34, 56), 255) << makeRgb(255, 255, 255);
        QTest::newRow("shift up clamps")
            << shiftColor(makeRgb(250, 10, 128), 20) << makeRgb(255, 30, 148);
        QTest::newRow("shift down clamps")
            << shiftColor(makeRgb(250, 10, 128), -20) << makeRgb(230, 0, 108);
        // The untranslatable colour -1: shifted per byte, mixed and lightened per channel.
        QTest::newRow("shift -1") << shiftColor(kInvalidRgb, -20) << makeRgb(235, 235, 235);
        QTest::newRow("mix -1") << mixColors(kInvalidRgb, 0) << makeRgb(128, 0, 0);
        QTest::newRow("lighten -1") << lightenColor(kInvalidRgb, 0) << makeRgb(255, 0, 0);
    }
    void colorArithmetic()
    {
        QFETCH(Rgb, result);
        QFETCH(Rgb, expected);
        QCOMPARE(result, expected);
    }

    void translate_data()
    {
        QTest::addColumn<quint32>("color");
        QTest::addColumn<Rgb>("expected");
        QTest::newRow("button face") << quint32(0x8000000F) << makeRgb(236, 233, 216);
        QTest::newRow("plain passes") << quint32(0x00123456) << Rgb(0x00123456);
        QTest::newRow("unknown index") << quint32(0x80000063) << kInvalidRgb;
        QTest::newRow("bad top byte") << quint32(0x01000000) << kInvalidRgb;
    }
    void translate()
    {
        QFETCH(quint32, color);
        QFETCH(Rgb, expected);
        SystemColors colors;
        colors.setOverride(15, makeRgb(236, 233, 216));
        QCOMPARE(translateColor(color, colors), expected);
    }

    void boxesCoverTheirPixels()
    {
        SystemColors colors;
        Surface s(colors);
        s.resize(12, 12);
        drawBox(s, 0, 0, 9, 9, makeRgb(255, 0, 0));
        QCOMPARE(countColor(s, makeRgb(255, 0, 0)), 36); // a 10 x 10 outline
        QCOMPARE(s.pixel(9, 9), makeRgb(255, 0, 0));
        s.setBackColor(0);
        fillBox(s, 0, 0, 9, 9, makeRgb(0, 255, 0));
        QCOMPARE(countColor(s, makeRgb(0, 255, 0)), 81);
        QCOMPARE(s.pixel(9, 9), 0);
    }

    void gradientRows_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QList<int>>("greys"); // grey level per row from y = 0; -1 untouched
        QTest::newRow("three steps") << 3 << QList<int>{0, 85, 170, 255, -1};
        QTest::newRow("zero steps draws the start") << 0 << QList<int>{0, -1, -1, -1, -1};
        QTest::newRow("negative draws nothing") << -1 << QList<int>{-1, -1, -1, -1, -1};
    }
    void gradientRows()
    {
        QFETCH(int, steps);
        QFETCH(QList<int>, greys);
        SystemColors colors;
        Surface s(colors);
        s.resize(4, 5);
        s.setBackColor(makeRgb(1, 2, 3));
        gradientRowsOn(s, 0, makeRgb(255, 255, 255), 0, 0, 3, steps);
        for (int y = 0; y < greys.size(); ++y) {
            const Rgb want =
                greys[y] < 0 ? makeRgb(1, 2, 3) : makeRgb(greys[y], greys[y], greys[y]);
            QCOMPARE(s.pixel(0, y), want);
            QCOMPARE(s.pixel(3, y), makeRgb(1, 2, 3)); // the end column is not painted
        }
    }

    void gradientOfUntranslatable()
    {
        SystemColors colors;
        Surface s(colors);
        s.resize(2, 3);
        gradientRowsOn(s, kInvalidRgb, makeRgb(255, 0, 0), 0, 0, 2, 2);
        QCOMPARE(s.pixel(0, 0), makeRgb(255, 0, 255));
        QCOMPARE(s.pixel(1, 1), makeRgb(255, 0, 128));
        QCOMPARE(s.pixel(0, 2), makeRgb(255, 0, 0));
        gradientColumnsOn(s, kInvalidRgb, kInvalidRgb, 0, 0, 1, 3);
        QCOMPARE(s.pixel(1, 2), makeRgb(255, 0, 255));
    }

    void softFrameCorners()
    {
        SystemColors colors;
        Surface s(colors);
        s.resize(12, 12);
        const Rgb outer = makeRgb(100, 100, 100), inner = makeRgb(200, 200, 200);
        const Rgb corner = makeRgb(1, 2, 3);
        drawSoftFrame(s, 0, 0, 10, 10, outer, inner, corner);
        QCOMPARE(s.pixel(0, 0), outer);
        QCOMPARE(s.pixel(10, 10), inner);
        QCOMPARE(s.pixel(0, 10), corner);
        QCOMPARE(s.pixel(10, 0), corner);
        QCOMPARE(s.pixel(1, 9), mixColors(inner, outer));
        QCOMPARE(s.pixel(9, 1), mixColors(inner, outer));
    }

    void captionFormat_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<unsigned>("format");
        QTest::newRow("centre") << 0 << 37u;
        QTest::newRow("left") << 1 << 36u;
        QTest::newRow("right") << 2 << 38u;
        QTest::newRow("top") << 3 << 33u;
        QTest::newRow("bottom") << 4 << 41u;
        QTest::newRow("out of range keeps") << 5 << 17u;
        QTest::newRow("negative keeps") << -1 << 17u;
    }
    void captionFormat()
    {
        QFETCH(int, align);
        QFETCH(unsigned, format);
        QCOMPARE(captionFormatFor(static_cast<ButtonAlign>(align), kInitialCaptionFormat), format);
    }

    void iconPlacement_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<int>("margin");
        QTest::addColumn<QPoint>("expected");
        // 75 x 23 with a 16-pixel icon: 29.5 rounds to 30 and 3.5 to 4.
        QTest::newRow("centre") << 0 << 4 << QPoint(30, 4);
        QTest::newRow("left") << 1 << 5 << QPoint(5, 4);
        QTest::newRow("right") << 2 << 4 << QPoint(55, 4);
        QTest::newRow("top") << 3 << 7 << QPoint(30, 7);
        QTest::newRow("bottom") << 4 << 4 << QPoint(30, 3);
        QTest::newRow("other") << 9 << 4 << QPoint(0, 0);
    }
    void iconPlacement()
    {
        QFETCH(int, align);
        QFETCH(int, margin);
        QFETCH(QPoint, expected);
        QCOMPARE(iconPosition(static_cast<ButtonAlign>(align), 75, 23, 16, margin), expected);
    }

    void iconMargins_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("margin");
        for (int style : {0, 1, 2, 3, 4, 6, 8, 42})
            QTest::addRow("style %d", style) << style << 4;
        for (int style : {5, 7})
            QTest::addRow("style %d", style) << style << 5;
        for (int style : {9, 10})
            QTest::addRow("style %d", style) << style << 7;
    }
    void iconMargins()
    {
        QFETCH(int, style);
        QFETCH(int, margin);
        QCOMPARE(iconMarginFor(static_cast<ButtonStyle>(style)), margin);
    }

    void shapes_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<QPoint>>("inside");
        QTest::addColumn<QList<QPoint>>("outside");
        const QList<QPoint> edges{{37, 0}, {0, 11}, {74, 11}, {37, 22}};
        QTest::newRow("rectangle")
            << 0 << (edges + QList<QPoint>{{0, 0}, {74, 22}}) << QList<QPoint>{{75, 0}, {0, 23}};
        QTest::newRow("small corners")
            << 5 << (edges + QList<QPoint>{{1, 0}, {0, 1}, {73, 0}, {74, 1}})
            << QList<QPoint>{{0, 0}, {74, 0}, {0, 22}, {74, 22}};
        QTest::newRow("large corners") << 8 << (edges + QList<QPoint>{{2, 0}, {0, 2}})
                                       << QList<QPoint>{{0, 0}, {1, 0}, {0, 1}, {74, 22}};
        QTest::newRow("glossy outline") << 10 << (edges + QList<QPoint>{{9, 0}, {0, 9}, {3, 3}})
                                        << QList<QPoint>{{0, 0}, {2, 0}, {74, 22}, {0, 20}};
        QTest::newRow("unknown style is a rectangle")
            << 11 << QList<QPoint>{{0, 0}, {74, 22}} << QList<QPoint>{};
    }
    void shapes()
    {
        QFETCH(int, style);
        QFETCH(QList<QPoint>, inside);
        QFETCH(QList<QPoint>, outside);
        const QRegion region = shapeForStyle(static_cast<ButtonStyle>(style), 75, 23);
        QCOMPARE(region.boundingRect(), QRect(0, 0, 75, 23));
        for (const QPoint &p : inside)
            QVERIFY2(region.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        for (const QPoint &p : outside)
            QVERIFY2(!region.contains(p),
                     qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }

    void minimumSize()
    {
        PlatformContext context;
        deRurara button(context);
        button.resize(10, 10);
        QCOMPARE(button.size(), QSize(20, 20));
        button.resize(75, 5);
        QCOMPARE(button.size(), QSize(75, 20));
        button.resize(20, 23);
        QCOMPARE(button.size(), QSize(20, 23));
    }
};

QTEST_MAIN(ButtonDrawingTest)
#include "tst_buttondrawing.moc"
