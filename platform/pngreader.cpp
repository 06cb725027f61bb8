#include "platform/pngreader.h"

#include <QBuffer>
#include <QImageReader>

namespace tolvane {
namespace {

QImage readFrom(QImageReader &reader, QString *error)
{
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull() && error)
        *error = reader.errorString();
    return image;
}

} // namespace

QImage readPng(const QString &path, QString *error)
{
    QImageReader reader(path, "png");
    return readFrom(reader, error);
}

QImage decodePng(QByteArrayView data)
{
    QByteArray bytes = QByteArray::fromRawData(data.data(), data.size());
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "png");
    return readFrom(reader, nullptr);
}

} // namespace tolvane
