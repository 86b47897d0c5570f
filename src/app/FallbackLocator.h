#pragma once

#include "components/BrowserComponent.h"

#include <QPointer>

#include <functional>
#include <memory>

namespace clipnab {

// The locator of a save without a window: a quick browser first (one that follows redirects
// without a page engine), and the real browser, made when first needed, for an address where
// the quick one lands on no video token. Sites that redirect to the player address cost one GET;
// any other site gets the same answer as from the real browser alone.
class FallbackLocator final : public BrowserComponent
{
    Q_OBJECT
public:
    using MakeBrowser = std::function<std::unique_ptr<BrowserComponent>()>;

    FallbackLocator(std::unique_ptr<BrowserComponent> quick, MakeBrowser makeFull,
                    QObject *parent = nullptr);
    ~FallbackLocator() override;

    void Navigate(const QString &address) override;
    QString LocationURL() const override { return current().LocationURL(); }
    QString LocationName() const override { return current().LocationName(); }
    QString loadFailure() const override { return current().loadFailure(); }

    // The real browser was needed.
    bool fellBack() const { return m_usingFull; }

private:
    BrowserComponent &current() const { return m_usingFull ? *m_full : *m_quick; }
    void onQuickDocument(const QString &url);

    std::unique_ptr<BrowserComponent> m_quick;
    MakeBrowser m_makeFull;
    std::unique_ptr<BrowserComponent> m_full;
    QString m_address;
    bool m_usingFull = false;
};

} // namespace clipnab
