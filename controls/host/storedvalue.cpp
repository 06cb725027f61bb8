#include "controls/host/storedvalue.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QJsonObject>
#include <cmath>
#include <limits>

namespace tolvane {

namespace {

// Qt fonts carry no character set; the forms only use 宋体 (GB2312, 134) and Latin fonts (0),
// so the set is told from the family name to keep stored data stable across a round trip.
int charsetOf(const QFont &font)
{
    for (const QChar c : font.family())
        if (c.unicode() > 0x7F)
            return 134;
    return 0;
}

QJsonObject fontToJson(const QFont &font)
{
    return QJsonObject{
        {QStringLiteral("name"), font.family()},
        {QStringLiteral("size"), font.pointSizeF()},
        {QStringLiteral("weight"), font.weight()},
        {QStringLiteral("charset"), charsetOf(font)},
        {QStringLiteral("italic"), font.italic()},
        {QStringLiteral("underline"), font.underline()},
        {QStringLiteral("strikethrough"), font.strikeOut()},
    };
}

QVariant fontFromMap(const QVariantMap &map, const QVariant &defaultValue)
{
    const QString name = map.value(QStringLiteral("name")).toString();
    const double size = map.value(QStringLiteral("size")).toDouble();
    if (name.isEmpty() || !(size > 0))
        return defaultValue;
    QFont font(name);
    font.setPointSizeF(size);
    const int weight = map.value(QStringLiteral("weight"), 400).toInt();
    font.setWeight(static_cast<QFont::Weight>(qBound(1, weight, 1000)));
    font.setItalic(map.value(QStringLiteral("italic")).toBool());
    font.setUnderline(map.value(QStringLiteral("underline")).toBool());
    font.setStrikeOut(map.value(QStringLiteral("strikethrough")).toBool());
    return font;
}

QString pictureToBase64(const QImage &image)
{
    if (image.isNull())
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QString::fromLatin1(png.toBase64());
}

QVariant pictureFromBase64(const QString &text, const QVariant &defaultValue)
{
    if (text.isEmpty())
        return QImage();
    QImage image;
    if (!image.loadFromData(QByteArray::fromBase64(text.toLatin1()), "PNG"))
        return defaultValue;
    return image;
}

// JSON numbers are doubles; an integer property takes only whole numbers in its range.
template <typename Int> QVariant integerFrom(const QVariant &stored, const QVariant &defaultValue)
{
    bool ok = false;
    const double number = stored.toDouble(&ok);
    if (!ok || std::trunc(number) != number || number < std::numeric_limits<Int>::min() ||
        number > std::numeric_limits<Int>::max())
        return defaultValue;
    return QVariant::fromValue(static_cast<Int>(number));
}

QVariant doubleFrom(const QVariant &stored, const QVariant &defaultValue)
{
    bool ok = false;
    const double number = stored.typeId() == QMetaType::QString ? stored.toString().toDouble(&ok)
                                                                : stored.toDouble(&ok);
    return ok ? QVariant(number) : defaultValue;
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

} // namespace

QJsonValue storedToJson(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Short:
    case QMetaType::Int:
        return value.toInt();
    case QMetaType::Double: {
        const double d = value.toDouble();
        // JSON has no infinities; these spellings read back through QString::toDouble.
        if (std::isnan(d))
            return QStringLiteral("nan");
        if (std::isinf(d))
            return d < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
        return d;
    }
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QFont:
        return fontToJson(value.value<QFont>());
    case QMetaType::QImage:
        return pictureToBase64(value.value<QImage>());
    case QMetaType::QVariantMap:
        return QJsonObject::fromVariantMap(value.toMap());
    default:
        return QJsonValue::fromVariant(value);
    }
}

QVariant storedAs(const QVariant &stored, const QVariant &defaultValue)
{
    if (!stored.isValid())
        return defaultValue;
    switch (defaultValue.typeId()) {
    case QMetaType::Bool:
        return isNumber(stored) ? QVariant(stored.toDouble() != 0) : defaultValue;
    case QMetaType::Short:
        return isNumber(stored) ? integerFrom<qint16>(stored, defaultValue) : defaultValue;
    case QMetaType::Int:
        return isNumber(stored) ? integerFrom<qint32>(stored, defaultValue) : defaultValue;
    case QMetaType::Double:
        return isNumber(stored) || stored.typeId() == QMetaType::QString
                   ? doubleFrom(stored, defaultValue)
                   : defaultValue;
    case QMetaType::QString:
        return stored.typeId() == QMetaType::QString ? stored : defaultValue;
    case QMetaType::QFont:
        if (stored.typeId() == QMetaType::QFont)
            return stored;
        return stored.typeId() == QMetaType::QVariantMap ? fontFromMap(stored.toMap(), defaultValue)
                                                         : defaultValue;
    case QMetaType::QImage:
        if (stored.typeId() == QMetaType::QImage)
            return stored;
        return stored.typeId() == QMetaType::QString
                   ? pictureFromBase64(stored.toString(), defaultValue)
                   : defaultValue;
    default:
        return stored;
    }
}

} // namespace tolvane
