#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

namespace clipnab {

// Desktop notifications through the notification service on the session bus
// (org.freedesktop.Notifications). Calls are asynchronous and their errors are dropped, so that
// without a bus or a service nothing happens, nothing waits and nothing is printed. A saved
// video's notification offers "Open" and "Show in folder"; the user's choice comes back as a
// request signal carrying the file.
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    // Notifications kept for their actions until the service closes them; the oldest go first.
    static constexpr int kMaxKept = 32;

    // On the session bus.
    explicit DesktopNotifier(QObject *parent = nullptr);
    explicit DesktopNotifier(const QDBusConnection &bus, QObject *parent = nullptr);

    void notifySaved(const QString &videoTitle, const QString &filePath);
    void notifyFailed(const QString &videoTitle, const QString &reason);

Q_SIGNALS:
    // The service took a notification and gave it `id`.
    void shown(uint id);
    void openRequested(const QString &filePath);
    void showInFolderRequested(const QString &filePath);

private Q_SLOTS:
    // The service's signals, connected by their D-Bus names.
    void onActionInvoked(uint id, const QString &actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    void send(const QString &summary, const QString &body, const QString &category,
              const QString &filePath);

    QDBusConnection m_bus;
    // The saved file of each notification with actions, in the order they were shown.
    QHash<uint, QString> m_files;
    QList<uint> m_order;
};

} // namespace clipnab
