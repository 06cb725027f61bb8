#pragma once

#include <span>

namespace tolvane {

struct SimplifiedPair
{
    char32_t traditional;
    char32_t simplified;
};

// Traditional characters of code page 936 that OpenCC's own tables leave alone or map away from
// Unihan's simplified form, sorted by the traditional character. Made by tools/simplifiedextras.
std::span<const SimplifiedPair> simplifiedExtras();

} // namespace tolvane
