#include "ButtonTestSupport.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QTest>

using namespace clipnab;

// What assistive technology sees of the button and what its actions do.
class ButtonAccessibleTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void seenAs_data();
    void seenAs();
};

void ButtonAccessibleTest::seenAs_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("buttonType");
    QTest::addColumn<bool>("value");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("actions");

    const int push = QAccessible::PushButton;
    const int check = QAccessible::CheckBox;
    const QStringList press{QAccessibleActionInterface::pressAction()};
    const QStringList pressToggle{QAccessibleActionInterface::pressAction(),
                                  QAccessibleActionInterface::toggleAction()};
    QTest::newRow("push") << "Download" << 0 << false << true << push << "Download" << press;
    QTest::newRow("push, Value ignored") << "Exit" << 0 << true << true << push << "Exit" << press;
    QTest::newRow("access key") << "&Save && go" << 0 << false << true << push << "Save & go"
                                << press;
    QTest::newRow("check, off") << "Loop" << 1 << false << true << check << "Loop" << pressToggle;
    QTest::newRow("check, on") << "Loop" << 1 << true << true << check << "Loop" << pressToggle;
    QTest::newRow("disabled") << "Start" << 0 << false << false << push << "Start" << QStringList();
    QTest::newRow("disabled check")
        << "Loop" << 1 << true << false << check << "Loop" << QStringList();
}

void ButtonAccessibleTest::seenAs()
{
    QFETCH(QString, caption);
    QFETCH(int, buttonType);
    QFETCH(bool, value);
    QFETCH(bool, enabled);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QStringList, actions);

    PlatformContext context;
    auto button = test::makeButton(context);
    button->writeCaption(caption);
    button->writeButtonType(buttonType);
    button->writeValue(value);
    button->writeEnabled(enabled);

    QAccessibleInterface *seen = QAccessible::queryAccessibleInterface(button.get());
    QVERIFY(seen);
    QCOMPARE(int(seen->role()), role);
    QCOMPARE(seen->text(QAccessible::Name), name);
    const QAccessible::State state = seen->state();
    QCOMPARE(bool(state.checkable), buttonType == 1);
    QCOMPARE(bool(state.checked), buttonType == 1 && value);
    QCOMPARE(bool(state.disabled), !enabled);
    QAccessibleActionInterface *acting = seen->actionInterface();
    QVERIFY(acting);
    QCOMPARE(acting->actionNames(), actions);

    // Pressing clicks once and turns a check button over.
    QSignalSpy clicks(button.get(), &deRurara::Click);
    acting->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.size(), enabled ? 1 : 0);
    const bool turned = enabled && buttonType == 1;
    QCOMPARE(button->Value(), turned ? !value : value);
    QCOMPARE(bool(seen->state().checked), buttonType == 1 && button->Value());
    // With the pointer elsewhere, the press leaves no hot look behind.
    QCOMPARE(button->ButtonState(), !enabled ? 4 : (buttonType == 1 && button->Value() ? 3 : 1));
}

QTEST_MAIN(ButtonAccessibleTest)
#include "tst_buttonaccessible.moc"
