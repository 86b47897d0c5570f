#include "components/network/RedirectLocator.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QUrl>

namespace clipnab {

namespace {

// The entities a title holds most often; others stay as written.
QString decodeEntities(QString text)
{
    static const std::pair<QLatin1StringView, QLatin1StringView> kEntities[] = {
        {QLatin1StringView("&lt;"), QLatin1StringView("<")},
        {QLatin1StringView("&gt;"), QLatin1StringView(">")},
        {QLatin1StringView("&quot;"), QLatin1StringView("\"")},
        {QLatin1StringView("&#39;"), QLatin1StringView("'")},
        {QLatin1StringView("&apos;"), QLatin1StringView("'")},
        {QLatin1StringView("&nbsp;"), QLatin1StringView(" ")},
        // Last, so that "&amp;lt;" stays "&lt;".
        {QLatin1StringView("&amp;"), QLatin1StringView("&")},
    };
    for (const auto &[entity, character] : kEntities)
        text.replace(entity, character);
    return text;
}

} // namespace

RedirectLocator::RedirectLocator(QObject *parent) : BrowserComponent(parent)
{
    m_manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

RedirectLocator::~RedirectLocator()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void RedirectLocator::Navigate(const QString &address)
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    m_head.clear();
    m_title.clear();
    m_failure.clear();
    m_location = address;
    QNetworkRequest request(QUrl(address, QUrl::TolerantMode));
    request.setMaximumRedirectsAllowed(kMaximumRedirects);
    QNetworkReply *reply = m_manager.get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        const qint64 room = kTitleWindow - m_head.size();
        if (room > 0)
            m_head += reply->read(room);
        // The rest of the page is not needed.
        reply->skip(reply->bytesAvailable());
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
}

void RedirectLocator::onFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    m_location = reply->url().toString();
    // A page the server answered, even with an error status, loaded, as in a browser.
    const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    m_failure = answered ? QString() : QStringLiteral("the site could not be reached");
    m_title = pageTitle(m_head);
    Q_EMIT DocumentComplete(m_location);
}

QString RedirectLocator::pageTitle(const QByteArray &html)
{
    static const QRegularExpression kTitle(
        QStringLiteral("<title(?:\\s[^>]*)?>([^<]*)</title\\s*>"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = kTitle.match(QString::fromUtf8(html));
    return match.hasMatch() ? decodeEntities(match.captured(1)).simplified() : QString();
}

} // namespace clipnab
