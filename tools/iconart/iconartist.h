#pragma once

#include <QImage>

namespace tolvane {

// The program icon, a teal tile with a white folder and a "#" on it, drawn for one size:
// every edge that runs along a row or column falls on a whole pixel, and strokes are at least
// one pixel wide with at least one pixel between them, so small sizes stay sharp.
class IconArtist
{
public:
    explicit IconArtist(int size) : m_size(size) {}
    QImage image() const;

private:
    // A length given on the 48-pixel design grid, in whole pixels of this size.
    int px(double units) const;
    int atLeastOne(double units) const { return std::max(1, px(units)); }

    int m_size;
};

} // namespace tolvane
