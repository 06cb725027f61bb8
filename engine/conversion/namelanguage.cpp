#include "engine/conversion/namelanguage.h"

#include <QList>
#include <algorithm>
#include <string_view>

namespace tolvane {
namespace {

// Shinjitai of OpenCC's JPShinjitaiCharacters that Chinese writes in neither its simplified nor
// its traditional forms, sorted. Left out: forms Chinese also uses (予, 呉, 兎, 皐, 茘, 鬪…).
constexpr std::u16string_view japaneseOnly =
    u"䀋両乗亀亜仏仮価値倶倹児円処剣剤剰労効勅勧勲単厳収呪唖営噛団囲図圏圧塁塩増壊壌壱"
    u"売変奨姉姫嬢実寛対専尭巌巣巻帯帰庁広廃弐弾従徳徴応恵悩悪懐戦戸戻払抜択拝拠拡挙挿"
    u"捜掲掻揺摂撃撹斉斎晩暁暦曽栄桜桝桟検楡楽様権歓歩歯歳歴毎気氷汚沢浄涙渇済渉渋渓満"
    u"溌滝瀬焔焼犠猟獣畳痩発県砕稲穂穏穣竃竜粋粛粧経絵継続総縁縄縦繊繋繍聡聴脳臓舎舗艶"
    u"荘蔵薫薬蛍蝋覇覚覧観訳読譲賛転軽輌辺逓遅郷酔醗醤醸釈鉄鉱銭鋳錬関闘陥険隠隣雑霊頼"
    u"顕駅駆駈騒験髄髪鴎鶏鹸黒黙齢";

bool isKana(char32_t c)
{
    // The katakana middle dot (U+30FB) also separates the parts of Chinese names.
    return (c >= 0x3041 && c <= 0x30FF && c != 0x30FB) || (c >= 0x31F0 && c <= 0x31FF) ||
           (c >= 0xFF66 && c <= 0xFF9D);
}

bool isHangul(char32_t c)
{
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3131 && c <= 0x318E) ||
           (c >= 0xA960 && c <= 0xA97F) || (c >= 0xAC00 && c <= 0xD7FF);
}

bool isJapaneseOnly(char32_t c)
{
    return c <= 0xFFFF && std::binary_search(japaneseOnly.begin(), japaneseOnly.end(), char16_t(c));
}

} // namespace

NameLanguage nameLanguage(const QByteArray &name)
{
    // Bytes that are not UTF-8 decode to U+FFFD, which is neither.
    for (const uint c : QString::fromUtf8(name).toUcs4()) {
        if (isKana(c) || isJapaneseOnly(c))
            return NameLanguage::Japanese;
        if (isHangul(c))
            return NameLanguage::Korean;
    }
    return NameLanguage::Other;
}

QString leftAloneReason(NameLanguage language)
{
    switch (language) {
    case NameLanguage::Japanese:
        return QStringLiteral("日文名，未转换");
    case NameLanguage::Korean:
        return QStringLiteral("韩文名，未转换");
    case NameLanguage::Other:
        break;
    }
    return {};
}

} // namespace tolvane
