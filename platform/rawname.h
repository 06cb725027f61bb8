#pragma once

#include <QByteArray>
#include <QString>

namespace tolvane {

// File names are raw bytes: a file's identity is exactly what readdir returned. The screen shows
// a display form in which bytes that are not valid UTF-8 appear escaped as "\xNN".
QString displayName(const QByteArray &raw);
bool isValidUtf8(const QByteArray &raw);

// Joins a folder and a name with exactly one "/" (the root "/" gets no second one).
QByteArray joinPath(const QByteArray &folder, const QByteArray &name);

} // namespace tolvane
