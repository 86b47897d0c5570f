#include "ButtonTestSupport.h"

#include "controls/button/ButtonGeometry.h"
#include "controls/button/styles/Capsule.h"

#include <QRegion>
#include <QTest>

using namespace clipnab;
using namespace clipnab::test;

namespace {

using Probe = QPair<QPoint, Rgb>;

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

bool probesMatch(const deRurara &b, const QList<Probe> &probes)
{
    bool ok = true;
    for (const Probe &p : probes) {
        const Rgb got = pixelAt(b, p.first.x(), p.first.y());
        if (got != p.second) {
            qWarning("pixel %d,%d is %06x, wanted %06x", p.first.x(), p.first.y(), unsigned(got),
                     unsigned(p.second));
            ok = false;
        }
    }
    return ok;
}

} // namespace

Q_DECLARE_METATYPE(Look)

class TestElaborateStyles : public QObject
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
    void initTestCase() { pinClassicColours(m_context.systemColors()); }

    void softGradient_data()
    {
        addColumns();
        const Rgb frame = makeRgb(148, 145, 128);
        QTest::newRow("normal") << Look{}
                                << QList<Probe>{{{0, 0}, makeRgb(244, 241, 224)},
                                                {{10, 0}, frame},
                                                {{74, 0}, frame},
                                                {{74, 22}, frame},
                                                {{0, 22}, makeRgb(244, 241, 224)},
                                                {{1, 1}, frame},
                                                {{1, 0}, makeRgb(215, 212, 195)},
                                                {{10, 1}, makeRgb(255, 254, 237)},
                                                {{10, 21}, makeRgb(199, 196, 179)},
                                                {{1, 2}, makeRgb(255, 255, 245)},
                                                {{73, 2}, makeRgb(239, 236, 219)},
                                                {{10, 2}, makeRgb(254, 254, 238)}};
        const QList<Probe> highlight{{{10, 1}, makeRgb(70, 127, 218)},
                                     {{1, 2}, makeRgb(70, 127, 218)},
                                     {{73, 2}, makeRgb(70, 127, 218)},
                                     {{1, 20}, makeRgb(44, 101, 192)},
                                     {{10, 21}, makeRgb(28, 85, 176)}};
        QTest::newRow("hot without focus")
            << Look{.state = 2}
            << (highlight + QList<Probe>{{{0, 0}, makeRgb(255, 255, 240)},
                                         {{10, 0}, makeRgb(159, 159, 144)},
                                         {{10, 3}, makeRgb(253, 253, 252)}});
        QTest::newRow("focused at rest") << Look{.focus = true} << highlight;
        QTest::newRow("disabled and focused: no highlight")
            << Look{.state = 4, .focus = true}
            << QList<Probe>{{{10, 1}, makeRgb(255, 254, 237)},
                            {{1, 0}, makeRgb(241, 238, 221)},
                            {{0, 0}, makeRgb(254, 251, 234)}};
        QTest::newRow("pressed keeps the cleared corner")
            << Look{.state = 3, .focus = true}
            << QList<Probe>{{{0, 0}, makeRgb(244, 241, 224)},   {{10, 1}, makeRgb(215, 212, 195)},
                            {{5, 2}, makeRgb(213, 210, 193)},   {{5, 20}, makeRgb(226, 223, 206)},
                            {{10, 21}, makeRgb(244, 241, 224)}, {{73, 2}, makeRgb(206, 203, 186)},
                            {{1, 2}, makeRgb(195, 192, 175)},   {{10, 22}, makeRgb(131, 128, 111)}};
        QTest::newRow("custom colours")
            << Look{.state = 2, .custom = true}
            << QList<Probe>{{{0, 0}, makeRgb(152, 152, 152)}, {{10, 1}, makeRgb(21, 149, 255)}};
    }
    void softGradient() { check(7); }

    void reliefGradient_data()
    {
        addColumns();
        const Rgb face = makeRgb(236, 233, 216);
        const Rgb lighter = makeRgb(251, 248, 231);
        const Rgb frame = makeRgb(188, 185, 168);
        const Rgb shadow = makeRgb(209, 206, 189);
        const Rgb white = makeRgb(255, 255, 255);
        QTest::newRow("normal") << Look{}
                                << QList<Probe>{{{0, 0}, face},
                                                {{1, 0}, face},
                                                {{74, 0}, face},
                                                {{0, 22}, face},
                                                {{10, 1}, white},
                                                {{1, 10}, white},
                                                {{10, 0}, frame},
                                                {{0, 10}, frame},
                                                {{73, 10}, frame},
                                                {{10, 21}, frame},
                                                {{1, 1}, frame},
                                                {{72, 20}, frame},
                                                {{10, 22}, shadow},
                                                {{74, 10}, shadow},
                                                {{71, 22}, shadow},
                                                {{74, 19}, shadow},
                                                {{72, 22}, makeRgb(224, 221, 204)},
                                                {{73, 21}, makeRgb(224, 221, 204)},
                                                {{74, 20}, makeRgb(224, 221, 204)},
                                                {{10, 2}, makeRgb(251, 248, 231)},
                                                {{10, 19}, makeRgb(221, 218, 201)},
                                                {{10, 20}, face}};
        QTest::newRow("focused") << Look{.focus = true}
                                 << QList<Probe>{{{10, 0}, makeRgb(140, 137, 120)},
                                                 {{10, 22}, makeRgb(161, 158, 141)}};
        QTest::newRow("hot") << Look{.state = 2, .focus = true}
                             << QList<Probe>{{{0, 0}, lighter}, {{10, 0}, makeRgb(140, 137, 120)}};
        QTest::newRow("disabled") << Look{.state = 4} << QList<Probe>{{{0, 0}, lighter}};
        QTest::newRow("pressed and focused keeps the plain frame")
            << Look{.state = 3, .focus = true}
            << QList<Probe>{{{0, 0}, lighter},
                            {{10, 0}, frame},
                            {{10, 1}, lighter},
                            {{1, 10}, lighter},
                            {{10, 20}, white},
                            {{10, 2}, makeRgb(236, 233, 216)},
                            {{10, 19}, makeRgb(255, 255, 246)}};
        QTest::newRow("custom hot face is HighlightColor")
            << Look{.state = 2, .custom = true}
            << QList<Probe>{{{0, 0}, makeRgb(0, 128, 255)},
                            {{10, 0}, makeRgb(80, 80, 80)},
                            {{10, 22}, makeRgb(101, 101, 101)}};
    }
    void reliefGradient() { check(8); }

    void capsuleHalfHeight_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("expected");
        QTest::newRow("23, 7") << 23 << 7 << 4;
        QTest::newRow("23, 4") << 23 << 4 << 8;
        QTest::newRow("25, 7") << 25 << 7 << 6;
        QTest::newRow("23, 0") << 23 << 0 << 12;
        QTest::newRow("25, 0") << 25 << 0 << 12;
        QTest::newRow("24, 7") << 24 << 7 << 5;
    }
    void capsuleHalfHeight()
    {
        QFETCH(int, height);
        QFETCH(int, k);
        QFETCH(int, expected);
        QCOMPARE(capsuleHalf(height, k), expected);
    }

    void capsule_data()
    {
        addColumns();
        const Rgb a = makeRgb(221, 218, 201);
        const Rgb dark = makeRgb(93, 90, 73);
        QTest::newRow("normal, height 23") << Look{}
                                           << QList<Probe>{{{1, 10}, a},
                                                           {{0, 0}, makeRgb(255, 255, 255)},
                                                           {{0, 19}, dark},
                                                           {{10, 21}, dark},
                                                           {{6, 3}, makeRgb(255, 255, 255)},
                                                           {{2, 3}, a},
                                                           {{2, 4}, a},
                                                           {{2, 8}, makeRgb(184, 181, 164)},
                                                           {{2, 9}, a},
                                                           {{2, 10}, makeRgb(184, 181, 164)},
                                                           {{2, 16}, makeRgb(189, 186, 169)},
                                                           {{2, 17}, a},
                                                           {{1, 20}, makeRgb(109, 106, 89)},
                                                           {{72, 20}, makeRgb(109, 106, 89)},
                                                           {{71, 22}, makeRgb(200, 197, 180)},
                                                           {{10, 22}, makeRgb(205, 202, 185)},
                                                           {{10, 0}, makeRgb(255, 255, 249)},
                                                           {{10, 1}, a},
                                                           {{74, 12}, makeRgb(157, 154, 137)},
                                                           {{74, 11}, makeRgb(180, 177, 162)},
                                                           {{74, 20}, makeRgb(213, 210, 193)},
                                                           {{10, 2}, makeRgb(253, 250, 233)}};
        QTest::newRow("hot") << Look{.state = 2} << QList<Probe>{{{1, 10}, makeRgb(237, 234, 217)}};
        QTest::newRow("pressed") << Look{.state = 3}
                                 << QList<Probe>{{{1, 10}, makeRgb(255, 255, 240)}};
        QTest::newRow("disabled") << Look{.state = 4}
                                  << QList<Probe>{{{1, 10}, makeRgb(251, 248, 231)}};
        QTest::newRow("pressed, white highlight clamps")
            << Look{.state = 3, .custom = true, .highlight = kWhite}
            << QList<Probe>{{{1, 10}, makeRgb(255, 255, 255)},
                            {{6, 3}, makeRgb(255, 255, 255)},
                            {{10, 0}, makeRgb(255, 255, 255)},
                            {{10, 21}, makeRgb(127, 127, 127)}};
        QTest::newRow("custom dark face, height 25")
            << Look{.custom = true, .back = 0x00404040u, .size = {80, 25}}
            << QList<Probe>{{{6, 3}, makeRgb(177, 177, 177)},
                            {{1, 10}, makeRgb(49, 49, 49)},
                            {{2, 9}, makeRgb(18, 18, 18)},
                            {{2, 10}, makeRgb(12, 12, 12)},
                            {{2, 11}, makeRgb(13, 13, 13)}};
    }
    void capsule() { check(9); }

    void glossyImage_data()
    {
        addColumns();
        const QList<Probe> restRow0{
            {{6, 0}, makeRgb(254, 254, 254)},  {{7, 0}, makeRgb(230, 230, 230)},
            {{8, 0}, makeRgb(172, 172, 172)},  {{9, 0}, makeRgb(122, 122, 122)},
            {{13, 0}, makeRgb(111, 111, 113)}, {{16, 0}, makeRgb(107, 109, 108)},
            {{17, 0}, makeRgb(106, 105, 103)}, {{57, 0}, makeRgb(106, 105, 103)}};
        const QList<Probe> hotRow0{{{6, 0}, makeRgb(254, 254, 254)},
                                   {{8, 0}, makeRgb(165, 165, 169)},
                                   {{10, 0}, makeRgb(41, 39, 72)},
                                   {{14, 0}, makeRgb(6, 6, 58)},
                                   {{30, 0}, makeRgb(8, 6, 69)}};
        QTest::newRow("rest") << Look{}
                              << (restRow0 + QList<Probe>{{{2, 11}, makeRgb(153, 153, 153)},
                                                          {{2, 12}, makeRgb(153, 153, 153)},
                                                          {{58, 13}, makeRgb(232, 231, 234)},
                                                          {{58, 14}, makeRgb(232, 231, 234)},
                                                          {{57, 13}, makeRgb(239, 241, 238)},
                                                          {{30, 21}, makeRgb(84, 84, 84)},
                                                          {{74, 12}, makeRgb(246, 246, 246)},
                                                          {{72, 11}, makeRgb(163, 163, 163)}});
        QTest::newRow("hot") << Look{.state = 2} << hotRow0;
        QTest::newRow("focused at rest") << Look{.focus = true} << hotRow0;
        QTest::newRow("disabled and focused") << Look{.state = 4, .focus = true} << hotRow0;
        QTest::newRow("disabled") << Look{.state = 4} << restRow0;
        QTest::newRow("pressed and focused")
            << Look{.state = 3, .focus = true, .size = {140, 41}}
            << QList<Probe>{
                   {{30, 0}, makeRgb(10, 9, 60)},       {{2, 20}, makeRgb(23, 45, 99)},
                   {{137, 30}, makeRgb(25, 51, 109)},   {{30, 20}, makeRgb(106, 155, 204)},
                   {{122, 32}, makeRgb(135, 176, 220)}, {{121, 30}, makeRgb(117, 161, 208)},
                   {{30, 39}, makeRgb(62, 86, 90)}};
    }
    void glossyImage() { check(10); }

    // Outside pixels per corner row, left and right, top rows then bottom rows.
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
        const QList<QPoint> rounded{{6, 6}, {4, 4}, {3, 3}, {2, 2}, {1, 1}, {1, 1}, {0, 0}};
        QTest::newRow("glossy image: rounded")
            << 10 << rounded << QList<QPoint>(rounded.rbegin(), rounded.rend()) << 7;
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
        for (int y = 23 - bottomRows.size(); y < 23; ++y)
            bottom.append({outside(y, false), outside(y, true)});
        QCOMPARE(top, topRows);
        QCOMPARE(bottom, bottomRows);
        QCOMPARE(pixelAt(*b, iconLeft, 11), makeRgb(255, 0, 0));
        QVERIFY(pixelAt(*b, iconLeft - 1, 11) != makeRgb(255, 0, 0));
    }
};

QTEST_MAIN(TestElaborateStyles)
#include "tst_elaboratestyles.moc"
