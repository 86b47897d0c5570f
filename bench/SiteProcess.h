#pragma once

#include <QList>
#include <QProcess>
#include <QString>

#include <utility>

// The demo site (clipnab-demo-site from the same build) as a process of its own, for the
// benchmarks that measure a client against it. Ended when this goes.
class SiteProcess
{
public:
    SiteProcess() = default;
    ~SiteProcess();
    SiteProcess(const SiteProcess &) = delete;
    SiteProcess &operator=(const SiteProcess &) = delete;

    // Starts the site with generated videos of the given ids and sizes in bytes besides its
    // own; false when it does not report its address.
    bool start(const QList<std::pair<QString, qint64>> &videos = {});
    // "http://127.0.0.1:PORT".
    QString base() const { return m_base; }
    // The address of a video's file with its token, as the player address's redirect gives it.
    QString videoFileAddress(const QString &id) const;

private:
    QProcess m_process;
    QString m_base;
};
