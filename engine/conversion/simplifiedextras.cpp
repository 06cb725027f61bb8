// Made by tools/simplifiedextras from OpenCC's t2s tables and the union of the Unihan
// kSimplifiedVariant data of every supported release. Remake it with that tool rather
// than editing it.
#include "engine/conversion/simplifiedextras.h"

#include <array>

namespace tolvane {
namespace {

constexpr std::array<SimplifiedPair, 10> kExtras = {{
    {0x551A, 0x5423}, // 唚 → 吣
    {0x57B5, 0x57EF}, // 垵 → 埯
    {0x5DB4, 0x5C99}, // 嶴 → 岙
    {0x5F5E, 0x5F5D}, // 彞 → 彝
    {0x7060, 0x6F24}, // 灠 → 漤
    {0x7906, 0x7877}, // 礆 → 硷
    {0x7A6D, 0x7A06}, // 穭 → 稆
    {0x8879, 0x53EA}, // 衹 → 只
    {0x894C, 0x891D}, // 襌 → 褝
    {0x9780, 0x9F17}, // 鞀 → 鼗
}};

} // namespace

std::span<const SimplifiedPair> simplifiedExtras()
{
    return kExtras;
}

} // namespace tolvane
