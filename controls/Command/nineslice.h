#pragma once

#include <QRect>
#include <QSize>
#include <array>

namespace tolvane {

// Cuts a picture into corners, bands and centre by a fixed border and says where each piece
// goes on a target of another size: corners keep their size, bands and centre stretch.
class NineSlice
{
public:
    struct Piece
    {
        QRect target;
        QRect source;
    };

    NineSlice(QSize picture, int border);

    // The nine pieces in drawing order: the corners clockwise from the top left, then the
    // top, right, bottom and left bands, then the centre. Below twice the border the middle
    // extents are empty or negative; drawing such a piece draws nothing.
    std::array<Piece, 9> pieces(QSize target) const;

private:
    QSize m_picture;
    int m_border;
};

} // namespace tolvane
