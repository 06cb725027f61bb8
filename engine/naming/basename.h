#pragma once

#include <QByteArray>

namespace tolvane {

// A file name's base: everything before its first "." (the whole name when it has none), so
// a.tar.gz gives a and .profile gives the empty name.
QByteArray baseName(const QByteArray &name);
// The rest: the first "." and everything after it, empty when there is none.
QByteArray dotExtension(const QByteArray &name);

} // namespace tolvane
