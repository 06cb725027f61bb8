#include "engine/naming/serialnamer.h"

#include "engine/naming/serialformat.h"

#include <QVarLengthArray>

namespace tolvane {

SerialNamer::SerialNamer(const QByteArray &pattern, double start, const QString &format)
    : m_pieces(pattern.split('#')), m_start(start), m_format(format)
{
    for (const QByteArray &piece : std::as_const(m_pieces))
        m_piecesSize += piece.size();
}

QByteArray SerialNamer::newName(qsizetype index, const QByteArray &currentName) const
{
    QVarLengthArray<char, 2 * serialRoom> buffer(m_format.size() + serialRoom);
    const qsizetype serialSize =
        writeSerial(buffer.data(), static_cast<double>(index) + m_start, m_format.size());
    const QByteArrayView serial(buffer.data(), serialSize);
    const qsizetype dot = currentName.indexOf('.');
    const QByteArrayView extension =
        dot < 0 ? QByteArrayView() : QByteArrayView(currentName).sliced(dot);
    const qsizetype size = m_piecesSize + (m_pieces.size() - 1) * serialSize + extension.size();

    // The name's parts in order; only as many bytes as are kept are copied.
    const auto walk = [&](auto take) {
        for (qsizetype i = 0; i < m_pieces.size(); ++i) {
            if (i > 0 && !take(serial))
                return;
            if (!take(QByteArrayView(m_pieces[i])))
                return;
        }
        take(extension);
    };
    QByteArray name;
    if (size <= longest) {
        name.reserve(size);
        walk([&name](QByteArrayView part) {
            name.append(part);
            return true;
        });
        return name;
    }
    constexpr qsizetype half = longest / 2;
    name.reserve(longest);
    walk([&name](QByteArrayView part) {
        name.append(part.first(std::min(part.size(), half - name.size())));
        return name.size() < half;
    });
    // The tail: the parts from the end, skipping what lies before the last half.
    qsizetype skip = size - half;
    walk([&name, &skip](QByteArrayView part) {
        const qsizetype from = std::min(skip, part.size());
        skip -= from;
        name.append(part.sliced(from));
        return true;
    });
    return name;
}

} // namespace tolvane
