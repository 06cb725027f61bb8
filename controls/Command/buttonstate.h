#pragma once

#include <QtGlobal>
#include <optional>

namespace tolvane {

// The image button's visual state; also the index of its skin picture.
enum ButtonState : quint8 {
    Normal = 0,
    Pressed = 1,
    Disabled = 2,
    Hover = 3,
    Focused = 4,
};
inline constexpr int ButtonStateCount = 5;

// A flag that starts out unset and is later set to 0 or 1. Unset counts as 0 in every test.
using TriFlag = std::optional<bool>;
inline bool isOne(const TriFlag &flag)
{
    return flag.value_or(false);
}

} // namespace tolvane
