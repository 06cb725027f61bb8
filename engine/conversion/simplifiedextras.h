#pragma once

#include <span>

namespace tolvane {

struct SimplifiedPair
{
    char32_t traditional;
    char32_t simplified;
};

// Traditional characters of code page 936 that OpenCC's own tables leave alone or map away from
// Unihan's simplified form, sorted by the traditional character. The union over the Unicode
// releases of the supported Debian releases, so a name converts alike on each (15.0 has
// 灠 → 漤, 15.1 only 衹 → 只). Made by tools/simplifiedextras.
std::span<const SimplifiedPair> simplifiedExtras();

} // namespace tolvane
