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
        const auto row = [](const char *name, const char16_t *text, double expected) {
            QTest::newRow(name) << QString::fromUtf16(text) << expected;
        };
        row("lone sign", u"-", 0);
        row("stops at letters", u"12abc", 12);
        row("blanks, tabs and line feeds dropped", u" 1 0\t0\n0", 1000);
        row("carriage return stops", u"1\r2", 1);
        row("second point stops", u"-.2.3", -0.2);
        row("lower-case exponent with sign", u"2e-2x", 0.02);
        row("exponent sign without digits", u"3E+x", 3);
        row("negative zero is zero", u"-0", 0);
        row("hex lower case", u"&hff", 255);
        row("octal stops at 8", u"&O178", 15);
        row("ampersand alone", u"&12", 0);
        row("fullwidth digit stops", u"1２", 1);
        row("tiny underflows to zero", u"1E-999", 0);
        row("overflow", u"-9E999", -qInf());
    }

    void leading()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const double actual = leadingNumber(text);
        QCOMPARE(actual, expected);
        QVERIFY(!std::signbit(actual) || expected < 0);
    }

    void general_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("negative fraction") << -7.25 << QStringLiteral("-7.25");
        QTest::newRow("negative zero") << -0.0 << QStringLiteral("0");
        QTest::newRow("fifteen digits") << 123456789012345.0 << QStringLiteral("123456789012345");
        QTest::newRow("too many digits") << 1e20 << QStringLiteral("1E+20");
        QTest::newRow("rounded to fifteen") << 0.1 + 0.2 << QStringLiteral("0.3");
        QTest::newRow("tiny") << -1.5e-7 << QStringLiteral("-1.5E-07");
    }

    void general()
    {
        // Neither direction may follow the locale's decimal comma.
        QFETCH(double, value);
        QFETCH(QString, expected);
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::French));
        const QString text = generalNumber(value);
        const QString readBack = generalNumber(leadingNumber(expected));
        QLocale::setDefault(saved);
        QCOMPARE(text, expected);
        QCOMPARE(readBack, expected);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
