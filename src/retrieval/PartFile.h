#pragma once

#include <QString>

namespace clipnab {

// The file a video's body arrives in: "<name>.part" in the download folder, made empty before
// the transfer starts and renamed to the video's name once the body is complete and on disk, so
// that a file that looks finished always is. The transfer only writes into it; this class alone
// makes, renames and deletes it. A part file neither kept nor removed goes with its owner.
class PartFile
{
public:
    PartFile() = default;
    ~PartFile();
    Q_DISABLE_COPY_MOVE(PartFile)

    // Makes `folder` when missing and an empty "<fileName>.part" in it. False, with
    // errorString(), when either cannot be made.
    bool create(const QString &folder, const QString &fileName);
    // Where it is; empty while there is none.
    QString path() const { return m_path; }
    // Its size in bytes; -1 when it is gone.
    qint64 size() const;
    // Renames it to the first free name for the video in its folder (savedPath()). False, with
    // errorString(), when that fails; the part file is then still there.
    bool keep();
    void remove();

    QString savedPath() const { return m_savedPath; }
    // Why the last create() or keep() failed, as a reason (see FailureReason).
    QString errorString() const { return m_errorString; }

private:
    QString m_folder;
    QString m_fileName;
    QString m_path;
    QString m_savedPath;
    QString m_errorString;
};

} // namespace clipnab
