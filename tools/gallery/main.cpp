#include "GalleryLayout.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

// clipnab-gallery -o OUT.png [--columns N] [--title TEXT] IMAGE[=LABEL]...
// Puts rendered control pictures side by side, each with its label.

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kDefaultColumns = 6;

int usage(const QString &message)
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

    QString output;
    QString title;
    int columns = kDefaultColumns;
    QList<clipnab::GalleryTile> tiles;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("-o") && hasValue) {
            output = arguments.at(++i);
        } else if (argument == QLatin1String("--title") && hasValue) {
            title = arguments.at(++i);
        } else if (argument == QLatin1String("--columns") && hasValue) {
            bool ok = false;
            columns = arguments.at(++i).toInt(&ok);
            if (!ok || columns < 1)
                return usage(QStringLiteral("--columns expects a positive number"));
        } else if (argument.startsWith(QLatin1Char('-'))) {
            return usage(QStringLiteral("unknown option or missing value: %1").arg(argument));
        } else {
            const qsizetype eq = argument.indexOf(QLatin1Char('='));
            const QString path = eq < 0 ? argument : argument.left(eq);
            QImage image(path);
            if (image.isNull())
                return usage(QStringLiteral("cannot read %1").arg(path));
            tiles.append({image, eq < 0 ? QString() : argument.mid(eq + 1)});
        }
    }
    if (output.isEmpty() || tiles.isEmpty())
        return usage(QStringLiteral("usage: clipnab-gallery -o OUT.png [--columns N] "
                                    "[--title TEXT] IMAGE[=LABEL]..."));

    if (!clipnab::composeGallery(tiles, columns, title).save(output, "PNG")) {
        std::fprintf(stderr, "clipnab-gallery: cannot write %s\n", qPrintable(output));
        return kExitFailure;
    }
    return 0;
}
