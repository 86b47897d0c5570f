#include "app/DownloadFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace clipnab::DownloadFolder {

namespace {

bool sameFolder(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

// Permission bits do not tell for root or on a read-only file system: a file is made and
// removed again.
bool canWriteInto(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".clipnab-XXXXXX")));
    return probe.open();
}

} // namespace

QString choose(const Places &places)
{
    if (!places.chosen.isEmpty())
        return QDir::cleanPath(QDir::current().absoluteFilePath(places.chosen));
    if (!places.programFolder.isEmpty() &&
        !sameFolder(places.programFolder, places.systemProgramFolder)) {
        const QString beside = QDir::cleanPath(
            QDir(places.programFolder).absoluteFilePath(QStringLiteral("download")));
        if (canWriteInto(beside))
            return beside;
    }
    const QString base = places.userDownloads.isEmpty() ? QDir::homePath() : places.userDownloads;
    return QDir::cleanPath(QDir(base).absoluteFilePath(QStringLiteral("Clipnab")));
}

Places currentPlaces(const QString &chosen)
{
    return {QCoreApplication::applicationDirPath(), QStringLiteral(CLIPNAB_INSTALL_BINDIR),
            QStandardPaths::writableLocation(QStandardPaths::DownloadLocation), chosen};
}

} // namespace clipnab::DownloadFolder
