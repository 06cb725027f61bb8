#pragma once

#include <QColor>

namespace tolvane {

// A stored colour value: 0x00BBGGRR (red in the low byte), or, with the top bit set, a system
// colour named by the index in its low byte, taken from the application palette. An unknown
// system colour index gives the window-text colour.
QColor colorFromValue(quint32 value);

} // namespace tolvane
