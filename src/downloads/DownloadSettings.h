#pragma once

#include <QSettings>
#include <QString>

namespace clipnab {

// The download preferences, kept with QSettings under "Clipnab"/"Clipnab" (group "Downloads").
// Values read back are checked: an out-of-range count is clamped, a missing value is the default.
class DownloadSettings
{
public:
    static constexpr int kMinDownloadsAtOnce = 1;
    static constexpr int kMaxDownloadsAtOnce = 4;

    // The user's settings.
    DownloadSettings();
    // Settings in a file of their own, e.g. for tests.
    DownloadSettings(const QString &fileName, QSettings::Format format);

    // The folder videos go to; empty when the usual choice applies.
    QString downloadFolder() const;
    void setDownloadFolder(const QString &folder);
    // 1 to 4; 1 by default.
    int downloadsAtOnce() const;
    void setDownloadsAtOnce(int count);
    // Off by default.
    bool resumeAtStart() const;
    void setResumeAtStart(bool resume);
    // On by default.
    bool askBeforeSavingAgain() const;
    void setAskBeforeSavingAgain(bool ask);
    // Off by default.
    bool watchClipboard() const;
    void setWatchClipboard(bool watch);

    // Writes pending changes to disk now.
    void sync();

private:
    QSettings m_settings;
};

} // namespace clipnab
