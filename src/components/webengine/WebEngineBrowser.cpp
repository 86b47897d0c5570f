#include "components/webengine/WebEngineBrowser.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace clipnab {

namespace {

// Links that would open a new window open in the same page.
class SameWindowPage final : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage *createWindow(WebWindowType) override { return this; }
};

} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget *viewParent, QObject *parent) : BrowserComponent(parent)
{
    // An off-the-record profile: nothing of the site is kept on disk between runs.
    m_profile = new QWebEngineProfile(this);
    if (viewParent) {
        m_view = new QWebEngineView(viewParent);
        m_page = new SameWindowPage(m_profile, m_view);
        m_view->setPage(m_page);
    } else {
        m_page = new SameWindowPage(m_profile, this);
        // Pictures of a page nobody sees are not fetched.
        m_page->settings()->setAttribute(QWebEngineSettings::AutoLoadImages, false);
    }
    connect(m_page, &QWebEnginePage::loadProgress, this,
            [this](int progress) { Q_EMIT ProgressChange(progress, 100); });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        // A page the server answered, even with an error status, loaded; a failed load had no
        // answer to show.
        m_loadFailure = ok ? QString() : QStringLiteral("the site could not be reached");
        Q_EMIT DocumentComplete(m_page->url().toString());
    });
}

WebEngineBrowser::~WebEngineBrowser()
{
    // Pages must go before their profile.
    delete m_view.data();
    delete m_page.data();
}

void WebEngineBrowser::Navigate(const QString &address)
{
    m_page->load(QUrl(address));
}

QString WebEngineBrowser::LocationURL() const
{
    return m_page->url().toString();
}

QString WebEngineBrowser::LocationName() const
{
    return m_page->title();
}

} // namespace clipnab
