#include "workbench/simplifier.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using tolvane::Simplifier;

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

} // namespace

class TestSimplifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void simplify_data();
    void simplify();
    void leavesInvalidText_data();
    void leavesInvalidText();
    void keepsCountWhenPhrasesDoNot_data();
    void keepsCountWhenPhrasesDoNot();
    void withoutDictionariesNothingChanges();
};

void TestSimplifier::simplify_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("traditional") << u"舊檔案"_s << u"旧档案"_s;
    QTest::newRow("ascii") << u"abc"_s << u"abc"_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("mixed") << u"Report 舊檔案 v2.txt"_s << u"Report 旧档案 v2.txt"_s;
    QTest::newRow("simplified stays") << u"旧档案说明"_s << u"旧档案说明"_s;
    QTest::newRow("extension kept") << u"舊.TXT"_s << u"旧.TXT"_s;
    QTest::newRow("phrase keeps 乾隆") << u"乾隆皇帝"_s << u"乾隆皇帝"_s;
    QTest::newRow("phrase 瞭解") << u"瞭解報告"_s << u"了解报告"_s;
    QTest::newRow("乾 alone") << u"乾.txt"_s << u"干.txt"_s;
    QTest::newRow("emoji") << u"😀舊檔😀"_s << u"😀旧档😀"_s;
    QTest::newRow("non-BMP CJK") << u"𠀀說𪚥"_s << u"𠀀说𪚥"_s;
    QTest::newRow("fullwidth and kana") << u"「說明」かな"_s << u"「说明」かな"_s;
    QTest::newRow("missing from OpenCC") << u"託付鉅款"_s << u"讬付钜款"_s;
    QTest::newRow("embedded NUL") << QString(u"舊\0檔"_s) << QString(u"旧\0档"_s);
    QTest::newRow("lone surrogate")
        << QString(QChar(0xD800)) + u"舊"_s << QString(QChar(0xD800)) + u"舊"_s;
}

void TestSimplifier::simplify()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const QString result = Simplifier::shared().simplify(input);
    QCOMPARE(result, expected);
    QCOMPARE(result.toUcs4().size(), input.toUcs4().size());
    if (input.isValidUtf16())
        QCOMPARE(Simplifier::shared().simplify(input.toUtf8()), expected.toUtf8());
}

void TestSimplifier::leavesInvalidText_data()
{
    QTest::addColumn<QByteArray>("raw");

    QTest::newRow("stray byte") << QByteArray("\xff\xe8\x88\x8a.txt");
    QTest::newRow("latin-1") << QByteArray("caf\xe9 \xe8\x88\x8a");
    QTest::newRow("cut sequence") << QByteArray("\xe8\x88\x8a\xe6\xaa");
    QTest::newRow("overlong") << QByteArray("\xc0\xae\xe8\x88\x8a");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80\xe8\x88\x8a");
    QTest::newRow("gbk bytes") << QByteArray("\xbe\xc9\xb5\xb5");
}

void TestSimplifier::leavesInvalidText()
{
    QFETCH(QByteArray, raw);
    QCOMPARE(Simplifier::shared().simplify(raw), raw);
}

// The installed dictionaries never change a phrase's length, so a made-up one must show that
// such a phrase falls back to single characters while its neighbours keep their phrases.
void TestSimplifier::keepsCountWhenPhrasesDoNot_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("shrinking phrase") << u"測試"_s << u"测试"_s;
    QTest::newRow("growing phrase") << u"檔"_s << u"档"_s;
    QTest::newRow("neighbours keep phrases") << u"乾隆測試乾"_s << u"乾隆测试干"_s;
    QTest::newRow("unknown characters") << u"測試書"_s << u"测试書"_s;
}

void TestSimplifier::keepsCountWhenPhrasesDoNot()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath(u"phrases.txt"_s), "測試\t测\n乾隆\t乾隆\n檔\t档案\n");
    writeFile(dir.filePath(u"characters.txt"_s), "測\t测\n試\t试\n乾\t干\n檔\t档\n");
    writeFile(dir.filePath(u"test.json"_s), R"({
  "name": "test",
  "segmentation": {"type": "mmseg", "dict": {"type": "text", "file": "phrases.txt"}},
  "conversion_chain": [{"dict": {"type": "group", "dicts": [
    {"type": "text", "file": "phrases.txt"}, {"type": "text", "file": "characters.txt"}]}}]
})");
    const Simplifier simplifier(QFile::encodeName(dir.filePath(u"test.json"_s)).toStdString());
    QVERIFY2(simplifier.isReady(), qPrintable(simplifier.errorText()));
    QCOMPARE(simplifier.simplify(input), expected);
}

void TestSimplifier::withoutDictionariesNothingChanges()
{
    const Simplifier simplifier("/nonexistent/t2s.json");
    QVERIFY(!simplifier.isReady());
    QVERIFY(!simplifier.errorText().isEmpty());
    QCOMPARE(simplifier.simplify(u"舊檔案"_s), u"舊檔案"_s);
}

QTEST_GUILESS_MAIN(TestSimplifier)
#include "tst_simplifier.moc"
