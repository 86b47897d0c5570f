#include "app/FallbackLocator.h"

#include "retrieval/VideoAddress.h"

namespace clipnab {

FallbackLocator::FallbackLocator(std::unique_ptr<BrowserComponent> quick, MakeBrowser makeFull,
                                 QObject *parent)
    : BrowserComponent(parent), m_quick(std::move(quick)), m_makeFull(std::move(makeFull))
{
    connect(m_quick.get(), &BrowserComponent::DocumentComplete, this,
            &FallbackLocator::onQuickDocument);
}

FallbackLocator::~FallbackLocator() = default;

void FallbackLocator::Navigate(const QString &address)
{
    m_address = address;
    m_usingFull = false;
    m_quick->Navigate(address);
}

void FallbackLocator::onQuickDocument(const QString &url)
{
    if (m_usingFull)
        return;
    if (VideoAddress::tValue(url) || !m_makeFull) {
        Q_EMIT DocumentComplete(url);
        return;
    }
    if (!m_full) {
        m_full = m_makeFull();
        connect(m_full.get(), &BrowserComponent::DocumentComplete, this, [this](const QString &at) {
            if (m_usingFull)
                Q_EMIT DocumentComplete(at);
        });
        connect(m_full.get(), &BrowserComponent::ProgressChange, this,
                &BrowserComponent::ProgressChange);
    }
    m_usingFull = true;
    m_full->Navigate(m_address);
}

} // namespace clipnab
