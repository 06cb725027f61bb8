#pragma once

#include <QImage>
#include <optional>

namespace tolvane {

// The twelve 13 x 13 check-box pictures: picture 4 × value + look for the values 0
// (unchecked), 1 (checked) and 2 (grayed). Other values have no picture.
class CheckGlyphs
{
public:
    enum Look { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

    static std::optional<int> index(qint32 value, Look look);
    // The stored picture; null for an index outside 0 to 11.
    static QImage picture(int index);
};

} // namespace tolvane
