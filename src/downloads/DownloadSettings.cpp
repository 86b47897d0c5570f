#include "downloads/DownloadSettings.h"

#include <algorithm>

namespace clipnab {

namespace {

const QString kFolderKey = QStringLiteral("Downloads/folder");
const QString kAtOnceKey = QStringLiteral("Downloads/atOnce");
const QString kResumeKey = QStringLiteral("Downloads/resumeAtStart");
const QString kAskAgainKey = QStringLiteral("Downloads/askBeforeSavingAgain");
const QString kClipboardKey = QStringLiteral("Downloads/watchClipboard");

} // namespace

DownloadSettings::DownloadSettings()
    : m_settings(QStringLiteral("Clipnab"), QStringLiteral("Clipnab"))
{
}

DownloadSettings::DownloadSettings(const QString &fileName, QSettings::Format format)
    : m_settings(fileName, format)
{
}

QString DownloadSettings::downloadFolder() const
{
    return m_settings.value(kFolderKey).toString();
}

void DownloadSettings::setDownloadFolder(const QString &folder)
{
    m_settings.setValue(kFolderKey, folder);
}

int DownloadSettings::downloadsAtOnce() const
{
    bool ok = false;
    const int count = m_settings.value(kAtOnceKey).toInt(&ok);
    return ok ? std::clamp(count, kMinDownloadsAtOnce, kMaxDownloadsAtOnce) : kMinDownloadsAtOnce;
}

void DownloadSettings::setDownloadsAtOnce(int count)
{
    m_settings.setValue(kAtOnceKey, std::clamp(count, kMinDownloadsAtOnce, kMaxDownloadsAtOnce));
}

bool DownloadSettings::resumeAtStart() const
{
    return m_settings.value(kResumeKey, false).toBool();
}

void DownloadSettings::setResumeAtStart(bool resume)
{
    m_settings.setValue(kResumeKey, resume);
}

bool DownloadSettings::askBeforeSavingAgain() const
{
    return m_settings.value(kAskAgainKey, true).toBool();
}

void DownloadSettings::setAskBeforeSavingAgain(bool ask)
{
    m_settings.setValue(kAskAgainKey, ask);
}

bool DownloadSettings::watchClipboard() const
{
    return m_settings.value(kClipboardKey, false).toBool();
}

void DownloadSettings::setWatchClipboard(bool watch)
{
    m_settings.setValue(kClipboardKey, watch);
}

void DownloadSettings::sync()
{
    m_settings.sync();
}

} // namespace clipnab
