#pragma once

#include <QString>

#include <optional>

#include <sys/stat.h>

namespace clipnab {

// The file a video's body arrives in, beside the video in the download folder, renamed to the
// video's name once the body is complete and on disk, so that a file that looks finished always
// is. The transfer only writes into it; this class alone makes, renames and deletes it. A part
// file neither kept nor removed goes with its owner.
//
// Other downloads into the same folder, in this process or another, may run at the same time,
// and anything may already lie in the folder. So the part file is made exclusively under the
// first free name ("<name>.part", "<stem> (2).<suffix>.part", ...), the video's name is picked
// at the rename, which never replaces an entry, and nothing found under either name (a file, a
// folder, a symbolic link, even a dangling one) is followed, written, renamed or removed.
class PartFile
{
public:
    PartFile() = default;
    ~PartFile();
    Q_DISABLE_COPY_MOVE(PartFile)

    // Makes `folder` when missing and an empty part file for the video `fileName` in it. False,
    // with errorString(), when either cannot be made.
    bool create(const QString &folder, const QString &fileName);
    // Takes over the part file a download left at `partPath` ("<video name>.part"), to continue
    // it. False, with errorString(), when no regular file of that form is there.
    bool adopt(const QString &partPath);
    // Lets go of the part file without removing it: a later download continues it.
    void release();
    // Where it is; empty while there is none.
    QString path() const;
    // Its size in bytes; -1 when it is gone or something else has taken its name.
    qint64 size() const;
    // Renames it to the first name for the video that is free at that moment (savedPath()).
    // False, with errorString(), when that fails; the part file is then still there.
    bool keep();
    void remove();

    QString savedPath() const { return m_savedPath; }
    // Why the last create() or keep() failed, as a reason (see FailureReason).
    QString errorString() const { return m_errorString; }

    // "name.flv" for 1, "name (2).flv" for 2, and so on.
    static QString numberedName(const QString &fileName, int n);
    // Names tried before a create() or keep() gives up.
    static constexpr int kMaximumNames = 10000;

private:
    // What the part file's name holds, while that is still the file made.
    std::optional<struct stat> ourEntry() const;
    // Closes the folder and the part file.
    void closeHandles();

    // The download folder, open while there is a part file: every name is made, renamed and
    // removed in the folder that was opened, whatever happens to its path meanwhile.
    int m_folderFd = -1;
    QString m_folder;
    QString m_fileName;
    QString m_partName; // in the folder; empty while there is none
    // The part file made, so that an entry that has replaced it is never taken for it. It is
    // held open, which keeps its inode number from passing to a file made after its deletion.
    int m_fileFd = -1;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    QString m_savedPath;
    QString m_errorString;
};

} // namespace clipnab
