#include "controls/panel/PanelPainter.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

#include <QTest>

using namespace clipnab;

namespace {
constexpr Rgb kBackground = 0x123456;
constexpr Rgb kButtonFace = 0x0A0B0C;
} // namespace

Q_DECLARE_METATYPE(RowGradient)

class PanelPainterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowGradient_data();
    void rowGradient();
    void gradientRowsStopBeforeX2();
    void frame_data();
    void frame();
    void frameWithUntranslatableColor();
    void layersPaintedOnce_data();
    void layersPaintedOnce();
    void layout_data();
    void layout();
    void bodyArea_data();
    void bodyArea();
};

void PanelPainterTest::rowGradient_data()
{
    QTest::addColumn<uint>("top");
    QTest::addColumn<uint>("bottom");
    QTest::addColumn<int>("y0");
    QTest::addColumn<int>("y1");
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("painted");
    // Colour of column 0 on rows 0..5; kBackground where nothing was drawn.
    QTest::addColumn<QList<int>>("rows");

    const int bg = kBackground;
    QTest::newRow("reference height 0, empty row range")
        << 0x000000u << 0xFFFFFFu << 0 << -1 << 0 << true << QList<int>{bg, bg, bg, bg, bg, bg};
    QTest::newRow("reference height 0 still draws its rows")
        << 0x141414u << 0x0A0A0Au << 1 << 2 << 0 << true
        << QList<int>{bg, 0x141414, 0x1E1E1E, bg, bg, bg};
    QTest::newRow("reference height 1 draws nothing")
        << 0x000000u << 0xFFFFFFu << 0 << 5 << 1 << false << QList<int>{bg, bg, bg, bg, bg, bg};
    QTest::newRow("reference height 2 hits both ends")
        << 0x102030u << 0x405060u << 2 << 3 << 2 << true
        << QList<int>{bg, bg, 0x102030, 0x405060, bg, bg};
    QTest::newRow("black to white in four rows")
        << 0x000000u << 0xFFFFFFu << 0 << 3 << 4 << true
        << QList<int>{0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF, bg, bg};
    QTest::newRow("halves round to even") << 0x000000u << 0x050505u << 0 << 2 << 3 << true
                                          << QList<int>{0x000000, 0x020202, 0x050505, bg, bg, bg};
    QTest::newRow("channels grade independently")
        << 0x0000FFu << 0xFF0000u << 0 << 2 << 3 << true
        << QList<int>{0x0000FF, 0x800080, 0xFF0000, bg, bg, bg};
    QTest::newRow("equal colours fill plainly")
        << 0x336699u << 0x336699u << 0 << 5 << 6 << true
        << QList<int>{0x336699, 0x336699, 0x336699, 0x336699, 0x336699, 0x336699};
    QTest::newRow("rows past the reference height stop at the channel limits")
        << 0xFFFFFFu << 0x000000u << 0 << 3 << 2 << true
        << QList<int>{0xFFFFFF, 0x000000, 0x000000, 0x000000, bg, bg};
    QTest::newRow("system colour resolves") << 0x8000000Fu << 0x8000000Fu << 0 << 1 << 2 << true
                                            << QList<int>{kButtonFace, kButtonFace, bg, bg, bg, bg};
    QTest::newRow("untranslatable colour splits as -1")
        << 0x01000000u << 0x01000000u << 0 << 0 << 2 << true
        << QList<int>{0x0000FF, bg, bg, bg, bg, bg};
    QTest::newRow("rows below the surface are ignored")
        << 0x000000u << 0x000000u << 4 << 100 << 97 << true
        << QList<int>{bg, bg, bg, bg, 0x000000, 0x000000};
}

void PanelPainterTest::rowGradient()
{
    QFETCH(uint, top);
    QFETCH(uint, bottom);
    QFETCH(int, y0);
    QFETCH(int, y1);
    QFETCH(int, n);
    QFETCH(bool, painted);
    QFETCH(QList<int>, rows);

    SystemColors colors;
    colors.setOverride(15, kButtonFace);
    Surface surface(colors);
    surface.resize(8, 6);

    const auto body = gradientBand(colors, top, bottom, RowGradient{y0, y1, 8, n}, 6);
    QCOMPARE(body.has_value(), painted);
    PanelPicture picture;
    picture.background = kBackground;
    picture.body = body ? &*body : nullptr;
    paintPanel(surface, picture);
    for (int y = 0; y < rows.size(); ++y) {
        QCOMPARE(surface.pixel(0, y), rows.at(y));
        QCOMPARE(surface.pixel(7, y), rows.at(y));
    }
}

void PanelPainterTest::gradientRowsStopBeforeX2()
{
    SystemColors colors;
    Surface surface(colors);
    surface.resize(8, 2);
    const auto body = gradientBand(colors, 0x111111, 0x222222, RowGradient{0, 1, 5, 2}, 2);
    PanelPicture picture;
    picture.background = kBackground;
    picture.body = &*body;
    paintPanel(surface, picture);
    for (int y = 0; y < 2; ++y) {
        QCOMPARE(surface.pixel(4, y), y == 0 ? 0x111111 : 0x222222);
        QCOMPARE(surface.pixel(5, y), kBackground);
    }
}

void PanelPainterTest::frame_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("design size") << QSize(165, 128);
    QTest::newRow("single pixel") << QSize(1, 1);
    QTest::newRow("two by two") << QSize(2, 2);
    QTest::newRow("one row") << QSize(5, 1);
    QTest::newRow("one column") << QSize(1, 5);
    QTest::newRow("three by three") << QSize(3, 3);
}

void PanelPainterTest::frame()
{
    QFETCH(QSize, size);
    constexpr Rgb kBorder = 0xDCC1AD;
    SystemColors colors;
    Surface surface(colors);
    surface.resize(size.width(), size.height());

    PanelPicture picture;
    picture.background = kBackground;
    picture.frame = frameColor(colors, kBorder);
    QVERIFY(picture.frame);
    paintPanel(surface, picture);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const bool edge = x == 0 || y == 0 || x == size.width() - 1 || y == size.height() - 1;
            QCOMPARE(surface.pixel(x, y), edge ? kBorder : kBackground);
        }
    }
}

void PanelPainterTest::frameWithUntranslatableColor()
{
    SystemColors colors;
    QVERIFY(!frameColor(colors, 0x02000000));
    QVERIFY(!frameColor(colors, systemColorRef(25)));
}

void PanelPainterTest::layersPaintedOnce_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<RowGradient>("body");
    QTest::addColumn<QRect>("header"); // null: no header

    QTest::newRow("header style at the design size")
        << QSize(165, 128) << RowGradient{24, 127, 163, 103} << QRect(1, 1, 163, 23);
    QTest::newRow("plain style") << QSize(40, 30) << RowGradient{0, 29, 40, 30} << QRect();
    QTest::newRow("header over the bottom frame row")
        << QSize(30, 12) << RowGradient{24, 11, 28, -12} << QRect(1, 1, 28, 23);
    QTest::newRow("rows leftwards from x = 0")
        << QSize(9, 9) << RowGradient{2, 6, -4, 5} << QRect(1, 1, 7, 3);
    QTest::newRow("one column") << QSize(1, 7) << RowGradient{0, 6, 1, 7} << QRect(1, 1, 0, 3);
    QTest::newRow("narrow header over the body's rows")
        << QSize(12, 10) << RowGradient{0, 9, 12, 10} << QRect(3, 1, 4, 3);
}

// The layers painted one over the other must give what the one pass gives.
void PanelPainterTest::layersPaintedOnce()
{
    QFETCH(QSize, size);
    QFETCH(RowGradient, body);
    QFETCH(QRect, header);
    constexpr Rgb kBorder = 0xDCC1AD;
    SystemColors colors;
    const auto bodyBand = gradientBand(colors, 0x102030, 0xF0E0D0, body, size.height());
    const RowBand headerBand{header.left(), header.left() + header.width(), header.top(),
                             std::vector<QRgb>(std::size_t(header.height()), toQRgb(0x00FF00))};
    PanelPicture picture;
    picture.background = kBackground;
    picture.body = &*bodyBand;
    picture.frame = kBorder;
    if (!header.isNull())
        picture.header = &headerBand;
    Surface once(colors);
    once.resize(size.width(), size.height());
    paintPanel(once, picture);

    Surface layered(colors);
    layered.resize(size.width(), size.height());
    layered.setBackColor(kBackground);
    for (std::size_t i = 0; i < picture.body->colors.size(); ++i) {
        const int y = picture.body->top + int(i);
        layered.line(0, y, body.x2, y, fromQRgb(picture.body->colors[i]));
    }
    const int right = size.width() - 1;
    const int bottom = size.height() - 1;
    layered.line(0, 0, right + 1, 0, kBorder);
    layered.line(0, bottom, right + 1, bottom, kBorder);
    layered.line(0, 0, 0, bottom + 1, kBorder);
    layered.line(right, 0, right, bottom + 1, kBorder);
    if (!header.isNull())
        layered.fillRect(header.left(), header.top(), header.right() + 1, header.bottom() + 1,
                         0x00FF00);
    QCOMPARE(once.image(), layered.image());
}

void PanelPainterTest::layout_data()
{
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<int>("captionHeight");
    QTest::addColumn<bool>("laidOut");
    QTest::addColumn<int>("headerWidth");
    QTest::addColumn<int>("bodyHeight");
    QTest::addColumn<int>("captionTop");

    QTest::newRow("design size") << QSize(165, 128) << 15 << true << 163 << 103 << 4;
    QTest::newRow("caption top 3.5 rounds to 4")
        << QSize(165, 128) << 16 << true << 163 << 103 << 4;
    QTest::newRow("caption top 2.5 rounds to 2")
        << QSize(165, 128) << 18 << true << 163 << 103 << 2;
    QTest::newRow("caption taller than the strip") << QSize(50, 40) << 27 << true << 48 << 15 << -2;
    QTest::newRow("too short for a body") << QSize(50, 20) << 15 << true << 48 << 0 << 4;
    QTest::newRow("width 0 is not laid out") << QSize(0, 128) << 15 << false << 0 << 0 << 0;
    QTest::newRow("width 1") << QSize(1, 128) << 15 << true << 0 << 103 << 4;
}

void PanelPainterTest::layout()
{
    QFETCH(QSize, panel);
    QFETCH(int, captionHeight);
    QFETCH(bool, laidOut);
    QFETCH(int, headerWidth);
    QFETCH(int, bodyHeight);
    QFETCH(int, captionTop);

    const auto result = layoutPanel(panel, PanelMetrics::kHeaderHeight, captionHeight);
    QCOMPARE(result.has_value(), laidOut);
    if (!result)
        return;
    QCOMPARE(result->headerWidth, headerWidth);
    QCOMPARE(result->bodyWidth, headerWidth);
    QCOMPARE(result->bodyHeight, bodyHeight);
    QCOMPARE(result->captionTop, captionTop);
}

void PanelPainterTest::bodyArea_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QRect>("bodyBox");
    QTest::addColumn<int>("y0");
    QTest::addColumn<int>("y1");
    QTest::addColumn<int>("x2");
    QTest::addColumn<int>("n");

    QTest::newRow("header style: the body box's width, background left of the frame")
        << 0 << QSize(165, 128) << QRect(1, 24, 163, 103) << 24 << 127 << 163 << 103;
    QTest::newRow("plain style: the whole panel")
        << 1 << QSize(165, 128) << QRect(1, 24, 163, 103) << 0 << 127 << 165 << 128;
    QTest::newRow("any other style is plain")
        << -7 << QSize(40, 30) << QRect(1, 24, 38, 5) << 0 << 29 << 40 << 30;
}

void PanelPainterTest::bodyArea()
{
    QFETCH(int, style);
    QFETCH(QSize, panel);
    QFETCH(QRect, bodyBox);

    const RowGradient g = bodyGradient(style, panel, bodyBox);
    QTEST(g.y0, "y0");
    QTEST(g.y1, "y1");
    QTEST(g.x2, "x2");
    QTEST(g.n, "n");
}

QTEST_GUILESS_MAIN(PanelPainterTest)
#include "tst_panelpainter.moc"
