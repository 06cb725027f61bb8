#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace tolvane {

// Puts raw names and their display forms (same index) into the order the lists show: natural,
// locale-aware and case-insensitive, ties broken by the raw bytes so the order is total. Each
// sort key is computed once; long lists compute them on every core.
void sortNames(QList<QByteArray> &raw, QStringList &display);

} // namespace tolvane
