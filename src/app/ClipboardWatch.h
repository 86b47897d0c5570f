#pragma once

#include <QClipboard>
#include <QObject>
#include <QString>

namespace clipnab {

// Watches the clipboard, and the selection where the system has one (X11), while it is on: a
// text that the address check accepts as a video page address and that differs from the last
// one found is announced with addressFound(). Other texts are ignored without a word; nothing
// is ever downloaded from here. Off until turned on.
class ClipboardWatch : public QObject
{
    Q_OBJECT
public:
    // Longer texts are no address and are not looked into.
    static constexpr qsizetype kMaxAddressLength = 4096;

    explicit ClipboardWatch(QClipboard *clipboard, QObject *parent = nullptr);

    bool isWatching() const { return m_watching; }
    void setWatching(bool watching);

Q_SIGNALS:
    void addressFound(const QString &address);

private:
    void onChanged(QClipboard::Mode mode);

    QClipboard *m_clipboard;
    QMetaObject::Connection m_changes;
    bool m_watching = false;
    QString m_lastFound;
};

} // namespace clipnab
