#include "ControlRenderer.h"
#include "RenderKinds.h"
#include "RenderOptions.h"

#include <QApplication>
#include <QImage>

#include <cstdio>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Qt's start-up notices (runtime directory and the like) would bury the tool's one-line
// messages; only critical messages are shown.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int usageError(const char *message)
{
    std::fprintf(stderr, "clipnab-render: %s\n", message);
    return kExitUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    clipnab::RenderOptions options;
    try {
        options = clipnab::parseRenderArguments(arguments);
    } catch (const clipnab::UsageError &error) {
        return usageError(error.what());
    }
    if (options.help) {
        std::fputs(qPrintable(clipnab::renderUsage()), stdout);
        return 0;
    }

    if (!clipnab::findRenderKind(options.kind))
        return usageError(
            qPrintable(QStringLiteral("unknown control kind \"%1\"").arg(options.kind)));

    qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The controls see the ratio as they would on such a screen.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(options.scale));
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    QImage image;
    try {
        image = clipnab::renderControl(options);
    } catch (const clipnab::UsageError &error) {
        return usageError(error.what());
    }
    if (!image.save(options.output, "PNG")) {
        std::fprintf(stderr, "clipnab-render: cannot write %s\n", qPrintable(options.output));
        return kExitFailure;
    }
    return 0;
}
