#include "app/StartupTrace.h"

#include "app/Form1.h"
#include "components/BrowserComponent.h"

#include <QEvent>

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
    if (event->type() == QEvent::Paint)
        note(m_windowShown, "window shown");
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
