#include "platform/systemerror.h"

#include <cerrno>
#include <cstring>

namespace tolvane {

QString systemErrorText(int error)
{
    switch (error) {
    case EEXIST:
        return QStringLiteral("已有同名的文件或文件夹");
    case EACCES:
        return QStringLiteral("没有访问权限");
    case EPERM:
        return QStringLiteral("不允许这样操作");
    case EROFS:
        return QStringLiteral("文件系统是只读的");
    case ENOENT:
        return QStringLiteral("文件或文件夹不存在");
    case ENOTDIR:
        return QStringLiteral("路径中有一部分不是文件夹");
    case EISDIR:
        return QStringLiteral("目标是一个文件夹");
    case ENAMETOOLONG:
        return QStringLiteral("文件名太长");
    case ENOSPC:
        return QStringLiteral("磁盘空间不足");
    case EDQUOT:
        return QStringLiteral("超出了磁盘配额");
    case EXDEV:
        return QStringLiteral("不能移到另一个文件系统");
    case EBUSY:
        return QStringLiteral("文件或文件夹正在使用");
    case EIO:
        return QStringLiteral("读写设备时出错");
    case EINVAL:
        return QStringLiteral("名称或操作无效");
    case ELOOP:
        return QStringLiteral("符号链接嵌套太多");
    case EMLINK:
        return QStringLiteral("链接数太多");
    }
    char buffer[256];
    // The GNU strerror_r may return a static text instead of filling the buffer.
    return QString::fromLocal8Bit(::strerror_r(error, buffer, sizeof buffer));
}

} // namespace tolvane
