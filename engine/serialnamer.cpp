#include "engine/serialnamer.h"

#include "engine/serialformat.h"

#include <QVarLengthArray>

namespace tolvane {

SerialNamer::SerialNamer(const QString &pattern, double start, const QString &format)
    : m_start(start), m_format(format)
{
    for (const QString &piece : pattern.split(QLatin1Char('#'))) {
        m_pieces.append(piece.toUtf8());
        m_piecesSize += m_pieces.last().size();
    }
}

QByteArray SerialNamer::newName(qsizetype index, const QByteArray &currentName) const
{
    QVarLengthArray<char, 2 * serialRoom> buffer(m_format.size() + serialRoom);
    const qsizetype serialSize =
        writeSerial(buffer.data(), static_cast<double>(index) + m_start, m_format.size());
    const qsizetype dot = currentName.indexOf('.');
    const qsizetype extension = dot < 0 ? 0 : currentName.size() - dot;

    QByteArray name;
    name.reserve(m_piecesSize + (m_pieces.size() - 1) * serialSize + extension);
    for (qsizetype i = 0; i < m_pieces.size(); ++i) {
        if (i > 0)
            name.append(buffer.data(), serialSize);
        name.append(m_pieces[i]);
    }
    if (dot >= 0)
        name.append(currentName.constData() + dot, extension);
    return name;
}

} // namespace tolvane
