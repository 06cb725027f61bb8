#include "engine/naming/basename.h"

namespace tolvane {

QByteArray baseName(const QByteArray &name)
{
    const qsizetype dot = name.indexOf('.');
    return dot < 0 ? name : name.left(dot);
}

QByteArray dotExtension(const QByteArray &name)
{
    const qsizetype dot = name.indexOf('.');
    return dot < 0 ? QByteArray() : name.mid(dot);
}

} // namespace tolvane
