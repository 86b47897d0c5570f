#include "GalleryLayout.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

// clipnab-gallery -o OUT.png [--columns N] [--title TEXT] IMAGE[=LABEL]...
// Puts rendered control pictures side by side, each with its label.

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kDefaultColumns = 6;

int usageError(const QString &message)
{
    std::fprintf(stderr, "clipnab-gallery: %s\n", qPrintable(message));
    return kExitUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("clipnab-gallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Puts rendered control pictures side by side, each with its label."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The PNG file to write."),
                                    QStringLiteral("OUT.png"));
    const QCommandLineOption columns(
        QStringLiteral("columns"),
        QStringLiteral("Pictures in a row (default: %1).").arg(kDefaultColumns),
        QStringLiteral("N"), QString::number(kDefaultColumns));
    const QCommandLineOption title(QStringLiteral("title"),
                                   QStringLiteral("A title above the pictures."),
                                   QStringLiteral("TEXT"));
    parser.addOptions({output, columns, title});
    parser.addPositionalArgument(QStringLiteral("IMAGE[=LABEL]"),
                                 QStringLiteral("A picture and the label under it."),
                                 QStringLiteral("IMAGE[=LABEL]..."));
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help))
        parser.showHelp(0);

    bool valid = false;
    const int columnCount = parser.value(columns).toInt(&valid);
    if (!valid || columnCount < 1)
        return usageError(QStringLiteral("--columns expects a positive number"));
    const QString outputPath = parser.value(output);
    const QStringList pictures = parser.positionalArguments();
    if (outputPath.isEmpty() || pictures.isEmpty())
        return usageError(QStringLiteral("usage: clipnab-gallery -o OUT.png [--columns N] "
                                         "[--title TEXT] IMAGE[=LABEL]..."));

    QList<clipnab::GalleryTile> tiles;
    for (const QString &picture : pictures) {
        const qsizetype eq = picture.indexOf(QLatin1Char('='));
        const QString path = eq < 0 ? picture : picture.left(eq);
        QImage image(path);
        if (image.isNull())
            return usageError(QStringLiteral("cannot read %1").arg(path));
        tiles.append({image, eq < 0 ? QString() : picture.mid(eq + 1)});
    }

    if (!clipnab::composeGallery(tiles, columnCount, parser.value(title)).save(outputPath, "PNG")) {
        std::fprintf(stderr, "clipnab-gallery: cannot write %s\n", qPrintable(outputPath));
        return kExitFailure;
    }
    return 0;
}
