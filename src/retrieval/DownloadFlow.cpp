#include "retrieval/DownloadFlow.h"

#include "components/BrowserComponent.h"
#include "components/TransferComponent.h"
#include "platform/Clock.h"
#include "retrieval/AddressCheck.h"
#include "retrieval/SaveFile.h"
#include "retrieval/VideoAddress.h"

#include <QDateTime>

#include <algorithm>

namespace clipnab {

namespace {

using Kind = DownloadOutcome::Kind;

const QString kNoTokenMessage = QStringLiteral("Can not get the video file from this URL");
const QString kDownloadFailedMessage = QStringLiteral("Can not download the video file");
const QString kSaveFailedMessage = QStringLiteral("Can not save the video file");

DownloadOutcome downloadFailed(const QString &reason)
{
    return {.kind = Kind::DownloadFailed, .message = kDownloadFailedMessage, .reason = reason};
}

DownloadOutcome saveFailed(const QString &reason)
{
    return {.kind = Kind::SaveFailed, .message = kSaveFailedMessage, .reason = reason};
}

} // namespace

DownloadFlow::DownloadFlow(Clock &clock, BrowserComponent &locatorBrowser,
                           TransferComponent &transfer, Settings settings, QObject *parent)
    : QObject(parent), m_clock(clock), m_browser(locatorBrowser), m_transfer(transfer),
      m_settings(std::move(settings))
{
    connect(&m_browser, &BrowserComponent::DocumentComplete, this,
            &DownloadFlow::onDocumentComplete);
    connect(&m_transfer, &TransferComponent::progress, this, &DownloadFlow::onTransferProgress);
    connect(&m_transfer, &TransferComponent::finished, this, &DownloadFlow::onTransferFinished);
    connect(&m_transfer, &TransferComponent::validated, this,
            [this](const QString &etag, const QString &lastModified) {
                if (transferring())
                    Q_EMIT validated(etag, lastModified);
            });
    connect(&m_transfer, &TransferComponent::failed, this, &DownloadFlow::onTransferFailed);
}

DownloadFlow::~DownloadFlow()
{
    stopTransfer();
}

void DownloadFlow::setDownloading(bool downloading)
{
    if (m_downloading == downloading)
        return;
    m_downloading = downloading;
    Q_EMIT downloadingChanged(downloading);
}

void DownloadFlow::setPhase(Phase phase)
{
    if (m_phase == phase)
        return;
    m_phase = phase;
    Q_EMIT phaseChanged(phase);
}

void DownloadFlow::start(const QString &address)
{
    m_resumePath.clear();
    m_resumeValidator.clear();
    locate(address);
}

void DownloadFlow::resume(const QString &address, const QString &partPath,
                          const QByteArray &validator)
{
    m_resumePath = partPath;
    m_resumeValidator = validator;
    locate(address);
}

void DownloadFlow::locate(const QString &address)
{
    if (m_downloading)
        return;
    if (const auto failure = AddressCheck::validate(address, !AddressCheck::isAvailable(address))) {
        Q_EMIT finished({.kind = Kind::Invalid, .message = *failure});
        return;
    }
    m_videoId = AddressCheck::cutVideoId(address);

    setPhase(Phase::Analysing);
    setDownloading(true);
    m_browser.Navigate(VideoAddress::playerAddress(m_settings.siteBase, m_videoId));
}

void DownloadFlow::stop()
{
    if (!m_downloading)
        return;
    stopTransfer();
    endTransfer({.kind = Kind::Stopped});
}

void DownloadFlow::pause()
{
    if (!m_downloading)
        return;
    stopTransfer(true);
    endTransfer({.kind = Kind::Paused});
}

void DownloadFlow::stopTransfer(bool keepPart)
{
    if (m_phase != Phase::Transferring)
        return;
    // The transfer has closed the part file when abort() returns.
    m_transfer.abort();
    if (keepPart)
        m_part.release();
    else
        m_part.remove();
}

void DownloadFlow::onDocumentComplete(const QString &url)
{
    if (!m_downloading)
        return;
    const auto t = VideoAddress::tValue(url);
    if (!t) {
        // A late document without a token also ends a transfer under way: nothing is kept.
        stopTransfer();
        // Reported while still analysing: the lookup gives up only after the report. A page
        // that never loaded is told apart from one that holds no token.
        const QString failure = m_browser.loadFailure();
        Q_EMIT finished(
            {.kind = Kind::NoToken,
             .message = kNoTokenMessage,
             .reason = failure.isEmpty() ? QStringLiteral("no video token on the page") : failure});
        setPhase(Phase::Idle);
        setDownloading(false);
        return;
    }
    // A further document while the transfer runs changes nothing.
    if (m_phase == Phase::Analysing)
        startTransfer(*t);
}

void DownloadFlow::startTransfer(const QString &t)
{
    if (!openPart()) {
        endTransfer(saveFailed(m_part.errorString()));
        return;
    }
    const bool resuming = !m_resumePath.isEmpty();
    const TransferRequest request{
        .url = VideoAddress::videoFileAddress(m_settings.siteBase, m_videoId, t),
        .partPath = m_part.path(),
        .resumeFrom = resuming ? std::max<qint64>(m_part.size(), 0) : 0,
        .validator = resuming ? m_resumeValidator : QByteArray(),
    };
    if (const auto refusal = m_transfer.start(request)) {
        m_part.remove();
        endTransfer(downloadFailed(*refusal));
        return;
    }
    setPhase(Phase::Transferring);
}

bool DownloadFlow::openPart()
{
    if (!m_resumePath.isEmpty()) {
        if (m_part.adopt(m_resumePath))
            return true;
        m_resumePath.clear();
    }
    // The name is taken from the clock now; the body goes into a part file beside it, and the
    // video gets the first of its numbered names free once the body is in.
    return m_part.create(m_settings.downloadFolder, SaveFile::videoFileName(m_clock.now()));
}

void DownloadFlow::onTransferProgress(qint64 received, qint64 total)
{
    if (transferring())
        Q_EMIT progressChanged(received, qMax<qint64>(total, 0));
}

void DownloadFlow::onTransferFinished()
{
    if (!transferring())
        return;
    // The transfer has written the body into the part file, synced and closed it; what is left
    // is to check it against the announced length and give it its name.
    const QString lengthHeader = m_transfer.GetHeader(QStringLiteral("Content-length"));
    const qint64 size = m_part.size();
    if (size < 0) {
        m_part.remove();
        endTransfer(downloadFailed(QStringLiteral("the part file has gone from the folder")));
        return;
    }
    if (SaveFile::announcesLength(lengthHeader) &&
        static_cast<double>(size) != SaveFile::leadingNumber(lengthHeader)) {
        m_part.remove();
        endTransfer(downloadFailed(QStringLiteral("%1 bytes arrived of the %2 announced")
                                       .arg(size)
                                       .arg(lengthHeader.trimmed())));
        return;
    }
    if (!m_part.keep()) {
        m_part.remove();
        endTransfer(saveFailed(m_part.errorString()));
        return;
    }
    endTransfer({.kind = Kind::Saved, .savedPath = m_part.savedPath()});
}

void DownloadFlow::onTransferFailed(TransferFailure kind, const QString &reason)
{
    if (!transferring())
        return;
    // The transfer has closed the part file before it reported.
    m_part.remove();
    endTransfer(kind == TransferFailure::Write ? saveFailed(reason) : downloadFailed(reason));
}

void DownloadFlow::endTransfer(const DownloadOutcome &outcome)
{
    setDownloading(false);
    setPhase(Phase::Idle);
    Q_EMIT finished(outcome);
}

} // namespace clipnab
