#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace tolvane {

// When the photo `name` in the folder open as `folderFd` was taken (Exif DateTimeOriginal, a
// local time, in seconds since the epoch as this machine's time zone reads it); none when the
// file holds no such date or is no JPEG or TIFF. Only the metadata near the start of the file is
// read, never the image data, so a huge file costs no more than a small one; damaged files give
// none, and the library's own warnings are kept quiet.
std::optional<qint64> photoTakenAt(int folderFd, const QByteArray &name);

} // namespace tolvane
