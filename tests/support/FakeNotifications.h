#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace clipnab {

// The desktop's notification service as far as the program uses it: Notify() is recorded and
// answered with a new id; the test raises the service's signals.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call
    {
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
    };

    ~FakeNotifications() override
    {
        m_bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        m_bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    }

    // Serves on `bus` under the service's name; false when the name cannot be had.
    bool serve(QDBusConnection bus)
    {
        m_bus = bus;
        return m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                    QDBusConnection::ExportAllSlots) &&
               m_bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

    void invokeAction(uint id, const QString &key) { signal("ActionInvoked", id, key); }
    // Reason 2: dismissed by the user.
    void close(uint id) { signal("NotificationClosed", id, 2u); }

    QList<Call> calls;

public Q_SLOTS:
    uint Notify(const QString &appName, uint, const QString &, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int)
    {
        calls.append({appName, summary, body, actions, hints});
        return static_cast<uint>(calls.size()) + 100;
    }

private:
    template <typename T> void signal(const char *name, uint id, const T &argument)
    {
        QDBusMessage message = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QString::fromLatin1(name));
        message << id << argument;
        m_bus.send(message);
    }

    QDBusConnection m_bus{QString()};
};

} // namespace clipnab
