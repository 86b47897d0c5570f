#include "retrieval/PartFile.h"

#include "components/FailureReason.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace clipnab {

namespace {

// The folder, or the one it would be made in, refuses new files (`error` is an errno value).
bool refusesFiles(int error)
{
    return error == EACCES || error == EROFS || error == EPERM;
}

QString systemReason(int error)
{
    return FailureReason::fromSystemText(qt_error_string(error));
}

// Gives `from` the name `to` in the folder, never replacing an entry there: fails with EEXIST
// when `to` is taken, whatever it is. Where the file system cannot rename that way, a second
// link then the removal of the first does the same; where it has no links either, the name is
// checked just before a plain rename.
int moveWithoutReplacing(int folder, const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(folder, from.constData(), folder, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    if (::linkat(folder, from.constData(), folder, to.constData(), 0) == 0) {
        ::unlinkat(folder, from.constData(), 0);
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP)
        return errno;
    struct stat taken = {};
    if (::fstatat(folder, to.constData(), &taken, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return ::renameat(folder, from.constData(), folder, to.constData()) == 0 ? 0 : errno;
}

} // namespace

PartFile::~PartFile()
{
    remove();
}

QString PartFile::numberedName(const QString &fileName, int n)
{
    if (n <= 1)
        return fileName;
    const QFileInfo info(fileName);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return QStringLiteral("%1 (%2)%3").arg(info.completeBaseName()).arg(n).arg(suffix);
}

bool PartFile::create(const QString &folder, const QString &fileName)
{
    remove();
    m_savedPath.clear();
    m_errorString.clear();
    const QString shownFolder = QDir::toNativeSeparators(folder);
    // Made here, so that a folder that cannot hold the video fails before anything is fetched.
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
    if (error) {
        m_errorString =
            refusesFiles(error.value())
                ? QStringLiteral("the folder is not writable: %1").arg(shownFolder)
                : QStringLiteral("can not make the folder %1: %2")
                      .arg(shownFolder, FailureReason::fromSystemText(
                                            QString::fromLocal8Bit(error.message().c_str())));
        return false;
    }
    m_folderFd = ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0) {
        m_errorString =
            QStringLiteral("can not open the folder %1: %2").arg(shownFolder, systemReason(errno));
        return false;
    }
    // Exclusive creation fails on any entry already there, and follows no link.
    int failure = EEXIST;
    for (int n = 1; n <= kMaximumNames && failure == EEXIST; ++n) {
        const QString name = numberedName(fileName, n) + QStringLiteral(".part");
        const QByteArray encoded = QFile::encodeName(name);
        const int fd = ::openat(m_folderFd, encoded.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            failure = errno;
            continue;
        }
        struct stat made = {};
        failure = ::fstat(fd, &made) == 0 ? 0 : errno;
        if (failure != 0) {
            ::close(fd);
            ::unlinkat(m_folderFd, encoded.constData(), 0);
            break;
        }
        m_fileFd = fd;
        m_folder = folder;
        m_fileName = fileName;
        m_partName = name;
        m_device = made.st_dev;
        m_inode = made.st_ino;
        return true;
    }
    m_errorString =
        refusesFiles(failure)
            ? QStringLiteral("the folder is not writable: %1").arg(shownFolder)
            : QStringLiteral("can not write into the folder %1: %2")
                  .arg(shownFolder, failure == EEXIST ? QStringLiteral("no free name left")
                                                      : systemReason(failure));
    closeHandles();
    return false;
}

bool PartFile::adopt(const QString &partPath)
{
    remove();
    m_savedPath.clear();
    m_errorString.clear();
    const QFileInfo info(partPath);
    const QString suffix = QStringLiteral(".part");
    const QString shownPart = QDir::toNativeSeparators(partPath);
    if (!info.fileName().endsWith(suffix) || info.fileName().size() == suffix.size()) {
        m_errorString = QStringLiteral("%1 is not a part file").arg(shownPart);
        return false;
    }
    const QString folder = info.absolutePath();
    m_folderFd = ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const QByteArray encoded = QFile::encodeName(info.fileName());
    const int fd = m_folderFd < 0 ? -1
                                  : ::openat(m_folderFd, encoded.constData(),
                                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat found = {};
    if (fd < 0 || ::fstat(fd, &found) != 0 || !S_ISREG(found.st_mode)) {
        const int failure = fd < 0 ? errno : EINVAL;
        m_errorString = QStringLiteral("can not continue %1: %2")
                            .arg(shownPart, failure == EINVAL ? QStringLiteral("not a plain file")
                                                              : systemReason(failure));
        if (fd >= 0)
            ::close(fd);
        closeHandles();
        return false;
    }
    m_fileFd = fd;
    m_folder = folder;
    m_fileName = info.fileName().chopped(suffix.size());
    m_partName = info.fileName();
    m_device = found.st_dev;
    m_inode = found.st_ino;
    return true;
}

void PartFile::release()
{
    m_partName.clear();
    closeHandles();
}

QString PartFile::path() const
{
    return m_partName.isEmpty() ? QString() : QDir(m_folder).filePath(m_partName);
}

std::optional<struct stat> PartFile::ourEntry() const
{
    struct stat entry = {};
    if (m_partName.isEmpty() ||
        ::fstatat(m_folderFd, QFile::encodeName(m_partName).constData(), &entry,
                  AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(entry.st_mode) || entry.st_dev != m_device || entry.st_ino != m_inode)
        return std::nullopt;
    return entry;
}

qint64 PartFile::size() const
{
    const auto entry = ourEntry();
    return entry ? entry->st_size : -1;
}

bool PartFile::keep()
{
    const QString shownPart = QDir::toNativeSeparators(path());
    if (!ourEntry()) {
        m_errorString =
            QStringLiteral("can not name the video: %1 is no longer the part file").arg(shownPart);
        return false;
    }
    const QByteArray from = QFile::encodeName(m_partName);
    int failure = EEXIST;
    for (int n = 1; n <= kMaximumNames && failure == EEXIST; ++n) {
        const QString name = numberedName(m_fileName, n);
        failure = moveWithoutReplacing(m_folderFd, from, QFile::encodeName(name));
        if (failure == 0) {
            m_savedPath = QDir(m_folder).filePath(name);
            m_partName.clear();
            closeHandles();
            return true;
        }
    }
    m_errorString =
        QStringLiteral("can not name the video %1: %2")
            .arg(QDir::toNativeSeparators(QDir(m_folder).filePath(m_fileName)),
                 failure == EEXIST ? QStringLiteral("no free name left") : systemReason(failure));
    return false;
}

void PartFile::remove()
{
    // Whatever has taken the part file's name since is someone else's.
    if (ourEntry())
        ::unlinkat(m_folderFd, QFile::encodeName(m_partName).constData(), 0);
    m_partName.clear();
    closeHandles();
}

void PartFile::closeHandles()
{
    for (int *fd : {&m_fileFd, &m_folderFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

} // namespace clipnab
