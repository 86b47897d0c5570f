#include "app/DownloadNotices.h"

#include "platform/Shell.h"
#include "platform/widgets/PlatformContext.h"
#include "retrieval/DownloadOutcome.h"

#include <QDir>
#include <QFileInfo>

namespace clipnab {

DownloadNotices::DownloadNotices(PlatformContext &context, QObject *parent)
    : DownloadNotices(context, QDBusConnection::sessionBus(), parent)
{
}

DownloadNotices::DownloadNotices(PlatformContext &context, const QDBusConnection &bus,
                                 QObject *parent)
    : QObject(parent), m_context(context), m_notifier(bus),
      m_launcher(QString::fromLatin1(kDesktopFileId), bus)
{
    // The shell is looked up when asked: the context may have been given another one.
    connect(&m_notifier, &DesktopNotifier::openRequested, this, [this](const QString &filePath) {
        m_context.shell().open(QDir::toNativeSeparators(filePath));
    });
    connect(&m_notifier, &DesktopNotifier::showInFolderRequested, this,
            [this](const QString &filePath) {
                m_context.shell().open(
                    QDir::toNativeSeparators(QFileInfo(filePath).absolutePath()));
            });
}

void DownloadNotices::showProgress(qint64 received, qint64 total, int count)
{
    m_launcher.show(total > 0 ? static_cast<double>(received) / static_cast<double>(total) : -1,
                    count);
}

void DownloadNotices::downloadEnded(const DownloadOutcome &outcome, const QString &videoTitle,
                                    const QString &videoId, bool windowActive)
{
    // A refused address, a stop and a pause are the user's own doing, at the window.
    if (windowActive || outcome.kind == DownloadOutcome::Kind::Invalid ||
        outcome.kind == DownloadOutcome::Kind::Stopped ||
        outcome.kind == DownloadOutcome::Kind::Paused)
        return;
    const QString title = videoTitle.isEmpty() ? videoId : videoTitle;
    if (outcome.kind == DownloadOutcome::Kind::Saved)
        m_notifier.notifySaved(title, outcome.savedPath);
    else
        m_notifier.notifyFailed(title,
                                outcome.reason.isEmpty()
                                    ? outcome.message
                                    : outcome.message + QStringLiteral(": ") + outcome.reason);
}

} // namespace clipnab
