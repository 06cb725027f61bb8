#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace opencc {
class Converter;
class Dict;
} // namespace opencc

namespace tolvane {

// Traditional-to-simplified conversion of names. Every code point keeps its place: the result
// has exactly as many code points as the input, so a name keeps its shape and its extension.
// Characters without a simplified form stay; text that is not valid UTF-8 is returned as it is.
class Simplifier
{
public:
    // Loads an OpenCC configuration: a path, or a name OpenCC finds in its own data folder.
    explicit Simplifier(const std::string &config);
    ~Simplifier();
    Simplifier(const Simplifier &) = delete;
    Simplifier &operator=(const Simplifier &) = delete;

    // The program's converter (OpenCC's phrase-aware t2s.json), loaded once on first use.
    static const Simplifier &shared();

    bool isReady() const { return m_converter != nullptr; }
    // Why the dictionaries could not be loaded; empty when ready. Until then nothing converts.
    QString errorText() const { return m_errorText; }

    QByteArray simplify(const QByteArray &utf8) const;
    QString simplify(const QString &text) const;

private:
    std::string convertRun(const std::string &text) const;
    std::string convertCharacters(const char *text, size_t size) const;

    std::shared_ptr<opencc::Converter> m_converter;
    // Per conversion step, its dictionaries in lookup order, for one character at a time.
    std::vector<std::vector<std::shared_ptr<opencc::Dict>>> m_characterSteps;
    QString m_errorText;
};

} // namespace tolvane
