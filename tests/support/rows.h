#pragma once

#include <QByteArrayList>
#include <QStringList>

namespace tolvane::test {

// A table cell listing names in one string, split at "|"; the empty string lists none.
inline QByteArrayList names(const QByteArray &joined)
{
    return joined.isEmpty() ? QByteArrayList() : joined.split('|');
}
inline QStringList texts(const QByteArray &joined)
{
    return joined.isEmpty() ? QStringList() : QString::fromUtf8(joined).split(u'|');
}

} // namespace tolvane::test
