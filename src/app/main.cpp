#include "app/CommandLine.h"
#include "app/DesktopComponents.h"
#include "app/DownloadFolder.h"
#include "app/Form1.h"
#include "app/HeadlessSave.h"
#include "app/StartupTrace.h"
#include "downloads/DownloadSettings.h"
#include "platform/widgets/PlatformContext.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    using clipnab::CommandLine;
    namespace Desktop = clipnab::DesktopComponents;

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine command = CommandLine::parse(arguments, qEnvironmentVariable("CLIPNAB_SITE"));
    if (command.action != CommandLine::Action::OpenWindow &&
        command.action != CommandLine::Action::Save) {
        // Help, version and errors need no display.
        QCoreApplication app(argc, argv);
        return command.answer();
    }
    // A save shows no window: its hidden browser runs offscreen unless a platform was chosen.
    if (command.action == CommandLine::Action::Save && !command.platformChosen &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    Desktop::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Clipnab"));
    QApplication::setApplicationVersion(CommandLine::version());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.clipnab.Clipnab"));
    Desktop::installFontSubstitutes();

    // The folder given on the command line, else the one set in the preferences, else the usual.
    const QString chosen = command.downloadFolder.isEmpty()
                               ? clipnab::DownloadSettings().downloadFolder()
                               : command.downloadFolder;
    const QString folder =
        clipnab::DownloadFolder::choose(clipnab::DownloadFolder::currentPlaces(chosen));
    if (command.action == CommandLine::Action::Save)
        return clipnab::HeadlessSave::run(command, folder);

    clipnab::PlatformContext context;
    clipnab::Form1 window(context, Desktop::make(command.siteBase, folder));
    if (command.address)
        window.setAddress(*command.address);
    QObject::connect(&window, &clipnab::Form1::terminated, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (qEnvironmentVariableIsSet("CLIPNAB_TRACE_STARTUP"))
        new clipnab::StartupTrace(window);
    window.show();
    return app.exec();
}
