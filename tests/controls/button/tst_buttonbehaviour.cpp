#include "ButtonTestSupport.h"

#include "platform/PropertyBag.h"
#include "platform/Shell.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using namespace clipnab;
using namespace clipnab::test;

namespace {

class RecordingShell final : public Shell
{
public:
    bool open(const QString &target) override
    {
        opened.append(target);
        return true;
    }
    QStringList opened;
};

} // namespace

class ButtonBehaviourTest : public QObject
{
    Q_OBJECT
private:
    PlatformContext m_context;

    // A run-mode button restored from an empty bag: style 3, pointer tracking on.
    std::unique_ptr<deRurara> runButton()
    {
        auto b = std::make_unique<deRurara>(m_context);
        b->readProperties(PropertyBag());
        b->resize(75, 23);
        return b;
    }

private Q_SLOTS:
    void initTestCase() { pinClassicColors(m_context.systemColors()); }
    void init() { m_context.setCanTrackLeave(true); }

    void newInstanceRoundTrip()
    {
        auto b = makeButton(m_context);
        PropertyBag bag;
        b->writeProperties(bag);
        // Through the saved-layout form, as the window stores it.
        const PropertyBag restored = PropertyBag::fromJson(bag.toJson());
        deRurara loaded(m_context);
        loaded.readProperties(restored);
        QCOMPARE(loaded.Style(), 0);
        QCOMPARE(loaded.NonThemeStyle(), 0);
        QCOMPARE(loaded.IconVisible(), false);
        QCOMPARE(loaded.ToolTipType(), 0);
        QCOMPARE(loaded.IconAlign(), 0);
        QCOMPARE(loaded.Caption(), QString());
        QCOMPARE(loaded.Font().family(), b->Font().family());
        QCOMPARE(loaded.Font().pointSizeF(), 8.25);
        QVERIFY(loaded.Icon().isNull());
    }

    void emptyBagGivesRestoreDefaults()
    {
        deRurara b(m_context);
        const QFont surfaceFont = b.Font();
        b.readProperties(PropertyBag());
        QCOMPARE(b.Style(), 3);
        QCOMPARE(b.Caption(), QStringLiteral("deRurara"));
        QCOMPARE(b.IconAlign(), 1);
        QCOMPARE(b.IconSize(), 16);
        QCOMPARE(b.NonThemeStyle(), 5);
        QVERIFY(b.Enabled());
        QVERIFY(b.IconVisible());
        QCOMPARE(b.ToolTipType(), 1);
        QCOMPARE(b.ToolTipIcon(), 0);
        QCOMPARE(b.BackColor(), OleColor(makeRgb(236, 233, 216)));
        QCOMPARE(b.HighlightColor(), OleColor(makeRgb(49, 106, 197)));
        QCOMPARE(b.FontColor(), OleColor(0));
        QCOMPARE(b.ToolTipBackColor(), OleColor(makeRgb(255, 255, 225)));
        QCOMPARE(b.ToolTipForeColor(), OleColor(0));
        QCOMPARE(b.Font(), surfaceFont);
        QCOMPARE(b.ButtonState(), 1);
    }

    void valuesSurviveRoundTrip()
    {
        auto b = makeButton(m_context);
        QImage icon(8, 8, QImage::Format_ARGB32);
        icon.fill(Qt::blue);
        b->writeIcon(icon);
        b->writeStyle(5);
        b->writeCaption(QString());
        b->writeIconAlign(0);
        b->writeToolTip(QStringLiteral("Save the video"));
        b->writeToolTipTitle(QStringLiteral("Download"));
        b->writeButtonType(1);
        b->writeValue(true);
        b->writeBackColor(systemColorRef(5));
        PropertyBag bag;
        b->writeProperties(bag);
        deRurara loaded(m_context);
        loaded.readProperties(PropertyBag::fromJson(bag.toJson()));
        QCOMPARE(loaded.Style(), 5);
        QCOMPARE(loaded.Caption(), QString());
        QCOMPARE(loaded.IconAlign(), 0);
        QCOMPARE(loaded.ToolTip(), QStringLiteral("Save the video"));
        QCOMPARE(loaded.ToolTipTitle(), QStringLiteral("Download"));
        QCOMPARE(loaded.ButtonType(), 1);
        QVERIFY(loaded.Value());
        QCOMPARE(loaded.BackColor(), systemColorRef(5));
        QCOMPARE(loaded.Icon().pixelColor(3, 3), QColor(Qt::blue));
    }

    void systemColorsAreNotStored()
    {
        PlatformContext context;
        pinClassicColors(context.systemColors());
        auto b = makeButton(context);
        PropertyBag bag;
        b->writeProperties(bag);
        for (const char *key : {"BackColor", "HighlightColor", "FontColor", "FontHighlightColor"})
            QVERIFY2(!bag.contains(QString::fromLatin1(key)), key);
        context.systemColors().setOverride(15, makeRgb(1, 2, 3));
        deRurara loaded(context);
        loaded.readProperties(bag);
        QCOMPARE(loaded.BackColor(), OleColor(makeRgb(1, 2, 3)));
    }

    void writesNotifyByName_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("notified");
        QTest::newRow("style") << "Style" << QVariant(2) << "Style";
        QTest::newRow("tooltip") << "ToolTip" << QVariant(QStringLiteral("t")) << "ToolTipText";
        QTest::newRow("title") << "ToolTipTitle" << QVariant(QStringLiteral("t")) << "TooltipTitle";
        QTest::newRow("tip icon") << "ToolTipIcon" << QVariant(2) << "TooltipIcon";
        QTest::newRow("non-theme") << "NonThemeStyle" << QVariant(1) << "NonThemeStyle";
        QTest::newRow("back colour") << "BackColor" << QVariant(5u) << "BackColor";
        QTest::newRow("enabled") << "Enabled" << QVariant(false) << "Enabled";
    }
    void writesNotifyByName()
    {
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        QFETCH(QString, notified);
        auto b = makeButton(m_context);
        QSignalSpy spy(b.get(), &deRurara::propertyChanged);
        QVERIFY(b->setProperty(property.toLatin1().constData(), value));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), notified);
        QCOMPARE(b->property(property.toLatin1().constData()), value);
    }

    void versionIsReadOnly()
    {
        auto b = makeButton(m_context);
        QCOMPARE(b->Version(), QStringLiteral("3.0"));
        QVERIFY(!b->setProperty("Version", QStringLiteral("4.0")));
        QCOMPARE(b->property("Version").toString(), QStringLiteral("3.0"));
    }

    void disablingAHotButton()
    {
        auto b = makeButton(m_context);
        b->writeButtonState(2);
        b->writeEnabled(false);
        QVERIFY(!b->isEnabled());
        QCOMPARE(b->ButtonState(), 4);
        b->writeEnabled(true);
        QVERIFY(b->isEnabled());
        QCOMPARE(b->ButtonState(), 1);
    }

    void restoredDisabledButtonTakesNoInput()
    {
        PropertyBag bag;
        bag.writeBool(QStringLiteral("Enabled"), false, true);
        deRurara b(m_context);
        b.readProperties(bag);
        QVERIFY(!b.isEnabled());
    }

    void iconSizeBeyond16BitsIsABadValue()
    {
        PropertyBag bag;
        bag.writeInt(QStringLiteral("IconSize"), 32767, 16);
        deRurara b(m_context);
        b.readProperties(bag);
        QCOMPARE(b.IconSize(), 32767);
        bag.writeInt(QStringLiteral("IconSize"), 65552, 16);
        deRurara c(m_context);
        QVERIFY_THROWS_EXCEPTION(PropertyBagError, c.readProperties(bag));
    }

    // Every write paints once. `paintsFirst`: the repaint comes before the notification.
    // `format`: the caption format afterwards, which only a resize step brings up to date.
    void propertyWrites_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("notified");
        QTest::addColumn<bool>("paintsFirst");
        QTest::addColumn<unsigned>("format");
        QImage icon(4, 4, QImage::Format_ARGB32);
        icon.fill(Qt::red);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(12);
        const auto row = [](const char *property, const QVariant &value, const char *notified,
                            bool paintsFirst, unsigned format) {
            QTest::newRow(property) << QString::fromLatin1(property) << value
                                    << QString::fromLatin1(notified) << paintsFirst << format;
        };
        row("Style", 2, "Style", false, 38);
        row("Caption", QStringLiteral("Go"), "Caption", false, 38);
        row("Icon", icon, "Icon", false, 38);
        row("IconAlign", 2, "IconAlign", false, 38);
        row("IconSize", 24, "IconSize", false, 38);
        row("CaptionAlign", 3, "CaptionAlign", false, 33);
        row("NonThemeStyle", 1, "NonThemeStyle", false, 38);
        row("Enabled", false, "Enabled", true, 37);
        row("IconVisible", true, "IconVisible", true, 37);
        row("ShowFocus", true, "ShowFocus", false, 37);
        row("UseCustomColors", true, "UseCustomColors", false, 37);
        row("BackColor", 5u, "BackColor", false, 37);
        row("HighlightColor", 5u, "HighlightColor", false, 37);
        row("FontColor", 5u, "FontColor", false, 37);
        row("FontHighlightColor", 5u, "FontHighlightColor", false, 37);
        row("ToolTip", QStringLiteral("t"), "ToolTipText", false, 37);
        row("ToolTipTitle", QStringLiteral("t"), "TooltipTitle", false, 37);
        row("ToolTipIcon", 2, "TooltipIcon", false, 37);
        row("ToolTipType", 1, "ToolTipType", false, 37);
        row("ToolTipBackColor", 5u, "ToolTipBackColor", false, 37);
        row("ToolTipForeColor", 5u, "ToolTipForeColor", false, 37);
        row("Font", font, "Font", true, 37);
        row("ButtonType", 1, "ButtonType", false, 37);
        row("Value", true, "Value", false, 37);
        row("ButtonState", 2, "", false, 37);
        row("HasFocus", true, "", false, 37);
    }
    void propertyWrites()
    {
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        QFETCH(QString, notified);
        QFETCH(bool, paintsFirst);
        QFETCH(unsigned, format);
        auto b = makeButton(m_context);
        b->Refresh();
        // A restored alignment leaves the caption format as it was until the next resize step.
        PropertyBag bag;
        bag.writeInt(QStringLiteral("CaptionAlign"), 2, 0);
        b->readProperties(bag);
        QCOMPARE(b->captionFormat(), 37u);

        const int paintsBefore = b->paintCount();
        QStringList names;
        QList<int> paintsAtNotify;
        connect(b.get(), &deRurara::propertyChanged, this, [&](const QString &name) {
            names.append(name);
            paintsAtNotify.append(b->paintCount() - paintsBefore);
        });
        QVERIFY(b->setProperty(property.toLatin1().constData(), value));
        QCOMPARE(b->paintCount() - paintsBefore, 1);
        if (notified.isEmpty()) {
            QVERIFY(names.isEmpty());
        } else {
            QCOMPARE(names, QStringList{notified});
            QCOMPARE(paintsAtNotify, QList<int>{paintsFirst ? 1 : 0});
        }
        QCOMPARE(b->captionFormat(), format);
    }

    void savedKeysFollowTheFixedOrder()
    {
        auto b = makeButton(m_context);
        b->writeIconSize(24);
        b->writeCaptionAlign(2);
        b->writeEnabled(false);
        b->writeShowFocus(true);
        b->writeUseCustomColors(true);
        for (const char *color : {"BackColor", "HighlightColor", "FontColor", "FontHighlightColor",
                                  "ToolTipBackColor", "ToolTipForeColor"})
            QVERIFY(b->setProperty(color, 0x00010203u));
        b->writeToolTip(QStringLiteral("tip"));
        b->writeButtonType(1);
        b->writeValue(true);
        PropertyBag bag;
        b->writeProperties(bag);
        QStringList expected;
        for (const char *key : {"icon",           "style",
                                "caption",        "iconsize",
                                "iconalign",      "captionalign",
                                "inonthemestyle", "enabled",
                                "showfocus",      "usecustomcolors",
                                "backcolor",      "highlightcolor",
                                "fontcolor",      "fonthighlightcolor",
                                "tooltiptext",    "tooltiptitle",
                                "tooltipicon",    "tooltiptype",
                                "ttbackcolor",    "ttforecolor",
                                "font",           "buttontype",
                                "value",          "iconvisible"})
            expected.append(QString::fromLatin1(key));
        QCOMPARE(bag.keys(), expected);
    }

    // Restoring reads CaptionAlign before IconAlign and keeps what it read before a bad entry.
    void restoreStopsAtTheFirstBadEntry()
    {
        PropertyBag bag;
        bag.setRawValue(QStringLiteral("IconAlign"), QStringLiteral("wide"));
        bag.setRawValue(QStringLiteral("CaptionAlign"), QStringLiteral("narrow"));
        deRurara b(m_context);
        try {
            b.readProperties(bag);
            QFAIL("a bad entry was accepted");
        } catch (const PropertyBagError &error) {
            QVERIFY2(QString::fromUtf8(error.what()).contains(QStringLiteral("CaptionAlign")),
                     error.what());
        }

        bag.writeInt(QStringLiteral("CaptionAlign"), 2, 0);
        bag.writeInt(QStringLiteral("Style"), 7, 3);
        QVERIFY_THROWS_EXCEPTION(PropertyBagError, b.readProperties(bag));
        QCOMPARE(b.Style(), 7);
        QCOMPARE(b.CaptionAlign(), 2);
        QCOMPARE(b.NonThemeStyle(), 0);
    }

    void mouseClicks_data()
    {
        QTest::addColumn<int>("buttonType");
        QTest::addColumn<Qt::MouseButton>("mouseButton");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("value");
        QTest::addColumn<int>("state");
        const QPoint in(5, 5), out(200, 5);
        QTest::newRow("left push") << 0 << Qt::LeftButton << in << 1 << false << 2;
        QTest::newRow("right push") << 0 << Qt::RightButton << in << 0 << false << 1;
        QTest::newRow("middle push") << 0 << Qt::MiddleButton << in << 0 << false << 1;
        QTest::newRow("released outside") << 0 << Qt::LeftButton << out << 0 << false << 2;
        QTest::newRow("left check") << 1 << Qt::LeftButton << in << 1 << true << 2;
        QTest::newRow("right check") << 1 << Qt::RightButton << in << 0 << false << 1;
    }
    void mouseClicks()
    {
        QFETCH(int, buttonType);
        QFETCH(Qt::MouseButton, mouseButton);
        QFETCH(QPoint, releaseAt);
        QFETCH(int, clicks);
        QFETCH(bool, value);
        QFETCH(int, state);
        auto b = makeButton(m_context);
        b->writeButtonType(buttonType);
        QSignalSpy spy(b.get(), &deRurara::Click);
        sendMouse(b.get(), QEvent::MouseButtonPress, mouseButton);
        sendMouse(b.get(), QEvent::MouseButtonRelease, mouseButton, releaseAt);
        QCOMPARE(spy.count(), clicks);
        QCOMPARE(b->Value(), value);
        QCOMPARE(b->lastButton(), mouseButton);
        // A checked button paints pressed whatever the field held.
        QCOMPARE(b->ButtonState(), value ? 3 : state);
    }

    void checkButtonToggles()
    {
        auto b = makeButton(m_context);
        b->writeButtonType(1);
        QList<bool> values;
        for (int i = 0; i < 3; ++i) {
            sendMouse(b.get(), QEvent::MouseButtonPress, Qt::LeftButton);
            QCOMPARE(b->ButtonState(), 3);
            sendMouse(b.get(), QEvent::MouseButtonRelease, Qt::LeftButton);
            values.append(b->Value());
        }
        QCOMPARE(values, (QList<bool>{true, false, true}));
        QCOMPARE(b->ButtonState(), 3);
    }

    void doubleClickPressesAgainAndClicksOnce()
    {
        auto b = makeButton(m_context);
        QSignalSpy spy(b.get(), &deRurara::Click);
        sendMouse(b.get(), QEvent::MouseButtonPress, Qt::LeftButton);
        sendMouse(b.get(), QEvent::MouseButtonRelease, Qt::LeftButton);
        QCOMPARE(b->ButtonState(), 2);
        sendMouse(b.get(), QEvent::MouseButtonDblClick, Qt::LeftButton);
        QCOMPARE(b->ButtonState(), 3);
        sendMouse(b.get(), QEvent::MouseButtonRelease, Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
    }

    void keys_data()
    {
        QTest::addColumn<int>("buttonType");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("value");
        // The state shown after the release: with the pointer elsewhere a press from the
        // keyboard leaves no hot look.
        QTest::addColumn<int>("after");
        QTest::newRow("space push") << 0 << Qt::Key_Space << 1 << false << 1;
        QTest::newRow("space check") << 1 << Qt::Key_Space << 1 << true << 3;
        QTest::newRow("enter push") << 0 << Qt::Key_Return << 1 << false << 1;
        QTest::newRow("keypad enter check") << 1 << Qt::Key_Enter << 1 << true << 3;
        QTest::newRow("escape") << 1 << Qt::Key_Escape << 0 << false << 1;
    }
    void keys()
    {
        QFETCH(int, buttonType);
        QFETCH(Qt::Key, key);
        QFETCH(int, clicks);
        QFETCH(bool, value);
        QFETCH(int, after);
        auto b = makeButton(m_context);
        b->writeButtonType(buttonType);
        // The last mouse release was the left button: space must still click once only.
        sendMouse(b.get(), QEvent::MouseButtonRelease, Qt::LeftButton);
        b->writeValue(false);
        b->writeButtonState(1);
        QSignalSpy spy(b.get(), &deRurara::Click);
        QTest::keyPress(b.get(), key);
        QCOMPARE(b->ButtonState(), clicks > 0 ? 3 : 1);
        QTest::keyRelease(b.get(), key);
        QCOMPARE(spy.count(), clicks);
        QCOMPARE(b->Value(), value);
        QCOMPARE(b->ButtonState(), after);
    }

    void pointerEnterAndLeave()
    {
        auto b = runButton();
        QVERIFY(b->isSubclassed());
        QSignalSpy enter(b.get(), &deRurara::MouseEnter);
        QSignalSpy leave(b.get(), &deRurara::MouseLeave);
        sendMove(b.get());
        sendMove(b.get(), {7, 7});
        QCOMPARE(enter.count(), 1);
        QCOMPARE(b->ButtonState(), 2);
        QVERIFY(b->mouseInside());
        sendLeave(b.get());
        sendLeave(b.get());
        QCOMPARE(leave.count(), 1);
        QCOMPARE(b->ButtonState(), 1);
        sendMove(b.get());
        QCOMPARE(enter.count(), 2);
    }

    void noTrackingWithoutLeaveSupportOrInDesignMode_data()
    {
        QTest::addColumn<bool>("canTrack");
        QTest::addColumn<bool>("design");
        QTest::newRow("no leave tracking") << false << false;
        QTest::newRow("design mode") << true << true;
    }
    void noTrackingWithoutLeaveSupportOrInDesignMode()
    {
        QFETCH(bool, canTrack);
        QFETCH(bool, design);
        m_context.setCanTrackLeave(canTrack);
        deRurara b(m_context);
        b.setDesignMode(design);
        b.readProperties(PropertyBag());
        QVERIFY(!b.isSubclassed());
        QSignalSpy enter(&b, &deRurara::MouseEnter);
        sendMove(&b);
        QCOMPARE(enter.count(), 0);
        QVERIFY(!b.hasMouseTracking());
    }

    void paletteChangeRepaints()
    {
        PlatformContext context;
        pinClassicColors(context.systemColors());
        deRurara b(context);
        b.readProperties(PropertyBag());
        b.resize(75, 23);
        b.writeStyle(0);
        QCOMPARE(pixelAt(b, 10, 10), makeRgb(236, 233, 216));
        context.systemColors().setOverride(15, makeRgb(10, 20, 30));
        QEvent change(QEvent::PaletteChange);
        QCoreApplication::sendEvent(&b, &change);
        QCOMPARE(pixelAt(b, 10, 10), makeRgb(10, 20, 30));
    }

    void showMovesHostTooltip_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("shown");
        QTest::newRow("host text moves in") << "Exit"
                                            << ""
                                            << "Exit";
        QTest::newRow("host text wins") << "Exit"
                                        << "Quit"
                                        << "Exit";
        QTest::newRow("empty host keeps own text") << ""
                                                   << "Quit"
                                                   << "Quit";
    }
    void showMovesHostTooltip()
    {
        QFETCH(QString, host);
        QFETCH(QString, own);
        QFETCH(QString, shown);
        auto b = makeButton(m_context);
        b->setToolTip(host);
        b->writeToolTip(own);
        b->show();
        QCOMPARE(b->toolTip(), QString());
        QCOMPARE(b->ToolTip(), shown);
        b->hide();
        QCOMPARE(b->toolTip(), shown);
    }

    void openLinkUsesShell()
    {
        PlatformContext context;
        auto shell = std::make_unique<RecordingShell>();
        RecordingShell *recorder = shell.get();
        context.setShell(std::move(shell));
        deRurara b(context);
        QVERIFY(b.OpenLink(QStringLiteral("http://example.com/")) > 32);
        QVERIFY(b.OpenLink(QString()) <= 32);
        QCOMPARE(recorder->opened, QStringList{QStringLiteral("http://example.com/")});
    }
};

QTEST_MAIN(ButtonBehaviourTest)
#include "tst_buttonbehaviour.moc"
