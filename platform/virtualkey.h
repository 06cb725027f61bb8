#pragma once

#include <QtGlobal>
#include <qnamespace.h>

namespace tolvane {

// The Windows virtual-key code for a Qt key, as the controls report it in KeyDown and KeyUp
// (letters upper case, 13 for Enter, 32 for Space); 0 for keys without one.
qint16 virtualKeyCode(int qtKey);

// The Shift argument of key and mouse events: 1 Shift, 2 Ctrl, 4 Alt.
qint16 shiftState(Qt::KeyboardModifiers modifiers);

// The Button argument of mouse events: 1 left, 2 right, 4 middle; other buttons are left out.
qint16 mouseButtons(Qt::MouseButtons buttons);

} // namespace tolvane
