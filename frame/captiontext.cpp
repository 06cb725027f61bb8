#include "frame/captiontext.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tolvane {

namespace {

// The first n characters, never splitting a surrogate pair.
QString firstCharacters(const QString &text, qsizetype n)
{
    qsizetype end = 0;
    for (qsizetype taken = 0; taken < n && end < text.size(); ++taken)
        end += (text.at(end).isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
    return text.left(end);
}

} // namespace

CaptionText::CaptionText(const QFont &font) : m_font(font)
{
    m_font.setStyleStrategy(QFont::NoAntialias);
}

QSize CaptionText::measure(const QString &text) const
{
    const QFontMetrics metrics(m_font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QImage CaptionText::render(const QString &text, qreal scale) const
{
    QFont font = m_font;
    if (scale != 1)
        font.setPixelSize(qRound(QFontInfo(m_font).pixelSize() * scale));
    const QFontMetrics metrics(font);
    const QSize size =
        scale == 1 ? measure(text) : QSize(metrics.horizontalAdvance(text), metrics.height());
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(0, metrics.ascent(), text);
    return image;
}

QString CaptionText::shorten(const QString &caption, int captionWidth, int available)
{
    const qsizetype characters = caption.toUcs4().size();
    if (available > captionWidth || characters == 0 || captionWidth <= 0)
        return caption;
    // Both sides of the average count characters, so a wide script is cut as short as a
    // narrow one.
    const double perCharacter = double(captionWidth) / double(characters);
    const double k = std::nearbyint(double(available) / perCharacter);
    const double limit = std::numeric_limits<qint16>::max();
    const int keep = int(std::clamp(k, -limit, limit));
    if (keep <= 5)
        return firstCharacters(caption, 1) + QChar(0xFF0E);
    return firstCharacters(caption, keep - 5) + QString(2, QChar(0xFF0E));
}

} // namespace tolvane
