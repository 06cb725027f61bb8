#pragma once

namespace tolvane {

// Where the framed text box puts itself and its parts, in twips inside the control. The box
// is never narrower than 400 and always 330 high; the edit field moves up one pixel per point
// of font size above 8 so that larger text stays centred in the fixed-height frame.
struct TextLayout
{
    int width = 0;
    int height = 0;
    int spinLeft = 0;
    int spinTop = 0;
    int spinWidth = 0;
    int spinHeight = 0;

    static TextLayout arrange(int requestedWidth, double fontPointSize);
};

} // namespace tolvane
