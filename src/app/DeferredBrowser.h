#pragma once

#include "components/BrowserComponent.h"

#include <QPointer>

#include <functional>
#include <memory>

namespace clipnab {

// A browser made later than the window: starting a browser engine takes several times as long
// as showing the window, and the window's first paint does not need it. Until the real browser
// exists, the last navigation asked for waits and is sent to it once it is made; a browser with
// a view shows a blank placeholder of the page's background where the view will go. The real
// browser's signals are the deferred browser's own.
class DeferredBrowser final : public BrowserComponent
{
    Q_OBJECT
public:
    // Makes the real browser, its view (if any) placed in `viewParent`.
    using Factory = std::function<std::unique_ptr<BrowserComponent>(QWidget *viewParent)>;

    enum class Start
    {
        OnFirstUse,      // made by the first navigation
        AfterFirstPaint, // made once the placeholder has been painted and the event loop is back
    };

    // With a `viewParent` the browser has a view: the placeholder is made in it now and the
    // real view goes into the placeholder. Without one, AfterFirstPaint waits for make().
    DeferredBrowser(Factory factory, QWidget *viewParent, Start start, QObject *parent = nullptr);
    ~DeferredBrowser() override;

    void Navigate(const QString &address) override;
    // The real browser's location; before it exists, the navigation waiting for it.
    QString LocationURL() const override;
    // The real browser's page title and load failure; empty before it exists.
    QString LocationName() const override;
    QString loadFailure() const override;
    // The placeholder, holding the real browser's view once it is made.
    QWidget *widget() const override;

    // The real browser; null until it is made.
    BrowserComponent *browser() const { return m_browser.get(); }
    // Makes the real browser now, unless it exists, and sends it the waiting navigation.
    void make();

Q_SIGNALS:
    // The real browser exists.
    void made();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Factory m_factory;
    Start m_start;
    std::unique_ptr<BrowserComponent> m_browser;
    QPointer<QWidget> m_placeholder;
    QString m_waitingAddress;
    bool m_makeScheduled = false;
};

} // namespace clipnab
