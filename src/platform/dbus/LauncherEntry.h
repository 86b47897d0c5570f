#pragma once

#include <QDBusConnection>
#include <QString>

namespace clipnab {

// The program's entry in the launcher or task bar, where the desktop follows the launcher-entry
// signal (com.canonical.Unity.LauncherEntry "Update"): the progress of the downloads under way
// and their count. Only changes are signalled, progress in steps of a hundredth; without a bus
// nothing is sent.
class LauncherEntry
{
public:
    static constexpr double kProgressStep = 0.01;

    // For the desktop entry `desktopFileId` ("org.clipnab.Clipnab.desktop"), on the session bus.
    explicit LauncherEntry(const QString &desktopFileId);
    LauncherEntry(const QString &desktopFileId, const QDBusConnection &bus);
    // The entry shows no progress after the program.
    ~LauncherEntry();
    LauncherEntry(const LauncherEntry &) = delete;
    LauncherEntry &operator=(const LauncherEntry &) = delete;

    // `count` downloads are under way, `fraction` (0 to 1) of their bytes are in; a negative
    // fraction when their size is not known shows the count alone. A count of 0 hides both.
    void show(double fraction, int count);
    void hide() { show(-1, 0); }

private:
    QDBusConnection m_bus;
    QString m_appUri;
    double m_fraction = -1;
    int m_count = 0;
};

} // namespace clipnab
