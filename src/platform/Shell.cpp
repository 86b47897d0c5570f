#include "platform/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace clipnab {

bool DesktopShell::open(const QString &target)
{
    const QUrl url =
        QDir::isAbsolutePath(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace clipnab
