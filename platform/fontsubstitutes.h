#pragma once

namespace tolvane {

// The stored forms name the Windows fonts "宋体" and "Tahoma". They keep those names; this
// maps them onto fonts Debian installs (WenQuanYi Micro Hei, DejaVu Sans). Call once at start.
void installFontSubstitutes();

} // namespace tolvane
