#include "engine/conversion/ftoj.h"

#include "engine/conversion/simplifyrename.h"

namespace tolvane {

QString FToJ(const QString &s, ConversionState &state)
{
    state.ConvertedName = simplifiedText(s, state.profile);
    return state.ConvertedName;
}

QString simplifiedPreview(const QString &text4Text, ConversionState &state)
{
    state.NameToConvert = text4Text;
    return FToJ(state.NameToConvert, state);
}

} // namespace tolvane
