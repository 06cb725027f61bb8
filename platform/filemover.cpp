#include "platform/filemover.h"

#include "platform/renamecall.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {
namespace {

RenameCall g_rename = ::renameat2;

QString errorText(int error)
{
    char buffer[256];
    // The GNU strerror_r may return a static text instead of filling the buffer.
    return QString::fromLocal8Bit(::strerror_r(error, buffer, sizeof buffer));
}

FileMover::Result failed(int error)
{
    return {false, error, errorText(error)};
}

// A leading "/" would make the *at calls ignore the folder; the names are always inside it.
QByteArray insideFolder(const QByteArray &name)
{
    qsizetype i = 0;
    while (i < name.size() && name[i] == '/')
        ++i;
    return name.mid(i);
}

bool usable(const QByteArray &name)
{
    return !name.isEmpty() && !name.contains('\0');
}

// The errors a file system gives when it cannot rename without replacing (NFS, some FUSE).
bool refusesNoReplace(int error)
{
    return error == EINVAL || error == ENOSYS || error == ENOTTY || error == EOPNOTSUPP;
}

// linkat never replaces an existing target, so link-then-unlink keeps the no-replace promise.
// Only regular files can be moved this way; a failed unlink takes the new link back.
FileMover::Result moveByLink(int folder, const char *from, const char *to, int renameError)
{
    struct stat st;
    if (::fstatat(folder, from, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return failed(errno);
    if (!S_ISREG(st.st_mode))
        return failed(renameError);
    if (::linkat(folder, from, folder, to, 0) != 0)
        return failed(errno);
    if (::unlinkat(folder, from, 0) != 0) {
        const int error = errno;
        ::unlinkat(folder, to, 0);
        return failed(error);
    }
    return {true, 0, {}};
}

} // namespace

RenameCall setRenameCall(RenameCall call)
{
    const RenameCall previous = g_rename;
    g_rename = call;
    return previous;
}

FileMover::FileMover(const QByteArray &folderPath)
{
    if (folderPath.contains('\0')) {
        m_openError = EINVAL;
        return;
    }
    m_folder = ::open(folderPath.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_folder < 0)
        m_openError = errno;
}

FileMover::~FileMover()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

FileMover::Result FileMover::move(const QByteArray &from, const QByteArray &to)
{
    if (m_folder < 0)
        return failed(m_openError);
    const QByteArray source = insideFolder(from);
    const QByteArray target = insideFolder(to);
    if (!usable(source) || !usable(target))
        return failed(EINVAL);

    // A file that already has its new name needs no move; the no-replace rename would refuse it.
    if (source == target) {
        struct stat st;
        if (::fstatat(m_folder, source.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return failed(errno);
        return {true, 0, {}};
    }

    if (g_rename(m_folder, source.constData(), m_folder, target.constData(), RENAME_NOREPLACE) == 0)
        return {true, 0, {}};
    const int error = errno;
    if (!refusesNoReplace(error))
        return failed(error);
    return moveByLink(m_folder, source.constData(), target.constData(), error);
}

} // namespace tolvane
