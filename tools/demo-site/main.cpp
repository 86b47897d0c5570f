#include "DemoSite.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop picks the byte up and quits.
void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

bool watchTerminationSignals()
{
    if (::pipe(signalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("clipnab-demo-site"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves the Clipnab demo video site on 127.0.0.1 until SIGTERM or SIGINT."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Port to listen on (default: a free one)."),
                                        QStringLiteral("N"), QStringLiteral("0"));
    parser.addOption(portOption);
    // Bad arguments end with status 2 and one line, like the other tools.
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "clipnab-demo-site: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "clipnab-demo-site: unexpected argument \"%s\"\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }

    bool valid = false;
    const uint port = parser.value(portOption).toUInt(&valid);
    if (!valid || port > 65535) {
        std::fprintf(stderr, "clipnab-demo-site: invalid port \"%s\"\n",
                     qPrintable(parser.value(portOption)));
        return 2;
    }

    clipnab::DemoSite site;
    if (site.listen(static_cast<quint16>(port)) == 0) {
        std::fprintf(stderr, "clipnab-demo-site: cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    if (!watchTerminationSignals()) {
        std::fprintf(stderr, "clipnab-demo-site: cannot watch termination signals\n");
        return 1;
    }
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
        app.quit();
    });

    std::printf("listening on %s\n", qPrintable(site.baseUrl()));
    std::fflush(stdout);
    return app.exec();
}
