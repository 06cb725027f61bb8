#pragma once

#include <QSize>

namespace tolvane {

// Where the image button puts its caption and icon, in fractional pixels of the control
// (single precision; the parts round when they are placed). IconAlign 1 puts the icon at the
// left, 2 at the right, 0 means no icon; other values are kept and placed as described below.
class CommandLayout
{
public:
    // 0 centres the caption; 1 starts it 2 pixels after the icon (which sits at 5); 2 starts
    // it at 5; any other value keeps currentLeft.
    static float captionLeft(qint32 IconAlign, float currentLeft, QSize surface, QSize lbl,
                             QSize imgButton);
    static float captionTop(QSize surface, QSize lbl);
    // 1 puts the icon at 5; everything else puts it 5 pixels from the right edge.
    static float iconLeft(qint32 IconAlign, QSize surface, QSize imgButton);
    static float iconTop(QSize surface, QSize imgButton);
};

} // namespace tolvane
