#include "app/Form1.h"
#include "controls/button/deRurara.h"
#include "support/FakeBrowser.h"
#include "support/FakeTransfer.h"
#include "support/WindowRig.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLineEdit>
#include <QTest>

// The window's layout is a resource of its static library.
static void initAppResources()
{
    Q_INIT_RESOURCE(app);
}

using namespace clipnab;

namespace {

const QString kSite = QStringLiteral("http://127.0.0.1:9");

} // namespace

// What assistive technology sees of the window: the boxes' names and descriptions, the progress
// strip as a progress bar with its value, and buttons pressed without the pointer.
class AccessibilityTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initAppResources(); }
    void boxesHaveNames();
    void progressBarValue_data();
    void progressBarValue();
    void buttonsPressWithoutThePointer_data();
    void buttonsPressWithoutThePointer();
};

void AccessibilityTest::boxesHaveNames()
{
    WindowRig rig(kSite);
    QAccessibleInterface *address = QAccessible::queryAccessibleInterface(rig.edit("txtURL"));
    QAccessibleInterface *words = QAccessible::queryAccessibleInterface(rig.edit("txtsearch"));
    QCOMPARE(address->text(QAccessible::Name), QStringLiteral("Video address"));
    QCOMPARE(words->text(QAccessible::Name), QStringLiteral("Search words"));
    // The verdict under the address box describes it, and follows it.
    QCOMPARE(address->text(QAccessible::Description),
             QStringLiteral("Copy and Paste video URL here"));
    rig.edit("txtURL")->setText(QStringLiteral("http://x/"));
    QCOMPARE(address->text(QAccessible::Description), QStringLiteral("URL is not available"));
}

void AccessibilityTest::progressBarValue_data()
{
    QTest::addColumn<qint64>("total"); // -1: no length announced
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("title");
    QTest::newRow("share known") << qint64(100) << 42 << 100 << "42%: 42 bytes of 100 bytes"
                                 << "42% - Clipnab V2";
    QTest::newRow("no length: busy") << qint64(-1) << 0 << 0 << "42 bytes"
                                     << "42 bytes - Clipnab V2";
}

void AccessibilityTest::progressBarValue()
{
    QFETCH(qint64, total);
    QFETCH(int, value);
    QFETCH(int, maximum);
    QFETCH(QString, numbers);
    QFETCH(QString, title);
    WindowRig rig(kSite);
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(rig.child<QWidget>("Shape1"));
    QCOMPARE(bar->role(), QAccessible::ProgressBar);
    QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("Download progress"));
    QAccessibleValueInterface *values = bar->valueInterface();
    QVERIFY(values);

    Q_EMIT rig.button("cmdDown")->Click();
    rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok"));
    Q_EMIT rig.transfer->progress(42, total);
    QVERIFY(!bar->state().invisible);
    QCOMPARE(values->currentValue().toInt(), value);
    QCOMPARE(values->minimumValue().toInt(), 0);
    QCOMPARE(values->maximumValue().toInt(), maximum);
    // The same numbers in the description, the tooltip and the window title.
    QVERIFY(bar->text(QAccessible::Description).startsWith(numbers));
    QCOMPARE(rig.child<QWidget>("Shape1")->toolTip(), bar->text(QAccessible::Description));
    QCOMPARE(rig.window->windowTitle(), title);
    // The speed joins them as the numbers are shown again, a few times a second.
    QTRY_VERIFY_WITH_TIMEOUT(bar->text(QAccessible::Description).contains(QLatin1String("/s")),
                             3000);

    rig.transfer->fail();
    QVERIFY(bar->state().invisible);
    QCOMPARE(values->currentValue().toInt(), 0);
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Clipnab V2"));
}

void AccessibilityTest::buttonsPressWithoutThePointer_data()
{
    QTest::addColumn<int>("key"); // 0: the accessible press action
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("press action") << 0;
}

void AccessibilityTest::buttonsPressWithoutThePointer()
{
    // Website, focused and pressed with the pointer elsewhere, opens the home page once and
    // keeps no hot look: its focus ring shows.
    QFETCH(int, key);
    WindowRig rig(kSite);
    rig.window->activateWindow();
    deRurara *website = rig.button("cmdWeb");
    website->setFocus();
    QTRY_VERIFY(website->HasFocus());
    if (key)
        QTest::keyClick(website, static_cast<Qt::Key>(key));
    else
        QAccessible::queryAccessibleInterface(website)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
    QCOMPARE(rig.fakes.shell->opened, QStringList{QString::fromLatin1(Form1::kHomePage)});
    QCOMPARE(website->ButtonState(), 1);
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
