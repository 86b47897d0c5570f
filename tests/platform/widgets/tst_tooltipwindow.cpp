#include "platform/SystemColors.h"
#include "platform/widgets/ToolTipLayout.h"
#include "platform/widgets/ToolTipWindow.h"

#include <QTest>

using namespace clipnab;

class ToolTipWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void layoutKeepsTheTipOnScreen_data()
    {
        QTest::addColumn<bool>("balloon");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("above");
        QTest::newRow("balloon below the pointer") << true << QPoint(300, 200) << false;
        QTest::newRow("balloon above near the bottom") << true << QPoint(300, 590) << true;
        QTest::newRow("balloon turned at the right edge") << true << QPoint(795, 200) << false;
        QTest::newRow("balloon in the top-left corner") << true << QPoint(0, 0) << false;
        QTest::newRow("rectangle below the pointer") << false << QPoint(300, 200) << false;
        QTest::newRow("rectangle above in the corner") << false << QPoint(799, 599) << true;
    }
    void layoutKeepsTheTipOnScreen()
    {
        QFETCH(bool, balloon);
        QFETCH(QPoint, pointer);
        const QRect screen(0, 0, 800, 600);
        const ToolTipShape shape =
            layoutToolTip(balloon ? ToolTipForm::Balloon : ToolTipForm::Rectangle, QSize(200, 40),
                          pointer, screen);
        QVERIFY(screen.contains(shape.geometry));
        QTEST(shape.above, "above");
        QVERIFY(shape.body.contains(shape.content));
        QCOMPARE(shape.stem.isEmpty(), !balloon);
        if (!balloon)
            return;
        // The stem's tip is at the pointer, its base on the edge of the body next to it.
        QCOMPARE(shape.stem[0] + shape.geometry.topLeft(), pointer);
        const int edge = shape.above ? shape.body.bottom() : shape.body.top();
        QCOMPARE(shape.stem[1].y(), edge);
        QCOMPARE(std::abs(shape.stem[0].y() - edge), ToolTipMetrics::kStemHeight);
        QVERIFY(shape.stem[1].x() >= shape.body.left() && shape.stem[2].x() <= shape.body.right());
    }

    void displayTime_data()
    {
        QTest::addColumn<qsizetype>("characters");
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("empty") << qsizetype(0) << 5000;
        QTest::newRow("short") << qsizetype(50) << 5000;
        QTest::newRow("a little longer") << qsizetype(60) << 5500;
        QTest::newRow("20 beyond") << qsizetype(70) << 6000;
        QTest::newRow("just under the cap") << qsizetype(249) << 14950;
        QTest::newRow("at the cap") << qsizetype(250) << 15000;
        QTest::newRow("far beyond") << qsizetype(100000) << 15000;
    }
    void displayTime()
    {
        QFETCH(qsizetype, characters);
        QFETCH(int, milliseconds);
        QCOMPARE(ToolTipWindow::displayTime(characters).count(), milliseconds);
    }

    // The style's fall-asleep delay is how soon a tip may wake again; the tip outlasts it.
    void tipOutlastsTheStyleDelay()
    {
        SystemColors colors;
        QWidget tool;
        ToolTipWindow tip(ToolTipForm::Balloon, colors, &tool);
        tip.addTool(&tool, tool.rect(), QStringLiteral("Saves the video"));
        tip.popUp(QPoint(100, 100));
        QVERIFY(tip.isVisible());
        QTest::qWait(tool.style()->styleHint(QStyle::SH_ToolTip_FallAsleepDelay) + 500);
        QVERIFY(tip.isVisible());
    }

    // With access-key processing "W&W" would measure as "WW" and "A&&B" as "A&B".
    void ampersandIsShownAsItself_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shorter");
        QTest::newRow("single") << "W&W"
                                << "WW";
        QTest::newRow("double") << "A&&B"
                                << "A&B";
    }
    void ampersandIsShownAsItself()
    {
        QFETCH(QString, text);
        QFETCH(QString, shorter);
        SystemColors colors;
        QWidget tool;
        ToolTipWindow tip(ToolTipForm::Rectangle, colors, &tool);
        const auto widthFor = [&](const QString &shown) {
            tip.addTool(&tool, tool.rect(), shown);
            return tip.shapeAt(QPoint(100, 100)).content.width();
        };
        QVERIFY(widthFor(text) > widthFor(shorter));
    }
};

QTEST_MAIN(ToolTipWindowTest)
#include "tst_tooltipwindow.moc"
