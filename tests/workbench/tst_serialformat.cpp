#include "workbench/serialformat.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace tolvane;

class TestSerialFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startValue_data();
    void startValue();
    void serialFormatFor_data();
    void serialFormatFor();
    void formatSerial_data();
    void formatSerial();
    void hugeValuesKeepEveryDigit();
};

void TestSerialFormat::startValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("digits then letters") << QStringLiteral("12abc") << 12.0;
    QTest::newRow("no number") << QStringLiteral("abc") << 0.0;
    QTest::newRow("blank first") << QStringLiteral(" 5") << 5.0;
    QTest::newRow("blank inside") << QStringLiteral("1 2") << 12.0;
    QTest::newRow("negative") << QStringLiteral("-2") << -2.0;
    QTest::newRow("fraction") << QStringLiteral("2.5") << 2.5;
    QTest::newRow("hexadecimal") << QStringLiteral("&H1F") << 31.0;
    QTest::newRow("too large") << QStringLiteral("1E999")
                               << std::numeric_limits<double>::infinity();
}

void TestSerialFormat::startValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(StartValue(text), value);
}

void TestSerialFormat::serialFormatFor_data()
{
    QTest::addColumn<QString>("startText");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("format");
    QTest::newRow("one") << QStringLiteral("1") << 1 << QStringLiteral("00");
    QTest::newRow("two") << QStringLiteral("12") << 2 << QStringLiteral("00");
    QTest::newRow("three") << QStringLiteral("001") << 3 << QStringLiteral("000");
    QTest::newRow("four") << QStringLiteral("0001") << 4 << QStringLiteral("0000");
    QTest::newRow("five") << QStringLiteral("00001") << 5 << QStringLiteral("00000");
    QTest::newRow("six") << QStringLiteral("123456") << 6 << QStringLiteral("000000");
    QTest::newRow("seven") << QStringLiteral("1234567") << 7 << QString();
    QTest::newRow("blank counts") << QStringLiteral(" 5") << 2 << QStringLiteral("00");
    QTest::newRow("letters count") << QStringLiteral("abc") << 3 << QStringLiteral("000");
    QTest::newRow("wide digits") << QStringLiteral("１２３") << 3 << QStringLiteral("000");
    QTest::newRow("one character outside the BMP")
        << QStringLiteral("😀") << 1 << QStringLiteral("00");
    QTest::newRow("longer than 16 bits count")
        << QString(40000, QLatin1Char('1')) << 32767 << QString();
}

void TestSerialFormat::serialFormatFor()
{
    QFETCH(QString, startText);
    QFETCH(int, length);
    QFETCH(QString, format);
    QCOMPARE(startTextLength(startText), length);
    QCOMPARE(SerialFormatFor(startTextLength(startText)), format);
}

void TestSerialFormat::formatSerial_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    const QString two = QStringLiteral("00");
    const QString three = QStringLiteral("000");
    QTest::newRow("padded") << 1.0 << two << QStringLiteral("01");
    QTest::newRow("zero") << 0.0 << two << QStringLiteral("00");
    QTest::newRow("never cut") << 100.0 << two << QStringLiteral("100");
    QTest::newRow("negative padded after sign") << -3.0 << two << QStringLiteral("-03");
    QTest::newRow("half up") << 2.5 << three << QStringLiteral("003");
    QTest::newRow("half up again") << 3.5 << three << QStringLiteral("004");
    QTest::newRow("negative half away from zero") << -2.5 << two << QStringLiteral("-03");
    QTest::newRow("just below a half") << 0.49999999999999994 << two << QStringLiteral("00");
    QTest::newRow("small negative is zero") << -0.4 << two << QStringLiteral("00");
    QTest::newRow("six digits") << 42.0 << QStringLiteral("000000") << QStringLiteral("000042");
    QTest::newRow("beyond 64 bits") << 1e20 << two << QStringLiteral("100000000000000000000");
    QTest::newRow("negative beyond 64 bits")
        << -1e20 << two << QStringLiteral("-100000000000000000000");
    QTest::newRow("padding wider than any number")
        << -5.0 << QString(400, QLatin1Char('0'))
        << QLatin1Char('-') + QString(399, QLatin1Char('0')) + QLatin1Char('5');
    QTest::newRow("general whole") << 1234567.0 << QString() << QStringLiteral("1234567");
    QTest::newRow("general fraction") << 1.5 << QString() << QStringLiteral("1.5");
    QTest::newRow("general negative") << -7.0 << QString() << QStringLiteral("-7");
    QTest::newRow("general exponent") << 1e20 << QString() << QStringLiteral("1E+20");
}

void TestSerialFormat::formatSerial()
{
    QFETCH(double, value);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QCOMPARE(FormatSerial(value, format), text);
}

void TestSerialFormat::hugeValuesKeepEveryDigit()
{
    const double largest = std::numeric_limits<double>::max();
    const QString text = FormatSerial(largest, QStringLiteral("00"));
    QCOMPARE(text.size(), 309);
    QVERIFY(text.startsWith(QStringLiteral("17976931348623157")));
    QCOMPARE(text.toDouble(), largest);
    QCOMPARE(FormatSerial(-largest, QStringLiteral("00")), QLatin1Char('-') + text);
}

QTEST_GUILESS_MAIN(TestSerialFormat)
#include "tst_serialformat.moc"
