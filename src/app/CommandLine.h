#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace clipnab {

// The program's command line. Parsing needs no application object, so its result can decide
// how the application is made: a save runs without a window, on the offscreen platform.
struct CommandLine
{
    enum class Action
    {
        OpenWindow,
        Save, // save `addresses` and the batch file's without a window
        ShowHelp,
        ShowVersion,
        BadArguments,
    };

    static constexpr int kExitSuccess = 0;
    static constexpr int kExitSaveFailed = 1;
    static constexpr int kExitBadArguments = 2;
    static constexpr int kMinJobs = 1;
    static constexpr int kMaxJobs = 4;

    Action action = Action::OpenWindow;
    QString siteBase;               // scheme, host and port, no trailing slash
    QString downloadFolder;         // absolute; empty when not given
    std::optional<QString> address; // for the address box, or the first one to save
    QStringList addresses;          // to save, in the order given
    QString batchFile;              // more addresses to save, "-" for standard input
    int jobs = kMinJobs;            // saves at once
    bool skipSaved = false;         // skip videos whose saved file is still there
    bool platformChosen = false;    // "-platform NAME" was given
    QString error;                  // what was wrong, for BadArguments
    bool errorNeedsHelp = true;     // BadArguments points to --help after the error

    // More than one address, or a batch file: each address is named in what is printed, and a
    // summary ends it.
    bool isBatch() const { return !batchFile.isEmpty() || addresses.size() > 1; }

    // `arguments` starts with the program; `siteFromEnvironment` is CLIPNAB_SITE, empty when
    // unset.
    static CommandLine parse(const QStringList &arguments, const QString &siteFromEnvironment);

    // The program's version, "2.0".
    static QString version();

    // Prints the help, the version or the error and returns the exit status. The help's usage
    // line names the program, so it needs the application object.
    int answer() const;
};

} // namespace clipnab
