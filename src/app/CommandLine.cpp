#include "app/CommandLine.h"

#include "app/ProgramInfo.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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
        parser.addOptions({site, downloadFolder, save, batchFile, jobs, skipSaved, platform});
        parser.addPositionalArgument(
            QStringLiteral("address"),
            QStringLiteral("A video page address for the address box; with --save, the "
                           "addresses to save."),
            QStringLiteral("[ADDRESS...]"));
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
    QCommandLineOption save{QStringLiteral("save"),
                            QStringLiteral("Save the videos of the ADDRESS arguments without a "
                                           "window and print the saved files' paths.")};
    QCommandLineOption batchFile{
        QStringLiteral("batch-file"),
        QStringLiteral("Also save the addresses in FILE, one a line (- reads standard input); "
                       "blank lines and lines starting with # are skipped."),
        QStringLiteral("FILE")};
    QCommandLineOption jobs{QStringLiteral("jobs"),
                            QStringLiteral("Save up to N videos at once, 1 to 4 (default 1)."),
                            QStringLiteral("N")};
    QCommandLineOption skipSaved{
        QStringLiteral("skip-saved"),
        QStringLiteral("Skip a video saved before whose file is still there.")};
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

// A wrong value, said in one line without pointing to --help.
CommandLine badValue(const QString &error)
{
    CommandLine line = badArguments(error);
    line.errorNeedsHelp = false;
    return line;
}

// "--save=ADDRESS", from when --save took one address as its value, is "--save ADDRESS".
QStringList withSaveValuesApart(const QStringList &arguments)
{
    static const QRegularExpression saveWithValue(QStringLiteral("^(--?save)=(.*)$"),
                                                  QRegularExpression::DotMatchesEverythingOption);
    QStringList apart;
    for (const QString &argument : arguments) {
        const QRegularExpressionMatch match = saveWithValue.match(argument);
        if (match.hasMatch())
            apart << match.captured(1) << match.captured(2);
        else
            apart << argument;
    }
    return apart;
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
    if (!parser.parse(withSaveValuesApart(arguments)))
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
    const bool saving = parser.isSet(options.save) || parser.isSet(options.batchFile);
    if (!saving && positional.size() > 1)
        return badArguments(QStringLiteral("Give one video page address at most."));
    if (!saving && (parser.isSet(options.jobs) || parser.isSet(options.skipSaved)))
        return badArguments(QStringLiteral("--jobs and --skip-saved go with --save."));
    if (saving && positional.isEmpty() && !parser.isSet(options.batchFile))
        return badArguments(QStringLiteral("--save needs an address or --batch-file."));

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

    if (parser.isSet(options.jobs)) {
        bool number = false;
        line.jobs = parser.value(options.jobs).toInt(&number);
        if (!number || line.jobs < kMinJobs || line.jobs > kMaxJobs)
            return badValue(QStringLiteral("--jobs takes a number from %1 to %2, not \"%3\".")
                                .arg(kMinJobs)
                                .arg(kMaxJobs)
                                .arg(parser.value(options.jobs)));
    }
    if (parser.isSet(options.batchFile)) {
        if (parser.values(options.batchFile).size() > 1)
            return badArguments(QStringLiteral("Give one --batch-file."));
        line.batchFile = parser.value(options.batchFile);
        if (line.batchFile.isEmpty())
            return badArguments(QStringLiteral("--batch-file needs a file."));
        // Checked here, so that a list that cannot be read ends it before anything starts.
        if (line.batchFile != QLatin1String("-")) {
            QFile list(line.batchFile);
            const bool folder = QFileInfo(line.batchFile).isDir();
            if (folder || !list.open(QIODevice::ReadOnly))
                return badValue(QStringLiteral("Cannot read the batch file %1: %2")
                                    .arg(line.batchFile, folder ? QStringLiteral("it is a folder")
                                                                : list.errorString()));
        }
    }
    line.skipSaved = parser.isSet(options.skipSaved);

    line.platformChosen = parser.isSet(options.platform);
    if (saving) {
        line.action = Action::Save;
        line.addresses = positional;
    }
    if (!positional.isEmpty())
        line.address = positional.first();
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
        std::fprintf(stderr, "clipnab: %s\n", qPrintable(error));
        if (errorNeedsHelp)
            std::fputs("Try 'clipnab --help' for more information.\n", stderr);
        return kExitBadArguments;
    case Action::OpenWindow:
    case Action::Save:
        break;
    }
    return kExitSuccess;
}

} // namespace clipnab
