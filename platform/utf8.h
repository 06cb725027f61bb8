#pragma once

#include <QtGlobal>

namespace tolvane {

// Length of the valid UTF-8 sequence that starts at text, with `left` bytes from there to the
// end; 0 where the bytes are not one (overlong forms, surrogates and values past U+10FFFF
// included).
inline int utf8SequenceLength(const char *text, qsizetype left)
{
    const auto b = [text](int k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = b(0);
    if (c < 0x80)
        return 1;
    int n;
    unsigned int cp;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (n > left)
        return 0;
    for (int k = 1; k < n; ++k) {
        if ((b(k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(k) & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

} // namespace tolvane
