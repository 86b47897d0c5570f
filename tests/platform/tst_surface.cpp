#include "platform/PixelFill.h"
#include "platform/Surface.h"
#include "platform/SystemColors.h"

#include <QPoint>
#include <QSet>
#include <QTest>

#include <functional>
#include <vector>

using namespace clipnab;

namespace {

constexpr Rgb kBack = 0x101010;
constexpr Rgb kInk = 0x0000FF;

// Distinct values for the four edge colours, so every ring pixel tells whose it is.
constexpr Rgb kShadow = 0x000016;     // 16 button shadow
constexpr Rgb kHighlight = 0x000020;  // 20 button highlight
constexpr Rgb kDarkShadow = 0x000021; // 21 3-D dark shadow
constexpr Rgb kLight = 0x000022;      // 22 3-D light

QSet<QPoint> inked(const Surface &surface, Rgb color)
{
    QSet<QPoint> points;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (surface.pixel(x, y) == color)
                points.insert(QPoint(x, y));
    return points;
}

QSet<QPoint> pointsOf(std::initializer_list<QPoint> list)
{
    return QSet<QPoint>(list.begin(), list.end());
}

} // namespace

class SurfaceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineLeavesOutItsEndPoint_data();
    void lineLeavesOutItsEndPoint();
    void fillRectExcludesRightAndBottom_data();
    void fillRectExcludesRightAndBottom();
    void edgeRings_data();
    void edgeRings();
    void pixelsOutsideTheSurface();
    void backColorFillsEverything();
    void scaledDrawingIsBlocks_data();
    void scaledDrawingIsBlocks();
    void scaleFollowsTheRatioUpward();
    void pixelFillCoversExactlyItsPixels();
};

void SurfaceTest::lineLeavesOutItsEndPoint_data()
{
    QTest::addColumn<QLine>("line");
    QTest::addColumn<QSet<QPoint>>("expected");

    QTest::newRow("right") << QLine(1, 2, 4, 2) << pointsOf({{1, 2}, {2, 2}, {3, 2}});
    QTest::newRow("left") << QLine(4, 2, 1, 2) << pointsOf({{4, 2}, {3, 2}, {2, 2}});
    QTest::newRow("down") << QLine(3, 0, 3, 3) << pointsOf({{3, 0}, {3, 1}, {3, 2}});
    QTest::newRow("up") << QLine(3, 3, 3, 0) << pointsOf({{3, 3}, {3, 2}, {3, 1}});
    QTest::newRow("45 degrees down right")
        << QLine(0, 0, 3, 3) << pointsOf({{0, 0}, {1, 1}, {2, 2}});
    QTest::newRow("45 degrees up left") << QLine(3, 3, 0, 0) << pointsOf({{3, 3}, {2, 2}, {1, 1}});
    QTest::newRow("45 degrees up right") << QLine(1, 4, 4, 1) << pointsOf({{1, 4}, {2, 3}, {3, 2}});
    QTest::newRow("45 degrees down left")
        << QLine(4, 1, 1, 4) << pointsOf({{4, 1}, {3, 2}, {2, 3}});
    QTest::newRow("one pixel long") << QLine(2, 2, 3, 2) << pointsOf({{2, 2}});
    QTest::newRow("zero length draws nothing") << QLine(2, 2, 2, 2) << QSet<QPoint>();
    QTest::newRow("clipped at the left edge") << QLine(-3, 1, 2, 1) << pointsOf({{0, 1}, {1, 1}});
    QTest::newRow("ending past the surface") << QLine(4, 5, 4, 9) << pointsOf({{4, 5}});
}

void SurfaceTest::lineLeavesOutItsEndPoint()
{
    QFETCH(QLine, line);
    QFETCH(QSet<QPoint>, expected);
    SystemColors colors;
    Surface surface(colors);
    surface.resize(6, 6);
    surface.setBackColor(kBack);
    surface.line(line.x1(), line.y1(), line.x2(), line.y2(), kInk);
    QCOMPARE(inked(surface, kInk), expected);
}

void SurfaceTest::fillRectExcludesRightAndBottom_data()
{
    QTest::addColumn<QList<int>>("ltrb"); // left, top, right, bottom as given to fillRect
    QTest::addColumn<QRect>("covered");

    QTest::newRow("inside") << QList<int>{1, 1, 4, 3} << QRect(1, 1, 3, 2);
    QTest::newRow("single pixel") << QList<int>{2, 2, 3, 3} << QRect(2, 2, 1, 1);
    QTest::newRow("empty width") << QList<int>{2, 2, 2, 5} << QRect();
    QTest::newRow("empty height") << QList<int>{1, 4, 5, 4} << QRect();
    QTest::newRow("inverted") << QList<int>{4, 4, 1, 1} << QRect();
    QTest::newRow("clipped") << QList<int>{-2, -2, 9, 2} << QRect(0, 0, 6, 2);
}

void SurfaceTest::fillRectExcludesRightAndBottom()
{
    QFETCH(QList<int>, ltrb);
    QFETCH(QRect, covered);
    SystemColors colors;
    Surface surface(colors);
    surface.resize(6, 6);
    surface.setBackColor(kBack);
    surface.fillRect(ltrb.at(0), ltrb.at(1), ltrb.at(2), ltrb.at(3), kInk);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            QCOMPARE(surface.pixel(x, y), covered.contains(x, y) ? kInk : kBack);
}

void SurfaceTest::edgeRings_data()
{
    QTest::addColumn<unsigned>("edge");
    // Colours of the outermost ring (top/left, bottom/right) and of the ring inside it;
    // kBack where a ring is not drawn.
    QTest::addColumn<int>("outerTopLeft");
    QTest::addColumn<int>("outerBottomRight");
    QTest::addColumn<int>("innerTopLeft");
    QTest::addColumn<int>("innerBottomRight");

    QTest::newRow("raised") << Edge::kRaised << kLight << kDarkShadow << kHighlight << kShadow;
    QTest::newRow("sunken") << Edge::kSunken << kShadow << kHighlight << kDarkShadow << kLight;
    QTest::newRow("raised outer alone")
        << Edge::kRaisedOuter << kLight << kDarkShadow << kBack << kBack;
    QTest::newRow("sunken outer alone")
        << Edge::kSunkenOuter << kShadow << kHighlight << kBack << kBack;
    QTest::newRow("raised inner alone takes the outer ring")
        << Edge::kRaisedInner << kHighlight << kShadow << kBack << kBack;
    QTest::newRow("sunken inner alone takes the outer ring")
        << Edge::kSunkenInner << kDarkShadow << kLight << kBack << kBack;
}

void SurfaceTest::edgeRings()
{
    QFETCH(unsigned, edge);
    QFETCH(int, outerTopLeft);
    QFETCH(int, outerBottomRight);
    QFETCH(int, innerTopLeft);
    QFETCH(int, innerBottomRight);

    SystemColors colors;
    colors.setOverride(16, kShadow);
    colors.setOverride(20, kHighlight);
    colors.setOverride(21, kDarkShadow);
    colors.setOverride(22, kLight);
    Surface surface(colors);
    surface.resize(8, 8);
    surface.setBackColor(kBack);
    surface.drawEdge(1, 1, 7, 7, edge, EdgeSide::kRect);

    // Outer ring on 1..6: the top row and left column stop one short, so the bottom/right
    // colour owns the top-right and bottom-left corners.
    QCOMPARE(surface.pixel(1, 1), outerTopLeft);
    QCOMPARE(surface.pixel(5, 1), outerTopLeft);
    QCOMPARE(surface.pixel(1, 5), outerTopLeft);
    QCOMPARE(surface.pixel(6, 1), outerBottomRight);
    QCOMPARE(surface.pixel(1, 6), outerBottomRight);
    QCOMPARE(surface.pixel(6, 6), outerBottomRight);
    // Inner ring on 2..5.
    QCOMPARE(surface.pixel(2, 2), innerTopLeft);
    QCOMPARE(surface.pixel(4, 2), innerTopLeft);
    QCOMPARE(surface.pixel(2, 4), innerTopLeft);
    QCOMPARE(surface.pixel(5, 2), innerBottomRight);
    QCOMPARE(surface.pixel(2, 5), innerBottomRight);
    QCOMPARE(surface.pixel(5, 5), innerBottomRight);
    // Nothing outside the rectangle or in its middle.
    QCOMPARE(surface.pixel(0, 0), kBack);
    QCOMPARE(surface.pixel(7, 7), kBack);
    QCOMPARE(surface.pixel(3, 3), kBack);
}

void SurfaceTest::pixelsOutsideTheSurface()
{
    SystemColors colors;
    Surface surface(colors);
    surface.resize(3, 3);
    surface.setBackColor(kBack);
    surface.setPixel(-1, 0, kInk);
    surface.setPixel(3, 3, kInk);
    surface.setPixel(2, 2, kInk);
    QCOMPARE(inked(surface, kInk), pointsOf({{2, 2}}));
    QCOMPARE(surface.pixel(-1, 0), kInvalidRgb);
    QCOMPARE(surface.pixel(0, 3), kInvalidRgb);
}

void SurfaceTest::backColorFillsEverything()
{
    SystemColors colors;
    Surface surface(colors);
    surface.resize(4, 3);
    surface.line(0, 0, 4, 0, kInk);
    surface.setBackColor(0x00ABCDEF);
    QCOMPARE(inked(surface, 0x00ABCDEF).size(), 12);
    QCOMPARE(surface.backColor(), 0x00ABCDEF);
}

// A drawing at any scale; each row of the table below draws one of them.
using Drawing = std::function<void(Surface &)>;
Q_DECLARE_METATYPE(Drawing)

void SurfaceTest::scaledDrawingIsBlocks_data()
{
    QTest::addColumn<Drawing>("draw");
    QTest::newRow("lines") << Drawing([](Surface &s) {
        s.line(1, 1, 9, 1, kInk);
        s.line(2, 7, 2, 2, 0x00FF00);
        s.line(3, 3, 7, 7, 0x00FFFF);
        s.line(10, 1, 6, 5, 0xFF00FF);
    });
    QTest::newRow("fills and pixels") << Drawing([](Surface &s) {
        s.fillRect(-2, 3, 5, 20, kInk);
        s.setPixel(11, 0, 0x00FF00);
        s.setPixel(0, 8, 0x00FF00);
    });
    QTest::newRow("edges") << Drawing([](Surface &s) {
        s.drawEdge(0, 0, 12, 9, Edge::kRaised, EdgeSide::kRect);
        s.drawEdge(3, 2, 9, 7, Edge::kSunken, EdgeSide::kLeft | EdgeSide::kBottom);
    });
    QTest::newRow("stretched picture with alpha") << Drawing([](Surface &s) {
        QImage picture(3, 2, QImage::Format_ARGB32);
        picture.fill(qRgba(200, 10, 10, 255));
        picture.setPixel(1, 0, qRgba(10, 200, 10, 128));
        picture.setPixel(2, 1, qRgba(0, 0, 0, 0));
        s.drawPicture(picture, 2, 1, 7, 5);
    });
}

void SurfaceTest::scaledDrawingIsBlocks()
{
    QFETCH(Drawing, draw);
    SystemColors colors;
    Surface once(colors);
    once.resize(12, 9);
    once.setBackColor(kBack);
    draw(once);
    Surface twice(colors);
    twice.resize(12, 9, 2);
    twice.setBackColor(kBack);
    draw(twice);

    QCOMPARE(twice.image().size(), QSize(24, 18));
    QCOMPARE(twice.image().devicePixelRatio(), 2.0);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) {
            QCOMPARE(twice.pixel(x, y), once.pixel(x, y));
            for (int d = 0; d < 4; ++d)
                QCOMPARE(fromQRgb(twice.image().pixel(2 * x + d % 2, 2 * y + d / 2)),
                         once.pixel(x, y));
        }
    }
}

void SurfaceTest::scaleFollowsTheRatioUpward()
{
    QCOMPARE(Surface::scaleFor(1.0), 1);
    QCOMPARE(Surface::scaleFor(1.25), 2);
    QCOMPARE(Surface::scaleFor(2.000001), 2);
    QCOMPARE(Surface::scaleFor(2.5), 3);
}

// Every start within a vector's width and every length up to several vectors: the vector fill's
// unaligned head and tail must cover the run and nothing beside it.
void SurfaceTest::pixelFillCoversExactlyItsPixels()
{
    const PixelFill fill = widestPixelFill();
    for (int start = 0; start < 9; ++start) {
        for (int length = 0; length < 140; ++length) {
            std::vector<QRgb> pixels(160, 7u);
            fill(pixels.data() + start, length, 9u);
            for (int i = 0; i < 160; ++i)
                QCOMPARE(pixels[std::size_t(i)], i >= start && i < start + length ? 9u : 7u);
        }
    }
}

QTEST_MAIN(SurfaceTest)
#include "tst_surface.moc"
