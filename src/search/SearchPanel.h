#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace clipnab {

class BrowserComponent;

// The search handlers: searching in the embedded browser, the progress caption and the capture
// of video page addresses into the address box.
class SearchPanel : public QObject
{
    Q_OBJECT
public:
    struct View
    {
        std::function<QString()> searchText;
        std::function<void(const QString &)> setSearchText;
        std::function<bool()> searchEnabled;
        std::function<void(const QString &)> setProgressCaption;
        std::function<void(const QString &)> setAddress; // txtURL.Text
    };

    SearchPanel(BrowserComponent &browser, QString siteBase, View view, QObject *parent = nullptr);

    // txtsearch Click: clears the placeholder.
    void searchBoxClicked();
    void setSearchHasFocus(bool focus) { m_searchHasFocus = focus; }
    bool searchHasFocus() const { return m_searchHasFocus; }
    // cmdSearch Click.
    void search();

private:
    void onProgress(int progress, int progressMax);
    void onDocumentComplete(const QString &url);

    BrowserComponent &m_browser;
    QString m_siteBase;
    View m_view;
    bool m_searchHasFocus = false;
};

} // namespace clipnab
