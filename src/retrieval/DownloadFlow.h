#pragma once

#include "components/TransferFailure.h"
#include "retrieval/DownloadOutcome.h"
#include "retrieval/PartFile.h"

#include <QObject>
#include <QString>

namespace clipnab {

class BrowserComponent;
class Clock;
class TransferComponent;

// One download from the address to the saved file: validation, the video locator on the hidden
// browser, the transfer and the save into the download folder. It reports what happens as
// values and signals; the window decides how to show them. It owns the part file the transfer
// writes into.
class DownloadFlow : public QObject
{
    Q_OBJECT
public:
    // What the window shows of a download under way.
    enum class Phase
    {
        Idle,
        Analysing,    // the locator follows the player address
        Transferring, // the video file is being fetched and saved
    };
    Q_ENUM(Phase)

    struct Settings
    {
        QString siteBase;       // scheme, host and port, no trailing slash
        QString downloadFolder; // created when missing
    };

    // The browser and the transfer outlive the flow.
    DownloadFlow(Clock &clock, BrowserComponent &locatorBrowser, TransferComponent &transfer,
                 Settings settings, QObject *parent = nullptr);
    // A transfer under way ends without a report, and its part file goes.
    ~DownloadFlow() override;

    // The download action: validates `address` (as the live check on it shows), cuts the video
    // id and starts the locator. A failed check ends in an Invalid outcome.
    void start(const QString &address);
    // As start(), but the body continues the part file an earlier download of the same video
    // left at `partPath`, from the bytes it holds, asking with Range and `validator` as If-Range.
    // The server decides: the rest of the body, or all of it when the body changed. A part file
    // that is gone or not a plain file starts the video anew.
    void resume(const QString &address, const QString &partPath, const QByteArray &validator);
    // Stops the download under way at once: the transfer is closed and its part file deleted;
    // the outcome is Stopped.
    void stop();
    // Ends the download under way for now: the transfer is closed and its part file kept, to be
    // continued by resume(); the outcome is Paused.
    void pause();

    bool downloading() const { return m_downloading; }
    Phase phase() const { return m_phase; }
    QString videoId() const { return m_videoId; }
    // The part file the transfer writes into; empty before the transfer.
    QString partPath() const { return m_part.path(); }
    const Settings &settings() const { return m_settings; }
    // Where the next download goes; one under way keeps its folder.
    void setDownloadFolder(const QString &folder) { m_settings.downloadFolder = folder; }

Q_SIGNALS:
    void downloadingChanged(bool downloading);
    void phaseChanged(clipnab::DownloadFlow::Phase phase);
    // The body's bytes received and its announced length (0 when none was announced), as they
    // arrive.
    void progressChanged(qint64 received, qint64 total);
    // The validators the server named for the body (see TransferComponent::validated).
    void validated(const QString &etag, const QString &lastModified);
    // Once per download action. A lookup that finds no token reports while the flow is still
    // analysing and goes idle afterwards; a started transfer goes idle first, then reports.
    void finished(const clipnab::DownloadOutcome &outcome);

private:
    bool transferring() const { return m_downloading && m_phase == Phase::Transferring; }
    void locate(const QString &address);
    bool openPart();
    void onDocumentComplete(const QString &url);
    void startTransfer(const QString &t);
    void onTransferProgress(qint64 received, qint64 total);
    void onTransferFinished();
    void onTransferFailed(TransferFailure kind, const QString &reason);
    // Ends the transfer under way, if any; the part file goes unless `keepPart`.
    void stopTransfer(bool keepPart = false);
    void endTransfer(const DownloadOutcome &outcome);
    void setDownloading(bool downloading);
    void setPhase(Phase phase);

    Clock &m_clock;
    BrowserComponent &m_browser;
    TransferComponent &m_transfer;
    Settings m_settings;
    bool m_downloading = false;
    Phase m_phase = Phase::Idle;
    QString m_videoId;
    PartFile m_part;
    // What resume() continues: the earlier part file and its body's validator.
    QString m_resumePath;
    QByteArray m_resumeValidator;
};

} // namespace clipnab
