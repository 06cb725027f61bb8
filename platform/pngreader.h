#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace tolvane {

// Decodes a PNG file or buffer with Qt's own PNG reader alone. A reader left to guess the
// format asks every image plugin first, which loads them all (and the libraries behind them)
// before the first picture is drawn. error, when given, says why a null image came back.
QImage readPng(const QString &path, QString *error = nullptr);
QImage decodePng(QByteArrayView data);

} // namespace tolvane
