#pragma once

#include <QPoint>
#include <functional>

namespace tolvane {

// The pointer position in screen pixels. Controls that poll the pointer read it here, so that
// tests can put a virtual pointer where they need it.
QPoint cursorPos();

// Replaces the real pointer by source; an empty function restores QCursor::pos().
void setCursorSource(std::function<QPoint()> source);

} // namespace tolvane
