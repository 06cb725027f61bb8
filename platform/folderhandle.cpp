#include "platform/folderhandle.h"

#include <QByteArrayList>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tolvane {
namespace {

// Opens a resolved path refusing a link anywhere in it; kernels before openat2 get the same for
// the last part only.
int openResolved(const QByteArray &path)
{
    open_how how = {};
    how.flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const long fd = ::syscall(SYS_openat2, AT_FDCWD, path.constData(), &how, sizeof how);
    if (fd >= 0 || (errno != ENOSYS && errno != EPERM))
        return int(fd);
    return ::open(path.constData(), int(how.flags));
}

// Kernels before openat2 get one step at a time, each refusing a link and another device.
int openStepwise(int base, const QByteArray &relative)
{
    struct stat top;
    if (::fstat(base, &top) != 0)
        return -1;
    int fd = ::fcntl(base, F_DUPFD_CLOEXEC, 0);
    for (const QByteArray &name : relative.split('/')) {
        if (fd < 0 || name.isEmpty())
            continue;
        const int next =
            ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        ::close(fd);
        struct stat st;
        fd = next;
        if (next >= 0 && ::fstat(next, &st) == 0 && st.st_dev != top.st_dev) {
            ::close(next);
            fd = -1;
            errno = EXDEV;
        } else if (next < 0) {
            errno = error;
        }
    }
    return fd;
}

} // namespace

std::shared_ptr<const FolderHandle> FolderHandle::openBeneath(const FolderHandle &base,
                                                              const QByteArray &relative)
{
    std::shared_ptr<FolderHandle> handle(new FolderHandle);
    handle->m_path = relative.isEmpty() ? base.m_path : base.m_path + '/' + relative;
    if (base.m_fd < 0 || relative.startsWith('/') || relative.contains('\0')) {
        handle->m_error = base.m_fd < 0 ? base.m_error : EINVAL;
        return handle;
    }
    open_how how = {};
    how.flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | RESOLVE_NO_XDEV;
    const QByteArray path = relative.isEmpty() ? QByteArray(".") : relative;
    long fd = ::syscall(SYS_openat2, base.m_fd, path.constData(), &how, sizeof how);
    if (fd < 0 && (errno == ENOSYS || errno == EPERM))
        fd = openStepwise(base.m_fd, relative);
    handle->m_fd = int(fd);
    if (fd < 0)
        handle->m_error = errno;
    return handle;
}

std::shared_ptr<const FolderHandle> FolderHandle::open(const QByteArray &path)
{
    std::shared_ptr<FolderHandle> handle(new FolderHandle);
    handle->m_path = path;
    if (path.isEmpty() || path.contains('\0')) {
        handle->m_error = path.isEmpty() ? ENOENT : EINVAL;
        return handle;
    }
    char *real = ::realpath(path.constData(), nullptr);
    if (!real) {
        handle->m_error = errno;
        return handle;
    }
    handle->m_path = real;
    std::free(real);
    handle->m_fd = openResolved(handle->m_path);
    if (handle->m_fd < 0)
        handle->m_error = errno;
    return handle;
}

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace tolvane
