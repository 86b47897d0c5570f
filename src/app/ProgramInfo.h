#pragma once

#include <QString>

namespace clipnab {

// What the program says about itself: in its About box, to --version, and where its help is.
namespace ProgramInfo {

inline const QString kName = QStringLiteral("Clipnab");
inline const QString kLicence =
    QStringLiteral("Proprietary: all rights reserved by the Clipnab team");
inline const QString kAddress = QStringLiteral("https://clipnab.org/");
// The README's section on the keys, help and accessibility, on the project's site.
inline const QString kHelpAddress =
    QStringLiteral("https://clipnab.org/#keyboard-help-and-accessibility");
// The man page, for the desktop's help viewer.
inline const QString kManPage = QStringLiteral("man:clipnab(1)");

// "2.0".
QString version();

QString aboutTitle();
// Rich text: the name, version, licence and the project's address as a link.
QString aboutText();

// The man page when it is installed beside the program (`programFolder`/../share/man), else the
// README's section on the project's site.
QString helpAddress(const QString &programFolder);

} // namespace ProgramInfo

} // namespace clipnab
