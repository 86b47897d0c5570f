#include "platform/dbus/DesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace clipnab {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kAppName = QStringLiteral("Clipnab");
const QString kAppId = QStringLiteral("org.clipnab.Clipnab");
const QString kOpen = QStringLiteral("open");
const QString kShowInFolder = QStringLiteral("show-in-folder");
// Clicking the notification itself opens the file too.
const QString kDefault = QStringLiteral("default");
// The service chooses how long a notification stays.
constexpr qint32 kServerTimeout = -1;

} // namespace

DesktopNotifier::DesktopNotifier(QObject *parent)
    : DesktopNotifier(QDBusConnection::sessionBus(), parent)
{
}

DesktopNotifier::DesktopNotifier(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_bus(bus)
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onNotificationClosed(uint, uint)));
}

void DesktopNotifier::notifySaved(const QString &videoTitle, const QString &filePath)
{
    send(QStringLiteral("Video saved"), videoTitle, QStringLiteral("transfer.complete"), filePath);
}

void DesktopNotifier::notifyFailed(const QString &videoTitle, const QString &reason)
{
    const QString body = reason.isEmpty() ? videoTitle : videoTitle + QLatin1Char('\n') + reason;
    send(QStringLiteral("Download failed"), body, QStringLiteral("transfer.error"), QString());
}

void DesktopNotifier::send(const QString &summary, const QString &body, const QString &category,
                           const QString &filePath)
{
    if (!m_bus.isConnected())
        return;
    QStringList actions;
    if (!filePath.isEmpty())
        actions = {kDefault,      QStringLiteral("Open"),          kOpen, QStringLiteral("Open"),
                   kShowInFolder, QStringLiteral("Show in folder")};
    const QVariantMap hints{{QStringLiteral("desktop-entry"), kAppId},
                            {QStringLiteral("category"), category}};
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << kAppName << uint(0) << kAppId << summary << body << actions << hints << kServerTimeout;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, filePath](QDBusPendingCallWatcher *answered) {
                answered->deleteLater();
                const QDBusPendingReply<uint> reply = *answered;
                if (reply.isError())
                    return;
                const uint id = reply.value();
                if (!filePath.isEmpty()) {
                    m_files.insert(id, filePath);
                    m_order.removeAll(id);
                    m_order.append(id);
                    while (m_order.size() > kMaxKept)
                        m_files.remove(m_order.takeFirst());
                }
                Q_EMIT shown(id);
            });
}

void DesktopNotifier::onActionInvoked(uint id, const QString &actionKey)
{
    const QString filePath = m_files.value(id);
    if (filePath.isEmpty())
        return;
    if (actionKey == kOpen || actionKey == kDefault)
        Q_EMIT openRequested(filePath);
    else if (actionKey == kShowInFolder)
        Q_EMIT showInFolderRequested(filePath);
}

void DesktopNotifier::onNotificationClosed(uint id, uint)
{
    m_files.remove(id);
    m_order.removeAll(id);
}

} // namespace clipnab
