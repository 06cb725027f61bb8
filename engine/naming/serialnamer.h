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
    // No name longer than this is built whole: no file system takes one, and a pattern of
    // thousands of "#" with a huge start would make names of megabytes.
    static constexpr qsizetype longest = 4096;

    // The pattern's bytes are kept as they are. Serials run from start upwards, written with
    // the format (see FormatSerial).
    SerialNamer(const QByteArray &pattern, double start, const QString &format);

    // The new name of the file at that 0-based place in the list. A name over `longest` bytes
    // comes back as its first and last longest / 2 bytes, still too long for any file system.
    QByteArray newName(qsizetype index, const QByteArray &currentName) const;

private:
    QByteArrayList m_pieces; // the pattern between its "#"s, cut once for all files
    qsizetype m_piecesSize = 0;
    double m_start = 0;
    QString m_format;
};

} // namespace tolvane
