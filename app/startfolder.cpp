#include "app/startfolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tolvane {

QString folderErrorReason(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("文件夹不存在");
    case ENOTDIR:
        return QStringLiteral("这不是一个文件夹");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有读取这个文件夹的权限");
    case ELOOP:
        return QStringLiteral("符号链接层数过多");
    case ENAMETOOLONG:
        return QStringLiteral("路径太长");
    default:
        return QStringLiteral("无法读取（错误代码 %1）").arg(error);
    }
}

QString enterStartFolder(const QByteArray &folder)
{
    // Opening for reading proves the folder can be listed, which a bare chdir does not.
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        if (::fchdir(fd) != 0)
            error = errno;
        ::close(fd);
    }
    if (error == 0)
        return {};
    return QStringLiteral("无法打开文件夹【%1】：%2。\nTolvane 在当前文件夹【%3】中启动。")
        .arg(QFile::decodeName(folder), folderErrorReason(error),
             QDir::toNativeSeparators(QDir::currentPath()));
}

} // namespace tolvane
