#include "app/DeferredBrowser.h"

#include <QEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <utility>

namespace clipnab {

DeferredBrowser::DeferredBrowser(Factory factory, QWidget *viewParent, Start start, QObject *parent)
    : BrowserComponent(parent), m_factory(std::move(factory)), m_start(start)
{
    if (!viewParent)
        return;
    // A page with nothing loaded shows white.
    m_placeholder = new QWidget(viewParent);
    m_placeholder->setObjectName(QStringLiteral("browserPlaceholder"));
    QPalette palette = m_placeholder->palette();
    palette.setColor(QPalette::Window, Qt::white);
    m_placeholder->setPalette(palette);
    m_placeholder->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(m_placeholder);
    layout->setContentsMargins(0, 0, 0, 0);
    if (m_start == Start::AfterFirstPaint)
        m_placeholder->installEventFilter(this);
}

DeferredBrowser::~DeferredBrowser()
{
    // The real view lives in the placeholder: the browser goes first.
    m_browser.reset();
    delete m_placeholder.data();
}

void DeferredBrowser::Navigate(const QString &address)
{
    if (m_browser) {
        m_browser->Navigate(address);
        return;
    }
    m_waitingAddress = address;
    if (m_start == Start::OnFirstUse)
        make();
}

QString DeferredBrowser::LocationURL() const
{
    return m_browser ? m_browser->LocationURL() : m_waitingAddress;
}

QString DeferredBrowser::LocationName() const
{
    return m_browser ? m_browser->LocationName() : QString();
}

QString DeferredBrowser::loadFailure() const
{
    return m_browser ? m_browser->loadFailure() : QString();
}

QWidget *DeferredBrowser::widget() const
{
    return m_placeholder;
}

void DeferredBrowser::make()
{
    if (m_browser)
        return;
    if (m_placeholder)
        m_placeholder->removeEventFilter(this);
    m_browser = m_factory(m_placeholder);
    if (QWidget *view = m_browser->widget(); view && m_placeholder) {
        m_placeholder->layout()->addWidget(view);
        view->show();
    }
    connect(m_browser.get(), &BrowserComponent::ProgressChange, this,
            &BrowserComponent::ProgressChange);
    connect(m_browser.get(), &BrowserComponent::DocumentComplete, this,
            &BrowserComponent::DocumentComplete);
    if (!m_waitingAddress.isEmpty())
        m_browser->Navigate(std::exchange(m_waitingAddress, QString()));
    Q_EMIT made();
}

bool DeferredBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_placeholder && event->type() == QEvent::Paint && !m_makeScheduled) {
        // The window's first frame is being drawn; it reaches the screen before the timer fires.
        m_makeScheduled = true;
        QTimer::singleShot(0, this, &DeferredBrowser::make);
    }
    return BrowserComponent::eventFilter(watched, event);
}

} // namespace clipnab
