#include "retrieval/DownloadFlow.h"

#include "app/browser/BrowserComponent.h"
#include "app/transfer/TransferComponent.h"
#include "platform/Clock.h"
#include "platform/Shell.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/PlatformContext.h"
#include "retrieval/AddressCheck.h"
#include "retrieval/DownloadView.h"
#include "retrieval/SaveFile.h"
#include "retrieval/VideoAddress.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace clipnab {

namespace {
constexpr int kStripRestTwips = 1;

const QString kAnalysing = QStringLiteral("Analysing URL...");
const QString kDownloadingCaption = QStringLiteral("Downloading...");
} // namespace

DownloadFlow::DownloadFlow(PlatformContext &context, BrowserComponent &locatorBrowser,
                           TransferComponent &transfer, DownloadView &view, Settings settings,
                           QObject *parent)
    : QObject(parent), m_context(context), m_browser(locatorBrowser), m_transfer(transfer),
      m_view(view), m_settings(std::move(settings))
{
    connect(&m_browser, &BrowserComponent::DocumentComplete, this,
            &DownloadFlow::onDocumentComplete);
    connect(&m_transfer, &TransferComponent::StateChanged, this, &DownloadFlow::onTransferState);
}

void DownloadFlow::setDownloading(bool downloading)
{
    if (m_downloading == downloading)
        return;
    m_downloading = downloading;
    Q_EMIT downloadingChanged(downloading);
}

void DownloadFlow::start(const QString &address, bool verdictNotAvailable)
{
    if (const auto failure = AddressCheck::validate(address, verdictNotAvailable)) {
        m_context.dialogs().warning(m_view.dialogParent(), *failure);
        return;
    }
    m_videoId = AddressCheck::cutVideoId(address);

    m_view.setDownloadControlsEnabled(false);
    m_view.setStatusCaption(kAnalysing);
    m_view.setStatusVisible(true);
    setDownloading(true);
    m_browser.Navigate(VideoAddress::playerAddress(m_settings.siteBase, m_videoId));
}

void DownloadFlow::onDocumentComplete(const QString &url)
{
    if (!m_downloading)
        return;
    const auto t = VideoAddress::tValue(url);
    if (!t) {
        m_context.dialogs().warning(m_view.dialogParent(),
                                    QStringLiteral("Can not get the video file from this URL"));
        m_view.setDownloadControlsEnabled(true);
        m_view.setStatusCaption(kAnalysing);
        m_view.setStatusVisible(false);
        setDownloading(false);
        return;
    }
    m_transfer.setURL(VideoAddress::videoFileAddress(m_settings.siteBase, m_videoId, *t));
    // A further document while the transfer runs asks again; the refusal changes nothing.
    m_transfer.Execute(QStringLiteral("Get"));
    m_view.setProgressVisible(true);
    m_view.setStatusCaption(kDownloadingCaption);
    m_view.setStatusVisible(true);
}

void DownloadFlow::onTransferState(int state)
{
    if (!m_downloading)
        return;
    if (m_saving) {
        // The transfer failed while its body was being drained: saveBody ends the download.
        if (state == TransferComponent::Error)
            m_transferFailedWhileSaving = true;
        return;
    }
    if (state == TransferComponent::Error) {
        returnToIdle();
        m_context.dialogs().warning(m_view.dialogParent(),
                                    QStringLiteral("Can not download the video file"));
    } else if (state == TransferComponent::ResponseCompleted) {
        saveBody();
    }
}

void DownloadFlow::saveBody()
{
    const QString lengthHeader = m_transfer.GetHeader(QStringLiteral("Content-length"));
    const double announced = SaveFile::leadingNumber(lengthHeader);
    const bool lengthAnnounced = SaveFile::announcesLength(lengthHeader);
    m_progress.max = static_cast<float>(announced);

    const QString folder = m_settings.downloadFolder;
    const QString name =
        SaveFile::freeFileName(folder, SaveFile::videoFileName(m_context.clock().now()));
    const QString partPath = QDir(folder).filePath(name + QStringLiteral(".part"));

    // The body goes to "<name>.part" and gets its final name only when it is complete, so a
    // file that looks finished always is.
    QFile part(partPath);
    bool saveFailed =
        !QDir().mkpath(folder) || !part.open(QIODevice::WriteOnly | QIODevice::Truncate);
    Drain::Result drained;
    m_transferFailedWhileSaving = false;
    if (!saveFailed) {
        m_saving = true;
        drained = Drain::drainBody([this] { return m_transfer.GetChunk(Drain::kChunkSize); }, part,
                                   m_progress,
                                   [this](int twips) { m_view.setProgressWidthTwips(twips); });
        m_saving = false;
        part.close();
        saveFailed = drained.writeFailed || part.error() != QFileDevice::NoError;
    }
    // A body that could not be read back in full is a failed download, announced length or not.
    const bool incomplete =
        !saveFailed &&
        (m_transferFailedWhileSaving ||
         (lengthAnnounced && static_cast<double>(drained.bytesWritten) != announced));

    QString finalPath;
    if (!saveFailed && !incomplete) {
        finalPath = QDir(folder).filePath(SaveFile::freeFileName(folder, name));
        if (!QFile::rename(partPath, finalPath))
            saveFailed = true;
    }
    if (saveFailed || incomplete)
        QFile::remove(partPath);

    returnToIdle();
    if (saveFailed) {
        m_context.dialogs().warning(m_view.dialogParent(),
                                    QStringLiteral("Can not save the video file"));
    } else if (incomplete) {
        m_context.dialogs().warning(m_view.dialogParent(),
                                    QStringLiteral("Can not download the video file"));
    } else {
        Q_EMIT saved(finalPath);
        m_context.shell().open(QDir::toNativeSeparators(QDir(folder).absolutePath()));
    }
}

void DownloadFlow::returnToIdle()
{
    setDownloading(false);
    m_view.setDownloadControlsEnabled(true);
    m_view.setProgressVisible(false);
    m_view.setProgressWidthTwips(kStripRestTwips);
    m_progress.value = 0;
    m_view.setStatusVisible(false);
}

} // namespace clipnab
