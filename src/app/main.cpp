#include "app/DesktopComponents.h"
#include "app/Form1.h"
#include "platform/widgets/PlatformContext.h"

#include <QApplication>
#include <QDir>

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
    window.show();
    return app.exec();
}
