#include "controls/Command/commandpainter.h"

#include "controls/Command/commandskins.h"
#include "controls/Command/nineslice.h"
#include "platform/focusrect.h"
#include "platform/surface.h"

namespace tolvane {

CommandPainter::CommandPainter(const CommandSkins &Image1) : m_Image1(Image1) {}

void CommandPainter::PaintState(Surface &image, ButtonState State, TriFlag ButtonDown,
                                TriFlag HasFocus) const
{
    // The pieces tile the image exactly, so nothing of the previous state (and no earlier
    // focus rectangle) survives.
    static const NineSlice slices(QSize(CommandSkins::Width, CommandSkins::Height),
                                  CommandSkins::SkinBorder);
    const Surface &P = m_Image1.at(State);
    for (const NineSlice::Piece &piece : slices.pieces(QSize(image.width(), image.height()))) {
        const QRect &t = piece.target;
        const QRect &s = piece.source;
        image.stretchFrom(t.x(), t.y(), t.width(), t.height(), P, s.x(), s.y(), s.width(),
                          s.height());
    }
    if (showsFocus(State, ButtonDown, HasFocus))
        DrawFocus(image);
}

bool CommandPainter::showsFocus(ButtonState State, TriFlag ButtonDown, TriFlag HasFocus)
{
    return (isOne(ButtonDown) && State == Pressed) ||
           (isOne(HasFocus) && (State == Hover || State == Focused));
}

void CommandPainter::DrawFocus(Surface &image)
{
    drawFocusRect(image, 2, 2, image.width() - 2, image.height() - 2);
}

} // namespace tolvane
