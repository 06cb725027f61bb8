#pragma once

#include "platform/surface.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <array>

namespace tolvane {

// The frame's twelve skin pictures (ids 101 to 112), each decoded once into its own surface.
// Slot 12 is the colour-cube strip that turns plain colours into opaque skin pixels.
class Skin
{
public:
    static constexpr int SlotCount = 12;
    static constexpr int StripSlot = 12;

    // Whether the PNG decoder the skin needs is there at all.
    static bool decoderAvailable();
    // Slot i holds resource id 100 + i, written as "1" followed by i in two digits.
    static int resourceId(int slot);
    static QSize surfaceSize(int slot);
    // Where a colour sits on the strip: each channel cut down to a multiple of 8.
    static QPoint stripPosition(int red, int green, int blue);

    // Decodes every slot from folder (":/frame" in the program). A picture that is missing or
    // cannot be decoded leaves its slot transparent and makes the result false.
    bool LoadSkin(const QString &folder = QStringLiteral(":/frame"));
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
};

} // namespace tolvane
