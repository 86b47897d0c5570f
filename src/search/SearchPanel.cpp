#include "search/SearchPanel.h"

#include "app/browser/BrowserComponent.h"
#include "retrieval/AddressCheck.h"
#include "search/SearchRules.h"

namespace clipnab {

SearchPanel::SearchPanel(BrowserComponent &browser, QString siteBase, View view, QObject *parent)
    : QObject(parent), m_browser(browser), m_siteBase(std::move(siteBase)), m_view(std::move(view))
{
    connect(&m_browser, &BrowserComponent::ProgressChange, this, &SearchPanel::onProgress);
    connect(&m_browser, &BrowserComponent::DocumentComplete, this,
            &SearchPanel::onDocumentComplete);
}

void SearchPanel::searchBoxClicked()
{
    if (SearchRules::isPlaceholder(m_view.searchText()))
        m_view.setSearchText(QString());
}

void SearchPanel::search()
{
    if (!m_view.searchEnabled())
        return;
    const QString words = m_view.searchText();
    if (SearchRules::isPlaceholder(words))
        return;
    m_browser.Navigate(SearchRules::searchAddress(m_siteBase, words));
}

void SearchPanel::onProgress(int progress, int progressMax)
{
    const auto percent = SearchRules::percentage(progress, progressMax);
    if (!percent)
        return;
    m_view.setProgressCaption(SearchRules::progressCaption(*percent));
    const QString location = m_browser.LocationURL();
    if (AddressCheck::hasVideoMarker(location))
        m_view.setAddress(location);
}

void SearchPanel::onDocumentComplete(const QString &url)
{
    m_view.setProgressCaption(SearchRules::kFinishedCaption);
    if (AddressCheck::hasVideoMarker(url))
        m_view.setAddress(url);
}

} // namespace clipnab
