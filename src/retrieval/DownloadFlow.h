#pragma once

#include "retrieval/Drain.h"

#include <QObject>
#include <QString>

namespace clipnab {

class BrowserComponent;
class DownloadView;
class PlatformContext;
class TransferComponent;

// One download from the address to the saved file: validation, the video locator on the hidden
// browser, the transfer and the save into the download folder.
class DownloadFlow : public QObject
{
    Q_OBJECT
public:
    struct Settings
    {
        QString siteBase;       // scheme, host and port, no trailing slash
        QString downloadFolder; // created when missing
    };

    DownloadFlow(PlatformContext &context, BrowserComponent &locatorBrowser,
                 TransferComponent &transfer, DownloadView &view, Settings settings,
                 QObject *parent = nullptr);

    // The download action: validates `address` (with the live verdict it currently shows),
    // cuts the video id and starts the locator. Message boxes report a failed test.
    void start(const QString &address, bool verdictNotAvailable);

    bool downloading() const { return m_downloading; }
    QString videoId() const { return m_videoId; }
    const ProgressCounters &progress() const { return m_progress; }
    const Settings &settings() const { return m_settings; }

Q_SIGNALS:
    void downloadingChanged(bool downloading);
    // The full path of a video that was stored completely.
    void saved(const QString &path);

private:
    void onDocumentComplete(const QString &url);
    void onTransferState(int state);
    void saveBody();
    void returnToIdle();
    void setDownloading(bool downloading);

    PlatformContext &m_context;
    BrowserComponent &m_browser;
    TransferComponent &m_transfer;
    DownloadView &m_view;
    Settings m_settings;
    bool m_downloading = false;
    // The body is being drained; a transfer error raised meanwhile is remembered, not acted on.
    bool m_saving = false;
    bool m_transferFailedWhileSaving = false;
    QString m_videoId;
    ProgressCounters m_progress;
};

} // namespace clipnab
