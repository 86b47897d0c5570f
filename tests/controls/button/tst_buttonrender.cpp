#include "ButtonTestSupport.h"

#include "controls/button/Primitives.h"
#include "platform/PropertyBag.h"
#include "platform/widgets/ThemePainter.h"

#include <QMouseEvent>
#include <QTest>

using namespace clipnab;
using namespace clipnab::test;

namespace {

constexpr Rgb kFace = makeRgb(236, 233, 216);
constexpr Rgb kFrame = makeRgb(0, 60, 116);
constexpr Rgb kLight = makeRgb(241, 239, 226);
constexpr Rgb kShadow = makeRgb(172, 168, 153);
constexpr Rgb kRed = makeRgb(255, 0, 0);
constexpr Rgb kGrey = makeRgb(128, 128, 128);

// Requests that each repaint the button once.
enum Request
{
    RefreshCall,
    ShownResize,
    HiddenResize,
    MousePress,
    PointerEnters,
    PaletteChange
};

// A 75 x 23 button with a red 16 x 16 icon shown.
std::unique_ptr<deRurara> iconButton(PlatformContext &context)
{
    QImage icon(16, 16, QImage::Format_RGB32);
    icon.fill(Qt::red);
    auto b = makeButton(context);
    b->writeIcon(icon);
    b->writeIconVisible(true);
    return b;
}

} // namespace

class ButtonRenderTest : public QObject
{
    Q_OBJECT
private:
    PlatformContext m_context;

    // A 75 x 23 button in style 5 with the given look, refreshed.
    std::unique_ptr<deRurara> ringed(int w, int h, bool custom, int state, bool focus,
                                     bool showFocus, uint back)
    {
        auto b = makeButton(m_context, w, h);
        b->writeStyle(5);
        b->writeUseCustomColors(custom);
        b->writeBackColor(back);
        b->writeHighlightColor(0x00FF8000u); // RGB(0, 128, 255)
        b->writeShowFocus(showFocus);
        b->writeHasFocus(focus);
        if (state == 4)
            b->writeEnabled(false);
        else
            b->writeButtonState(state);
        return b;
    }

private Q_SLOTS:
    void initTestCase() { pinClassicColors(m_context.systemColors()); }
    void init() { m_context.theme().setAvailable(true); }

    void ringedGradient_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("custom");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("focus");
        QTest::addColumn<bool>("showFocus");
        QTest::addColumn<uint>("back");
        QTest::addColumn<QList<Probe>>("probes");
        const QSize normal(75, 23);
        const uint white = 0x00FFFFFFu;
        QTest::newRow("fixed normal frame and corners")
            << normal << false << 1 << false << false << 0u
            << QList<Probe>{{{0, 0}, kFace},
                            {{2, 0}, kFrame},
                            {{72, 0}, kFrame},
                            {{1, 0}, makeRgb(106, 139, 162)},
                            {{1, 1}, makeRgb(72, 110, 144)},
                            {{2, 1}, makeRgb(191, 199, 202)},
                            {{74, 22}, kFace},
                            {{0, 11}, kFrame},
                            {{10, 3}, makeRgb(246, 246, 246)},
                            {{10, 4}, makeRgb(250, 250, 249)},
                            {{10, 18}, makeRgb(241, 241, 235)},
                            {{10, 19}, makeRgb(235, 235, 230)},
                            {{10, 21}, makeRgb(221, 217, 208)},
                            {{10, 22}, kFrame}};
        QTest::newRow("fixed hot ring")
            << normal << false << 2 << false << false << 0u
            << QList<Probe>{{{2, 1}, makeRgb(255, 240, 207)},  {{72, 1}, makeRgb(255, 240, 207)},
                            {{2, 2}, makeRgb(253, 216, 137)},  {{1, 2}, makeRgb(253, 216, 137)},
                            {{73, 2}, makeRgb(253, 216, 137)}, {{1, 8}, makeRgb(251, 204, 107)},
                            {{2, 20}, makeRgb(248, 179, 48)},  {{73, 20}, makeRgb(248, 179, 48)},
                            {{10, 21}, makeRgb(229, 151, 16)}, {{73, 1}, makeRgb(72, 110, 144)}};
        QTest::newRow("fixed focus ring ignores ShowFocus")
            << normal << false << 1 << true << false << 0u
            << QList<Probe>{{{2, 1}, makeRgb(206, 231, 255)}, {{10, 21}, makeRgb(105, 130, 238)}};
        QTest::newRow("fixed pressed and focused has no ring")
            << normal << false << 3 << true << true << 0u
            << QList<Probe>{{{10, 1}, makeRgb(209, 204, 193)},
                            {{2, 1}, makeRgb(191, 199, 202)},
                            {{1, 3}, makeRgb(218, 216, 206)},
                            {{10, 22}, kFrame}};
        QTest::newRow("fixed disabled") << normal << false << 4 << false << false << 0u
                                        << QList<Probe>{{{0, 0}, makeRgb(201, 199, 186)},
                                                        {{1, 1}, makeRgb(216, 213, 199)},
                                                        {{73, 21}, makeRgb(216, 213, 199)},
                                                        {{10, 10}, makeRgb(245, 244, 234)}};
        QTest::newRow("fixed smallest size") << QSize(20, 20) << false << 1 << false << false << 0u
                                             << QList<Probe>{{{10, 4}, makeRgb(250, 250, 249)},
                                                             {{10, 15}, makeRgb(241, 241, 235)},
                                                             {{10, 16}, makeRgb(235, 235, 230)},
                                                             {{18, 18}, makeRgb(72, 110, 144)}};
        QTest::newRow("shaded white clamps, frame 127")
            << normal << true << 1 << false << false << white
            << QList<Probe>{{{0, 0}, makeRgb(255, 255, 255)},   {{74, 0}, makeRgb(127, 127, 127)},
                            {{74, 22}, makeRgb(127, 127, 127)}, {{0, 22}, makeRgb(255, 255, 255)},
                            {{1, 2}, makeRgb(255, 255, 255)},   {{1, 0}, makeRgb(234, 234, 234)},
                            {{1, 1}, makeRgb(127, 127, 127)}};
        QTest::newRow("shaded focus without ShowFocus has no ring")
            << normal << true << 1 << true << false << white
            << QList<Probe>{{{10, 1}, makeRgb(255, 255, 255)}};
        QTest::newRow("shaded focus ring from system highlight")
            << normal << true << 1 << true << true << white
            << QList<Probe>{{{10, 21}, makeRgb(49, 106, 197)}, {{10, 1}, makeRgb(134, 191, 255)}};
        QTest::newRow("shaded hot ring from HighlightColor")
            << normal << true << 2 << false << false << white
            << QList<Probe>{{{10, 21}, makeRgb(0, 128, 255)}, {{10, 2}, makeRgb(69, 197, 255)}};
        QTest::newRow("shaded pressed keeps cleared corners")
            << normal << true << 3 << true << true << 0x00808080u
            << QList<Probe>{{{1, 1}, makeRgb(32, 32, 32)},
                            {{1, 2}, makeRgb(80, 80, 80)},
                            {{10, 1}, makeRgb(91, 91, 91)},
                            {{0, 0}, makeRgb(128, 128, 128)}};
        QTest::newRow("shaded disabled") << normal << true << 4 << false << false << 0x00808080u
                                         << QList<Probe>{{{0, 0}, makeRgb(64, 64, 64)},
                                                         {{1, 1}, makeRgb(75, 75, 75)},
                                                         {{10, 10}, makeRgb(128, 128, 128)}};
    }
    void ringedGradient()
    {
        QFETCH(QSize, size);
        QFETCH(bool, custom);
        QFETCH(int, state);
        QFETCH(bool, focus);
        QFETCH(bool, showFocus);
        QFETCH(uint, back);
        QFETCH(QList<Probe>, probes);
        const auto b = ringed(size.width(), size.height(), custom, state, focus, showFocus, back);
        QVERIFY(probesMatch(*b, probes));
    }

    void plainStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("custom");
        QTest::addColumn<QList<Probe>>("probes");
        const Rgb accent = makeRgb(0, 128, 255);
        QTest::newRow("raised edge at rest")
            << 0 << 1 << false
            << QList<Probe>{
                   {{0, 0}, kLight}, {{74, 22}, makeRgb(113, 111, 100)}, {{10, 10}, kFace}};
        QTest::newRow("raised edge pressed is sunken")
            << 0 << 3 << false
            << QList<Probe>{{{0, 0}, kShadow},
                            {{74, 22}, makeRgb(255, 255, 255)},
                            {{1, 1}, makeRgb(113, 111, 100)}};
        QTest::newRow("raised edge disabled, custom, shows HighlightColor")
            << 0 << 4 << true << QList<Probe>{{{10, 10}, accent}, {{0, 0}, kLight}};
        QTest::newRow("thin edge disabled has no border")
            << 1 << 4 << false << QList<Probe>{{{0, 0}, kFace}, {{74, 22}, kFace}};
        QTest::newRow("thin edge at rest")
            << 1 << 1 << false
            << QList<Probe>{{{0, 0}, makeRgb(255, 255, 255)}, {{74, 22}, kShadow}, {{1, 1}, kFace}};
        QTest::newRow("flat hover at rest has no border")
            << 2 << 1 << false << QList<Probe>{{{0, 0}, kFace}, {{74, 22}, kFace}};
        QTest::newRow("flat hover hot")
            << 2 << 2 << true << QList<Probe>{{{0, 0}, makeRgb(255, 255, 255)}, {{10, 10}, accent}};
        QTest::newRow("etched frame hot")
            << 3 << 2 << false
            << QList<Probe>{{{0, 0}, kShadow},
                            {{1, 1}, makeRgb(255, 255, 255)},
                            {{3, 3}, kFace},
                            {{10, 10}, mixColors(kShadow, kFace)},
                            {{0, 22}, mixColors(kShadow, kFace)},
                            {{1, 21}, mixColors(makeRgb(255, 255, 255), kShadow)}};
        QTest::newRow("highlight box pressed")
            << 4 << 3 << true
            << QList<Probe>{
                   {{0, 0}, accent}, {{74, 22}, accent}, {{10, 10}, lightenColor(accent, 128)}};
        QTest::newRow("highlight box at rest")
            << 4 << 1 << false
            << QList<Probe>{{{0, 0}, lightenColor(kFace, 32)}, {{74, 22}, lightenColor(kFace, 32)}};
        QTest::newRow("unknown style draws no body")
            << 42 << 2 << false << QList<Probe>{{{0, 0}, kFace}, {{10, 10}, kFace}};
    }
    void plainStyles()
    {
        QFETCH(int, style);
        QFETCH(int, state);
        QFETCH(bool, custom);
        QFETCH(QList<Probe>, probes);
        auto b = makeButton(m_context);
        b->writeStyle(style);
        b->writeUseCustomColors(custom);
        b->writeHighlightColor(0x00FF8000u);
        if (state == 4)
            b->writeEnabled(false);
        else
            b->writeButtonState(state);
        QVERIFY(probesMatch(*b, probes));
    }

    void checkedButtonDrawsPressedEvenWhenHot_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<Rgb>("corner");
        QTest::newRow("raised edge") << 0 << kShadow;
        QTest::newRow("highlight box") << 4 << makeRgb(49, 106, 197);
        QTest::newRow("ringed gradient") << 5 << makeRgb(106, 139, 162);
    }
    void checkedButtonDrawsPressedEvenWhenHot()
    {
        QFETCH(int, style);
        QFETCH(Rgb, corner);
        auto b = makeButton(m_context);
        b->writeStyle(style);
        b->writeButtonType(1);
        b->writeValue(true);
        b->writeButtonState(2);
        QCOMPARE(b->ButtonState(), 3);
        QCOMPARE(pixelAt(*b, style == 5 ? 0 : 0, style == 5 ? 1 : 0), corner);
    }

    void disabledCaptionIsGreyText()
    {
        auto b = makeButton(m_context, 120, 40);
        QFont font = b->Font();
        font.setPixelSize(24);
        font.setBold(true);
        b->writeFont(font);
        b->writeCaption(QStringLiteral("IIII"));
        b->writeEnabled(false);
        int grey = 0, black = 0;
        for (int y = 4; y < 36; ++y)
            for (int x = 4; x < 116; ++x) {
                grey += pixelAt(*b, x, y) == kShadow ? 1 : 0;
                black += pixelAt(*b, x, y) == 0 ? 1 : 0;
            }
        QVERIFY(grey > 0);
        QCOMPARE(black, 0);
    }

    void iconLeftMargin_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("left");
        QTest::newRow("raised edge") << 0 << 4;
        QTest::newRow("etched frame") << 3 << 4;
        QTest::newRow("ringed gradient") << 5 << 5;
        QTest::newRow("system theme") << 6 << 4;
    }
    void iconLeftMargin()
    {
        QFETCH(int, style);
        QFETCH(int, left);
        auto b = iconButton(m_context);
        b->writeIconAlign(1);
        b->writeStyle(style);
        QCOMPARE(pixelAt(*b, left, 11), kRed);
        QVERIFY(pixelAt(*b, left - 1, 11) != kRed);
        QCOMPARE(pixelAt(*b, left + 15, 11), kRed);
    }

    void highlightBoxHotDrawsIconShadow()
    {
        auto b = iconButton(m_context);
        b->writeStyle(4);
        b->writeButtonState(2);
        // The silhouette sits at (30, 4); the icon itself 2 pixels up and left of it.
        QCOMPARE(pixelAt(*b, 28, 2), kRed);
        QCOMPARE(pixelAt(*b, 43, 17), kRed);
        QCOMPARE(pixelAt(*b, 44, 10), kGrey);
        QCOMPARE(pixelAt(*b, 45, 19), kGrey);
        // Only pixels that differ from the face become grey.
        QVERIFY(pixelAt(*b, 46, 20) != kGrey);
        QVERIFY(pixelAt(*b, 29, 19) != kGrey);
    }

    void pressedIconShiftsDownRight()
    {
        auto b = iconButton(m_context);
        b->writeButtonState(3);
        QCOMPARE(pixelAt(*b, 31, 5), kRed);
        QVERIFY(pixelAt(*b, 30, 5) != kRed);
    }

    void themeFallback()
    {
        m_context.theme().setAvailable(false);
        auto b = makeButton(m_context);
        b->writeNonThemeStyle(0);
        // The write's one pass finds no theme and falls back, showing the flat face; the next
        // pass draws style 0.
        QVERIFY(b->setProperty("Style", 6));
        QCOMPARE(b->Style(), 0);
        QCOMPARE(pixelAt(*b, 0, 0), kFace);
        b->Refresh();
        QCOMPARE(pixelAt(*b, 0, 0), kLight);
    }

    void themeFirstPaintIsFlat()
    {
        m_context.theme().setAvailable(false);
        PropertyBag bag;
        bag.writeInt(QStringLiteral("Style"), 6, 3);
        bag.writeInt(QStringLiteral("iNonThemeStyle"), 0, 5);
        deRurara b(m_context);
        b.readProperties(bag);
        b.resize(75, 23);
        b.Refresh();
        QCOMPARE(pixelAt(b, 0, 0), kFace);
        QCOMPARE(b.Style(), 0);
        b.Refresh();
        QCOMPARE(pixelAt(b, 0, 0), kLight);
    }

    void themeDrawsWhenAvailable()
    {
        auto b = makeButton(m_context);
        b->writeStyle(6);
        QCOMPARE(b->Style(), 6);
    }

    void eachRequestPaintsOnce_data()
    {
        QTest::addColumn<int>("request");
        QTest::newRow("Refresh") << int(RefreshCall);
        QTest::newRow("resize of a shown button") << int(ShownResize);
        QTest::newRow("Refresh after a hidden resize") << int(HiddenResize);
        QTest::newRow("mouse press") << int(MousePress);
        QTest::newRow("pointer enters") << int(PointerEnters);
        QTest::newRow("system colours change") << int(PaletteChange);
    }
    void eachRequestPaintsOnce()
    {
        QFETCH(int, request);
        deRurara b(m_context);
        b.readProperties(PropertyBag());
        b.resize(75, 23);
        if (request == ShownResize) {
            b.show();
            QCoreApplication::processEvents();
        }
        b.Refresh();
        const int before = b.paintCount();
        switch (request) {
        case RefreshCall:
            b.Refresh();
            break;
        case ShownResize:
            b.resize(90, 30);
            break;
        case HiddenResize:
            b.resize(90, 30);
            b.Refresh();
            break;
        case MousePress: {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), b.mapToGlobal(QPointF(5, 5)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&b, &press);
            break;
        }
        case PointerEnters: {
            QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), b.mapToGlobal(QPointF(5, 5)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&b, &move);
            break;
        }
        case PaletteChange: {
            QEvent change(QEvent::PaletteChange);
            QCoreApplication::sendEvent(&b, &change);
            break;
        }
        }
        QCOMPARE(b.paintCount() - before, 1);
        QCOMPARE(b.surfaceImage().size(), b.size());
    }

    void smallSizesAreEnlarged()
    {
        auto b = makeButton(m_context, 10, 10);
        b->Refresh();
        QCOMPARE(b->size(), QSize(20, 20));
        QCOMPARE(b->surfaceImage().size(), QSize(20, 20));
        QCOMPARE(b->captionRect(), (GdiRect{4, 4, 16, 16}));
    }

    void designModeShowsHotExceptRingedGradient_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("state");
        QTest::newRow("raised edge") << 0 << 2;
        QTest::newRow("ringed gradient") << 5 << 1;
    }
    void designModeShowsHotExceptRingedGradient()
    {
        QFETCH(int, style);
        QFETCH(int, state);
        deRurara b(m_context);
        b.setDesignMode(true);
        b.readProperties(PropertyBag());
        b.writeStyle(style);
        QCOMPARE(b.ButtonState(), state);
        QVERIFY(!b.isSubclassed());
    }

    // What a pass shows is worked out for that pass: a look one pass showed does not stick to
    // the next one.
    void shownStateDoesNotOutliveItsCause_data()
    {
        QTest::addColumn<bool>("design");
        QTest::addColumn<int>("style");
        QTest::newRow("check button unchecked by its property") << false << 0;
        QTest::newRow("design mode, then the ringed gradient") << true << 5;
    }
    void shownStateDoesNotOutliveItsCause()
    {
        QFETCH(bool, design);
        QFETCH(int, style);
        deRurara b(m_context);
        b.setDesignMode(design);
        b.initProperties();
        b.resize(75, 23);
        b.writeButtonType(1);
        b.writeValue(!design);
        b.Refresh();
        QCOMPARE(b.ButtonState(), design ? 2 : 3);
        b.writeValue(false);
        b.writeStyle(style);
        QCOMPARE(b.ButtonState(), 1);
    }
};

QTEST_MAIN(ButtonRenderTest)
#include "tst_buttonrender.moc"
