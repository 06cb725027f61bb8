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

void FramePainter::setIcon(const QImage &icon)
{
    // The icon is drawn with a one-bit mask: half-covered pixels either count or not, so
    // no edge is blended with the key colour.
    const QImage scaled = icon.isNull() ? QImage()
                                        : icon.scaled(IconSize, IconSize, Qt::IgnoreAspectRatio,
                                                      Qt::SmoothTransformation)
                                              .convertToFormat(QImage::Format_ARGB32);
    Surface keyed(IconSize, IconSize);
    keyed.fill(KeyColour);
    for (int y = 0; y < scaled.height(); ++y) {
        for (int x = 0; x < scaled.width(); ++x) {
            const QRgb p = scaled.pixel(x, y);
            if (qAlpha(p) >= 128)
                keyed.setPixel(x, y, p | 0xff000000);
        }
    }
    m_icon = Surface(SmallIcon, SmallIcon);
    m_icon.stretchFrom(0, 0, SmallIcon, SmallIcon, keyed, 0, 0, IconSize, IconSize);
}

void FramePainter::PaintForm(QSize frameSize, qint16 hoverButton)
{
    const int w = frameSize.width();
    const int h = frameSize.height();
    // From 138 × 76 up the pieces tile everything outside the interior, and nothing draws
    // into the interior: a repaint at the same size need not clear the surface first.
    const bool tiled = w >= 138 && h >= 76 && m_skin.isComplete();
    if (m_surface.width() != w || m_surface.height() != h)
        m_surface = Surface(w, h);
    else if (!tiled)
        m_surface.fill(0);

    m_surface.stretchFrom(21, 0, w - 138, 38, m_skin.slot(2), 0, 0, 21, 38);
    m_surface.stretchFrom(21, h - 38, w - 138, 38, m_skin.slot(6), 0, 0, 21, 38);
    m_surface.stretchFrom(0, 38, 21, h - 76, m_skin.slot(8), 0, 0, 21, 38);
    m_surface.stretchFrom(w - 21, 38, 21, h - 76, m_skin.slot(4), 0, 0, 21, 38);
    m_surface.copyFrom(0, 0, m_skin.slot(1), 0, 0, 21, 38);
    m_surface.copyFrom(w - 117, 0, m_skin.slot(3), 0, 0, 117, 38);
    m_surface.copyFrom(0, h - 38, m_skin.slot(7), 0, 0, 21, 38);
    m_surface.copyFrom(w - 117, h - 38, m_skin.slot(5), 0, 0, 117, 38);

    DrawTitle(w);

    // The lit minimise picture starts 7 columns further left for its glow; its surface stops
    // 7 columns short of the edge, where the plain corner already lies.
    switch (hoverButton) {
    case 1:
        m_surface.copyFrom(w - 124, 0, m_skin.slot(11), 0, 0, 117, 38);
        break;
    case 2:
        m_surface.copyFrom(w - 117, 0, m_skin.slot(10), 0, 0, 117, 38);
        break;
    case 3:
        m_surface.copyFrom(w - 117, 0, m_skin.slot(9), 0, 0, 117, 38);
        break;
    default:
        m_surface.copyFrom(w - 117, 0, m_skin.slot(3), 0, 0, 117, 38);
        break;
    }
    m_paintedState = hoverButton;
}

void FramePainter::DrawTitle(int width)
{
    if (m_captionWidth < 0)
        m_captionWidth = m_text.measure(m_caption).width();
    m_titleText = CaptionText::shorten(m_caption, m_captionWidth, width - 170);
    if (m_renderedImage.isNull() || m_renderedTitle != m_titleText) {
        m_renderedTitle = m_titleText;
        m_renderedImage = m_text.render(m_titleText);
    }
    const QImage &text = m_renderedImage;
    const QRgb shadow = m_skin.stripPixel(64, 128, 48);

    // Row by row, so a text pixel is always written after any shadow on the same spot. The
    // caption stays within the title bar, whatever the font's height.
    const int rows = std::min(text.height(), TitleBarHeight - 18);
    for (int y = 0; y < rows; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(text.constScanLine(y));
        for (int x = 0; x < text.width(); ++x) {
            QRgb c = row[x] & 0xffffff;
            if (c == 0xffffff)
                continue;
            if (c == 0)
                c = 0xff0000;
            m_surface.setPixel(x + 51, y + 18, shadow);
            m_surface.setPixel(x + 50, y + 17, m_skin.stripPixel(qRed(c), qGreen(c), qBlue(c)));
        }
    }

    for (int y = 0; y < m_icon.height(); ++y) {
        for (int x = 0; x < m_icon.width(); ++x) {
            const QRgb c = m_icon.pixel(x, y);
            if (c != KeyColour)
                m_surface.setPixel(x + 21, y + 17, m_skin.stripPixel(qRed(c), qGreen(c), qBlue(c)));
        }
    }
}

} // namespace tolvane
