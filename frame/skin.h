#pragma once

#include "platform/surface.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <array>

namespace tolvane {

// The frame's skin pictures (ids 101 to 114), each in its own surface, as drawn for one screen
// density. Slot 12 is the colour-cube strip that turns plain colours into opaque skin pixels;
// 13 and 14 are the maximise button's face showing "restore", plain and lit.
class Skin
{
public:
    static constexpr int SlotCount = 14;
    static constexpr int StripSlot = 12;
    static constexpr int RestoreSlot = 13;
    static constexpr int RestoreLitSlot = 14;

    // Whether the PNG decoder the skin needs is there at all.
    static bool decoderAvailable();
    // Slot i holds resource id 100 + i, written as "1" followed by i in two digits.
    static int resourceId(int slot);
    // In window pixels; the surfaces of a denser set are as large as its pictures.
    static QSize surfaceSize(int slot);
    // The density of the picture set nearest to a device pixel ratio (1, 1.5, 2 or 3); halfway
    // between two, the denser, as shrinking loses less than enlarging.
    static qreal pictureScale(qreal devicePixelRatio);
    // Where a colour sits on the strip: each channel cut down to a multiple of 8.
    static QPoint stripPosition(int red, int green, int blue);

    // Fills every slot with its picture for pictureScale(devicePixelRatio): at 1, decoded from
    // folder (":/frame" in the program), else drawn. A picture that is missing or cannot be
    // decoded leaves its slot transparent and makes the result false.
    bool LoadSkin(const QString &folder = QStringLiteral(":/frame"), qreal devicePixelRatio = 1);
    // The density of the set loaded last.
    qreal scale() const { return m_scale; }
    void release();
    // Every slot decoded by the last LoadSkin, and not released since.
    bool isComplete() const { return m_complete; }

    // Slot 1 to 12; a null surface before LoadSkin and after release.
    const Surface &slot(int i) const { return m_slots.at(i - 1); }
    // The strip's opaque pixel for a colour.
    QRgb stripPixel(int red, int green, int blue) const;

private:
    std::array<Surface, SlotCount> m_slots;
    bool m_complete = false;
    qreal m_scale = 1;
};

} // namespace tolvane
