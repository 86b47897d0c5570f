#pragma once

#include <QString>

namespace clipnab {

// Where the videos go. Beside the program ("download" in its folder) when that folder can be
// created and written to: a build tree or a portable copy. An installed program's folder belongs
// to the system, so its videos go to the user's download folder plus "Clipnab" instead. A folder
// given on the command line overrides both.
namespace DownloadFolder {

struct Places
{
    QString programFolder;       // the executable's folder
    QString systemProgramFolder; // where the installed program lives: never written to
    QString userDownloads;       // the user's download folder
    QString chosen;              // --download-dir; empty when not given
};

// The absolute download folder. The folder beside the program is created here, which is how
// its use is decided; the others are created by the first save.
QString choose(const Places &places);

// This program's places, with `chosen` from the command line.
Places currentPlaces(const QString &chosen);

} // namespace DownloadFolder

} // namespace clipnab
