#include "frame/skin.h"

#include "frame/skinartist.h"
#include "platform/pngreader.h"

#include <QtDebug>
#include <cmath>

namespace tolvane {

bool Skin::decoderAvailable()
{
    // Decoding one pixel asks the PNG reader alone; listing the supported formats would load
    // every image plugin at start.
    static const unsigned char pixel[] = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
        0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x00,
        0x00, 0x3a, 0x7e, 0x9b, 0x55, 0x00, 0x00, 0x00, 0x0a, 0x49, 0x44, 0x41, 0x54, 0x78,
        0x9c, 0x63, 0x60, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x48, 0xaf, 0xa4, 0x71, 0x00,
        0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
    return !decodePng(QByteArrayView(pixel, sizeof pixel)).isNull();
}

int Skin::resourceId(int slot)
{
    return QStringLiteral("1%1").arg(slot, 2, 10, QLatin1Char('0')).toShort();
}

QSize Skin::surfaceSize(int slot)
{
    switch (slot) {
    case 3:
    case 5:
    case 9:
    case 10:
    case 11: // its picture is 124 wide; the 7 columns past 117 repeat what slot 3 drew
        return {117, 38};
    case StripSlot:
        return {1024, 32};
    case RestoreSlot:
    case RestoreLitSlot:
        return {25, 16};
    default:
        return {21, 38};
    }
}

QPoint Skin::stripPosition(int red, int green, int blue)
{
    return {32 * (blue / 8) + red / 8, green / 8};
}

qreal Skin::pictureScale(qreal devicePixelRatio)
{
    qreal nearest = 1;
    for (const qreal scale : {1.5, 2.0, 3.0}) {
        if (std::abs(scale - devicePixelRatio) <= std::abs(nearest - devicePixelRatio))
            nearest = scale;
    }
    return nearest;
}

bool Skin::LoadSkin(const QString &folder, qreal devicePixelRatio)
{
    m_scale = pictureScale(devicePixelRatio);
    // Ordinary screens take the pictures stored in the program; a denser screen's are drawn
    // for it, which keeps them out of the program (and of its memory) everywhere else.
    const SkinArtist artist;
    bool complete = true;
    for (int i = 1; i <= SlotCount; ++i) {
        // The strip is a table, the same at every scale.
        const qreal scale = i == StripSlot ? 1 : m_scale;
        const QString path = QStringLiteral("%1/%2.png").arg(folder).arg(resourceId(i));
        QString error;
        const QImage picture =
            scale == 1 ? readPng(path, &error) : artist.picture(resourceId(i), scale);
        // Slot 11's picture reaches past the corner on the left; its surface ends where the
        // corner's does.
        const QSize size = i == 11 || picture.isNull() ? (QSizeF(surfaceSize(i)) * scale).toSize()
                                                       : picture.size();
        Surface surface(size.width(), size.height());
        if (picture.isNull()) {
            qWarning("skin picture %s: %s", qUtf8Printable(path), qUtf8Printable(error));
            complete = false;
        } else {
            // Natural size onto an empty surface: whatever reaches past it is cut off.
            surface.copyFrom(0, 0, Surface(picture), 0, 0, picture.width(), picture.height());
        }
        m_slots[i - 1] = std::move(surface);
    }
    m_complete = complete;
    return complete;
}

void Skin::release()
{
    for (Surface &surface : m_slots)
        surface = Surface();
    m_complete = false;
}

QRgb Skin::stripPixel(int red, int green, int blue) const
{
    const QPoint at = stripPosition(red, green, blue);
    return slot(StripSlot).pixel(at.x(), at.y());
}

} // namespace tolvane
