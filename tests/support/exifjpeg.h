#pragma once

#include <QByteArray>

namespace tolvane::test {

// The headers of a JPEG as a camera writes them (JFIF, then Exif) holding `date` under the Exif
// tag `tag` (0x9003, DateTimeOriginal, unless told), ending where the image data would start.
inline QByteArray exifJpeg(const QByteArray &date, quint16 tag = 0x9003)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    const auto u16 = [&tiff](quint32 v) { tiff.append(char(v & 0xff)).append(char(v >> 8)); };
    const auto entry = [&](quint32 id, quint32 type, quint32 count, quint32 value) {
        for (const quint32 v : {1u, id, type, count & 0xffff, count >> 16, value, 0u, 0u, 0u})
            u16(v); // one entry, then no further directory
    };
    entry(0x8769, 4, 1, 26);                     // the Exif directory, right after this one
    entry(tag, 2, quint32(date.size() + 1), 44); // the date, right after that one
    tiff += date + '\0';
    const QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    const qsizetype length = app1.size() + 2;
    return QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0\1\1\0\0\1\0\1\0\0\xff\xe1", 22) +
           char(length >> 8) + char(length & 0xff) + app1 + "\xff\xd9";
}

} // namespace tolvane::test
