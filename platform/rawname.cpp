#include "platform/rawname.h"

#include "platform/utf8.h"

#include <QStringDecoder>
#include <algorithm>

namespace tolvane {
namespace {

// QString::fromUtf8 drops a leading byte-order mark, which is part of a name like any other
// character.
QString decoded(const QByteArray &utf8)
{
    if (!utf8.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(utf8);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

char32_t codePoint(const char *bytes, int n)
{
    const auto b = [bytes](int k) { return static_cast<unsigned char>(bytes[k]); };
    char32_t c = n == 1 ? b(0) : b(0) & (0xFF >> (n + 1));
    for (int k = 1; k < n; ++k)
        c = (c << 6) | (b(k) & 0x3F);
    return c;
}

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

void appendOctal(QString &text, unsigned char byte)
{
    // Always three digits, so that a digit after it is not read as part of it.
    const char digits[] = {'\\', char('0' + (byte >> 6)), char('0' + ((byte >> 3) & 7)),
                           char('0' + (byte & 7)), '\0'};
    text.append(QLatin1String(digits));
}

bool needsQuoting(const QByteArray &raw)
{
    if (raw.startsWith("$'"))
        return true;
    for (qsizetype i = 0; i < raw.size();) {
        const int n = utf8SequenceLength(raw.constData() + i, raw.size() - i);
        if (n == 0)
            return true;
        const char32_t c = codePoint(raw.constData() + i, n);
        if (isEscapedCharacter(c))
            return true;
        i += n;
    }
    return false;
}

} // namespace

bool isEscapedCharacter(char32_t c)
{
    // Bidirectional controls reorder the text after them: a name could pass for another.
    return isControl(c) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool isValidUtf8(const QByteArray &raw)
{
    for (qsizetype i = 0; i < raw.size();) {
        const int n = utf8SequenceLength(raw.constData() + i, raw.size() - i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

QString nameText(const QByteArray &raw)
{
    if (isValidUtf8(raw))
        return decoded(raw);
    QByteArray escaped;
    escaped.reserve(raw.size() * 2);
    for (qsizetype i = 0; i < raw.size();) {
        const int n = utf8SequenceLength(raw.constData() + i, raw.size() - i);
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
    return decoded(escaped);
}

QString displayName(const QByteArray &raw)
{
    if (!needsQuoting(raw))
        return decoded(raw);
    QString text = QStringLiteral("$'");
    for (qsizetype i = 0; i < raw.size();) {
        const char *at = raw.constData() + i;
        const int n = utf8SequenceLength(at, raw.size() - i);
        const char32_t c = n == 0 ? 0 : codePoint(at, n);
        i += std::max(n, 1);
        if (c == '\n')
            text.append(u"\\n");
        else if (c == '\t')
            text.append(u"\\t");
        else if (c == '\r')
            text.append(u"\\r");
        else if (c == '\\' || c == '\'')
            text.append(u'\\').append(QChar(char16_t(c)));
        else if (n == 0 || isControl(c))
            for (int k = 0; k < std::max(n, 1); ++k)
                appendOctal(text, static_cast<unsigned char>(at[k]));
        else if (isEscapedCharacter(c))
            text.append(u"\\u").append(QString::number(uint(c), 16).toUpper());
        else
            text.append(QString::fromUcs4(&c, 1));
    }
    return text.append(u'\'');
}

bool isSingleName(const QByteArray &name)
{
    return !name.isEmpty() && !name.contains('/') && !name.contains('\0') && name != "." &&
           name != "..";
}

QByteArray joinPath(const QByteArray &folder, const QByteArray &name)
{
    if (folder.endsWith('/'))
        return folder + name;
    return folder + '/' + name;
}

} // namespace tolvane
