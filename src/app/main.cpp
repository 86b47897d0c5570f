#include "app/browser/WebEngineBrowser.h"
#include "app/Form1.h"
#include "app/transfer/NetworkTransfer.h"
#include "platform/PlatformContext.h"

#include <QApplication>
#include <QDir>
#include <QFont>

#include <unistd.h>

namespace {

// The site's base address: scheme, host and port without a trailing slash.
QString siteBase()
{
    QString base = qEnvironmentVariable("CLIPNAB_SITE", QStringLiteral("http://www.youtube.com"));
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

} // namespace

int main(int argc, char *argv[])
{
    // Chromium refuses its sandbox when run as root.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Clipnab"));
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});

    clipnab::PlatformContext context;
    clipnab::Form1::Components components;
    components.makeSearchBrowser = [](QWidget *viewParent) {
        return std::make_unique<clipnab::WebEngineBrowser>(viewParent);
    };
    components.locatorBrowser = std::make_unique<clipnab::WebEngineBrowser>(nullptr);
    components.transfer = std::make_unique<clipnab::NetworkTransfer>();
    components.siteBase = siteBase();
    components.downloadFolder =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("download"));

    clipnab::Form1 window(context, std::move(components));
    QObject::connect(&window, &clipnab::Form1::terminated, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
