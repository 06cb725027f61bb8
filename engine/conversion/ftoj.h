#pragma once

#include "engine/conversion/conversionstate.h"

#include <QString>

namespace tolvane {

// The simplified form of s in the state's profile (see simplifiedText), also stored in
// state.ConvertedName, where the form's handlers read it.
QString FToJ(const QString &s, ConversionState &state);

// text4's Change: remembers text4's text as NameToConvert and returns what text5 shows.
QString simplifiedPreview(const QString &text4Text, ConversionState &state);

} // namespace tolvane
