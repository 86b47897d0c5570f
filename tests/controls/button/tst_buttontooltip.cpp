#include "ButtonTestSupport.h"

#include "platform/PropertyBag.h"
#include "platform/widgets/ToolTipWindow.h"

#include <QPointer>
#include <QTest>

using namespace clipnab;
using namespace clipnab::test;

namespace {

constexpr QRgb kTipText = 0xFF102030;
constexpr QRgb kTipBackground = 0xFFFAFBFC;

} // namespace

class ButtonToolTipTest : public QObject
{
    Q_OBJECT
private:
    PlatformContext m_context;

    // Restored from an empty bag, with a tooltip text; it tracks the pointer unless in design
    // mode.
    std::unique_ptr<deRurara> restoredButton(bool design = false)
    {
        auto b = std::make_unique<deRurara>(m_context);
        b->setDesignMode(design);
        b->readProperties(PropertyBag());
        b->resize(75, 23);
        b->writeToolTip(QStringLiteral("Save"));
        return b;
    }

private Q_SLOTS:
    void initTestCase()
    {
        pinClassicColors(m_context.systemColors());
        m_context.systemColors().setOverride(23, fromQRgb(kTipText));
        m_context.systemColors().setOverride(24, fromQRgb(kTipBackground));
    }

    void shownAfterAnEntryUnlessInDesignMode()
    {
        for (const bool design : {false, true}) {
            auto b = restoredButton(design);
            sendMove(b.get());
            // The window is built at the entry and wakes while the pointer rests on the button.
            sendMove(b.get(), {6, 6});
            QCOMPARE(b->toolTipWindow() != nullptr, !design);
        }
        auto b = restoredButton();
        sendMove(b.get());
        sendMove(b.get(), {6, 6});
        QVERIFY(!b->toolTipWindow()->isVisible());
        QTRY_VERIFY(b->toolTipWindow()->isVisible());
        sendLeave(b.get());
        QVERIFY(!b->toolTipWindow()->isVisible());
    }

    // A colour of 0 keeps the system's tooltip colour (23 text, 24 background).
    void tipTakesTheProperties_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<uint>("fore");
        QTest::addColumn<uint>("back");
        QTest::addColumn<bool>("balloon");
        QTest::addColumn<QRgb>("text");
        QTest::addColumn<QRgb>("background");
        QTest::newRow("balloon, system colours")
            << 1 << 0u << 0u << true << kTipText << kTipBackground;
        QTest::newRow("type 0 is a rectangle")
            << 0 << 0u << 0u << false << kTipText << kTipBackground;
        QTest::newRow("type 2 is a rectangle")
            << 2 << 0u << 0u << false << kTipText << kTipBackground;
        QTest::newRow("plain colours")
            << 1 << 0x030201u << 0xDDEEFFu << true << 0xFF010203u << 0xFFFFEEDDu;
        QTest::newRow("system colours translated")
            << 1 << 0x8000000Du << 0x80000005u << true << 0xFF316AC5u << 0xFFFFFFFFu;
    }
    void tipTakesTheProperties()
    {
        QFETCH(int, type);
        QFETCH(uint, fore);
        QFETCH(uint, back);
        QFETCH(bool, balloon);
        auto b = restoredButton();
        b->writeToolTipType(type);
        b->writeToolTipTitle(QStringLiteral("Clipnab"));
        b->writeToolTipIcon(1);
        b->writeToolTipForeColor(fore);
        b->writeToolTipBackColor(back);
        sendMove(b.get());
        const ToolTipWindow *tip = b->toolTipWindow();
        QCOMPARE(tip->form(), balloon ? ToolTipForm::Balloon : ToolTipForm::Rectangle);
        QCOMPARE(tip->title(), QStringLiteral("Clipnab"));
        QCOMPARE(tip->icon(), 1);
        QTEST(tip->textColor().rgb(), "text");
        QTEST(tip->backgroundColor().rgb(), "background");
    }

    void changeShowsAtTheNextEntryAndTheWindowGoesWithTheButton()
    {
        auto b = restoredButton();
        sendMove(b.get());
        QPointer<ToolTipWindow> first = b->toolTipWindow();
        b->writeToolTip(QStringLiteral("Quit"));
        sendMove(b.get(), {7, 7});
        QCOMPARE(b->toolTipWindow()->text(), QStringLiteral("Save"));
        sendLeave(b.get());
        sendMove(b.get());
        QVERIFY(first.isNull());
        QPointer<ToolTipWindow> second = b->toolTipWindow();
        QCOMPARE(second->text(), QStringLiteral("Quit"));
        b.reset();
        QVERIFY(second.isNull());
    }

    // Background from system colour 24, text from 23: a button that stores neither shows dark
    // text on the pale tooltip background.
    void tipColourDefaults()
    {
        deRurara restored(m_context);
        restored.readProperties(PropertyBag());
        QCOMPARE(restored.ToolTipBackColor(), OleColor(fromQRgb(kTipBackground)));
        QCOMPARE(restored.ToolTipForeColor(), OleColor(fromQRgb(kTipText)));
        PropertyBag bag;
        restored.writeProperties(bag);
        QVERIFY(!bag.contains(QStringLiteral("ttBackColor")));
        QVERIFY(!bag.contains(QStringLiteral("ttForeColor")));
    }
};

QTEST_MAIN(ButtonToolTipTest)
#include "tst_buttontooltip.moc"
