#pragma once

#include "engine/conversion/conversionprofile.h"

#include <QString>

namespace tolvane {

// The two form-level values of the traditional-to-simplified tab. The working form owns them
// and empties them when it loads; FToJ writes ConvertedName and the conversions read it.
// profile is the tab's choice of dictionaries, which the form keeps.
struct ConversionState
{
    QString NameToConvert;
    QString ConvertedName;
    ConversionProfile profile = ConversionProfile::T2s;
};

} // namespace tolvane
