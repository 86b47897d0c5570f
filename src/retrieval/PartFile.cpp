#include "retrieval/PartFile.h"

#include "components/FailureReason.h"
#include "retrieval/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace clipnab {

PartFile::~PartFile()
{
    remove();
}

bool PartFile::create(const QString &folder, const QString &fileName)
{
    remove();
    m_savedPath.clear();
    m_errorString.clear();
    // Made here, so that a folder that cannot hold the video fails before anything is fetched.
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
    if (error) {
        m_errorString = QStringLiteral("can not make the folder %1: %2")
                            .arg(QDir::toNativeSeparators(folder),
                                 FailureReason::fromSystemText(
                                     QString::fromLocal8Bit(error.message().c_str())));
        return false;
    }
    // Saves running at once may start in the same second: a name whose part file is another
    // save's is taken, so this one goes on to the next free name, and never opens that part.
    const QString suffix = QStringLiteral(".part");
    const QString name = SaveFile::freeFileName(folder, fileName, suffix);
    const QString path = QDir(folder).filePath(name + suffix);
    QFile part(path);
    if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        m_errorString = QStringLiteral("can not write into the folder %1: %2")
                            .arg(QDir::toNativeSeparators(folder),
                                 FailureReason::fromSystemText(part.errorString()));
        return false;
    }
    part.close();
    m_folder = folder;
    m_fileName = name;
    m_path = path;
    return true;
}

qint64 PartFile::size() const
{
    const QFileInfo info(m_path);
    return !m_path.isEmpty() && info.isFile() ? info.size() : -1;
}

bool PartFile::keep()
{
    const QString finalPath = QDir(m_folder).filePath(SaveFile::freeFileName(m_folder, m_fileName));
    QFile part(m_path);
    if (!part.rename(finalPath)) {
        m_errorString = QStringLiteral("can not name the video %1: %2")
                            .arg(QDir::toNativeSeparators(finalPath),
                                 FailureReason::fromSystemText(part.errorString()));
        return false;
    }
    m_savedPath = finalPath;
    m_path.clear();
    return true;
}

void PartFile::remove()
{
    if (m_path.isEmpty())
        return;
    QFile::remove(m_path);
    m_path.clear();
}

} // namespace clipnab
