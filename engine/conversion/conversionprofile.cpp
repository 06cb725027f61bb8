#include "engine/conversion/conversionprofile.h"

#include <array>

namespace tolvane {
namespace {

constexpr std::array keys = {u"t2s", u"tw2s", u"hk2s", u"tw2sp"};

} // namespace

QString profileKey(ConversionProfile profile)
{
    return QString::fromUtf16(keys[size_t(profile)]);
}

std::optional<ConversionProfile> profileFromKey(const QString &key)
{
    for (size_t i = 0; i < keys.size(); ++i)
        if (key == QStringView(keys[i]))
            return ConversionProfile(i);
    return std::nullopt;
}

} // namespace tolvane
