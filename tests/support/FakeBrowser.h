#pragma once

#include "components/BrowserComponent.h"

#include <QStringList>

namespace clipnab {

// A browser that records navigations; tests raise its events by hand.
class FakeBrowser final : public BrowserComponent
{
    Q_OBJECT
public:
    using BrowserComponent::BrowserComponent;

    void Navigate(const QString &address) override
    {
        navigations.append(address);
        location = address;
    }
    QString LocationURL() const override { return location; }
    QString loadFailure() const override { return failure; }

    void progress(int value, int max) { Q_EMIT ProgressChange(value, max); }
    // A finished document; `why` is the load's failure, empty for a document that loaded.
    void finish(const QString &url, const QString &why = QString())
    {
        failure = why;
        Q_EMIT DocumentComplete(url);
    }

    QStringList navigations;
    QString location;
    QString failure;
};

} // namespace clipnab
