#pragma once

#include <string>

namespace tolvane {

// OpenCC's part of a conversion: the library lives in a module of its own
// (openccmodule.cpp), loaded when a name is first converted. Both throw std::exception on
// whatever OpenCC throws.
class OpenccConversion
{
public:
    virtual ~OpenccConversion() = default;
    // Phrase by phrase; a phrase whose simplified form has another length goes character by
    // character unless `replaceWords`. OpenCC reads the text as a C string: it ends at a NUL.
    virtual std::string convertRun(const std::string &text, bool replaceWords) const = 0;
    // Character by character, so that every code point keeps its place.
    virtual std::string convertCharacters(const char *text, size_t size) const = 0;
};

// The module's one entry point: the conversion of an OpenCC configuration (its JSON text, and
// the folder its dictionaries are found in), or null with the reason in `error`.
using OpenccFactory = OpenccConversion *(*)(const std::string &json, const std::string &folder,
                                            std::string &error);

} // namespace tolvane
