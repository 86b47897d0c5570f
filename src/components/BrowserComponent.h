#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace clipnab {

// What the program relies on in an embedded web browser: start a navigation, read the address
// it shows or loads, and hear about progress and finished documents.
class BrowserComponent : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts loading and returns at once; redirections are followed by the browser.
    virtual void Navigate(const QString &address) = 0;
    virtual QString LocationURL() const = 0;
    // The title of the page shown, as far as the browser knows it; empty when it does not.
    virtual QString LocationName() const { return {}; }
    // The widget that shows the pages, if the browser has one.
    virtual QWidget *widget() const { return nullptr; }
    // Why the last finished document did not load, as a reason (see FailureReason); empty when
    // it loaded.
    virtual QString loadFailure() const { return {}; }

Q_SIGNALS:
    void ProgressChange(int progress, int progressMax);
    // Once per finished document (a failed load finishes one too); url after redirections.
    void DocumentComplete(const QString &url);
};

} // namespace clipnab
