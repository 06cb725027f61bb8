#include "platform/leadingnumber.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tolvane {
namespace {

bool isDigit(char c, int base)
{
    switch (base) {
    case 8:
        return c >= '0' && c <= '7';
    case 16:
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    default:
        return c >= '0' && c <= '9';
    }
}

double readInteger(const std::string &s, size_t pos, int base)
{
    double value = 0;
    for (; pos < s.size() && isDigit(s[pos], base); ++pos) {
        const char c = s[pos];
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = value * base + digit;
    }
    return value;
}

double readDecimal(const std::string &s)
{
    size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos] == '-';
        ++pos;
    }
    const size_t mantissaStart = pos;
    size_t digits = 0;
    bool seenPoint = false;
    for (; pos < s.size(); ++pos) {
        if (isDigit(s[pos], 10)) {
            ++digits;
        } else if (s[pos] == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return 0;
    size_t end = pos;
    if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e')) {
        size_t exp = pos + 1;
        if (exp < s.size() && (s[exp] == '+' || s[exp] == '-'))
            ++exp;
        if (exp < s.size() && isDigit(s[exp], 10)) {
            while (exp < s.size() && isDigit(s[exp], 10))
                ++exp;
            end = exp;
        }
    }

    const char *first = s.data() + mantissaStart;
    const char *last = s.data() + end;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone here; tell overflow from underflow by the exponent.
        const std::string_view text(first, last - first);
        const size_t e = text.find_first_of("Ee");
        const bool tiny = e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    }
    if (value == 0)
        return 0; // no negative zero
    return negative ? -value : value;
}

} // namespace

double leadingNumber(QStringView text)
{
    // Only ASCII can be part of a number; anything else ends it, so it is kept as a stop mark.
    std::string s;
    s.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n')
            continue;
        s.push_back(u < 0x80 ? static_cast<char>(u) : '\x01');
    }

    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h')
            return readInteger(s, 2, 16);
        if (s[1] == 'O' || s[1] == 'o')
            return readInteger(s, 2, 8);
        return 0;
    }
    return readDecimal(s);
}

} // namespace tolvane
