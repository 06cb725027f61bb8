#include "workbench/simplifier.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

    QTest::newRow("traditional") << u"舊檔案"_qs << u"旧档案"_qs;
    QTest::newRow("ascii") << u"abc"_qs << u"abc"_qs;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("mixed") << u"Report 舊檔案 v2.txt"_qs << u"Report 旧档案 v2.txt"_qs;
    QTest::newRow("simplified stays") << u"旧档案说明"_qs << u"旧档案说明"_qs;
    QTest::newRow("extension kept") << u"舊.TXT"_qs << u"旧.TXT"_qs;
    QTest::newRow("phrase keeps 乾隆") << u"乾隆皇帝"_qs << u"乾隆皇帝"_qs;
    QTest::newRow("phrase 瞭解") << u"瞭解報告"_qs << u"了解报告"_qs;
    QTest::newRow("乾 alone") << u"乾.txt"_qs << u"干.txt"_qs;
    QTest::newRow("emoji") << u"😀舊檔😀"_qs << u"😀旧档😀"_qs;
    QTest::newRow("non-BMP CJK") << u"𠀀說𪚥"_qs << u"𠀀说𪚥"_qs;
    QTest::newRow("fullwidth and kana") << u"「說明」かな"_qs << u"「说明」かな"_qs;
    QTest::newRow("missing from OpenCC") << u"託付鉅款"_qs << u"讬付钜款"_qs;
    QTest::newRow("embedded NUL") << QString(u"舊\0檔"_qs) << QString(u"旧\0档"_qs);
    QTest::newRow("lone surrogate")
        << QString(QChar(0xD800)) + u"舊"_qs << QString(QChar(0xD800)) + u"舊"_qs;
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

    QTest::newRow("shrinking phrase") << u"測試"_qs << u"测试"_qs;
    QTest::newRow("growing phrase") << u"檔"_qs << u"档"_qs;
    QTest::newRow("neighbours keep phrases") << u"乾隆測試乾"_qs << u"乾隆测试干"_qs;
    QTest::newRow("unknown characters") << u"測試書"_qs << u"测试書"_qs;
}

void TestSimplifier::keepsCountWhenPhrasesDoNot()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath(u"phrases.txt"_qs), "測試\t测\n乾隆\t乾隆\n檔\t档案\n");
    writeFile(dir.filePath(u"characters.txt"_qs), "測\t测\n試\t试\n乾\t干\n檔\t档\n");
    writeFile(dir.filePath(u"test.json"_qs), R"({
  "name": "test",
  "segmentation": {"type": "mmseg", "dict": {"type": "text", "file": "phrases.txt"}},
  "conversion_chain": [{"dict": {"type": "group", "dicts": [
    {"type": "text", "file": "phrases.txt"}, {"type": "text", "file": "characters.txt"}]}}]
})");
    const Simplifier simplifier(QFile::encodeName(dir.filePath(u"test.json"_qs)).toStdString());
    QVERIFY2(simplifier.isReady(), qPrintable(simplifier.errorText()));
    QCOMPARE(simplifier.simplify(input), expected);
}

void TestSimplifier::withoutDictionariesNothingChanges()
{
    const Simplifier simplifier("/nonexistent/t2s.json");
    QVERIFY(!simplifier.isReady());
    QVERIFY(!simplifier.errorText().isEmpty());
    QCOMPARE(simplifier.simplify(u"舊檔案"_qs), u"舊檔案"_qs);
}

QTEST_GUILESS_MAIN(TestSimplifier)
#include "tst_simplifier.moc"
