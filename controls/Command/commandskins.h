#pragma once

#include "controls/Command/buttonstate.h"
#include "platform/surface.h"

#include <array>

namespace tolvane {

// The image button's five 18 x 21 skin pictures, one per button state (the holders Image1(0)
// to Image1(4)), read from the program's resources.
class CommandSkins
{
public:
    static constexpr int Width = 18;
    static constexpr int Height = 21;
    static constexpr int SkinBorder = 3;

    // The pictures compiled into the program.
    CommandSkins();
    explicit CommandSkins(const std::array<Surface, ButtonStateCount> &pictures);

    const Surface &at(ButtonState state) const { return m_pictures.at(state); }
    // False when a picture is missing or has the wrong size (resources not linked in).
    bool isComplete() const;

private:
    std::array<Surface, ButtonStateCount> m_pictures;
};

} // namespace tolvane
