#include "app/StartupTrace.h"

#include "app/Form1.h"
#include "components/BrowserComponent.h"

#include <QEvent>
#include <QWidget>

#include <cstdio>

namespace clipnab {

StartupTrace::StartupTrace(Form1 &window) : QObject(&window)
{
    window.installEventFilter(this);
    connect(&window.searchBrowser(), &BrowserComponent::DocumentComplete, this,
            [this] { note(m_homePageShown, "home page shown"); });
}

bool StartupTrace::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_windowShown) {
        // With its size, for a window to compare with.
        const QSize size = static_cast<QWidget *>(watched)->size();
        const QByteArray what = "window shown " + QByteArray::number(size.width()) + 'x' +
                                QByteArray::number(size.height());
        note(m_windowShown, what.constData());
    }
    return QObject::eventFilter(watched, event);
}

void StartupTrace::note(bool &done, const char *what)
{
    if (done)
        return;
    done = true;
    std::fprintf(stderr, "clipnab: %s\n", what);
    std::fflush(stderr);
}

} // namespace clipnab
