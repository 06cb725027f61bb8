#include "platform/folderhandle.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <linux/openat2.h>
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

} // namespace

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
