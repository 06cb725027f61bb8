#include "controls/Command/commandlayout.h"

namespace tolvane {

float CommandLayout::captionLeft(qint32 IconAlign, float currentLeft, QSize surface, QSize lbl,
                                 QSize imgButton)
{
    switch (IconAlign) {
    case 0:
        return float(surface.width() - lbl.width()) / 2.0f;
    case 1:
        return float(imgButton.width() + 7);
    case 2:
        return 5.0f;
    default:
        return currentLeft;
    }
}

float CommandLayout::captionTop(QSize surface, QSize lbl)
{
    return float(surface.height() - lbl.height()) / 2.0f;
}

float CommandLayout::iconLeft(qint32 IconAlign, QSize surface, QSize imgButton)
{
    return IconAlign == 1 ? 5.0f : float(surface.width() - imgButton.width() - 5);
}

float CommandLayout::iconTop(QSize surface, QSize imgButton)
{
    return float(surface.height() - imgButton.height()) / 2.0f;
}

} // namespace tolvane
