#include "platform/rawname.h"

#include <QStringDecoder>

namespace tolvane {
namespace {

// Length of the valid UTF-8 sequence starting at i, or 0 if the bytes there are not one.
int sequenceLength(const QByteArray &s, qsizetype i)
{
    const auto b = [&](qsizetype k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
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
    if (i + n > s.size())
        return 0;
    for (int k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

} // namespace

bool isValidUtf8(const QByteArray &raw)
{
    for (qsizetype i = 0; i < raw.size();) {
        const int n = sequenceLength(raw, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

QString displayName(const QByteArray &raw)
{
    if (isValidUtf8(raw))
        return QString::fromUtf8(raw);
    QByteArray escaped;
    escaped.reserve(raw.size() * 2);
    for (qsizetype i = 0; i < raw.size();) {
        const int n = sequenceLength(raw, i);
        if (n > 0) {
            escaped.append(raw.constData() + i, n);
            i += n;
        } else {
            escaped.append("\\x");
            escaped.append(QByteArray::number(static_cast<unsigned char>(raw[i]), 16)
                               .rightJustified(2, '0')
                               .toUpper());
            ++i;
        }
    }
    return QString::fromUtf8(escaped);
}

QByteArray joinPath(const QByteArray &folder, const QByteArray &name)
{
    if (folder.endsWith('/'))
        return folder + name;
    return folder + '/' + name;
}

} // namespace tolvane
