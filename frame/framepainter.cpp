#include "frame/framepainter.h"

#include "frame/captiontext.h"
#include "frame/skin.h"

#include <algorithm>

namespace tolvane {

namespace {

// Icon pixels that hold exactly this colour are left out, like a mask.
constexpr QRgb KeyColour = 0xff010000;
constexpr int IconSize = 32;
constexpr int SmallIcon = 18;
constexpr int TitleBarHeight = 38;

} // namespace

FramePainter::FramePainter(const Skin &skin, const CaptionText &text) : m_skin(skin), m_text(text)
{}

void FramePainter::setCaption(const QString &caption)
{
    if (caption == m_caption && m_captionWidth >= 0)
        return;
    m_caption = caption;
    m_captionWidth = -1;
}

namespace {

// The icon drawn with a one-bit mask: half-covered pixels either count or not, so no edge is
// blended with the key colour.
Surface keyedIcon(const QImage &icon, int size)
{
    const QImage scaled =
        icon.isNull() ? QImage()
                      : icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_ARGB32);
    Surface keyed(size, size);
    keyed.fill(KeyColour);
    for (int y = 0; y < scaled.height(); ++y) {
        for (int x = 0; x < scaled.width(); ++x) {
            const QRgb p = scaled.pixel(x, y);
            if (qAlpha(p) >= 128)
                keyed.setPixel(x, y, p | 0xff000000);
        }
    }
    return keyed;
}

} // namespace

void FramePainter::setIcon(const QImage &icon)
{
    m_iconPicture = icon;
    m_icon = Surface(SmallIcon, SmallIcon);
    m_icon.stretchFrom(0, 0, SmallIcon, SmallIcon, keyedIcon(icon, IconSize), 0, 0, IconSize,
                       IconSize);
    m_scaledIcon = Surface();
}

void FramePainter::makeScaledIcon(QSize size)
{
    // On a denser screen the icon is drawn from its picture at that size, not enlarged.
    if (size == QSize(SmallIcon, SmallIcon) || m_iconPicture.isNull()) {
        m_scaledIcon = Surface(size.width(), size.height());
        m_scaledIcon.stretchFrom(0, 0, size.width(), size.height(), m_icon, 0, 0, SmallIcon,
                                 SmallIcon);
    } else {
        m_scaledIcon = keyedIcon(m_iconPicture, std::min(size.width(), size.height()));
    }
}

void FramePainter::PaintForm(QSize frameSize, qint16 hoverButton, qreal scale, Placement placement)
{
    // Filling its area, the frame is the skin's middle: the shadow lies outside the window.
    const QMargins outside = placement != Placement::Floating ? shadow() : QMargins();
    m_origin = QPoint(-outside.left(), -outside.top());
    const int w = frameSize.width() + outside.left() + outside.right();
    const int h = frameSize.height() + outside.top() + outside.bottom();
    // From 138 × 76 up the pieces tile everything outside the interior, and nothing draws
    // into the interior: a repaint at the same size need not clear the surface first.
    const bool tiled = w >= 138 && h >= 76 && m_skin.isComplete();
    const QSize device = (QSizeF(frameSize) * scale).toSize();
    if (m_surface.width() != device.width() || m_surface.height() != device.height() ||
        scale != m_scale || m_origin != m_paintedOrigin)
        m_surface = Surface(device.width(), device.height());
    else if (!tiled)
        m_surface.fill(0);
    m_scale = scale;

    m_paintedOrigin = m_origin;
    put(21, 0, w - 138, 38, m_skin.slot(2));
    put(21, h - 38, w - 138, 38, m_skin.slot(6));
    put(0, 38, 21, h - 76, m_skin.slot(8));
    put(w - 21, 38, 21, h - 76, m_skin.slot(4));
    put(0, 0, 21, 38, m_skin.slot(1));
    put(w - 117, 0, 117, 38, m_skin.slot(3));
    put(0, h - 38, 21, 38, m_skin.slot(7));
    put(w - 117, h - 38, 117, 38, m_skin.slot(5));

    DrawTitle(w);

    // The lit minimise picture starts 7 columns further left for its glow; its surface stops
    // 7 columns short of the edge, where the plain corner already lies.
    switch (hoverButton) {
    case 1:
        put(w - 124, 0, 117, 38, m_skin.slot(11));
        break;
    case 2:
        put(w - 117, 0, 117, 38, m_skin.slot(10));
        break;
    case 3:
        put(w - 117, 0, 117, 38, m_skin.slot(9));
        break;
    default:
        put(w - 117, 0, 117, 38, m_skin.slot(3));
        break;
    }
    if (placement == Placement::Maximised) {
        put(w - 117 + 24, 12, 25, 16,
            m_skin.slot(hoverButton == 2 ? Skin::RestoreLitSlot : Skin::RestoreSlot));
    }
    m_paintedState = hoverButton;
}

int FramePainter::device(int logical) const
{
    return qRound(logical * m_scale);
}

void FramePainter::put(int x, int y, int w, int h, const Surface &piece)
{
    x += m_origin.x();
    y += m_origin.y();
    // Both edges rounded on their own: neighbouring pieces meet without a gap at any scale.
    const int left = device(x), top = device(y);
    const int dw = device(x + w) - left, dh = device(y + h) - top;
    const int sw = piece.width(), sh = piece.height();
    if (dw == sw && dh == sh) // a straight copy is the cheaper
        m_surface.copyFrom(left, top, piece, 0, 0, sw, sh);
    else
        m_surface.stretchFrom(left, top, dw, dh, piece, 0, 0, sw, sh);
}

void FramePainter::DrawTitle(int width)
{
    if (m_captionWidth < 0)
        m_captionWidth = m_text.measure(m_caption).width();
    m_titleText = CaptionText::shorten(m_caption, m_captionWidth, width - 170);
    if (m_renderedImage.isNull() || m_renderedTitle != m_titleText || m_renderedScale != m_scale) {
        m_renderedTitle = m_titleText;
        m_renderedScale = m_scale;
        m_renderedImage = m_text.render(m_titleText, m_scale);
    }
    const QImage &text = m_renderedImage;
    const QRgb shadow = m_skin.stripPixel(64, 128, 48);
    const int ox = m_origin.x(), oy = m_origin.y();
    const int left = device(50 + ox), top = device(17 + oy), offset = device(1);

    // Row by row, so a text pixel is always written after any shadow on the same spot. The
    // caption stays within the title bar, whatever the font's height.
    const int rows = std::min(text.height(), device(TitleBarHeight + oy) - top - offset);
    for (int y = 0; y < rows; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(text.constScanLine(y));
        for (int x = 0; x < text.width(); ++x) {
            QRgb c = row[x] & 0xffffff;
            if (c == 0xffffff)
                continue;
            if (c == 0)
                c = 0xff0000;
            m_surface.setPixel(left + x + offset, top + y + offset, shadow);
            m_surface.setPixel(left + x, top + y, m_skin.stripPixel(qRed(c), qGreen(c), qBlue(c)));
        }
    }

    const QPoint iconAt(device(21 + ox), device(17 + oy));
    const QSize iconSize(device(21 + ox + SmallIcon) - iconAt.x(),
                         device(17 + oy + SmallIcon) - iconAt.y());
    if (m_scaledIcon.width() != iconSize.width() || m_scaledIcon.height() != iconSize.height())
        makeScaledIcon(iconSize);
    const Surface &icon = m_scaledIcon;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb c = icon.pixel(x, y);
            if (c != KeyColour)
                m_surface.setPixel(iconAt.x() + x, iconAt.y() + y,
                                   m_skin.stripPixel(qRed(c), qGreen(c), qBlue(c)));
        }
    }
}

} // namespace tolvane
