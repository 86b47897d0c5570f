#include "platform/dbus/LauncherEntry.h"

#include <QDBusMessage>
#include <QVariantMap>

#include <algorithm>
#include <cmath>

namespace clipnab {

LauncherEntry::LauncherEntry(const QString &desktopFileId)
    : LauncherEntry(desktopFileId, QDBusConnection::sessionBus())
{
}

LauncherEntry::LauncherEntry(const QString &desktopFileId, const QDBusConnection &bus)
    : m_bus(bus), m_appUri(QStringLiteral("application://") + desktopFileId)
{
}

LauncherEntry::~LauncherEntry()
{
    hide();
}

void LauncherEntry::show(double fraction, int count)
{
    count = std::max(count, 0);
    fraction = count > 0 && fraction >= 0 ? std::min(fraction, 1.0) : -1;
    const bool progressVisible = fraction >= 0;
    const bool wasVisible = m_fraction >= 0;
    if (count == m_count && progressVisible == wasVisible &&
        (!progressVisible ||
         (std::abs(fraction - m_fraction) < kProgressStep && (fraction < 1 || m_fraction >= 1))))
        return;
    m_fraction = fraction;
    m_count = count;
    if (!m_bus.isConnected())
        return;
    const QVariantMap properties{
        {QStringLiteral("progress"), std::max(fraction, 0.0)},
        {QStringLiteral("progress-visible"), progressVisible},
        {QStringLiteral("count"), qint64(count)},
        {QStringLiteral("count-visible"), count > 0},
    };
    QDBusMessage update = QDBusMessage::createSignal(
        QStringLiteral("/org/clipnab/Clipnab/launcher"),
        QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    update << m_appUri << properties;
    m_bus.send(update);
}

} // namespace clipnab
