#include "controls/panel/PanelColorSets.h"
#include "controls/panel/PanelPainter.h"
#include "controls/panel/XPContainer.h"
#include "platform/PropertyBag.h"
#include "platform/SystemColors.h"
#include "platform/widgets/PlatformContext.h"

#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace clipnab;

namespace {

constexpr Rgb kButtonFace = 0x0A0B0C;

// A shown host with one panel in it, as the main window places panels.
struct Fixture
{
    Fixture()
    {
        context.systemColors().setOverride(15, kButtonFace);
        panel = new XPContainer(context, &host);
        panel->initProperties();
        host.resize(400, 300);
        host.show();
    }

    QImage shot()
    {
        QCoreApplication::processEvents();
        QImage image(panel->size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        panel->render(&image);
        return image;
    }

    QLabel *caption() const { return panel->findChild<QLabel *>(); }

    PlatformContext context;
    QWidget host;
    XPContainer *panel = nullptr;
};

Rgb at(const QImage &image, int x, int y)
{
    return fromQRgb(image.pixel(x, y));
}

const QStringList kColorNames{QStringLiteral("HeaderLightColor"), QStringLiteral("HeaderDarkColor"),
                              QStringLiteral("BackLightColor"),   QStringLiteral("BackDarkColor"),
                              QStringLiteral("BorderColor"),      QStringLiteral("TextColor")};

QList<uint> colorsOf(const XPContainer &panel)
{
    return {panel.HeaderLightColor(), panel.HeaderDarkColor(), panel.BackLightColor(),
            panel.BackDarkColor(),    panel.BorderColor(),     panel.TextColor()};
}

QList<uint> colorsOf(const PanelColorSet &set)
{
    return {set.headerLight, set.headerDark, set.backLight, set.backDark, set.border, set.text};
}

QStringList namesOf(const QSignalSpy &spy)
{
    QStringList names;
    for (const QList<QVariant> &call : spy)
        names.append(call.at(0).toString());
    return names;
}

} // namespace

class XPContainerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newInstanceDefaults();
    void designSizeDrawing();
    void plainStyles_data();
    void plainStyles();
    void shortPanels_data();
    void shortPanels();
    void equalBodyColorsFillPlainly();
    void widthZeroIsRedrawnButNotLaidOut();
    void systemColorsResolveWhenDrawing();
    void untranslatableBorderLeavesNoFrame();
    void themeNotifications_data();
    void themeNotifications();
    void everyWriteNotifiesItsName_data();
    void everyWriteNotifiesItsName();
    void defaultInstanceSavesNothing();
    void roundTrip_data();
    void roundTrip();
    void loadingKeepsEditedColorsOfATheme();
    void savedKeysFollowTheFixedOrder();
    void badBagEntryLeavesPanelUnchanged();
    void hostChildrenStayChildrenAboveTheHeader();
    void designModeIsStored();
};

void XPContainerTest::newInstanceDefaults()
{
    PlatformContext context;
    XPContainer panel(context);
    panel.initProperties();
    QCOMPARE(panel.Caption(), QStringLiteral("XPContainer"));
    QCOMPARE(panel.Style(), 0);
    QCOMPARE(panel.Theme(), 0);
    QCOMPARE(colorsOf(panel), colorsOf(kPanelColorSets[0]));
    QCOMPARE(panel.size(), QSize(165, 128));
    QVERIFY(!panel.designMode());
}

void XPContainerTest::designSizeDrawing()
{
    Fixture f;
    const QImage image = f.shot();
    QCOMPARE(image.size(), QSize(165, 128));

    for (int x = 0; x < 165; ++x) {
        QCOMPARE(at(image, x, 0), 0xDCC1AD);
        QCOMPARE(at(image, x, 127), 0xDCC1AD);
    }
    for (int y = 0; y < 128; ++y) {
        QCOMPARE(at(image, 0, y), 0xDCC1AD);
        QCOMPARE(at(image, 164, y), 0xDCC1AD);
    }
    // Header rows 1..23, read left of the caption and at the right end.
    QCOMPARE(at(image, 3, 1), 0xF7E0D3);
    QCOMPARE(at(image, 3, 23), 0xEDC5A7);
    QCOMPARE(at(image, 163, 1), 0xF7E0D3);
    QCOMPARE(at(image, 163, 23), 0xEDC5A7);
    // Body rows 24..126 from x 1 to 162; the column left of the frame keeps the background.
    for (int x = 1; x <= 162; ++x) {
        QCOMPARE(at(image, x, 24), 0xFCF4EF);
        QCOMPARE(at(image, x, 126), 0xFAE8DC);
    }
    for (int y = 24; y < 127; ++y)
        QCOMPARE(at(image, 163, y), kButtonFace);

    QLabel *caption = f.caption();
    QVERIFY(caption->isVisible());
    QCOMPARE(caption->text(), QStringLiteral("XPContainer"));
    QCOMPARE(caption->mapTo(f.panel, QPoint(0, 0)).x(), 11);
    QCOMPARE(fromQRgb(caption->palette().color(QPalette::WindowText).rgb()), 0x7B2D02);
    bool textDrawn = false;
    for (int y = 1; y < 24 && !textDrawn; ++y)
        for (int x = 11; x < 163 && !textDrawn; ++x)
            textDrawn = at(image, x, y) == 0x7B2D02;
    QVERIFY(textDrawn);
    for (int y = 1; y < 24; ++y)
        for (int x = 1; x < 11; ++x)
            QVERIFY(at(image, x, y) != 0x7B2D02);
}

void XPContainerTest::plainStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::newRow("1") << 1;
    QTest::newRow("5") << 5;
    QTest::newRow("-1") << -1;
}

void XPContainerTest::plainStyles()
{
    QFETCH(int, style);
    Fixture f;
    f.panel->writeStyle(style);
    QCOMPARE(f.panel->Style(), style);
    const QImage image = f.shot();

    QVERIFY(!f.caption()->isVisible());
    QCOMPARE(at(image, 0, 64), 0xDCC1AD);
    QCOMPARE(at(image, 82, 0), 0xDCC1AD);
    for (int y = 1; y < 127; ++y) {
        QCOMPARE(at(image, 163, y), at(image, 1, y));
        QVERIFY(at(image, 11, y) != 0x7B2D02);
    }

    // Without a frame the gradient shows from the top colour on row 0 to the bottom colour on
    // row 127, across the full width.
    f.panel->writeBorderColor(0x7F000000);
    const QImage bare = f.shot();
    for (int x = 0; x < 165; ++x) {
        QCOMPARE(at(bare, x, 0), 0xFCF4EF);
        QCOMPARE(at(bare, x, 127), 0xFAE8DC);
    }
}

void XPContainerTest::shortPanels_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("expected");

    QTest::newRow("body reference height 1 draws nothing") << 0 << 26 << 24 << kButtonFace;
    QTest::newRow("body reference height 2: top row") << 0 << 27 << 24 << 0xFCF4EF;
    QTest::newRow("body reference height 2: bottom row") << 0 << 27 << 25 << 0xFAE8DC;
    QTest::newRow("plain panel of height 3: middle row halfway, halves to even")
        << 1 << 3 << 1 << 0xFBEEE6;
    QTest::newRow("header covers row 1 of a short panel") << 0 << 20 << 1 << 0xF7E0D3;
}

void XPContainerTest::shortPanels()
{
    QFETCH(int, style);
    QFETCH(int, height);
    QFETCH(int, row);
    QFETCH(int, expected);
    Fixture f;
    f.panel->writeStyle(style);
    f.panel->resize(60, height);
    const QImage image = f.shot();
    QCOMPARE(at(image, 3, row), expected);
    // The fixed-height header strip lies over the bottom frame row of a very short panel.
    if (style != 0 || height > PanelMetrics::kHeaderHeight + 1)
        QCOMPARE(at(image, 3, height - 1), 0xDCC1AD);
}

void XPContainerTest::equalBodyColorsFillPlainly()
{
    Fixture f;
    f.panel->writeBackLightColor(0x445566);
    f.panel->writeBackDarkColor(0x445566);
    const QImage image = f.shot();
    for (int y = 24; y < 127; ++y)
        for (int x = 1; x < 163; ++x)
            QCOMPARE(at(image, x, y), 0x445566);
}

void XPContainerTest::widthZeroIsRedrawnButNotLaidOut()
{
    Fixture f;
    f.panel->resize(120, 80);
    QCoreApplication::processEvents();
    auto *header = f.caption()->parentWidget();
    QCOMPARE(header->width(), 118);

    f.panel->resize(0, 80);
    QCoreApplication::processEvents();
    QCOMPARE(header->width(), 118);

    f.panel->writeCaption(QStringLiteral("Tools"));
    QCOMPARE(f.caption()->text(), QStringLiteral("Tools"));
}

void XPContainerTest::systemColorsResolveWhenDrawing()
{
    Fixture f;
    f.context.systemColors().setOverride(13, 0x010203);
    f.context.systemColors().setOverride(23, 0x040506);
    f.panel->writeBorderColor(systemColorRef(13));
    f.panel->writeTextColor(systemColorRef(23));
    QCOMPARE(f.panel->BorderColor(), 0x8000000Du);
    const QImage image = f.shot();
    QCOMPARE(at(image, 0, 0), 0x010203);
    QCOMPARE(fromQRgb(f.caption()->palette().color(QPalette::WindowText).rgb()), 0x040506);
}

void XPContainerTest::untranslatableBorderLeavesNoFrame()
{
    Fixture f;
    f.panel->writeStyle(1);
    f.panel->writeBorderColor(0x05000000);
    f.panel->writeTextColor(0x05000000);
    QCOMPARE(f.panel->BorderColor(), 0x05000000u);
    const QImage image = f.shot();
    QCOMPARE(at(image, 0, 0), 0xFCF4EF);
    QCOMPARE(at(image, 0, 1), at(image, 50, 1));
}

void XPContainerTest::themeNotifications_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<bool>("applies");
    for (int theme = 0; theme < 12; ++theme)
        QTest::addRow("set %d", theme) << theme << true;
    QTest::newRow("12 selects nothing") << 12 << false;
    QTest::newRow("-1 selects nothing") << -1 << false;
    QTest::newRow("large number selects nothing") << 1000000 << false;
}

void XPContainerTest::themeNotifications()
{
    QFETCH(int, theme);
    QFETCH(bool, applies);
    Fixture f;
    f.panel->writeBorderColor(0x0000FF);
    const QList<uint> before = colorsOf(*f.panel);

    QSignalSpy spy(f.panel, &XPContainer::propertyChanged);
    QList<QList<uint>> colorsAtNotify;
    connect(f.panel, &XPContainer::propertyChanged, f.panel,
            [&f, &colorsAtNotify] { colorsAtNotify.append(colorsOf(*f.panel)); });
    const int redraws = f.panel->redrawCount();
    QVERIFY(f.panel->setProperty("Theme", theme));
    QCOMPARE(f.panel->Theme(), theme);
    // A chosen set is drawn once, whatever it changes; a number without a set draws nothing.
    QCOMPARE(f.panel->redrawCount() - redraws, applies ? 1 : 0);
    if (applies) {
        QCOMPARE(namesOf(spy), QStringList{QStringLiteral("Theme")} + kColorNames);
        QCOMPARE(colorsOf(*f.panel), colorsOf(kPanelColorSets[static_cast<size_t>(theme)]));
        // "Theme" goes out before the set is applied; the set is stored whole before the first
        // color's notification.
        QCOMPARE(colorsAtNotify.first(), before);
        for (qsizetype i = 1; i < colorsAtNotify.size(); ++i)
            QCOMPARE(colorsAtNotify.at(i), colorsOf(*f.panel));
        QCOMPARE(at(f.shot(), 0, 0),
                 static_cast<Rgb>(kPanelColorSets[static_cast<size_t>(theme)].border));
    } else {
        QCOMPARE(namesOf(spy), QStringList{QStringLiteral("Theme")});
        QCOMPARE(colorsOf(*f.panel), before);
    }
}

void XPContainerTest::everyWriteNotifiesItsName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    for (const QString &name : kColorNames)
        QTest::newRow(qPrintable(name)) << name << QVariant(0x80000005u);
    QTest::newRow("Caption") << QStringLiteral("Caption") << QVariant(QStringLiteral("Tools"));
    QTest::newRow("Style") << QStringLiteral("Style") << QVariant(3);
}

void XPContainerTest::everyWriteNotifiesItsName()
{
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    Fixture f;
    QSignalSpy spy(f.panel, &XPContainer::propertyChanged);
    const int redraws = f.panel->redrawCount();
    QVERIFY(f.panel->setProperty(name.toLatin1().constData(), value));
    QCOMPARE(namesOf(spy), QStringList{name});
    QCOMPARE(f.panel->redrawCount() - redraws, 1);
    QCOMPARE(f.panel->property(name.toLatin1().constData()), value);
}

void XPContainerTest::defaultInstanceSavesNothing()
{
    Fixture f;
    PropertyBag bag;
    f.panel->writeProperties(bag);
    QVERIFY(bag.isEmpty());

    f.panel->writeCaption(QStringLiteral("Changed"));
    f.panel->writeTheme(4);
    f.panel->readProperties(PropertyBag());
    QCOMPARE(f.panel->Caption(), QStringLiteral("XPContainer"));
    QCOMPARE(f.panel->Theme(), 0);
    QCOMPARE(colorsOf(*f.panel), colorsOf(kPanelColorSets[0]));
}

void XPContainerTest::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    for (const QString &name : kColorNames) {
        QTest::addRow("%s plain", qPrintable(name)) << name << QVariant(0x00123456u);
        QTest::addRow("%s system", qPrintable(name)) << name << QVariant(0x8000000Fu);
    }
    QTest::newRow("Caption") << QStringLiteral("Caption") << QVariant(QStringLiteral("Tools"));
    QTest::newRow("empty Caption") << QStringLiteral("Caption") << QVariant(QString());
    QTest::newRow("Style") << QStringLiteral("Style") << QVariant(-3);
    QTest::newRow("Theme out of range") << QStringLiteral("Theme") << QVariant(99);
}

void XPContainerTest::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    const QByteArray property = name.toLatin1();
    Fixture f;
    f.panel->setProperty(property.constData(), value);
    PropertyBag bag;
    f.panel->writeProperties(bag);
    QCOMPARE(bag.size(), 1);
    QVERIFY(bag.contains(name));

    // Through the saved-layout form, which keeps keys in lower case.
    const PropertyBag loaded = PropertyBag::fromJson(bag.toJson());
    Fixture g;
    QSignalSpy spy(g.panel, &XPContainer::propertyChanged);
    g.panel->readProperties(loaded);
    QCOMPARE(g.panel->property(property.constData()), value);
    QCOMPARE(spy.count(), 0);
}

void XPContainerTest::loadingKeepsEditedColorsOfATheme()
{
    Fixture f;
    f.panel->writeTheme(2);
    f.panel->writeBorderColor(0x0000FF);
    PropertyBag bag;
    f.panel->writeProperties(bag);

    Fixture g;
    g.panel->readProperties(PropertyBag::fromJson(bag.toJson()));
    QCOMPARE(g.panel->Theme(), 2);
    QCOMPARE(g.panel->BorderColor(), 0x0000FFu);
    QCOMPARE(g.panel->HeaderLightColor(), kPanelColorSets[2].headerLight);
    QCOMPARE(at(g.shot(), 0, 0), 0x0000FF);
}

void XPContainerTest::savedKeysFollowTheFixedOrder()
{
    Fixture f;
    f.panel->writeStyle(1);
    f.panel->writeTheme(9);
    f.panel->writeCaption(QStringLiteral("Downloader"));
    PropertyBag bag;
    f.panel->writeProperties(bag);
    QStringList expected;
    for (const QString &name :
         kColorNames + QStringList{QStringLiteral("Caption"), QStringLiteral("Style"),
                                   QStringLiteral("Theme")})
        expected.append(name.toLower());
    QCOMPARE(bag.keys(), expected);
}

void XPContainerTest::badBagEntryLeavesPanelUnchanged()
{
    Fixture f;
    f.panel->writeCaption(QStringLiteral("Kept"));
    PropertyBag bag;
    bag.writeText(QStringLiteral("caption"), QStringLiteral("New"), QString());
    bag.writeText(QStringLiteral("STYLE"), QStringLiteral("wide"), QString());
    QVERIFY_THROWS_EXCEPTION(PropertyBagError, f.panel->readProperties(bag));
    QCOMPARE(f.panel->Caption(), QStringLiteral("Kept"));
    QCOMPARE(f.panel->Style(), 0);
}

void XPContainerTest::hostChildrenStayChildrenAboveTheHeader()
{
    Fixture f;
    auto *button = new QPushButton(QStringLiteral("Go"), f.panel);
    button->setGeometry(20, 5, 60, 30);
    button->show();
    f.panel->writeTheme(6);
    f.panel->writeStyle(1);
    f.panel->writeStyle(0);
    f.panel->resize(300, 200);
    QCoreApplication::processEvents();

    QCOMPARE(button->parentWidget(), f.panel);
    QVERIFY(button->isVisible());
    QCOMPARE(button->geometry(), QRect(20, 5, 60, 30));
    QWidget *top = f.panel->childAt(30, 10);
    QVERIFY(top == button || button->isAncestorOf(top));
}

void XPContainerTest::designModeIsStored()
{
    Fixture f;
    f.panel->setDesignMode(true);
    QVERIFY(f.panel->designMode());
    f.panel->setDesignMode(false);
    QVERIFY(!f.panel->designMode());
}

QTEST_MAIN(XPContainerTest)
#include "tst_xpcontainer.moc"
