#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <tuple>

namespace tolvane {

class FolderHandle;
struct MountPlace;

// Renames files inside one folder and never replaces an existing file. Names are raw bytes,
// relative to the folder. Make one mover per folder and batch: it learns which way of moving
// the folder's file system allows and keeps to it.
class FileMover
{
public:
    struct Result
    {
        bool ok = false;
        int error = 0;     // errno of the failing call, 0 on success
        QString errorText; // systemErrorText of that error, empty on success
    };

    // How a move avoids replacing a file, from the safest; a mover goes down to the next only
    // when the file system refuses the one before.
    enum class Way {
        NoReplace,       // renameat2 with RENAME_NOREPLACE
        Link,            // linkat to the new name, then unlinkat of the old one (files only)
        CheckThenRename, // fstatat finds no target, then a plain renameat
    };

    // Moves in an open folder; a folder that could not be opened makes every move fail with
    // the error of the open. Starts with the way last found to work on the folder's file
    // system in this process.
    explicit FileMover(std::shared_ptr<const FolderHandle> folder);
    // With the folder's mount already known (none: the system could not tell it).
    FileMover(std::shared_ptr<const FolderHandle> folder, const std::optional<MountPlace> &mount);
    // Opens the folder (raw path bytes) first.
    explicit FileMover(const QByteArray &folderPath);
    FileMover(const FileMover &) = delete;
    FileMover &operator=(const FileMover &) = delete;

    // Renames from → to, two names in the folder: a name with "/" is refused. A file moved
    // onto its own name is only checked to be there.
    Result move(const QByteArray &from, const QByteArray &to);

    Way way() const { return m_way; }
    int folderFd() const { return m_folder; }

    // A file system as the movers remember it: device number, type and id, and the name and
    // mount point of the file system (FUSE mounts have no id, and reuse device numbers).
    using Device = std::tuple<dev_t, quint64, int, int, QByteArray, QByteArray>;

private:
    Result moveByLink(const char *from, const char *to);
    Result checkThenRename(const char *from, const char *to);
    void fallBackTo(Way way);

    std::shared_ptr<const FolderHandle> m_handle;
    int m_folder = -1;
    int m_openError = 0;
    Device m_device;
    Way m_way = Way::NoReplace;
};

} // namespace tolvane
