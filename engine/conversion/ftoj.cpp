#include "engine/conversion/ftoj.h"

#include "engine/conversion/simplifier.h"

namespace tolvane {

QString FToJ(const QString &s, ConversionState &state)
{
    state.ConvertedName = Simplifier::shared().simplify(s);
    return state.ConvertedName;
}

QString simplifiedPreview(const QString &text4Text, ConversionState &state)
{
    state.NameToConvert = text4Text;
    return FToJ(state.NameToConvert, state);
}

} // namespace tolvane
