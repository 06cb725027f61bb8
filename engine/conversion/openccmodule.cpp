// OpenCC behind the program's conversions, a module of its own: a run that converts no name
// does not load the library nor its own dependencies.
#include "engine/conversion/codepoints.h"
#include "engine/conversion/openccconversion.h"

#include <cstring>
#include <exception>
#include <opencc/Config.hpp>
#include <opencc/Conversion.hpp>
#include <opencc/ConversionChain.hpp>
#include <opencc/Converter.hpp>
#include <opencc/DictEntry.hpp>
#include <opencc/DictGroup.hpp>
#include <opencc/Exception.hpp>
#include <opencc/Segmentation.hpp>
#include <opencc/Segments.hpp>
#include <stdexcept>
#include <vector>

namespace tolvane {
namespace {

void flatten(const opencc::DictPtr &dict, std::vector<opencc::DictPtr> &out)
{
    if (const auto group = std::dynamic_pointer_cast<opencc::DictGroup>(dict)) {
        for (const opencc::DictPtr &member : group->GetDicts())
            flatten(member, out);
    } else {
        out.push_back(dict);
    }
}

// OpenCC's exceptions are no std::exception, and the program does not know their type.
template <typename Call> auto rethrown(Call call)
{
    try {
        return call();
    } catch (const opencc::Exception &e) {
        throw std::runtime_error(e.what());
    }
}

class Opencc final : public OpenccConversion
{
public:
    Opencc(const std::string &json, const std::string &folder)
    {
        opencc::Config loader;
        m_converter = loader.NewFromString(json, folder);
        for (const opencc::ConversionPtr &step :
             m_converter->GetConversionChain()->GetConversions())
            flatten(step->GetDict(), m_characterSteps.emplace_back());
    }

    std::string convertRun(const std::string &text, bool replaceWords) const override
    {
        return rethrown([&] { return runOf(text, replaceWords); });
    }

    std::string convertCharacters(const char *text, size_t size) const override
    {
        return rethrown([&] { return charactersOf(text, size); });
    }

private:
    // Phrases give better names (乾隆 stays, 瞭解 becomes 了解), but a phrase whose simplified
    // form is longer or shorter would move the characters after it.
    std::string runOf(const std::string &text, bool replaceWords) const
    {
        const opencc::SegmentsPtr segments = m_converter->GetSegmentation()->Segment(text);
        const opencc::SegmentsPtr converted = m_converter->GetConversionChain()->Convert(segments);
        if (converted->Length() != segments->Length())
            return charactersOf(text.data(), text.size());
        std::string out;
        out.reserve(text.size());
        for (size_t i = 0; i < segments->Length(); ++i) {
            const char *in = segments->At(i);
            const char *got = converted->At(i);
            const size_t inSize = std::strlen(in);
            if (replaceWords || codePoints(in, inSize) == codePoints(got, std::strlen(got)))
                out += got;
            else
                out += charactersOf(in, inSize);
        }
        return out;
    }

    // Each step takes the first of its dictionaries that has a single character for the
    // character: a phrase table that lengthens a character must not hide the character table
    // behind it.
    std::string charactersOf(const char *text, size_t size) const
    {
        std::string out;
        out.reserve(size);
        for (size_t i = 0; i < size;) {
            const int n = sequenceAt({text, size}, i);
            std::string character(text + i, n);
            for (const auto &dicts : m_characterSteps) {
                for (const opencc::DictPtr &dict : dicts) {
                    const auto entry = dict->Match(character);
                    if (entry.IsNull())
                        continue;
                    if (std::string value = entry.Get()->GetDefault(); codePoints(value) == 1) {
                        character = std::move(value);
                        break;
                    }
                }
            }
            out += character;
            i += n;
        }
        return out;
    }

    opencc::ConverterPtr m_converter;
    // Per conversion step, its dictionaries in lookup order, for one character at a time.
    std::vector<std::vector<opencc::DictPtr>> m_characterSteps;
};

} // namespace
} // namespace tolvane

// What engine/conversion/simplifier.cpp finds in the module.
extern "C" __attribute__((visibility("default"))) tolvane::OpenccConversion *
tolvane_opencc_conversion(const std::string &json, const std::string &folder, std::string &error)
{
    try {
        return new tolvane::Opencc(json, folder);
    } catch (const opencc::Exception &e) {
        error = e.what();
    } catch (const std::exception &e) {
        error = e.what();
    }
    return nullptr;
}
