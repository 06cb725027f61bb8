#pragma once

#include "platform/utf8.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace tolvane {

// The length of the UTF-8 sequence at i; the text is known to be valid UTF-8, but a stray
// byte would still be stepped over, one at a time.
inline int sequenceAt(const std::string_view text, size_t i)
{
    return std::max(1, utf8SequenceLength(text.data() + i, qsizetype(text.size() - i)));
}

inline size_t codePoints(const char *text, size_t size)
{
    return std::count_if(text, text + size,
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

inline size_t codePoints(const std::string &text)
{
    return codePoints(text.data(), text.size());
}

} // namespace tolvane
