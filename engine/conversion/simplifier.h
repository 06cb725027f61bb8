#pragma once

#include "engine/conversion/conversionprofile.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <string>

namespace tolvane {

class OpenccConversion;

// Traditional-to-simplified conversion of names. Every code point keeps its place: the result
// has exactly as many code points as the input, so a name keeps its shape and its extension.
// Only a converter made to replace words (Taiwan's 演算法 by the mainland's 算法) lets a phrase
// change its length; characters outside phrases still keep their places.
// Characters without a simplified form stay; text that is not valid UTF-8 is returned as it is.
class Simplifier
{
public:
    enum class Phrases { KeepLength, ReplaceWords };
    // Loads an OpenCC configuration: a path, or a name OpenCC finds in its own data folder.
    explicit Simplifier(const std::string &config, Phrases phrases = Phrases::KeepLength);
    ~Simplifier();
    Simplifier(const Simplifier &) = delete;
    Simplifier &operator=(const Simplifier &) = delete;

    // The program's converter for a profile, over the dictionaries it ships, loaded once on
    // first use.
    static const Simplifier &shared(ConversionProfile profile = ConversionProfile::T2s);
    // The configuration file of a profile in the program's dictionary folder.
    static std::string configPath(ConversionProfile profile);

    bool isReady() const { return m_conversion != nullptr; }
    // Why the dictionaries could not be loaded; empty when ready. Until then nothing converts.
    QString errorText() const { return m_errorText; }

    QByteArray simplify(const QByteArray &utf8) const;
    QString simplify(const QString &text) const;

private:
    std::string convertWords(const std::string &text) const;

    std::unique_ptr<const OpenccConversion> m_conversion;
    QString m_errorText;
    Phrases m_phrases;
};

} // namespace tolvane
