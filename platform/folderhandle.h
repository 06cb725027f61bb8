#pragma once

#include <QByteArray>
#include <memory>

namespace tolvane {

// One folder held by one descriptor from the moment its path is resolved: listing, planning,
// moves and undo all go through it, so a folder swapped for a link meanwhile cannot redirect
// them to another one.
class FolderHandle
{
public:
    // Resolves the path (links in it are followed once, here) and opens the folder it names
    // with no link followed after that. A folder that cannot be opened gives a handle whose
    // error() is the errno and whose fd() is -1.
    static std::shared_ptr<const FolderHandle> open(const QByteArray &path);
    // A folder under an open one, by a path relative to it ("" for the same folder): no link
    // is followed, nothing outside it is reached, and a mount point on the way fails with
    // EXDEV.
    static std::shared_ptr<const FolderHandle> openBeneath(const FolderHandle &base,
                                                           const QByteArray &relative);
    ~FolderHandle();
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    int fd() const { return m_fd; }
    int error() const { return m_error; }
    // The absolute path it was opened by, or the path asked for when that failed.
    const QByteArray &path() const { return m_path; }

private:
    FolderHandle() = default;

    int m_fd = -1;
    int m_error = 0;
    QByteArray m_path;
};

} // namespace tolvane
