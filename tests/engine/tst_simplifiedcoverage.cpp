#include "engine/conversion/simplifier.h"
#include "tools/unihan/unihanvariants.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Every traditional character code page 936 holds must reach one of Unihan's simplified forms
// that code page 936 holds, or another standard simplified character, whichever of OpenCC's
// tables or our extras supplies it.
class TestSimplifiedCoverage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void coversUnihan();
};

void TestSimplifiedCoverage::coversUnihan()
{
    tolvane::UnihanVariants unihan;
    QVERIFY2(unihan.load(), qPrintable(unihan.errorText()));
    const auto traditional = unihan.traditionalInGbk();
    // Unihan 15.0 and 15.1 have about 2,600 of them; far fewer means the data was misread.
    QVERIFY2(traditional.size() > 2000, qPrintable(QString::number(traditional.size())));

    const tolvane::Simplifier &simplifier = tolvane::Simplifier::shared();
    QVERIFY2(simplifier.isReady(), qPrintable(simplifier.errorText()));
    QStringList misses;
    for (const auto &entry : traditional) {
        const QString input = QString::fromUcs4(&entry.character, 1);
        const QString result = simplifier.simplify(input);
        const QList<uint> got = result.toUcs4();
        if (got.size() != 1 || !tolvane::UnihanVariants::accepts(entry, char32_t(got[0])))
            misses.append(input + u"→"_s + result);
    }
    QVERIFY2(misses.isEmpty(), qPrintable(misses.join(u' ')));
    // What one Unicode release alone lists (15.0: 灠 → 漤, 15.1: 衹 → 只), whatever this has.
    QCOMPARE(simplifier.simplify(u"灠衹"_s), u"漤只"_s);
}

QTEST_GUILESS_MAIN(TestSimplifiedCoverage)
#include "tst_simplifiedcoverage.moc"
