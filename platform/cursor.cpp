#include "platform/cursor.h"

#include <QCursor>

namespace tolvane {

namespace {

std::function<QPoint()> &cursorSource()
{
    static std::function<QPoint()> source;
    return source;
}

} // namespace

QPoint cursorPos()
{
    const auto &source = cursorSource();
    return source ? source() : QCursor::pos();
}

void setCursorSource(std::function<QPoint()> source)
{
    cursorSource() = std::move(source);
}

} // namespace tolvane
