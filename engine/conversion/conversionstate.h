#pragma once

#include <QString>

namespace tolvane {

// The two form-level values of the traditional-to-simplified tab. The working form owns them
// and empties them when it loads; FToJ writes ConvertedName and the conversions read it.
struct ConversionState
{
    QString NameToConvert;
    QString ConvertedName;
};

} // namespace tolvane
