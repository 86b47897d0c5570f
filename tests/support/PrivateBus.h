#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace clipnab {

// A D-Bus daemon of the test's own, with a configuration that activates no services, so that
// only what the test registers answers on it. connect() gives named connections to it, closed
// with the bus.
class PrivateBus
{
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // Starts dbus-daemon; false, with error(), when it cannot (e.g. not installed).
    bool start();
    QString address() const { return m_address; }
    QString error() const { return m_error; }
    // A new connection to the bus under `name`.
    QDBusConnection connect(const QString &name);

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QString m_error;
    QStringList m_connections;
};

} // namespace clipnab
