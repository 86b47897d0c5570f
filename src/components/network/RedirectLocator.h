#pragma once

#include "components/BrowserComponent.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QPointer>

class QNetworkReply;

namespace clipnab {

// A browser without a page engine, for finding where an address leads: it follows the HTTP
// redirects of a GET and finishes one document at the address it lands on, with that page's
// title. It runs no scripts and shows nothing; a site that sends its visitors on by script needs
// the real browser.
class RedirectLocator final : public BrowserComponent
{
    Q_OBJECT
public:
    // Only this much of the landed page is read for its title.
    static constexpr qint64 kTitleWindow = 64 * 1024;
    static constexpr int kMaximumRedirects = 20;

    explicit RedirectLocator(QObject *parent = nullptr);
    ~RedirectLocator() override;

    void Navigate(const QString &address) override;
    QString LocationURL() const override { return m_location; }
    QString LocationName() const override { return m_title; }
    QString loadFailure() const override { return m_failure; }

    // The text of the first <title> element of an HTML page; empty when there is none.
    static QString pageTitle(const QByteArray &html);

private:
    void onFinished(QNetworkReply *reply);

    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_head; // the start of the page, for its title
    QString m_location;
    QString m_title;
    QString m_failure;
};

} // namespace clipnab
