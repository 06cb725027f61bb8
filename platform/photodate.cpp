#include "platform/photodate.h"

#include "platform/shippedmodule.h"

#include <QtDebug>

namespace tolvane {
namespace {

using Reader = int (*)(int folderFd, const char *name, long long *seconds);

// Loaded at the first photo asked about, never before: the Exif library would add more than a
// megabyte to every run's memory.
Reader reader()
{
    static const Reader found = [] {
        QString why;
        const auto read = reinterpret_cast<Reader>(shippedModuleEntry(
            TOLVANE_PHOTO_BUILT, TOLVANE_PHOTO_INSTALLED, "tolvane_photo_taken", why));
        if (!read)
            qWarning("tolvane：无法读取拍摄日期（%s），照片按修改日期排列", qPrintable(why));
        return read;
    }();
    return found;
}

} // namespace

std::optional<qint64> photoTakenAt(int folderFd, const QByteArray &name)
{
    const Reader read = reader();
    long long seconds = 0;
    if (!read || read(folderFd, name.constData(), &seconds) == 0)
        return std::nullopt;
    return seconds;
}

} // namespace tolvane
