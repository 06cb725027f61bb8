#include "engine/batch/treewalk.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {
namespace {

// Every folder of a tree stays open from its walk to its moves; the soft limit of descriptors
// (often 1024) would refuse a tree of a few thousand folders.
void raiseFileLimit()
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

class Walker
{
public:
    Walker(TreeWalk &walk, const FolderHandle &root, bool recursive)
        : m_walk(walk), m_root(root), m_recursive(recursive)
    {}

    void visit(const QByteArray &path, std::shared_ptr<const FolderHandle> handle);

private:
    // Reads the folder's names; false when it cannot be read.
    bool list(TreeFolder &folder);
    void fail(const QByteArray &path, int error)
    {
        if (m_walk.error == 0) {
            m_walk.unreadable = path;
            m_walk.error = error;
        }
    }

    TreeWalk &m_walk;
    const FolderHandle &m_root;
    bool m_recursive;
};

bool Walker::list(TreeFolder &folder)
{
    const int own = ::openat(folder.handle->fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = own < 0 ? nullptr : ::fdopendir(own);
    if (!dir) {
        fail(folder.path, errno);
        if (own >= 0)
            ::close(own);
        return false;
    }
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        unsigned char type = entry->d_type;
        struct stat st;
        if (type == DT_UNKNOWN &&
            ::fstatat(folder.handle->fd(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
        if (type == DT_REG)
            folder.files.append(QByteArray(entry->d_name));
        else if (type == DT_DIR)
            folder.folders.append(QByteArray(entry->d_name));
    }
    ::closedir(dir);
    std::sort(folder.files.begin(), folder.files.end());
    std::sort(folder.folders.begin(), folder.folders.end());
    return true;
}

void Walker::visit(const QByteArray &path, std::shared_ptr<const FolderHandle> handle)
{
    TreeFolder folder{path, std::move(handle), {}, {}};
    if (!list(folder))
        return;
    QList<QByteArray> own;
    for (const QByteArray &name : std::as_const(folder.folders)) {
        const QByteArray inside = pathBelow(path, name);
        std::shared_ptr<const FolderHandle> child = FolderHandle::openBeneath(m_root, inside);
        if (child->error() == EXDEV) {
            m_walk.otherFileSystems.append(inside);
            continue;
        }
        if (child->error() != 0) {
            fail(inside, child->error());
            return;
        }
        own.append(name);
        if (m_recursive)
            visit(inside, std::move(child));
        if (m_walk.error != 0)
            return;
    }
    folder.folders = own;
    m_walk.folders.push_back(std::move(folder));
}

} // namespace

TreeWalk TreeWalk::read(const std::shared_ptr<const FolderHandle> &root, bool recursive)
{
    TreeWalk walk;
    if (root->error() != 0) {
        walk.error = root->error();
        return walk;
    }
    raiseFileLimit();
    Walker(walk, *root, recursive).visit({}, root);
    return walk;
}

} // namespace tolvane
