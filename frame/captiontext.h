#pragma once

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

namespace tolvane {

// Measures and draws the caption as plain black-on-white text without antialiasing, so that
// every text pixel is pure black and the frame can recolour it pixel by pixel.
class CaptionText
{
public:
    explicit CaptionText(const QFont &font);
    virtual ~CaptionText() = default;

    virtual QSize measure(const QString &text) const;
    // An image of measure(text) with the text drawn at its top-left corner; at a scale above
    // 1, in that many device pixels to a pixel, with the font enlarged rather than the picture.
    QImage render(const QString &text, qreal scale = 1) const;

    // The caption as it fits in `available` pixels, given its full measured width: whole when
    // strictly narrower, else cut by the average character width and ended with "．" or "．．".
    static QString shorten(const QString &caption, int captionWidth, int available);

private:
    QFont m_font;
};

} // namespace tolvane
