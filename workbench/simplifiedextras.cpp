// Made by tools/simplifiedextras from Unihan's kSimplifiedVariant and OpenCC's t2s tables.
// Remake it with that tool rather than editing it.
#include "workbench/simplifiedextras.h"

#include <array>

namespace tolvane {
namespace {

constexpr std::array<SimplifiedPair, 16> kExtras = {{
    {0x551A, 0x5423}, // 唚 → 吣
    {0x57B5, 0x57EF}, // 垵 → 埯
    {0x596C, 0x5968}, // 奬 → 奨
    {0x5DB4, 0x5C99}, // 嶴 → 岙
    {0x5E7A, 0x4E48}, // 幺 → 么
    {0x5F5E, 0x5F5D}, // 彞 → 彝
    {0x7060, 0x6F24}, // 灠 → 漤
    {0x7A6D, 0x7A06}, // 穭 → 稆
    {0x894C, 0x891D}, // 襌 → 褝
    {0x8A17, 0x8BAC}, // 託 → 讬
    {0x8AEE, 0x8C18}, // 諮 → 谘
    {0x9245, 0x949C}, // 鉅 → 钜
    {0x962A, 0x5742}, // 阪 → 坂
    {0x9780, 0x9F17}, // 鞀 → 鼗
    {0x9E7C, 0x7877}, // 鹼 → 硷
    {0x9EB4, 0x9EB9}, // 麴 → 麹
}};

} // namespace

std::span<const SimplifiedPair> simplifiedExtras()
{
    return kExtras;
}

} // namespace tolvane
