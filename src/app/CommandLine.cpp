#include "app/CommandLine.h"

#include "app/ProgramInfo.h"

#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

namespace clipnab {

namespace {

const QString kPublicSite = QStringLiteral("http://www.youtube.com");

// The parser with the program's options, made alike for parsing and for the help.
struct OptionSet
{
    OptionSet()
    {
        parser.setApplicationDescription(
            QStringLiteral("Saves videos from a video site to your disk."));
        // Single-dash words are options ("-platform xcb"), not bundles of letters.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        platform.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOptions({site, downloadFolder, save, platform});
        parser.addPositionalArgument(QStringLiteral("address"),
                                     QStringLiteral("A video page address for the address box."),
                                     QStringLiteral("[ADDRESS]"));
    }

    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption site{
        QStringLiteral("site"),
        QStringLiteral("The video site at URL (scheme, host and port) instead of %1; the same "
                       "as CLIPNAB_SITE.")
            .arg(kPublicSite),
        QStringLiteral("URL")};
    QCommandLineOption downloadFolder{QStringLiteral("download-dir"),
                                      QStringLiteral("Save videos into DIR, made when missing."),
                                      QStringLiteral("DIR")};
    QCommandLineOption save{
        QStringLiteral("save"),
        QStringLiteral("Save the video of ADDRESS without a window and print its path."),
        QStringLiteral("ADDRESS")};
    QCommandLineOption platform{QStringLiteral("platform"), QStringLiteral("Qt platform."),
                                QStringLiteral("NAME")};
};

CommandLine badArguments(const QString &error)
{
    CommandLine line;
    line.action = CommandLine::Action::BadArguments;
    line.error = error;
    return line;
}

QString withoutTrailingSlashes(QString base)
{
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments, const QString &siteFromEnvironment)
{
    OptionSet options;
    QCommandLineParser &parser = options.parser;
    if (!parser.parse(arguments))
        return badArguments(parser.errorText());

    CommandLine line;
    if (parser.isSet(options.help) || parser.isSet(QStringLiteral("help-all"))) {
        line.action = Action::ShowHelp;
        return line;
    }
    if (parser.isSet(options.version)) {
        line.action = Action::ShowVersion;
        return line;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return badArguments(QStringLiteral("Give one video page address at most."));
    if (parser.isSet(options.save) && !positional.isEmpty())
        return badArguments(QStringLiteral("--save takes its own address; give no other."));

    QString site = parser.isSet(options.site) ? parser.value(options.site) : siteFromEnvironment;
    if (parser.isSet(options.site) && withoutTrailingSlashes(site).isEmpty())
        return badArguments(QStringLiteral("--site needs the site's address."));
    site = withoutTrailingSlashes(site);
    line.siteBase = site.isEmpty() ? kPublicSite : site;

    if (parser.isSet(options.downloadFolder)) {
        const QString folder = parser.value(options.downloadFolder);
        if (folder.isEmpty())
            return badArguments(QStringLiteral("--download-dir needs a folder."));
        line.downloadFolder = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    }

    line.platformChosen = parser.isSet(options.platform);
    if (parser.isSet(options.save)) {
        line.action = Action::Save;
        line.address = parser.value(options.save);
    } else if (!positional.isEmpty()) {
        line.address = positional.first();
    }
    return line;
}

QString CommandLine::version()
{
    return ProgramInfo::version();
}

int CommandLine::answer() const
{
    switch (action) {
    case Action::ShowHelp:
        std::fputs(qPrintable(OptionSet().parser.helpText()), stdout);
        return kExitSuccess;
    case Action::ShowVersion:
        std::printf("clipnab %s\n", qPrintable(version()));
        return kExitSuccess;
    case Action::BadArguments:
        std::fprintf(stderr, "clipnab: %s\nTry 'clipnab --help' for more information.\n",
                     qPrintable(error));
        return kExitBadArguments;
    case Action::OpenWindow:
    case Action::Save:
        break;
    }
    return kExitSuccess;
}

} // namespace clipnab
