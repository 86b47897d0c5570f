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

#include <limits>

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

// The counters hold whole numbers, so as integers they convert back to the very same floats.
qint64 wholeBytes(float counter)
{
    constexpr float kTwoToThe63 = 9223372036854775808.0f;
    if (!(counter > 0))
        return 0;
    if (counter >= kTwoToThe63)
        return std::numeric_limits<qint64>::max();
    return static_cast<qint64>(counter);
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

void DownloadFlow::onDocumentComplete(const QString &url)
{
    if (!m_downloading)
        return;
    const auto t = VideoAddress::tValue(url);
    if (!t) {
        // Reported while still analysing: the lookup gives up only after the report.
        Q_EMIT finished({Kind::NoToken, {}, kNoTokenMessage});
        setPhase(Phase::Idle);
        setDownloading(false);
        return;
    }
    m_transfer.setURL(VideoAddress::videoFileAddress(m_settings.siteBase, m_videoId, *t));
    // A further document while the transfer runs asks again; the refusal changes nothing.
    m_transfer.Execute(QStringLiteral("Get"));
    setPhase(Phase::Transferring);
}

void DownloadFlow::onTransferState(int state)
{
    if (!m_downloading)
        return;
    if (m_saving) {
        // The transfer failed while its body was being drained: saveBody ends the download.
        if (isState(state, State::Error))
            m_transferFailedWhileSaving = true;
        return;
    }
    if (isState(state, State::Error))
        endTransfer({Kind::DownloadFailed, {}, kDownloadFailedMessage});
    else if (isState(state, State::ResponseCompleted))
        saveBody();
}

void DownloadFlow::saveBody()
{
    const QString lengthHeader = m_transfer.GetHeader(QStringLiteral("Content-length"));
    const double announced = SaveFile::leadingNumber(lengthHeader);
    const bool lengthAnnounced = SaveFile::announcesLength(lengthHeader);
    m_progress.max = static_cast<float>(announced);

    const QString folder = m_settings.downloadFolder;
    const QString name = SaveFile::freeFileName(folder, SaveFile::videoFileName(m_clock.now()));
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
        drained = Drain::drainBody(
            [this] { return m_transfer.GetChunk(Drain::kChunkSize); }, part, m_progress,
            [this](const ProgressCounters &progress) {
                Q_EMIT progressChanged(wholeBytes(progress.value), wholeBytes(progress.max));
            });
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

    if (saveFailed)
        endTransfer({Kind::SaveFailed, {}, kSaveFailedMessage});
    else if (incomplete)
        endTransfer({Kind::DownloadFailed, {}, kDownloadFailedMessage});
    else
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
