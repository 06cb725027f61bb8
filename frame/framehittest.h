#pragma once

#include <QPoint>
#include <QRect>

namespace tolvane {

// Hit codes the frame answers with: drag, the eight sizing bands, and its three buttons.
enum HitCode : qint16 {
    HitNowhere = 0,
    HitClient = 1,
    HitCaption = 2,
    HitLeft = 10,
    HitRight = 11,
    HitTop = 12,
    HitTopLeft = 13,
    HitTopRight = 14,
    HitBottom = 15,
    HitBottomLeft = 16,
    HitBottomRight = 17,
    MinimiseHit = 101,
    MaximiseHit = 102,
    CloseHit = 103,
};

// Which part of the skinned frame lies under a screen point. The bands and buttons are
// measured from the skin's outline (11 pixels in at the top, 13 elsewhere), so they follow
// the artwork, not the window's edge.
qint16 FrameHitTest(const QRect &window, QPoint screen);

// The window edges a sizing band moves; none for any other code.
Qt::Edges hitEdges(qint16 code);
// The cursor a band shows; the arrow elsewhere.
Qt::CursorShape hitCursor(qint16 code);

} // namespace tolvane
