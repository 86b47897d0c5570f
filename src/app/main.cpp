#include "app/DesktopComponents.h"
#include "app/Form1.h"
#include "components/BrowserComponent.h"
#include "platform/widgets/PlatformContext.h"

#include <QApplication>
#include <QDir>
#include <QEvent>

#include <cstdio>

namespace {

// The site's base address: scheme, host and port without a trailing slash.
QString siteBase()
{
    QString base = qEnvironmentVariable("CLIPNAB_SITE", QStringLiteral("http://www.youtube.com"));
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

// With CLIPNAB_TRACE_STARTUP set, the first paint of the window and the home page's arrival are
// written to standard error as they happen; the start-up benchmark times them.
class StartupTrace final : public QObject
{
public:
    explicit StartupTrace(clipnab::Form1 &window) : QObject(&window)
    {
        window.installEventFilter(this);
        connect(&window.searchBrowser(), &clipnab::BrowserComponent::DocumentComplete, this,
                [this] { note(m_homePageShown, "home page shown"); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            note(m_windowShown, "window shown");
        return QObject::eventFilter(watched, event);
    }

private:
    static void note(bool &done, const char *what)
    {
        if (done)
            return;
        done = true;
        std::fprintf(stderr, "clipnab: %s\n", what);
        std::fflush(stderr);
    }

    bool m_windowShown = false;
    bool m_homePageShown = false;
};

} // namespace

int main(int argc, char *argv[])
{
    namespace Desktop = clipnab::DesktopComponents;
    Desktop::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Clipnab"));
    Desktop::installFontSubstitutes();

    clipnab::PlatformContext context;
    clipnab::Form1 window(context,
                          Desktop::make(siteBase(), QDir(QCoreApplication::applicationDirPath())
                                                        .filePath(QStringLiteral("download"))));
    QObject::connect(&window, &clipnab::Form1::terminated, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (qEnvironmentVariableIsSet("CLIPNAB_TRACE_STARTUP"))
        new StartupTrace(window);
    window.show();
    return app.exec();
}
