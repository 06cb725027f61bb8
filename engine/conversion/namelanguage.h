#pragma once

#include <QByteArray>
#include <QString>

namespace tolvane {

// Japanese and Korean names hold kanji and hanja that the conversion would turn into simplified
// Chinese, leaving a name in no language: such names are told apart and left alone.
enum class NameLanguage { Other, Japanese, Korean };

// Kana, or a character form only Japanese writes (図, 駅, 広), make a name Japanese; hangul
// makes it Korean. Bytes that are not UTF-8 count for neither.
NameLanguage nameLanguage(const QByteArray &name);
// Why a conversion left a name of that language alone; empty for Other.
QString leftAloneReason(NameLanguage language);

} // namespace tolvane
