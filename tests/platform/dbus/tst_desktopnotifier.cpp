#include "platform/dbus/DesktopNotifier.h"
#include "platform/dbus/LauncherEntry.h"
#include "support/FakeNotifications.h"
#include "support/PrivateBus.h"

#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace clipnab;

namespace {

// Every message Qt prints while a test runs.
QStringList g_printed;

void keepMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    g_printed << text;
}

// What the launcher-entry signals carried: "progress progress-visible count count-visible".
class LauncherListener : public QObject
{
    Q_OBJECT
public:
    QStringList updates;

public Q_SLOTS:
    void onUpdate(const QString &appUri, const QVariantMap &p)
    {
        if (appUri == u"application://org.clipnab.Clipnab.desktop")
            updates << QStringLiteral("%1 %2 %3 %4")
                           .arg(p.value(QStringLiteral("progress")).toDouble())
                           .arg(p.value(QStringLiteral("progress-visible")).toBool())
                           .arg(p.value(QStringLiteral("count")).toLongLong())
                           .arg(p.value(QStringLiteral("count-visible")).toBool());
    }
};

} // namespace

// Notifications and the launcher entry on a bus of the test's own.
class DesktopNotifierTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void notifies_data();
    void notifies();
    void silentWithoutService_data();
    void silentWithoutService();
    void launcherProgress();

private:
    PrivateBus m_bus;
    int m_round = 0;
    QDBusConnection m_client{QString()};
};

void DesktopNotifierTest::initTestCase()
{
    if (!m_bus.start())
        QSKIP(qPrintable(m_bus.error()));
}

void DesktopNotifierTest::init()
{
    // A fresh client each time: no answer of an earlier test reaches this one.
    m_client = m_bus.connect(QStringLiteral("client%1").arg(++m_round));
    QVERIFY(m_client.isConnected());
    g_printed.clear();
    qInstallMessageHandler(keepMessage);
}

void DesktopNotifierTest::cleanup()
{
    qInstallMessageHandler(nullptr);
}

void DesktopNotifierTest::notifies_data()
{
    // The notification, then an action the user picks on it ("" for none) and what the
    // notifier asks for ("open", "folder" or "" for nothing).
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("notice"); // "summary|body|actions"
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("closedFirst");
    QTest::addColumn<QString>("request");
    const char *savedNotice =
        "Video saved|Bars & tone|default,Open,open,Open,show-in-folder,Show in folder";
    QTest::newRow("failed") << false << "Download failed|Bars & tone\nno video token on the page|"
                            << "" << false << "";
    QTest::newRow("open") << true << savedNotice << "open" << false << "open";
    QTest::newRow("click") << true << savedNotice << "default" << false << "open";
    QTest::newRow("show in folder") << true << savedNotice << "show-in-folder" << false << "folder";
    QTest::newRow("unknown action") << true << savedNotice << "other" << false << "";
    QTest::newRow("after closing") << true << savedNotice << "open" << true << "";
}

void DesktopNotifierTest::notifies()
{
    QFETCH(bool, saved);
    QFETCH(QString, notice);
    QFETCH(QString, action);
    QFETCH(bool, closedFirst);
    QFETCH(QString, request);
    FakeNotifications service;
    QVERIFY(service.serve(m_bus.connect(QStringLiteral("service%1").arg(m_round))));
    DesktopNotifier notifier(m_client);
    QSignalSpy shown(&notifier, &DesktopNotifier::shown);
    QSignalSpy opened(&notifier, &DesktopNotifier::openRequested);
    QSignalSpy folder(&notifier, &DesktopNotifier::showInFolderRequested);
    if (saved)
        notifier.notifySaved(QStringLiteral("Bars & tone"), QStringLiteral("/v/1.flv"));
    else
        notifier.notifyFailed(QStringLiteral("Bars & tone"),
                              QStringLiteral("no video token on the page"));
    QVERIFY(shown.wait());
    QCOMPARE(service.calls.size(), 1);
    const FakeNotifications::Call &call = service.calls.first();
    QCOMPARE(call.summary + u'|' + call.body + u'|' + call.actions.join(u','), notice);
    QCOMPARE(call.appName, QStringLiteral("Clipnab"));
    QCOMPARE(call.hints.value(QStringLiteral("desktop-entry")).toString(),
             QStringLiteral("org.clipnab.Clipnab"));

    const uint id = shown.first().first().toUInt();
    if (closedFirst)
        service.close(id);
    if (!action.isEmpty()) {
        // Another program's notification with the same action changes nothing here.
        service.invokeAction(id + 50, action);
        service.invokeAction(id, action);
    }
    QSignalSpy &expected = request == u"folder" ? folder : opened;
    if (!request.isEmpty()) {
        QVERIFY(expected.wait());
        QCOMPARE(expected.first().first().toString(), QStringLiteral("/v/1.flv"));
    } else {
        QTest::qWait(200);
    }
    QCOMPARE(opened.size() + folder.size(), request.isEmpty() ? 0 : 1);
    QCOMPARE(g_printed, QStringList{});
}

void DesktopNotifierTest::silentWithoutService_data()
{
    QTest::addColumn<bool>("busThere");
    QTest::newRow("bus without the service") << true;
    QTest::newRow("no bus") << false;
}

void DesktopNotifierTest::silentWithoutService()
{
    QFETCH(bool, busThere);
    QVERIFY(!m_client.interface()->isServiceRegistered(
        QStringLiteral("org.freedesktop.Notifications")));
    const QString nowhere = QStringLiteral("nowhere%1").arg(m_round);
    const QDBusConnection bus =
        busThere
            ? m_client
            : QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), nowhere);
    QElapsedTimer timer;
    timer.start();
    {
        DesktopNotifier notifier(bus);
        QSignalSpy shown(&notifier, &DesktopNotifier::shown);
        notifier.notifySaved(QStringLiteral("Bars"), QStringLiteral("/v/1.flv"));
        notifier.notifyFailed(QStringLiteral("Bars"), QStringLiteral("no token"));
        LauncherEntry launcher(QStringLiteral("org.clipnab.Clipnab.desktop"), bus);
        launcher.show(0.5, 1);
        QVERIFY(timer.elapsed() < 1000);
        QTest::qWait(300);
        QCOMPARE(shown.size(), 0);
    }
    QDBusConnection::disconnectFromBus(nowhere);
    QCOMPARE(g_printed, QStringList{});
}

void DesktopNotifierTest::launcherProgress()
{
    LauncherListener listener;
    QVERIFY(m_bus.connect(QStringLiteral("launcher%1").arg(m_round))
                .connect(QString(), QStringLiteral("/org/clipnab/Clipnab/launcher"),
                         QStringLiteral("com.canonical.Unity.LauncherEntry"),
                         QStringLiteral("Update"), &listener,
                         SLOT(onUpdate(QString, QVariantMap))));
    {
        LauncherEntry launcher(QStringLiteral("org.clipnab.Clipnab.desktop"), m_client);
        launcher.show(0.25, 1);
        launcher.show(0.254, 1); // less than a step: not sent
        launcher.show(0.5, 2);
        launcher.show(-1, 1); // size unknown: the count alone
    }                         // gone: hidden
    QTRY_COMPARE(listener.updates,
                 (QStringList{QStringLiteral("0.25 1 1 1"), QStringLiteral("0.5 1 2 1"),
                              QStringLiteral("0 0 1 1"), QStringLiteral("0 0 0 0")}));
}

QTEST_GUILESS_MAIN(DesktopNotifierTest)
#include "tst_desktopnotifier.moc"
