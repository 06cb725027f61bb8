#include "platform/filemover.h"

#include "platform/filecalls.h"
#include "platform/folderhandle.h"
#include "platform/mountplace.h"
#include "platform/rawname.h"
#include "platform/systemerror.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/vfs.h>
#include <unistd.h>

namespace tolvane {
namespace {

FileCalls g_calls = systemFileCalls();

// The way found to work on each file system, so that a new mover on a file system that refuses
// the no-replace flag does not learn it again with every batch. Movers run on worker threads.
// A device number alone is not enough: the next stick in the same loop or USB slot, or the next
// FUSE mount, gets it too, and would inherit a weaker way.
struct WayMemory
{
    std::mutex mutex;
    std::map<FileMover::Device, FileMover::Way> ways;
};

WayMemory &wayMemory()
{
    static WayMemory memory;
    return memory;
}

FileMover::Result done()
{
    return {true, 0, {}};
}

FileMover::Result failed(int error)
{
    return {false, error, systemErrorText(error)};
}

// The errors a file system gives when it cannot rename without replacing (NFS, some FUSE).
bool refusesNoReplace(int error)
{
    return error == EINVAL || error == ENOSYS || error == ENOTTY || error == EOPNOTSUPP;
}

// The errors a file system gives when it has no hard links (exFAT and MTP through FUSE, some
// network mounts).
bool refusesLinks(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK;
}

} // namespace

FileCalls systemFileCalls()
{
    return {::renameat2, ::renameat, ::linkat, ::unlinkat, ::fstatat};
}

FileCalls setFileCalls(const FileCalls &calls)
{
    const FileCalls previous = g_calls;
    g_calls = calls;
    WayMemory &memory = wayMemory();
    const std::lock_guard lock(memory.mutex);
    memory.ways.clear();
    return previous;
}

FileMover::FileMover(const QByteArray &folderPath) : FileMover(FolderHandle::open(folderPath)) {}

FileMover::FileMover(std::shared_ptr<const FolderHandle> folder)
    : FileMover(folder, folder->fd() < 0 ? std::nullopt : mountPlaceOf(folder->fd()))
{}

FileMover::FileMover(std::shared_ptr<const FolderHandle> folder,
                     const std::optional<MountPlace> &mount)
    : m_handle(std::move(folder))
{
    m_folder = m_handle->fd();
    struct stat st;
    if (m_folder < 0 || ::fstat(m_folder, &st) != 0) {
        m_openError = m_folder < 0 ? m_handle->error() : errno;
        return;
    }
    struct statfs fs = {};
    ::fstatfs(m_folder, &fs);
    int fsid[2];
    static_assert(sizeof fsid == sizeof fs.f_fsid);
    std::memcpy(fsid, &fs.f_fsid, sizeof fsid);
    m_device = {st.st_dev,
                quint64(fs.f_type),
                fsid[0],
                fsid[1],
                mount ? mount->fileSystem : QByteArray(),
                mount ? mount->mountPoint : QByteArray()};
    WayMemory &memory = wayMemory();
    const std::lock_guard lock(memory.mutex);
    const auto known = memory.ways.find(m_device);
    if (known != memory.ways.end())
        m_way = known->second;
}

FileMover::Result FileMover::move(const QByteArray &from, const QByteArray &to)
{
    if (m_openError != 0)
        return failed(m_openError);
    // A name with "/" would reach out of the folder, or with a leading one ignore it altogether.
    if (!isSingleName(from) || !isSingleName(to))
        return failed(EINVAL);
    const char *source = from.constData();
    const char *target = to.constData();

    // A file that already has its new name needs no move; the no-replace rename would refuse it.
    if (from == to) {
        struct stat st;
        if (g_calls.fstatat(m_folder, source, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return failed(errno);
        return done();
    }

    if (m_way == Way::NoReplace) {
        if (g_calls.renameat2(m_folder, source, m_folder, target, RENAME_NOREPLACE) == 0)
            return done();
        const int error = errno;
        if (!refusesNoReplace(error))
            return failed(error);
        fallBackTo(Way::Link);
    }
    if (m_way == Way::Link)
        return moveByLink(source, target);
    return checkThenRename(source, target);
}

// linkat never replaces an existing target, so link-then-unlink keeps the no-replace promise.
FileMover::Result FileMover::moveByLink(const char *from, const char *to)
{
    struct stat st;
    if (g_calls.fstatat(m_folder, from, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(errno);
    if (!S_ISREG(st.st_mode)) {
        // Only files are linked; anything else gets the no-replace rename's own answer.
        if (g_calls.renameat2(m_folder, from, m_folder, to, RENAME_NOREPLACE) == 0)
            return done();
        return failed(errno);
    }
    if (g_calls.linkat(m_folder, from, m_folder, to, 0) != 0) {
        const int error = errno;
        if (!refusesLinks(error))
            return failed(error);
        fallBackTo(Way::CheckThenRename);
        return checkThenRename(from, to);
    }
    if (g_calls.unlinkat(m_folder, from, 0) != 0) {
        const int error = errno;
        // The file keeps its old name only: take the new one back.
        g_calls.unlinkat(m_folder, to, 0);
        return failed(error);
    }
    return done();
}

// Where the file system refuses both the no-replace flag and links, nothing it offers can move
// a file and refuse an existing target in one step, so the target is looked up just before a
// plain rename. A target that another process creates between the look-up and the rename is
// still replaced; the window is the time between two system calls.
FileMover::Result FileMover::checkThenRename(const char *from, const char *to)
{
    struct stat st;
    if (g_calls.fstatat(m_folder, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return failed(EEXIST);
    if (errno != ENOENT)
        return failed(errno);
    if (g_calls.renameat(m_folder, from, m_folder, to) != 0)
        return failed(errno);
    return done();
}

void FileMover::fallBackTo(Way way)
{
    m_way = way;
    WayMemory &memory = wayMemory();
    const std::lock_guard lock(memory.mutex);
    Way &known = memory.ways.try_emplace(m_device, way).first->second;
    known = std::max(known, way);
}

} // namespace tolvane
