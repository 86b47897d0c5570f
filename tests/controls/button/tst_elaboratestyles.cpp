#include "ButtonTestSupport.h"

#include "controls/button/ButtonGeometry.h"

#include <QRegion>
#include <QTest>

using namespace clipnab;
using namespace clipnab::test;

namespace {

constexpr uint kGrey = 0x00808080u;
constexpr uint kWhite = 0x00FFFFFFu;
constexpr uint kAzure = 0x00FF8000u; // RGB(0, 128, 255)

// How a button is set up before its pixels are read.
struct Look
{
    int state = 1;
    bool focus = false;
    bool custom = false;
    uint back = kGrey;
    uint highlight = kAzure;
    QSize size{75, 23};
};

Probe P(int x, int y, Rgb color)
{
    return {{x, y}, color};
}

Probe P(int x, int y, int r, int g, int b)
{
    return {{x, y}, makeRgb(r, g, b)};
}

} // namespace

Q_DECLARE_METATYPE(Look)

class ElaborateStylesTest : public QObject
{
    Q_OBJECT
private:
    PlatformContext m_context;

    // The style is set at rest first, so a state that does not clear the surface shows what the
    // resting look cleared it to.
    std::unique_ptr<deRurara> button(int style, const Look &look)
    {
        auto b = makeButton(m_context, look.size.width(), look.size.height());
        b->writeUseCustomColors(look.custom);
        b->writeBackColor(look.back);
        b->writeHighlightColor(look.highlight);
        b->writeShowFocus(false);
        b->writeStyle(style);
        b->writeHasFocus(look.focus);
        if (look.state == 4)
            b->writeEnabled(false);
        else
            b->writeButtonState(look.state);
        return b;
    }

    void addColumns()
    {
        QTest::addColumn<Look>("look");
        QTest::addColumn<QList<Probe>>("probes");
    }

    void check(int style)
    {
        QFETCH(Look, look);
        QFETCH(QList<Probe>, probes);
        QVERIFY(probesMatch(*button(style, look), probes));
    }

private Q_SLOTS:
    void initTestCase() { pinClassicColors(m_context.systemColors()); }

    void softGradient_data()
    {
        addColumns();
        const Rgb frame = makeRgb(148, 145, 128);
        QTest::newRow("normal") << Look{}
                                << QList<Probe>{P(0, 0, 244, 241, 224),   P(0, 22, 244, 241, 224),
                                                P(10, 0, frame),          P(74, 0, frame),
                                                P(74, 22, frame),         P(1, 1, frame),
                                                P(1, 0, 215, 212, 195),   P(10, 1, 255, 254, 237),
                                                P(10, 21, 199, 196, 179), P(1, 2, 255, 255, 245),
                                                P(73, 2, 239, 236, 219),  P(10, 2, 254, 254, 238)};
        const QList<Probe> highlight{P(10, 1, 70, 127, 218), P(1, 2, 70, 127, 218),
                                     P(73, 2, 70, 127, 218), P(1, 20, 44, 101, 192),
                                     P(10, 21, 28, 85, 176)};
        QTest::newRow("hot without focus")
            << Look{.state = 2}
            << (highlight + QList<Probe>{P(0, 0, 255, 255, 240), P(10, 0, 159, 159, 144),
                                         P(10, 3, 253, 253, 252)});
        QTest::newRow("focused at rest") << Look{.focus = true} << highlight;
        QTest::newRow("disabled and focused: no highlight")
            << Look{.state = 4, .focus = true}
            << QList<Probe>{P(10, 1, 255, 254, 237), P(1, 0, 241, 238, 221),
                            P(0, 0, 254, 251, 234)};
        QTest::newRow("pressed keeps the cleared corner")
            << Look{.state = 3, .focus = true}
            << QList<Probe>{P(0, 0, 244, 241, 224),   P(10, 1, 215, 212, 195),
                            P(5, 2, 213, 210, 193),   P(5, 20, 226, 223, 206),
                            P(10, 21, 244, 241, 224), P(73, 2, 206, 203, 186),
                            P(1, 2, 195, 192, 175),   P(10, 22, 131, 128, 111)};
        QTest::newRow("custom colours")
            << Look{.state = 2, .custom = true}
            << QList<Probe>{P(0, 0, 152, 152, 152), P(10, 1, 21, 149, 255)};
    }
    void softGradient() { check(7); }

    void reliefGradient_data()
    {
        addColumns();
        const Rgb face = makeRgb(236, 233, 216);
        const Rgb lighter = makeRgb(251, 248, 231);
        const Rgb frame = makeRgb(188, 185, 168);
        const Rgb shadow = makeRgb(209, 206, 189);
        const Rgb corner = makeRgb(224, 221, 204);
        const Rgb white = makeRgb(255, 255, 255);
        QTest::newRow("normal")
            << Look{}
            << QList<Probe>{P(0, 0, face),     P(1, 0, face),     P(74, 0, face),
                            P(0, 22, face),    P(10, 1, white),   P(1, 10, white),
                            P(10, 0, frame),   P(0, 10, frame),   P(73, 10, frame),
                            P(10, 21, frame),  P(1, 1, frame),    P(72, 20, frame),
                            P(10, 22, shadow), P(74, 10, shadow), P(71, 22, shadow),
                            P(74, 19, shadow), P(72, 22, corner), P(73, 21, corner),
                            P(74, 20, corner), P(10, 2, lighter), P(10, 19, 221, 218, 201),
                            P(10, 20, face)};
        QTest::newRow("focused") << Look{.focus = true}
                                 << QList<Probe>{P(10, 0, 140, 137, 120), P(10, 22, 161, 158, 141)};
        QTest::newRow("hot") << Look{.state = 2, .focus = true}
                             << QList<Probe>{P(0, 0, lighter), P(10, 0, 140, 137, 120)};
        QTest::newRow("disabled") << Look{.state = 4} << QList<Probe>{P(0, 0, lighter)};
        QTest::newRow("pressed and focused keeps the plain frame")
            << Look{.state = 3, .focus = true}
            << QList<Probe>{P(0, 0, lighter),        P(10, 0, frame),  P(10, 1, lighter),
                            P(1, 10, lighter),       P(10, 20, white), P(10, 2, face),
                            P(10, 19, 255, 255, 246)};
        QTest::newRow("custom hot face is HighlightColor")
            << Look{.state = 2, .custom = true}
            << QList<Probe>{P(0, 0, 0, 128, 255), P(10, 0, 80, 80, 80), P(10, 22, 101, 101, 101)};
    }
    void reliefGradient() { check(8); }

    // Height 23 halves to h(7) = 4, h(2) = 10, h(5) = 6, h(0) = 12; height 25 to h(7) = 6.
    void capsule_data()
    {
        addColumns();
        const Rgb a = makeRgb(221, 218, 201);
        const Rgb dark = makeRgb(93, 90, 73);
        const Rgb cap = makeRgb(184, 181, 164);
        QTest::newRow("normal, height 23") << Look{}
                                           << QList<Probe>{P(1, 10, a),
                                                           P(0, 0, 255, 255, 255),
                                                           P(0, 19, dark),
                                                           P(10, 21, dark),
                                                           P(6, 3, 255, 255, 255),
                                                           P(2, 3, a),
                                                           P(2, 4, a),
                                                           P(2, 8, cap),
                                                           P(2, 9, a),
                                                           P(2, 10, cap),
                                                           P(2, 16, 189, 186, 169),
                                                           P(2, 17, a),
                                                           P(1, 20, 109, 106, 89),
                                                           P(72, 20, 109, 106, 89),
                                                           P(71, 22, 200, 197, 180),
                                                           P(10, 22, 205, 202, 185),
                                                           P(10, 0, 255, 255, 249),
                                                           P(10, 1, a),
                                                           P(74, 11, 180, 177, 162),
                                                           P(74, 12, 157, 154, 137),
                                                           P(74, 20, 213, 210, 193),
                                                           P(10, 2, 253, 250, 233)};
        QTest::newRow("hot") << Look{.state = 2} << QList<Probe>{P(1, 10, 237, 234, 217)};
        QTest::newRow("pressed") << Look{.state = 3} << QList<Probe>{P(1, 10, 255, 255, 240)};
        QTest::newRow("disabled") << Look{.state = 4} << QList<Probe>{P(1, 10, 251, 248, 231)};
        QTest::newRow("pressed, white highlight clamps")
            << Look{.state = 3, .custom = true, .highlight = kWhite}
            << QList<Probe>{P(1, 10, 255, 255, 255), P(6, 3, 255, 255, 255),
                            P(10, 0, 255, 255, 255), P(10, 21, 127, 127, 127)};
        QTest::newRow("custom dark face, height 25")
            << Look{.custom = true, .back = 0x00404040u, .size = {80, 25}}
            << QList<Probe>{P(6, 3, 177, 177, 177), P(1, 10, 49, 49, 49), P(2, 9, 18, 18, 18),
                            P(2, 10, 12, 12, 12), P(2, 11, 13, 13, 13)};
    }
    void capsule() { check(9); }

    void glossyImage_data()
    {
        addColumns();
        const QList<Probe> restRow0{P(6, 0, 254, 254, 254),  P(7, 0, 230, 230, 230),
                                    P(8, 0, 172, 172, 172),  P(9, 0, 122, 122, 122),
                                    P(13, 0, 111, 111, 113), P(16, 0, 107, 109, 108),
                                    P(17, 0, 106, 105, 103), P(57, 0, 106, 105, 103)};
        const QList<Probe> hotRow0{P(6, 0, 254, 254, 254), P(8, 0, 165, 165, 169),
                                   P(10, 0, 41, 39, 72), P(14, 0, 6, 6, 58), P(30, 0, 8, 6, 69)};
        QTest::newRow("rest") << Look{}
                              << (restRow0 +
                                  QList<Probe>{P(2, 11, 153, 153, 153), P(2, 12, 153, 153, 153),
                                               P(58, 13, 232, 231, 234), P(58, 14, 232, 231, 234),
                                               P(57, 13, 239, 241, 238), P(30, 21, 84, 84, 84),
                                               P(74, 12, 246, 246, 246), P(72, 11, 163, 163, 163)});
        QTest::newRow("hot") << Look{.state = 2} << hotRow0;
        QTest::newRow("focused at rest") << Look{.focus = true} << hotRow0;
        QTest::newRow("disabled and focused") << Look{.state = 4, .focus = true} << hotRow0;
        QTest::newRow("disabled") << Look{.state = 4} << restRow0;
        QTest::newRow("pressed and focused")
            << Look{.state = 3, .focus = true, .size = {140, 41}}
            << QList<Probe>{P(30, 0, 10, 9, 60),       P(2, 20, 23, 45, 99),
                            P(137, 30, 25, 51, 109),   P(30, 20, 106, 155, 204),
                            P(122, 32, 135, 176, 220), P(121, 30, 117, 161, 208),
                            P(30, 39, 62, 86, 90)};
    }
    void glossyImage() { check(10); }

    void windowShapes_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<QPoint>>("topRows");
        QTest::addColumn<QList<QPoint>>("bottomRows");
        QTest::addColumn<int>("iconLeft");
        const QList<QPoint> small{{1, 1}, {0, 0}};
        QTest::newRow("soft gradient: small corners")
            << 7 << small << QList<QPoint>{{0, 0}, {1, 1}} << 5;
        const QList<QPoint> largeTop{{2, 3}, {1, 2}, {0, 1}, {0, 0}};
        const QList<QPoint> largeBottom{{0, 0}, {1, 0}, {2, 1}, {3, 2}};
        QTest::newRow("relief gradient: large corners") << 8 << largeTop << largeBottom << 4;
        QTest::newRow("capsule: large corners") << 9 << largeTop << largeBottom << 7;
        const QList<QPoint> glossyTop{{6, 7}, {5, 5}, {3, 4}, {3, 3}, {2, 2},
                                      {1, 1}, {1, 1}, {1, 1}, {0, 0}};
        const QList<QPoint> glossyBottom{{0, 0}, {0, 1}, {1, 1}, {1, 1},
                                         {2, 2}, {2, 3}, {3, 4}, {5, 5}};
        QTest::newRow("glossy image: the pictures' outline")
            << 10 << glossyTop << glossyBottom << 7;
    }
    void windowShapes()
    {
        QFETCH(int, style);
        QFETCH(QList<QPoint>, topRows);
        QFETCH(QList<QPoint>, bottomRows);
        QFETCH(int, iconLeft);
        QImage icon(16, 16, QImage::Format_RGB32);
        icon.fill(Qt::red);
        auto b = makeButton(m_context);
        b->writeIcon(icon);
        b->writeIconVisible(true);
        b->writeIconAlign(1);
        b->writeStyle(style);
        const QRegion &shape = b->shapeRegion();
        const auto outside = [&](int y, bool right) {
            int n = 0;
            while (n < 75 && !shape.contains(QPoint(right ? 74 - n : n, y)))
                ++n;
            return n;
        };
        QList<QPoint> top, bottom;
        for (int y = 0; y < topRows.size(); ++y)
            top.append({outside(y, false), outside(y, true)});
        const int firstBottomRow = 23 - static_cast<int>(bottomRows.size());
        for (int y = firstBottomRow; y < 23; ++y)
            bottom.append({outside(y, false), outside(y, true)});
        QCOMPARE(top, topRows);
        QCOMPARE(bottom, bottomRows);
        QCOMPARE(pixelAt(*b, iconLeft, 11), makeRgb(255, 0, 0));
        QVERIFY(pixelAt(*b, iconLeft - 1, 11) != makeRgb(255, 0, 0));
    }

    // Style 10's window shape is exactly what its pictures paint: no pixel inside it keeps the
    // cleared colour, and no painted pixel falls outside it.
    void glossyShapeIsThePicture_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("75 x 23") << QSize(75, 23);
        QTest::newRow("103 x 41") << QSize(103, 41);
        QTest::newRow("46 x 37") << QSize(46, 37);
    }
    void glossyShapeIsThePicture()
    {
        QFETCH(QSize, size);
        constexpr Rgb kCleared = makeRgb(255, 0, 255);
        PlatformContext context;
        context.systemColors().setOverride(SysColor::kButtonFace, kCleared);
        auto b = makeButton(context, size.width(), size.height());
        b->writeStyle(10);
        for (const int state : {1, 2, 3}) {
            b->writeButtonState(state);
            QStringList wrong;
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    const bool painted = pixelAt(*b, x, y) != kCleared;
                    if (painted != b->shapeRegion().contains(QPoint(x, y)))
                        wrong << QStringLiteral("(%1,%2)").arg(x).arg(y);
                }
            }
            QVERIFY2(
                wrong.isEmpty(),
                qPrintable(
                    QStringLiteral("state %1: %2").arg(state).arg(wrong.join(QLatin1Char(' ')))));
        }
    }
};

QTEST_MAIN(ElaborateStylesTest)
#include "tst_elaboratestyles.moc"
