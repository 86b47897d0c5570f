#include "controls/panel/XPContainer.h"
#include "platform/widgets/PlatformContext.h"

#include <QAccessible>
#include <QTest>

using namespace clipnab;

// What assistive technology sees of the panel.
class PanelAccessibleTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void groupingNamedByCaption();
};

void PanelAccessibleTest::groupingNamedByCaption()
{
    PlatformContext context;
    XPContainer panel(context);
    QAccessibleInterface *seen = QAccessible::queryAccessibleInterface(&panel);
    QVERIFY(seen);
    QCOMPARE(seen->role(), QAccessible::Grouping);
    panel.writeCaption(QStringLiteral("Downloader & more"));
    QCOMPARE(seen->text(QAccessible::Name), QStringLiteral("Downloader & more"));
    // A name the host gives wins.
    panel.setAccessibleName(QStringLiteral("Tools"));
    QCOMPARE(seen->text(QAccessible::Name), QStringLiteral("Tools"));
}

QTEST_MAIN(PanelAccessibleTest)
#include "tst_panelaccessible.moc"
