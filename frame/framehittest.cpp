#include "frame/framehittest.h"

namespace tolvane {

namespace {

// Picks one of three codes by where v falls against the corner zones of a band. A point
// exactly on a split gets nothing and keeps the code it had.
qint16 splitBand(int v, int low, int high, qint16 before, qint16 lowCode, qint16 midCode,
                 qint16 highCode)
{
    qint16 r = before;
    if (low < v && v < high)
        r = midCode;
    if (v < low)
        r = lowCode;
    if (v > high)
        r = highCode;
    return r;
}

} // namespace

qint16 FrameHitTest(const QRect &window, QPoint screen)
{
    // Right and bottom as exclusive edges, as the window rectangle has them.
    const int l = window.left() + 13;
    const int r = window.left() + window.width() - 13;
    const int t = window.top() + 11;
    const int b = window.top() + window.height() - 13;
    const int x = screen.x();
    const int y = screen.y();

    qint16 code = HitNowhere;
    if (l < x && x < l + 7)
        code = splitBand(y, t + 30, b - 30, code, HitTopLeft, HitLeft, HitBottomLeft);
    else if (r - 7 < x && x < r)
        code = splitBand(y, t + 30, b - 30, code, HitTopRight, HitRight, HitBottomRight);
    else
        code = HitCaption;

    if (t < y && y < t + 5)
        code = splitBand(x, l + 30, r - 30, code, HitTopLeft, HitTop, HitTopRight);
    else if (b - 7 < y && y < b)
        code = splitBand(x, l + 30, r - 30, code, HitBottomLeft, HitBottom, HitBottomRight);

    if (t < y && y < t + 17) {
        if (r - 107 <= x && x < r - 81)
            code = MinimiseHit;
        if (r - 81 <= x && x < r - 55)
            code = MaximiseHit;
        if (r - 55 <= x && x < r - 12)
            code = CloseHit;
    }
    return code;
}

Qt::Edges hitEdges(qint16 code)
{
    switch (code) {
    case HitLeft:
        return Qt::LeftEdge;
    case HitRight:
        return Qt::RightEdge;
    case HitTop:
        return Qt::TopEdge;
    case HitBottom:
        return Qt::BottomEdge;
    case HitTopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case HitTopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case HitBottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case HitBottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    default:
        return {};
    }
}

Qt::CursorShape hitCursor(qint16 code)
{
    switch (code) {
    case HitLeft:
    case HitRight:
        return Qt::SizeHorCursor;
    case HitTop:
    case HitBottom:
        return Qt::SizeVerCursor;
    case HitTopLeft:
    case HitBottomRight:
        return Qt::SizeFDiagCursor;
    case HitTopRight:
    case HitBottomLeft:
        return Qt::SizeBDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace tolvane
