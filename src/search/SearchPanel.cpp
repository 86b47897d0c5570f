#include "search/SearchPanel.h"

#include "components/BrowserComponent.h"
#include "retrieval/AddressCheck.h"
#include "search/SearchRules.h"

namespace clipnab {

SearchPanel::SearchPanel(BrowserComponent &browser, QString siteBase, QObject *parent)
    : QObject(parent), m_browser(browser), m_siteBase(std::move(siteBase))
{
    connect(&m_browser, &BrowserComponent::ProgressChange, this, &SearchPanel::onProgress);
    connect(&m_browser, &BrowserComponent::DocumentComplete, this,
            &SearchPanel::onDocumentComplete);
}

void SearchPanel::searchBoxClicked(const QString &text)
{
    if (SearchRules::isPlaceholder(text))
        Q_EMIT placeholderCleared();
}

void SearchPanel::search(const QString &words)
{
    if (SearchRules::isPlaceholder(words))
        return;
    m_browser.Navigate(SearchRules::searchAddress(m_siteBase, words));
}

void SearchPanel::onProgress(int progress, int progressMax)
{
    const auto percent = SearchRules::percentage(progress, progressMax);
    if (!percent)
        return;
    Q_EMIT progressCaptionChanged(SearchRules::progressCaption(*percent));
    const QString location = m_browser.LocationURL();
    if (AddressCheck::hasVideoMarker(location))
        Q_EMIT videoPageFound(location);
}

void SearchPanel::onDocumentComplete(const QString &url)
{
    Q_EMIT progressCaptionChanged(SearchRules::kFinishedCaption);
    if (AddressCheck::hasVideoMarker(url))
        Q_EMIT videoPageFound(url);
}

} // namespace clipnab
