#include "tools/unihan/unihanvariants.h"

#include <QProcess>
#include <iconv.h>

namespace tolvane {
namespace {

// "U+5F8C" -> 0x5F8C; 0 for anything else.
char32_t codePoint(const QByteArray &field)
{
    if (!field.startsWith("U+"))
        return 0;
    bool ok = false;
    const uint value = field.mid(2).toUInt(&ok, 16);
    return ok ? char32_t(value) : 0;
}

// Asks glibc's converter whether a code page has a byte sequence for a character.
class CodePage
{
public:
    explicit CodePage(const char *name) : m_handle(::iconv_open(name, "UTF-32LE")) {}
    ~CodePage()
    {
        if (m_handle != reinterpret_cast<iconv_t>(-1))
            ::iconv_close(m_handle);
    }
    CodePage(const CodePage &) = delete;
    CodePage &operator=(const CodePage &) = delete;

    bool holds(char32_t c) const
    {
        if (m_handle == reinterpret_cast<iconv_t>(-1))
            return false;
        char in[4] = {char(c & 0xFF), char((c >> 8) & 0xFF), char((c >> 16) & 0xFF), 0};
        char out[8];
        char *inPtr = in;
        char *outPtr = out;
        size_t inLeft = sizeof in;
        size_t outLeft = sizeof out;
        ::iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        return ::iconv(m_handle, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1);
    }

private:
    iconv_t m_handle;
};

// GB 2312 is the standard set of simplified characters, the core of code page 936.
const CodePage &gb2312()
{
    static const CodePage table("GB2312");
    return table;
}

} // namespace

bool UnihanVariants::isStandardSimplified(char32_t c)
{
    return gb2312().holds(c);
}

bool UnihanVariants::accepts(const Traditional &entry, char32_t result)
{
    return entry.simplified.contains(result) ||
           (result != entry.character && isStandardSimplified(result));
}

bool UnihanVariants::load(const QString &path)
{
    QProcess bzcat;
    bzcat.start(QStringLiteral("bzcat"), {path});
    if (!bzcat.waitForFinished(60000) || bzcat.exitStatus() != QProcess::NormalExit ||
        bzcat.exitCode() != 0) {
        m_errorText = QStringLiteral("bzcat %1 failed: %2")
                          .arg(path, QString::fromLocal8Bit(bzcat.readAllStandardError()));
        return false;
    }
    m_variants.clear();
    const QByteArray text = bzcat.readAllStandardOutput();
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3 || fields[1] != "kSimplifiedVariant")
            continue;
        QList<char32_t> &simplified = m_variants[codePoint(fields[0])];
        for (const QByteArray &value : fields[2].split(' '))
            simplified.append(codePoint(value));
    }
    if (m_variants.empty()) {
        m_errorText = QStringLiteral("%1 holds no kSimplifiedVariant").arg(path);
        return false;
    }
    return true;
}

QList<UnihanVariants::Traditional> UnihanVariants::traditionalInGbk() const
{
    const CodePage gbk("GBK");
    QList<Traditional> result;
    for (const auto &[character, variants] : m_variants) {
        if (variants.contains(character) || !gbk.holds(character) ||
            isStandardSimplified(character))
            continue;
        Traditional entry{character, {}};
        for (const char32_t simplified : variants) {
            if (gbk.holds(simplified))
                entry.simplified.append(simplified);
        }
        if (!entry.simplified.isEmpty())
            result.append(entry);
    }
    return result;
}

} // namespace tolvane
