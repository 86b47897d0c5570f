#include "SiteProcess.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrl>
#include <QUrlQuery>

namespace {

constexpr int kStartLimitMs = 30000;
constexpr int kEndLimitMs = 10000;

} // namespace

SiteProcess::~SiteProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    m_process.waitForFinished(kEndLimitMs);
}

bool SiteProcess::start(const QList<std::pair<QString, qint64>> &videos)
{
    QStringList arguments;
    for (const auto &[id, size] : videos)
        arguments << QStringLiteral("--video") << QStringLiteral("%1:%2").arg(id).arg(size);
    m_process.start(QCoreApplication::applicationDirPath() +
                        QStringLiteral("/../tools/demo-site/clipnab-demo-site"),
                    arguments);
    if (!m_process.waitForReadyRead(kStartLimitMs))
        return false;
    // Its first line ends with the address it listens on.
    m_base = QString::fromLatin1(m_process.readLine()).trimmed().section(QLatin1Char(' '), -1);
    return m_base.startsWith(QLatin1String("http://"));
}

QString SiteProcess::videoFileAddress(const QString &id) const
{
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(m_base + QStringLiteral("/v/") + id));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QUrl location(QString::fromLatin1(reply->rawHeader("Location")));
    const QString token = QUrlQuery(location.query()).queryItemValue(QStringLiteral("t"));
    reply->deleteLater();
    return m_base + QStringLiteral("/get_video?video_id=") + id + QStringLiteral("&t=") + token;
}
