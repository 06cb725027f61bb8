#include "engine/conversion/simplifier.h"

#include "engine/conversion/codepoints.h"
#include "engine/conversion/openccconversion.h"
#include "engine/conversion/simplifiedextras.h"
#include "platform/programplace.h"
#include "platform/rawname.h"
#include "platform/shippedmodule.h"
#include "platform/utf8.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace tolvane {
namespace {

char32_t decode(const char *p, int n)
{
    char32_t cp = static_cast<unsigned char>(p[0]) & (0xFFu >> (n + 1));
    for (int k = 1; k < n; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(p[k]) & 0x3Fu);
    return cp;
}

void encode(char32_t cp, std::string &out)
{
    if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (cp & 0x3F));
}

char32_t extraFor(char32_t c)
{
    const auto extras = simplifiedExtras();
    const auto it = std::lower_bound(
        extras.begin(), extras.end(), c,
        [](const SimplifiedPair &pair, char32_t value) { return pair.traditional < value; });
    return it != extras.end() && it->traditional == c ? it->simplified : 0;
}

// The characters OpenCC misses take Unihan's form wherever they stand. The counts match, so
// the i-th code point of the result belongs to the i-th of the input.
std::string withExtras(const std::string &input, const std::string &converted)
{
    std::string out;
    out.reserve(converted.size());
    for (size_t i = 0, j = 0; i < input.size();) {
        const int n = sequenceAt(input, i);
        const int m = sequenceAt(converted, j);
        if (const char32_t extra = n > 1 ? extraFor(decode(&input[i], n)) : 0)
            encode(extra, out);
        else
            out.append(converted, j, m);
        i += n;
        j += m;
    }
    return out;
}

std::filesystem::path dictionaryFolder()
{
    return shippedFile(TOLVANE_OPENCC_BUILD_DIR, TOLVANE_OPENCC_INSTALL_DIR);
}

// The configuration with every dictionary named by its full path: a bare name may be found in
// the system's own OpenCC folder first (Debian 13's library looks there), whose older data
// would then convert instead of ours.
std::string withFullPaths(const std::string &config)
{
    std::ifstream in(config);
    std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.is_open())
        throw std::runtime_error(config + ": cannot be read");
    const std::string folder = std::filesystem::path(config).parent_path().string() + '/';
    for (size_t at = json.find("\"file\""); at != std::string::npos;
         at = json.find("\"file\"", at + 1)) {
        const size_t colon = json.find(':', at);
        const size_t quote = colon == std::string::npos ? colon : json.find('"', colon);
        if (quote == std::string::npos)
            break;
        if (json.compare(quote + 1, 1, "/") != 0)
            json.insert(quote + 1, folder);
    }
    return json;
}

bool isAscii(const QByteArray &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

struct OpenccModule
{
    OpenccFactory create = nullptr;
    QString why;
};

// Loaded at the first conversion, never before: OpenCC and its own libraries would otherwise
// sit in the memory of every run.
const OpenccModule &openccModule()
{
    static const OpenccModule module = [] {
        OpenccModule found;
        found.create = reinterpret_cast<OpenccFactory>(
            shippedModuleEntry(TOLVANE_OPENCC_MODULE_BUILT, TOLVANE_OPENCC_MODULE_INSTALLED,
                               "tolvane_opencc_conversion", found.why));
        return found;
    }();
    return module;
}

} // namespace

Simplifier::Simplifier(const std::string &config, Phrases phrases) : m_phrases(phrases)
{
    const OpenccModule &module = openccModule();
    if (!module.create) {
        m_errorText = QStringLiteral("繁简转换模块无法载入（%1）").arg(module.why);
        return;
    }
    std::string error;
    try {
        m_conversion.reset(module.create(
            withFullPaths(config), std::filesystem::path(config).parent_path().string(), error));
    } catch (const std::exception &e) {
        error = e.what();
    }
    if (!m_conversion)
        m_errorText = QString::fromLocal8Bit(error);
}

Simplifier::~Simplifier() = default;

namespace {

// Each profile's dictionaries load when it is first used.
template <ConversionProfile profile> const Simplifier &loaded()
{
    static const Simplifier converter(Simplifier::configPath(profile),
                                      profile == ConversionProfile::Tw2sp
                                          ? Simplifier::Phrases::ReplaceWords
                                          : Simplifier::Phrases::KeepLength);
    return converter;
}

} // namespace

const Simplifier &Simplifier::shared(ConversionProfile profile)
{
    switch (profile) {
    case ConversionProfile::Tw2s:
        return loaded<ConversionProfile::Tw2s>();
    case ConversionProfile::Hk2s:
        return loaded<ConversionProfile::Hk2s>();
    case ConversionProfile::Tw2sp:
        return loaded<ConversionProfile::Tw2sp>();
    case ConversionProfile::T2s:
        break;
    }
    return loaded<ConversionProfile::T2s>();
}

std::string Simplifier::configPath(ConversionProfile profile)
{
    return dictionaryFolder() / (profileKey(profile).toStdString() + ".json");
}

QByteArray Simplifier::simplify(const QByteArray &utf8) const
{
    if (!m_conversion || isAscii(utf8) || !isValidUtf8(utf8))
        return utf8;
    const std::string input = utf8.toStdString();
    try {
        if (m_phrases == Phrases::ReplaceWords)
            return QByteArray::fromStdString(convertWords(input));
        std::string converted = m_conversion->convertRun(input, false);
        // OpenCC reads C strings: a NUL in the text would cut it short.
        if (codePoints(converted) != codePoints(input))
            converted = m_conversion->convertCharacters(input.data(), input.size());
        return QByteArray::fromStdString(withExtras(input, converted));
    } catch (const std::exception &) {
        return utf8;
    }
}

QString Simplifier::simplify(const QString &text) const
{
    // A lone surrogate has no UTF-8 form; such a text is left as it is.
    if (!text.isValidUtf16())
        return text;
    return QString::fromUtf8(simplify(text.toUtf8()));
}

// Phrases may change their length here, so the extras go in before OpenCC rather than over its
// result; OpenCC reads C strings, so the text between NULs is converted piece by piece.
std::string Simplifier::convertWords(const std::string &text) const
{
    std::string out;
    for (size_t at = 0; at <= text.size();) {
        const size_t end = std::min(text.find('\0', at), text.size());
        const std::string piece = text.substr(at, end - at);
        out += m_conversion->convertRun(withExtras(piece, piece), true);
        if (end < text.size())
            out += '\0';
        at = end + 1;
    }
    return out;
}

} // namespace tolvane
