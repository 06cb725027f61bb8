#pragma once

#include "platform/surface.h"

#include <QImage>
#include <QMargins>
#include <QSize>
#include <QString>

namespace tolvane {

class CaptionText;
class Skin;

// Composes the whole frame image (border, title bar, caption icon and text, caption buttons in
// their hover state) from the skin. The interior is left fully transparent.
class FramePainter
{
public:
    FramePainter(const Skin &skin, const CaptionText &text);

    void setCaption(const QString &caption);
    // Any picture; drawn as a 32 × 32 icon with a one-bit mask, then shrunk to 18 × 18.
    void setIcon(const QImage &icon);

    // Where the window stands: on its own, in a tile of a tiling window manager, or maximised
    // (full screen too).
    enum class Placement { Floating, Tiled, Maximised };

    // Recomposes the frame for its size and hover state, in device pixels at `scale` to a
    // pixel of frameSize, from the skin's pictures for the nearest density. A frame that fills
    // its area (tiled or maximised) leaves its shadow outside; a maximised one shows "restore"
    // on the maximise button.
    void PaintForm(QSize frameSize, qint16 hoverButton, qreal scale = 1,
                   Placement placement = Placement::Floating);
    // How far the skin reaches past a frame that fills its area: its shadow, outside the
    // outline.
    static QMargins shadow() { return {13, 11, 13, 12}; }

    const Surface &image() const { return m_surface; }
    // Drops the composed image (null until the next PaintForm); the hover state stays.
    void releaseImage() { m_surface = Surface(); }
    qreal scale() const { return m_scale; }
    qint16 PaintedState() const { return m_paintedState; }
    const QString &TitleText() const { return m_titleText; }

private:
    void DrawTitle(int width);
    int device(int logical) const;
    // Draws the whole piece onto the rectangle, in pixels of the composed skin.
    void put(int x, int y, int w, int h, const Surface &piece);
    void makeScaledIcon(QSize size);

    const Skin &m_skin;
    const CaptionText &m_text;
    QString m_caption;
    QImage m_iconPicture;
    Surface m_icon;       // 18 × 18, the key colour where nothing is drawn
    Surface m_scaledIcon; // the icon as drawn at the last scale
    QPoint m_origin;      // where the composed skin starts, past a shadow left outside
    QPoint m_paintedOrigin;
    Surface m_surface;
    qreal m_scale = 1;
    qint16 m_paintedState = 0;
    QString m_titleText;
    // The caption's measure and the drawn title only change with the caption or the width.
    int m_captionWidth = -1;
    QString m_renderedTitle;
    QImage m_renderedImage;
    qreal m_renderedScale = 1;
};

} // namespace tolvane
