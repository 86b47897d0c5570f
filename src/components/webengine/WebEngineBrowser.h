#pragma once

#include "components/BrowserComponent.h"

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

class QWebEngineProfile;
class QWidget;

namespace clipnab {

// The browser component on Qt WebEngine: either a visible view or a page without any view.
class WebEngineBrowser final : public BrowserComponent
{
    Q_OBJECT
public:
    // With a view parent the browser shows its pages; without one it loads them unseen.
    explicit WebEngineBrowser(QWidget *viewParent, QObject *parent = nullptr);
    ~WebEngineBrowser() override;

    void Navigate(const QString &address) override;
    QString LocationURL() const override;
    QString LocationName() const override;
    QWidget *widget() const override { return m_view; }
    QString loadFailure() const override { return m_loadFailure; }

    QWebEngineView *view() const { return m_view; }
    QWebEnginePage *page() const { return m_page; }

private:
    QWebEngineProfile *m_profile = nullptr;
    QPointer<QWebEnginePage> m_page;
    QPointer<QWebEngineView> m_view;
    QString m_loadFailure;
};

} // namespace clipnab
