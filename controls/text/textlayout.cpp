#include "controls/text/textlayout.h"

#include <cmath>

namespace tolvane {

TextLayout TextLayout::arrange(int requestedWidth, double fontPointSize)
{
    TextLayout layout;
    layout.width = requestedWidth < 400 ? 400 : requestedWidth;
    layout.height = 330;
    layout.spinLeft = 75;
    layout.spinWidth = layout.width - 111;
    layout.spinHeight = 210;
    layout.spinTop = 60;
    if (fontPointSize > 8) {
        // nearbyint rounds halves to even in the default rounding mode: 10.5 pt lifts by 2.
        layout.spinTop -= 15 * static_cast<int>(std::nearbyint(fontPointSize - 8));
    }
    return layout;
}

} // namespace tolvane
