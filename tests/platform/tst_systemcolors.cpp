#include "platform/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTest>

using namespace clipnab;

class SystemColorsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translate_data();
    void translate();
    void paletteBacksUnpinnedIndices_data();
    void paletteBacksUnpinnedIndices();
    void overridesCanBeCleared();
};

void SystemColorsTest::translate_data()
{
    QTest::addColumn<uint>("color");
    QTest::addColumn<int>("expected");

    QTest::newRow("button face resolves to its pinned value") << 0x8000000Fu << 0x00ABCDEF;
    QTest::newRow("plain colour passes") << 0x00123456u << 0x00123456;
    QTest::newRow("plain black passes") << 0x00000000u << 0;
    QTest::newRow("plain white passes") << 0x00FFFFFFu << 0x00FFFFFF;
    QTest::newRow("top byte 1 fails") << 0x01000000u << -1;
    QTest::newRow("top byte 0xFF fails") << 0xFF123456u << -1;
    QTest::newRow("top byte 0x81 fails") << 0x8100000Fu << -1;
    QTest::newRow("unused index 25 fails") << 0x80000019u << -1;
    QTest::newRow("index past the table fails") << 0x8000001Fu << -1;
    QTest::newRow("index in the middle bytes fails") << 0x8000010Fu << -1;
}

void SystemColorsTest::translate()
{
    QFETCH(uint, color);
    QFETCH(int, expected);
    SystemColors colors;
    colors.setOverride(15, 0x00ABCDEF);
    QCOMPARE(translateColor(color, colors), expected);
}

void SystemColorsTest::paletteBacksUnpinnedIndices_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::newRow("5 window") << 5 << int(QPalette::Active) << int(QPalette::Base);
    QTest::newRow("13 highlight") << 13 << int(QPalette::Active) << int(QPalette::Highlight);
    QTest::newRow("15 button face") << 15 << int(QPalette::Active) << int(QPalette::Button);
    QTest::newRow("17 grey text") << 17 << int(QPalette::Disabled) << int(QPalette::Text);
    QTest::newRow("21 dark shadow") << 21 << int(QPalette::Active) << int(QPalette::Shadow);
    QTest::newRow("24 tooltip") << 24 << int(QPalette::Active) << int(QPalette::ToolTipBase);
}

void SystemColorsTest::paletteBacksUnpinnedIndices()
{
    QFETCH(int, index);
    QFETCH(int, group);
    QFETCH(int, role);
    const SystemColors colors;
    const QColor expected = QGuiApplication::palette().color(
        static_cast<QPalette::ColorGroup>(group), static_cast<QPalette::ColorRole>(role));
    QCOMPARE(colors.color(index), fromQRgb(expected.rgb()));
    QCOMPARE(translateColor(systemColorRef(index), colors), fromQRgb(expected.rgb()));
}

void SystemColorsTest::overridesCanBeCleared()
{
    SystemColors colors;
    const Rgb original = colors.color(16);
    colors.setOverride(16, original ^ 0x00FFFFFF);
    QCOMPARE(colors.color(16), original ^ 0x00FFFFFF);
    colors.clearOverrides();
    QCOMPARE(colors.color(16), original);
}

QTEST_MAIN(SystemColorsTest)
#include "tst_systemcolors.moc"
