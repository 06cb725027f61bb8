#include "controls/Command/nineslice.h"

namespace tolvane {

NineSlice::NineSlice(QSize picture, int border) : m_picture(picture), m_border(border) {}

std::array<NineSlice::Piece, 9> NineSlice::pieces(QSize target) const
{
    // Sizes are whole pixels here, so the single-precision arithmetic and the ties-to-even
    // rounding of the middle height that the button's geometry calls for are exact.
    const int b = m_border;
    const int w = target.width();
    const int h = target.height();
    const int far = w - b; // left of the right column
    const int low = h - b; // top of the bottom row
    const int middleW = w - 2 * b;
    const int middleH = h - 2 * b;
    const int srcFar = m_picture.width() - b;
    const int srcLow = m_picture.height() - b;
    const int srcMiddleW = m_picture.width() - 2 * b;
    const int srcMiddleH = m_picture.height() - 2 * b;
    return {{
        {QRect(0, 0, b, b), QRect(0, 0, b, b)},
        {QRect(far, 0, b, b), QRect(srcFar, 0, b, b)},
        {QRect(far, low, b, b), QRect(srcFar, srcLow, b, b)},
        {QRect(0, low, b, b), QRect(0, srcLow, b, b)},
        {QRect(b, 0, middleW, b), QRect(b, 0, srcMiddleW, b)},
        {QRect(far, b, b, middleH), QRect(srcFar, b, b, srcMiddleH)},
        {QRect(b, low, middleW, b), QRect(b, srcLow, srcMiddleW, b)},
        {QRect(0, b, b, middleH), QRect(0, b, b, srcMiddleH)},
        {QRect(b, b, middleW, middleH), QRect(b, b, srcMiddleW, srcMiddleH)},
    }};
}

} // namespace tolvane
