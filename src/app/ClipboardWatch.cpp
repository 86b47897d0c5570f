#include "app/ClipboardWatch.h"

#include "retrieval/AddressCheck.h"

namespace clipnab {

ClipboardWatch::ClipboardWatch(QClipboard *clipboard, QObject *parent)
    : QObject(parent), m_clipboard(clipboard)
{
}

void ClipboardWatch::setWatching(bool watching)
{
    if (watching == m_watching)
        return;
    m_watching = watching;
    m_lastFound.clear();
    if (watching)
        m_changes = connect(m_clipboard, &QClipboard::changed, this, &ClipboardWatch::onChanged);
    else
        disconnect(m_changes);
}

void ClipboardWatch::onChanged(QClipboard::Mode mode)
{
    if (mode != QClipboard::Clipboard &&
        (mode != QClipboard::Selection || !m_clipboard->supportsSelection()))
        return;
    const QString text = m_clipboard->text(mode).trimmed();
    if (text.isEmpty() || text.size() > kMaxAddressLength || text == m_lastFound ||
        text.contains(QLatin1Char('\n')) ||
        AddressCheck::validate(text, !AddressCheck::isAvailable(text)))
        return;
    m_lastFound = text;
    Q_EMIT addressFound(text);
}

} // namespace clipnab
