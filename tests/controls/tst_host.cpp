#include "controls/host/propertybag.h"
#include "controls/host/storedform.h"

#include <QFont>
#include <QImage>
#include <QJsonDocument>
#include <QTest>

using namespace tolvane;

namespace {

QImage testPicture()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(200, 100, 0));
    return image;
}

} // namespace

class TestHost : public QObject
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
        QTest::newRow("infinity") << QVariant(-qInf()) << QVariant(1.0);
        QTest::newRow("string") << QVariant(QStringLiteral("新名#")) << QVariant(QString());
        QTest::newRow("font") << QVariant(QFont(u"宋体"_qs, 9, QFont::Bold))
                              << QVariant(QFont(u"Tahoma"_qs, 8));
        QTest::newRow("picture") << QVariant(testPicture()) << QVariant(QImage());
    }
    void roundTripsThroughJson()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, defaultValue);
        PropertyBag bag;
        bag.write(u"Entry"_qs, value, defaultValue);
        // Through the JSON text, as a form's data file carries it.
        const QJsonDocument json = QJsonDocument::fromJson(QJsonDocument(bag.toJson()).toJson());
        const QVariant read = PropertyBag::fromJson(json.object()).read(u"eNTRY", defaultValue);
        QCOMPARE(read.typeId(), defaultValue.typeId());
        QCOMPARE(read, value);
        if (value.typeId() == QMetaType::QFont) // 宋体 is a GB2312 font
            QCOMPARE(bag.toJson().value(u"Entry").toObject().value(u"charset").toInt(), 134);
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
        PropertyBag bag;
        bag.setExtentPixels({81, 22});
        QCOMPARE(bag.toJson(), (QJsonObject{{u"_extentx"_qs, 2143}, {u"_extenty"_qs, 582}}));
        for (const char *malformed : {"{", "[]", "{\"text1\": 5}"}) {
            QString error;
            QVERIFY(!StoredForm::fromJson(malformed, &error) && !error.isEmpty());
        }
    }
};

QTEST_MAIN(TestHost)
#include "tst_host.moc"
