#pragma once

#include <QList>
#include <QString>
#include <utility>

namespace tolvane {

// Position of name in a list of (name, value) pairs, matched without regard to case; -1 when
// absent. Stored names are few per instance, so a scan beats a map that loses the order.
template <typename Value>
qsizetype indexOfName(const QList<std::pair<QString, Value>> &list, QStringView name)
{
    for (qsizetype i = 0; i < list.size(); ++i)
        if (name.compare(list.at(i).first, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace tolvane
