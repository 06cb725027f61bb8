#pragma once

#include <QList>
#include <QString>
#include <map>

namespace tolvane {

// Unihan's simplified variants (kSimplifiedVariant), narrowed to what code page 936 can hold:
// the data that decides which traditional characters the name conversion must cover.
class UnihanVariants
{
public:
    struct Traditional
    {
        char32_t character;
        QList<char32_t> simplified; // the forms code page 936 holds, in Unihan's order
    };

    // Reads the bzip2-compressed Unihan_Variants.txt through bzcat; false with errorText() on
    // failure.
    bool load(const QString &path = QStringLiteral("/usr/share/unicode/Unihan_Variants.txt.bz2"));
    QString errorText() const { return m_errorText; }

    // Characters code page 936 holds that are not their own simplified variant, have at least
    // one simplified variant it holds too, and are not standard simplified characters
    // themselves (幺 and 阪 stay as they are), in code point order.
    QList<Traditional> traditionalInGbk() const;

    // Whether c is in GB 2312, the standard set of simplified characters.
    static bool isStandardSimplified(char32_t c);
    // Whether converting entry's character to result is right: one of Unihan's forms, or
    // another standard simplified character (OpenCC's 託 → 托 is what readers expect, not 讬).
    static bool accepts(const Traditional &entry, char32_t result);

private:
    std::map<char32_t, QList<char32_t>> m_variants;
    QString m_errorText;
};

} // namespace tolvane
