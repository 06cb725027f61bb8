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

QFont testFont(const QString &family, double size, QFont::Weight weight = QFont::Normal)
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
        QTest::newRow("system colour") << QVariant(qint32(0x8000000F)) << QVariant(0);
        QTest::newRow("double") << QVariant(2.5) << QVariant(1.0);
        QTest::newRow("infinity") << QVariant(-qInf()) << QVariant(1.0);
        QTest::newRow("string") << QVariant(QStringLiteral("新名#")) << QVariant(QString());
        QTest::newRow("font") << QVariant(testFont(u"宋体"_qs, 9, QFont::Bold))
                              << QVariant(testFont(u"Tahoma"_qs, 8.25));
        QTest::newRow("picture") << QVariant(testPicture()) << QVariant(QImage());
        QTest::newRow("no picture") << QVariant(QImage()) << QVariant(testPicture());
    }
    void roundTripsThroughJson()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, defaultValue);
        PropertyBag bag;
        bag.write(u"Entry"_qs, value, defaultValue);
        const QVariant read = roundTrip(bag).read(u"eNTRY", defaultValue);
        QCOMPARE(read.typeId(), defaultValue.typeId());
        QCOMPARE(read, value);
    }

    void fontKeepsItsCharacterSet()
    {
        PropertyBag bag;
        bag.write(u"Font"_qs, testFont(u"宋体"_qs, 9), QFont());
        QCOMPARE(bag.toJson().value(u"Font").toObject().value(u"charset").toInt(), 134);
    }

    void leavesOutDefaults_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("defaultValue");
        QTest::newRow("bool") << QVariant(true) << QVariant(true);
        QTest::newRow("1.0 and int16 1") << QVariant(1.0) << QVariant::fromValue<qint16>(1);
        QTest::newRow("font") << QVariant(testFont(u"Tahoma"_qs, 8.25))
                              << QVariant(testFont(u"Tahoma"_qs, 8.25));
    }
    void leavesOutDefaults()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, defaultValue);
        PropertyBag bag;
        bag.write(u"Old"_qs, QVariant(7), QVariant(0));
        bag.write(u"x"_qs, QVariant(u"stale"_qs), QVariant(QString()));
        // A default written over an earlier value must not let the earlier one come back.
        bag.write(u"X"_qs, value, defaultValue);
        QCOMPARE(bag.names(), QStringList{u"Old"_qs});
    }

    void unfitValuesReadAsDefault_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QVariant>("defaultValue");
        QTest::newRow("int16 overflow") << QByteArray("40000") << QVariant::fromValue<qint16>(3);
        QTest::newRow("fraction as int32") << QByteArray("1.5") << QVariant(3);
        QTest::newRow("text as bool") << QByteArray("\"yes\"") << QVariant(true);
        QTest::newRow("number as text") << QByteArray("12") << QVariant(u"d"_qs);
        QTest::newRow("font without name") << QByteArray(R"({"size": 9})") << QVariant(QFont());
        QTest::newRow("picture not png") << QByteArray("\"AAAA\"") << QVariant(testPicture());
    }
    void unfitValuesReadAsDefault()
    {
        QFETCH(QByteArray, json);
        QFETCH(QVariant, defaultValue);
        const auto object = QJsonDocument::fromJson("{\"v\": " + json + "}").object();
        QCOMPARE(PropertyBag::fromJson(object).read(u"v", defaultValue), defaultValue);
    }

    void storedFormFindsInstancesByName()
    {
        const QJsonObject text1{
            {u"Text"_qs, u"a"_qs}, {u"_ExtentX"_qs, 2143}, {u"_ExtentY"_qs, 582}};
        const QJsonObject root{{u"text1"_qs, text1}, {u"Command1"_qs, QJsonObject()}};
        const auto form = StoredForm::fromJson(QJsonDocument(root).toJson());
        QVERIFY(form);
        QCOMPARE(form->find(u"TEXT1")->read(u"text", QString()), u"a"_qs);
        QCOMPARE(form->find(u"Text1")->extentPixels(), QSize(81, 22));
        QVERIFY(!form->find(u"text2"));
        const auto again = StoredForm::fromJson(form->toJson());
        QCOMPARE(again->instances(), form->instances());
        PropertyBag bag;
        bag.setExtentPixels({81, 22});
        QCOMPARE(bag.toJson(), (QJsonObject{{u"_extentx"_qs, 2143}, {u"_extenty"_qs, 582}}));
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
