#pragma once

#include "controls/Command/buttonstate.h"

namespace tolvane {

class CommandSkins;
class Surface;

// Draws the image button's background into its persistent image: the state's skin stretched
// as a nine-slice over the whole image, then the focus rectangle where the state shows it.
class CommandPainter
{
public:
    explicit CommandPainter(const CommandSkins &Image1);

    void PaintState(Surface &image, ButtonState State, TriFlag ButtonDown, TriFlag HasFocus) const;
    // A held press shows the rectangle even without focus; Normal and Disabled never do.
    static bool showsFocus(ButtonState State, TriFlag ButtonDown, TriFlag HasFocus);
    // The dotted rectangle inset 2 pixels from every edge.
    static void DrawFocus(Surface &image);

private:
    const CommandSkins &m_Image1;
};

} // namespace tolvane
