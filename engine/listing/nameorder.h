#pragma once

#include <QByteArrayView>
#include <vector>

namespace tolvane {

// The order the lists show raw names in: natural, locale-aware and case-insensitive by their
// display forms, ties broken by the raw bytes so the order is total. Returns the indexes of
// `names` in that order. Each sort key is computed once, on every core for long lists, and
// dropped before this returns.
std::vector<qsizetype> nameOrder(const std::vector<QByteArrayView> &names);

} // namespace tolvane
