#include "platform/rawname.h"

#include "platform/utf8.h"

#include <QStringDecoder>

namespace tolvane {

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

QString displayName(const QByteArray &raw)
{
    if (isValidUtf8(raw))
        return QString::fromUtf8(raw);
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
    return QString::fromUtf8(escaped);
}

QByteArray joinPath(const QByteArray &folder, const QByteArray &name)
{
    if (folder.endsWith('/'))
        return folder + name;
    return folder + '/' + name;
}

} // namespace tolvane
