#pragma once

#include "platform/dbus/DesktopNotifier.h"
#include "platform/dbus/LauncherEntry.h"

#include <QObject>

namespace clipnab {

class PlatformContext;
struct DownloadOutcome;

// What the desktop shows of the window's downloads: their progress and count on the launcher
// entry while they run and, when one ends saved or failed while the window is not active, a
// notification whose "Open" and "Show in folder" go through the shell.
class DownloadNotices : public QObject
{
    Q_OBJECT
public:
    static constexpr auto kDesktopFileId = "org.clipnab.Clipnab.desktop";

    // On the session bus.
    explicit DownloadNotices(PlatformContext &context, QObject *parent = nullptr);
    DownloadNotices(PlatformContext &context, const QDBusConnection &bus,
                    QObject *parent = nullptr);

    // `count` downloads run or wait, `received` of the `total` bytes announced are in (a total of
    // 0: not known); a count of 0 hides it.
    void showProgress(qint64 received, qint64 total, int count);
    // `videoTitle` is the page title the locator saw; the video id stands in when it is empty.
    void downloadEnded(const DownloadOutcome &outcome, const QString &videoTitle,
                       const QString &videoId, bool windowActive);

private:
    PlatformContext &m_context;
    DesktopNotifier m_notifier;
    LauncherEntry m_launcher;
};

} // namespace clipnab
