#include "controls/host/propertybag.h"
#include "controls/host/storedform.h"

#include <QFont>
#include <QJsonDocument>
#include <QTest>

using namespace tolvane;

class TestHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The kinds of value the stored form holds.
    void roundTripsThroughJson_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("defaultValue");
        QTest::newRow("string") << QVariant(QStringLiteral("新名#")) << QVariant(QString());
        QTest::newRow("font") << QVariant(QFont(u"宋体"_qs, 9, QFont::Bold))
                              << QVariant(QFont(u"Tahoma"_qs, 8));
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
    }
};

QTEST_MAIN(TestHost)
#include "tst_host.moc"
