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
        Save, // save `address` without a window
        ShowHelp,
        ShowVersion,
        BadArguments,
    };

    static constexpr int kExitSuccess = 0;
    static constexpr int kExitSaveFailed = 1;
    static constexpr int kExitBadArguments = 2;

    Action action = Action::OpenWindow;
    QString siteBase;               // scheme, host and port, no trailing slash
    QString downloadFolder;         // absolute; empty when not given
    std::optional<QString> address; // for the address box, or the one to save
    bool platformChosen = false;    // "-platform NAME" was given
    QString error;                  // what was wrong, for BadArguments

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
