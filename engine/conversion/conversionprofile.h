#pragma once

#include <QString>
#include <optional>

namespace tolvane {

// Which traditional Chinese a name is read as: each has its own dictionaries.
enum class ConversionProfile {
    T2s,   // OpenCC's traditional forms
    Tw2s,  // Taiwan's standard forms
    Hk2s,  // Hong Kong's forms
    Tw2sp, // Taiwan's forms and phrases (軟體 → 软件)
};

// "t2s", "tw2s", "hk2s", "tw2sp": the command line's words and the configurations' names.
QString profileKey(ConversionProfile profile);
std::optional<ConversionProfile> profileFromKey(const QString &key);

} // namespace tolvane
