#include "app/LayoutRestore.h"
#include "app/SavedLayout.h"
#include "controls/button/deRurara.h"
#include "controls/panel/XPContainer.h"
#include "platform/widgets/PlatformContext.h"

#include <QTest>

using namespace clipnab;

class LayoutRestoreTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unreadableBagKeepsDefaults_data();
    void unreadableBagKeepsDefaults();
};

void LayoutRestoreTest::unreadableBagKeepsDefaults_data()
{
    QTest::addColumn<QByteArray>("bag"); // the button's, as the layout file holds it
    QTest::addColumn<bool>("extentRead");
    QTest::addColumn<QString>("caption"); // a button's default caption is its name
    QTest::newRow("readable") << QByteArray(
                                     R"({"_extentx": 1500, "_extenty": 750, "caption": "Go"})")
                              << true << "Go";
    QTest::newRow("no extent") << QByteArray(R"({"caption": "Go"})") << false << "Go";
    QTest::newRow("unreadable property")
        << QByteArray(R"({"_extentx": 1500, "_extenty": 750, "style": "x", "caption": "Go"})")
        << true << "B";
    QTest::newRow("unreadable extent")
        << QByteArray(R"({"_extentx": "wide", "_extenty": 750, "caption": "Go"})") << false << "B";
}

void LayoutRestoreTest::unreadableBagKeepsDefaults()
{
    QFETCH(QByteArray, bag);
    QFETCH(bool, extentRead);
    QFETCH(QString, caption);
    const QByteArray json = R"({"controls": [
        {"name": "P", "class": "Clipnab.XPContainer", "container": "Form1", "left": 150, "top": 300,
         "bag": {"_extentx": 3000, "_extenty": 1500}},
        {"name": "B", "class": "Clipnab.deRurara", "container": "P", "left": 150, "top": 300,
         "bag": BAG},
        {"name": "X", "class": "Other.Control", "container": "P", "bag": {}},
        {"name": "C", "class": "Clipnab.deRurara", "container": "Nowhere", "bag": {}}]})";
    QString error;
    const SavedLayout layout = SavedLayout::fromJson(QByteArray(json).replace("BAG", bag), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    PlatformContext context;
    QWidget client;
    LayoutRestore::restore(layout, context, &client);
    auto *panel = client.findChild<XPContainer *>(QStringLiteral("P"));
    auto *button = client.findChild<deRurara *>(QStringLiteral("B"));
    auto *bare = client.findChild<deRurara *>(QStringLiteral("C"));
    QVERIFY(panel && button && bare);
    QCOMPARE(panel->geometry(), QRect(10, 20, 200, 100));
    QCOMPARE(button->parentWidget(), panel);
    QCOMPARE(button->pos(), QPoint(10, 20));
    // Without a readable extent a button gets what one with an empty bag gets.
    QCOMPARE(button->size(), extentRead ? QSize(100, 50) : bare->size());
    QCOMPARE(button->Caption(), caption);
    // Other classes are skipped; a container that is no panel is the window.
    QVERIFY(!client.findChild<QWidget *>(QStringLiteral("X")));
    QCOMPARE(bare->parentWidget(), &client);
}

QTEST_MAIN(LayoutRestoreTest)
#include "tst_layoutrestore.moc"
