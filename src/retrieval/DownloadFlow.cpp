#include "retrieval/DownloadFlow.h"

#include "components/BrowserComponent.h"
#include "components/TransferComponent.h"
#include "platform/Clock.h"
#include "retrieval/AddressCheck.h"
#include "retrieval/SaveFile.h"
#include "retrieval/VideoAddress.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace clipnab {

namespace {

using Kind = DownloadOutcome::Kind;
using State = TransferComponent::State;

const QString kNoTokenMessage = QStringLiteral("Can not get the video file from this URL");
const QString kDownloadFailedMessage = QStringLiteral("Can not download the video file");
const QString kSaveFailedMessage = QStringLiteral("Can not save the video file");

bool isState(int state, State expected)
{
    return state == static_cast<int>(expected);
}

} // namespace

DownloadFlow::DownloadFlow(Clock &clock, BrowserComponent &locatorBrowser,
                           TransferComponent &transfer, Settings settings, QObject *parent)
    : QObject(parent), m_clock(clock), m_browser(locatorBrowser), m_transfer(transfer),
      m_settings(std::move(settings))
{
    connect(&m_browser, &BrowserComponent::DocumentComplete, this,
            &DownloadFlow::onDocumentComplete);
    connect(&m_transfer, &TransferComponent::StateChanged, this, &DownloadFlow::onTransferState);
    connect(&m_transfer, &TransferComponent::bodyProgress, this, &DownloadFlow::onBodyProgress);
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

void DownloadFlow::start(const QString &address, bool verdictNotAvailable)
{
    if (const auto failure = AddressCheck::validate(address, verdictNotAvailable)) {
        Q_EMIT finished({Kind::Invalid, {}, *failure});
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
    endTransfer({Kind::Stopped, {}, {}});
}

void DownloadFlow::stopTransfer()
{
    if (m_phase != Phase::Transferring)
        return;
    m_transfer.Execute(QStringLiteral("QUIT"));
    QFile::remove(m_partPath);
}

void DownloadFlow::onDocumentComplete(const QString &url)
{
    if (!m_downloading)
        return;
    const auto t = VideoAddress::tValue(url);
    if (!t) {
        // A late document without a token also ends a transfer under way: nothing is kept.
        stopTransfer();
        // Reported while still analysing: the lookup gives up only after the report.
        Q_EMIT finished({Kind::NoToken, {}, kNoTokenMessage});
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
    // The body goes to "<name>.part" and gets its final name only when it is complete and on
    // disk, so a file that looks finished always is.
    const QString folder = m_settings.downloadFolder;
    m_fileName = SaveFile::freeFileName(folder, SaveFile::videoFileName(m_clock.now()));
    m_partPath = QDir(folder).filePath(m_fileName + QStringLiteral(".part"));
    // Made here, so that a folder that cannot hold the video fails before anything is fetched.
    QFile part(m_partPath);
    if (!QDir().mkpath(folder) || !part.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        endTransfer({Kind::SaveFailed, {}, kSaveFailedMessage});
        return;
    }
    part.close();

    m_progress = {};
    m_transfer.setURL(VideoAddress::videoFileAddress(m_settings.siteBase, m_videoId, t));
    m_transfer.setDestination(m_partPath);
    if (!m_transfer.Execute(QStringLiteral("Get"))) {
        QFile::remove(m_partPath);
        endTransfer({Kind::DownloadFailed, {}, kDownloadFailedMessage});
        return;
    }
    setPhase(Phase::Transferring);
}

void DownloadFlow::onTransferState(int state)
{
    if (!m_downloading || m_phase != Phase::Transferring)
        return;
    if (isState(state, State::Error)) {
        QFile::remove(m_partPath);
        endTransfer(m_transfer.writeFailed()
                        ? DownloadOutcome{Kind::SaveFailed, {}, kSaveFailedMessage}
                        : DownloadOutcome{Kind::DownloadFailed, {}, kDownloadFailedMessage});
    } else if (isState(state, State::ResponseCompleted)) {
        finishSave();
    }
}

void DownloadFlow::onBodyProgress(qint64 received, qint64 total)
{
    if (!m_downloading || m_phase != Phase::Transferring)
        return;
    m_progress.max = total > 0 ? static_cast<float>(total) : 0.0f;
    m_progress.value = static_cast<float>(received);
    Q_EMIT progressChanged(received, qMax<qint64>(total, 0));
}

void DownloadFlow::finishSave()
{
    // The transfer has written the body into the part file and synced it; what is left is to
    // check it against the announced length and give it its name.
    const QString lengthHeader = m_transfer.GetHeader(QStringLiteral("Content-length"));
    const QFileInfo part(m_partPath);
    const bool complete = part.isFile() && (!SaveFile::announcesLength(lengthHeader) ||
                                            static_cast<double>(part.size()) ==
                                                SaveFile::leadingNumber(lengthHeader));
    if (!complete) {
        QFile::remove(m_partPath);
        endTransfer({Kind::DownloadFailed, {}, kDownloadFailedMessage});
        return;
    }
    const QString folder = m_settings.downloadFolder;
    const QString finalPath = QDir(folder).filePath(SaveFile::freeFileName(folder, m_fileName));
    if (!QFile::rename(m_partPath, finalPath)) {
        QFile::remove(m_partPath);
        endTransfer({Kind::SaveFailed, {}, kSaveFailedMessage});
        return;
    }
    endTransfer({Kind::Saved, finalPath, {}});
}

void DownloadFlow::endTransfer(const DownloadOutcome &outcome)
{
    setDownloading(false);
    m_progress.value = 0;
    setPhase(Phase::Idle);
    Q_EMIT finished(outcome);
}

} // namespace clipnab
