#include "controls/host/propertybag.h"
#include "controls/host/storedform.h"

#include <QFont>
#include <QImage>
#include <QJsonDocument>
#include <QTest>

using namespace tolvane;

namespace {

// Through the JSON text, as a form's data file carries it.
PropertyBag roundTrip(const PropertyBag &bag)
{
    const QByteArray json = QJsonDocument(bag.toJson()).toJson();
    return PropertyBag::fromJson(QJsonDocument::fromJson(json).object());
}

QImage testPicture()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(12, 34, 56));
    image.setPixel(2, 1, qRgb(200, 100, 0));
    return image;
}

QFont testFont(const QString &family, double size, QFont::Weight weight)
{
    QFont font(family);
    font.setPointSizeF(size);
    font.setWeight(weight);
    return font;
}

} // namespace

class TestPropertyBag : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripsThroughJson_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("defaultValue");
        QTest::newRow("bool") << QVariant(false) << QVariant(true);
        QTest::newRow("int16") << QVariant::fromValue<qint16>(-32768)
                               << QVariant::fromValue<qint16>(0);
        QTest::newRow("system colour")
            << QVariant::fromValue<qint32>(qint32(0x8000000F)) << QVariant::fromValue<qint32>(0);
        QTest::newRow("double") << QVariant(2.5) << QVariant(1.0);
        QTest::newRow("infinity") << QVariant(-qInf()) << QVariant(1.0);
        QTest::newRow("string") << QVariant(QStringLiteral("新名#")) << QVariant(QString());
        QTest::newRow("song") << QVariant(testFont(QStringLiteral("宋体"), 9, QFont::Bold))
                              << QVariant(testFont(QStringLiteral("Tahoma"), 8.25, QFont::Normal));
        QTest::newRow("picture") << QVariant(testPicture()) << QVariant(QImage());
        QTest::newRow("no picture") << QVariant(QImage()) << QVariant(testPicture());
    }
    void roundTripsThroughJson()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, defaultValue);
        PropertyBag bag;
        bag.write(QStringLiteral("Entry"), value, defaultValue);
        const PropertyBag back = roundTrip(bag);
        const QVariant read = back.read(u"eNTRY", defaultValue);
        QCOMPARE(read.typeId(), defaultValue.typeId());
        if (value.typeId() == QMetaType::QFont) {
            const auto font = read.value<QFont>();
            QCOMPARE(font.family(), QStringLiteral("宋体"));
            QCOMPARE(font.pointSizeF(), 9.0);
            QCOMPARE(font.weight(), QFont::Bold);
            QCOMPARE(back.toJson().value(u"Entry").toObject().value(u"charset").toInt(), 134);
        } else if (value.typeId() == QMetaType::QImage) {
            QCOMPARE(read.value<QImage>().convertToFormat(QImage::Format_RGB32),
                     value.value<QImage>());
        } else {
            QCOMPARE(read, value);
        }
    }

    void leavesOutDefaults_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("defaultValue");
        QTest::newRow("bool") << QVariant(true) << QVariant(true);
        QTest::newRow("1.0 and int16 1") << QVariant(1.0) << QVariant::fromValue<qint16>(1);
        QTest::newRow("font") << QVariant(testFont(QStringLiteral("Tahoma"), 8.25, QFont::Normal))
                              << QVariant(testFont(QStringLiteral("Tahoma"), 8.25, QFont::Normal));
    }
    void leavesOutDefaults()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, defaultValue);
        PropertyBag bag;
        bag.write(QStringLiteral("Old"), QVariant(7), QVariant(0));
        bag.write(QStringLiteral("x"), QVariant(QStringLiteral("stale")), QVariant(QString()));
        // A default written over an earlier value must not let the earlier one come back.
        bag.write(QStringLiteral("X"), value, defaultValue);
        QCOMPARE(bag.names(), QStringList{QStringLiteral("Old")});
        QCOMPARE(roundTrip(bag).read(u"x", defaultValue), defaultValue);
    }

    void unfitValuesReadAsDefault_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QVariant>("defaultValue");
        QTest::newRow("int16 overflow")
            << QByteArray(R"({"v": 40000})") << QVariant::fromValue<qint16>(3);
        QTest::newRow("fraction as int32") << QByteArray(R"({"v": 1.5})") << QVariant(3);
        QTest::newRow("text as bool") << QByteArray(R"({"v": "yes"})") << QVariant(true);
        QTest::newRow("number as text") << QByteArray(R"({"v": 12})") << QVariant(u"d"_qs);
        QTest::newRow("font without name")
            << QByteArray(R"({"v": {"size": 9}})") << QVariant(QFont(QStringLiteral("Tahoma")));
        QTest::newRow("picture not png")
            << QByteArray(R"({"v": "AAAA"})") << QVariant(testPicture());
    }
    void unfitValuesReadAsDefault()
    {
        QFETCH(QByteArray, json);
        QFETCH(QVariant, defaultValue);
        const auto bag = PropertyBag::fromJson(QJsonDocument::fromJson(json).object());
        QCOMPARE(bag.read(u"v", defaultValue), defaultValue);
    }

    void extentIsInHundredthsOfAMillimetre()
    {
        PropertyBag bag;
        bag.setExtentPixels({81, 22});
        QCOMPARE(bag.toJson().value(u"_extentx").toInt(), 2143);
        QCOMPARE(bag.toJson().value(u"_extenty").toInt(), 582);
        QCOMPARE(roundTrip(bag).extentPixels(), QSize(81, 22));
    }

    void storedFormFindsInstancesByName()
    {
        const QByteArray json = R"({"text1": {"Text": "a#", "_ExtentX": 2143, "_ExtentY": 582},
                                    "Command1": {}})";
        QString error;
        const auto form = StoredForm::fromJson(json, &error);
        QVERIFY2(form, qPrintable(error));
        QCOMPARE(form->find(u"TEXT1")->read(u"text", QString()), QStringLiteral("a#"));
        QCOMPARE(form->find(u"Text1")->extentPixels(), QSize(81, 22));
        QVERIFY(!form->find(u"text2"));
        const auto again = StoredForm::fromJson(form->toJson());
        QVERIFY(again);
        QCOMPARE(again->instances(), form->instances());
    }

    void storedFormRejectsMalformedData_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not json") << QByteArray("{");
        QTest::newRow("array") << QByteArray("[]");
        QTest::newRow("instance not an object") << QByteArray(R"({"text1": 5})");
    }
    void storedFormRejectsMalformedData()
    {
        QFETCH(QByteArray, json);
        QString error;
        QVERIFY(!StoredForm::fromJson(json, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPropertyBag)
#include "tst_propertybag.moc"
