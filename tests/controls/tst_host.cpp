#include "controls/host/propertybag.h"

#include <QFont>
#include <QJsonDocument>
#include <QTest>

using namespace tolvane;
using namespace Qt::StringLiterals;

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
        QTest::newRow("font") << QVariant(QFont(u"宋体"_s, 9, QFont::Bold))
                              << QVariant(QFont(u"Tahoma"_s, 8));
    }
    void roundTripsThroughJson()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, defaultValue);
        PropertyBag bag;
        bag.write(u"Entry"_s, value, defaultValue);
        // Through the JSON text, as a form's data file carries it.
        const QJsonDocument json = QJsonDocument::fromJson(QJsonDocument(bag.toJson()).toJson());
        const QVariant read = PropertyBag::fromJson(json.object()).read(u"eNTRY", defaultValue);
        QCOMPARE(read.typeId(), defaultValue.typeId());
        QCOMPARE(read, value);
        if (value.typeId() == QMetaType::QFont) // 宋体 is a GB2312 font
            QCOMPARE(bag.toJson().value(u"Entry").toObject().value(u"charset").toInt(), 134);
    }
};

QTEST_MAIN(TestHost)
#include "tst_host.moc"
