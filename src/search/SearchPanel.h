#pragma once

#include <QObject>
#include <QString>

namespace clipnab {

class BrowserComponent;

// The search handlers: searching in the embedded browser, the progress caption and the capture
// of video page addresses. The window calls in with values and shows what the signals report.
class SearchPanel : public QObject
{
    Q_OBJECT
public:
    SearchPanel(BrowserComponent &browser, QString siteBase, QObject *parent = nullptr);

    // txtsearch Click with the box's text: the placeholder words are cleared.
    void searchBoxClicked(const QString &text);
    // cmdSearch Click once the window has found the button enabled: searches for `words`
    // unless they are the placeholder.
    void search(const QString &words);

Q_SIGNALS:
    void placeholderCleared();
    void progressCaptionChanged(const QString &caption);
    // A video page the browser shows or loads; its address belongs in txtURL.
    void videoPageFound(const QString &address);

private:
    void onProgress(int progress, int progressMax);
    void onDocumentComplete(const QString &url);

    BrowserComponent &m_browser;
    QString m_siteBase;
};

} // namespace clipnab
