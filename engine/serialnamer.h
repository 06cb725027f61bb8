#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace tolvane {

// Makes the new names of one batch: the pattern with every "#" replaced by the file's serial,
// plus the bytes after the first "." of its current name (nothing when it has no ".").
class SerialNamer
{
public:
    // Serials run from start upwards, written with the format (see FormatSerial).
    SerialNamer(const QString &pattern, double start, const QString &format);

    // The new name of the file at that 0-based place in the list.
    QByteArray newName(qsizetype index, const QByteArray &currentName) const;

private:
    QByteArrayList m_pieces; // the pattern's UTF-8 between its "#"s, cut once for all files
    qsizetype m_piecesSize = 0;
    double m_start = 0;
    QString m_format;
};

} // namespace tolvane
