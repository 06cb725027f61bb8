#include "platform/generalnumber.h"
#include "platform/leadingnumber.h"

#include <QTest>

#include <cmath>

using namespace tolvane;

class TestNumbers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");

        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("letters only") << QStringLiteral("abc") << 0.0;
        QTest::newRow("stops at letters") << QStringLiteral("12abc") << 12.0;
        QTest::newRow("leading blank") << QStringLiteral(" 5") << 5.0;
        QTest::newRow("blanks inside") << QStringLiteral("1 000") << 1000.0;
        QTest::newRow("tab and line feed") << QStringLiteral("\t1\n2") << 12.0;
        QTest::newRow("carriage return stops") << QStringLiteral("1\r2") << 1.0;
        QTest::newRow("comma is no separator") << QStringLiteral("1,000") << 1.0;
        QTest::newRow("negative") << QStringLiteral("-2") << -2.0;
        QTest::newRow("plus sign") << QStringLiteral("+7") << 7.0;
        QTest::newRow("fraction") << QStringLiteral("2.5") << 2.5;
        QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2;
        QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
        QTest::newRow("negative leading point") << QStringLiteral("-.5") << -0.5;
        QTest::newRow("lone sign") << QStringLiteral("-") << 0.0;
        QTest::newRow("exponent") << QStringLiteral("1.5E3") << 1500.0;
        QTest::newRow("lower-case exponent") << QStringLiteral("2e-2x") << 0.02;
        QTest::newRow("exponent without digits") << QStringLiteral("3E") << 3.0;
        QTest::newRow("exponent sign without digits") << QStringLiteral("3E+x") << 3.0;
        QTest::newRow("zero") << QStringLiteral("0") << 0.0;
        QTest::newRow("leading zeros") << QStringLiteral("007") << 7.0;
        QTest::newRow("c-style hex is not hex") << QStringLiteral("0x10") << 0.0;
        QTest::newRow("hex") << QStringLiteral("&H1F") << 31.0;
        QTest::newRow("hex lower case") << QStringLiteral("&hff") << 255.0;
        QTest::newRow("hex stops at misfit") << QStringLiteral("&H1G") << 1.0;
        QTest::newRow("hex without digits") << QStringLiteral("&H") << 0.0;
        QTest::newRow("octal") << QStringLiteral("&O17") << 15.0;
        QTest::newRow("octal stops at 8") << QStringLiteral("&O78") << 7.0;
        QTest::newRow("ampersand alone") << QStringLiteral("&12") << 0.0;
        QTest::newRow("fullwidth digit stops") << QStringLiteral("1２") << 1.0;
        QTest::newRow("huge") << QStringLiteral("1E300") << 1e300;
        QTest::newRow("tiny underflows to zero") << QStringLiteral("1E-999") << 0.0;
        QTest::newRow("seven digits") << QStringLiteral("1234567") << 1234567.0;
    }

    void leading()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const double actual = leadingNumber(text);
        QCOMPARE(actual, expected);
        QVERIFY(!std::signbit(actual) || expected < 0);
    }

    void leadingOverflowIsInfinite()
    {
        QVERIFY(std::isinf(leadingNumber(u"9E999")));
        QVERIFY(leadingNumber(u"-9E999") < 0);
    }

    void leadingIgnoresLocale()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German));
        const double value = leadingNumber(u"3.25");
        QLocale::setDefault(saved);
        QCOMPARE(value, 3.25);
    }

    void general_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");

        QTest::newRow("whole") << 3.0 << QStringLiteral("3");
        QTest::newRow("fraction") << 2.5 << QStringLiteral("2.5");
        QTest::newRow("negative fraction") << -7.25 << QStringLiteral("-7.25");
        QTest::newRow("zero") << 0.0 << QStringLiteral("0");
        QTest::newRow("negative zero") << -0.0 << QStringLiteral("0");
        QTest::newRow("fifteen digits") << 123456789012345.0 << QStringLiteral("123456789012345");
        QTest::newRow("too many digits") << 1e20 << QStringLiteral("1E+20");
        QTest::newRow("rounded to fifteen") << 0.1 + 0.2 << QStringLiteral("0.3");
        QTest::newRow("small") << 0.0001 << QStringLiteral("0.0001");
        QTest::newRow("tiny") << 1.5e-7 << QStringLiteral("1.5E-07");
    }

    void general()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(generalNumber(value), expected);
    }

    void generalReadsBack_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("fraction") << 2.5;
        QTest::newRow("negative") << -1234.125;
        QTest::newRow("exponent") << 3.5e21;
        QTest::newRow("tiny") << -4.25e-9;
    }

    void generalReadsBack()
    {
        QFETCH(double, value);
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::French));
        const QString text = generalNumber(value);
        QLocale::setDefault(saved);
        QCOMPARE(leadingNumber(text), value);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
