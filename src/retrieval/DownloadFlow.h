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
    // Stops the download under way at once: the transfer is closed and its part file deleted;
    // the outcome is Stopped.
    void stop();

    bool downloading() const { return m_downloading; }
    Phase phase() const { return m_phase; }
    QString videoId() const { return m_videoId; }
    const Settings &settings() const { return m_settings; }

Q_SIGNALS:
    void downloadingChanged(bool downloading);
    void phaseChanged(clipnab::DownloadFlow::Phase phase);
    // The body's bytes received and its announced length (0 when none was announced), as they
    // arrive.
    void progressChanged(qint64 received, qint64 total);
    // Once per download action. A lookup that finds no token reports while the flow is still
    // analysing and goes idle afterwards; a started transfer goes idle first, then reports.
    void finished(const clipnab::DownloadOutcome &outcome);

private:
    bool transferring() const { return m_downloading && m_phase == Phase::Transferring; }
    void onDocumentComplete(const QString &url);
    void startTransfer(const QString &t);
    void onTransferProgress(qint64 received, qint64 total);
    void onTransferFinished();
    void onTransferFailed(TransferFailure kind, const QString &reason);
    void stopTransfer();
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
};

} // namespace clipnab
