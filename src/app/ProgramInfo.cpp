#include "app/ProgramInfo.h"

#include <QDir>
#include <QFileInfo>

namespace clipnab::ProgramInfo {

QString version()
{
    return QStringLiteral(CLIPNAB_VERSION);
}

QString aboutTitle()
{
    return QStringLiteral("About %1").arg(kName);
}

QString aboutText()
{
    return QStringLiteral("<h3>%1 %2</h3>"
                          "<p>Saves videos from a video site to your disk.</p>"
                          "<p>Licence: %3</p>"
                          "<p><a href=\"%4\">%4</a></p>")
        .arg(kName, version(), kLicence.toHtmlEscaped(), kAddress);
}

QString helpAddress(const QString &programFolder)
{
    const QDir prefix(programFolder + QStringLiteral("/.."));
    for (const char *page : {"share/man/man1/clipnab.1.gz", "share/man/man1/clipnab.1"}) {
        if (QFileInfo::exists(prefix.filePath(QLatin1String(page))))
            return kManPage;
    }
    return kHelpAddress;
}

} // namespace clipnab::ProgramInfo
