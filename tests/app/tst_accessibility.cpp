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

QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    if (!iface)
        qFatal("no accessible interface");
    return iface;
}

} // namespace

// What assistive technology sees of the window: the boxes' names and descriptions, the progress
// strip as a progress bar with its value, and the buttons pressed from the keyboard.
class AccessibilityTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void boxesHaveNames_data();
    void boxesHaveNames();
    void progressBarValue_data();
    void progressBarValue();
    void buttonsPressFromTheKeyboard_data();
    void buttonsPressFromTheKeyboard();
};

void AccessibilityTest::initTestCase()
{
    initAppResources();
}

void AccessibilityTest::boxesHaveNames_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("address at start") << "txtURL"
                                      << ""
                                      << "Video address"
                                      << "Copy and Paste video URL here";
    QTest::newRow("address available") << "txtURL"
                                       << "http://x/watch?v=abc"
                                       << "Video address"
                                       << "URL is available";
    QTest::newRow("address not available") << "txtURL"
                                           << "http://x/"
                                           << "Video address"
                                           << "URL is not available";
    QTest::newRow("search words") << "txtsearch"
                                  << ""
                                  << "Search words"
                                  << "";
}

void AccessibilityTest::boxesHaveNames()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QString, description);
    WindowRig rig(kSite);
    QLineEdit *edit = rig.edit(qPrintable(box));
    if (!text.isEmpty())
        edit->setText(text);
    QAccessibleInterface *iface = accessible(edit);
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(iface->text(QAccessible::Description), description);
}

void AccessibilityTest::progressBarValue_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("description");
    QTest::newRow("share known") << qint64(42) << qint64(100) << 42 << 100
                                 << "42%: 42 bytes of 100 bytes";
    QTest::newRow("no length: busy") << qint64(5000) << qint64(-1) << 0 << 0 << "4.9 KB";
}

void AccessibilityTest::progressBarValue()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(int, value);
    QFETCH(int, maximum);
    QFETCH(QString, description);
    WindowRig rig(kSite);
    QAccessibleInterface *bar = accessible(rig.child<QWidget>("Shape1"));
    QCOMPARE(bar->role(), QAccessible::ProgressBar);
    QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("Download progress"));
    QVERIFY(bar->state().invisible);

    Q_EMIT rig.button("cmdDown")->Click();
    rig.locator->finish(kSite + QStringLiteral("/player?video_id=5qWsH5lO-ME&t=tok"));
    Q_EMIT rig.transfer->progress(received, total);
    QVERIFY(!bar->state().invisible);
    QAccessibleValueInterface *values = bar->valueInterface();
    QVERIFY(values);
    QCOMPARE(values->currentValue().toInt(), value);
    QCOMPARE(values->minimumValue().toInt(), 0);
    QCOMPARE(values->maximumValue().toInt(), maximum);
    QVERIFY2(bar->text(QAccessible::Description).startsWith(description),
             qPrintable(bar->text(QAccessible::Description)));

    // At rest again: nothing to report.
    rig.transfer->fail();
    QVERIFY(bar->state().invisible);
    QCOMPARE(values->currentValue().toInt(), 0);
    QCOMPARE(bar->text(QAccessible::Description), QString());
}

void AccessibilityTest::buttonsPressFromTheKeyboard_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Enter") << "enter";
    QTest::newRow("keypad Enter") << "keypad";
    QTest::newRow("Space") << "space";
    QTest::newRow("press action") << "action";
}

void AccessibilityTest::buttonsPressFromTheKeyboard()
{
    // Website, focused, pressed without the pointer: it opens the home page once and keeps no
    // hot look, so its focus ring shows.
    QFETCH(QString, how);
    WindowRig rig(kSite);
    rig.window->activateWindow();
    QTRY_VERIFY(rig.window->isActiveWindow());
    deRurara *website = rig.button("cmdWeb");
    website->setFocus();
    QTRY_VERIFY(website->HasFocus());
    if (how == QLatin1String("enter"))
        QTest::keyClick(website, Qt::Key_Return);
    else if (how == QLatin1String("keypad"))
        QTest::keyClick(website, Qt::Key_Enter, Qt::KeypadModifier);
    else if (how == QLatin1String("space"))
        QTest::keyClick(website, Qt::Key_Space);
    else
        accessible(website)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(rig.fakes.shell->opened, QStringList{QString::fromLatin1(Form1::kHomePage)});
    QCOMPARE(website->ButtonState(), 1);
    QVERIFY(website->HasFocus());
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
