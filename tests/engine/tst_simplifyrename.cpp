#include "engine/conversion/namelanguage.h"
#include "engine/conversion/simplifier.h"
#include "engine/conversion/simplifyrename.h"
#include "platform/rawname.h"
#include "support/fakemessageboxes.h"
#include "support/fakeresultlist.h"
#include "support/rows.h"
#include "support/statehome.h"
#include "support/testdir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace tolvane;
using namespace Qt::StringLiterals;
using Kind = test::FakeMessageBoxes::Kind;

class TestSimplifyRename : public QObject
{
    Q_OBJECT
    test::StateHome m_state;

private Q_SLOTS:
    void simplify_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *name, const QString &input, const QString &expected) {
            QTest::newRow(name) << input.toUtf8() << expected.toUtf8();
        };
        row("mixed", u"Report 舊檔案 v2.TXT"_s, u"Report 旧档案 v2.TXT"_s);
        row("empty", QString(), QString());
        row("phrases: 乾隆 kept, 瞭解, 乾 alone", u"乾隆瞭解報告乾.txt"_s, u"乾隆了解报告干.txt"_s);
        row("beyond the BMP", u"😀𠀀說𪚥"_s, u"😀𠀀说𪚥"_s);
        row("missing from OpenCC", u"灠菜託付"_s, u"漤菜托付"_s);
        row("embedded NUL", QString(u"舊\0檔"_s), QString(u"旧\0档"_s));
        // Names that are not UTF-8 are left as they are.
        const QByteArray invalid[] = {"\xff\xe8\x88\x8a.txt", "caf\xe9 \xe8\x88\x8a",
                                      "\xe8\x88\x8a\xe6\xaa", "\xed\xa0\x80\xe8\x88\x8a"};
        for (const QByteArray &raw : invalid)
            QTest::newRow(raw.toHex().constData()) << raw << raw;
    }
    void simplify()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(Simplifier::shared().simplify(input), expected);
        if (input.isValidUtf8())
            QCOMPARE(Simplifier::shared().simplify(QString::fromUtf8(input)),
                     QString::fromUtf8(expected));
    }

    // OpenCC's own cases, each converted as one name. Where a case expects a simplified form that
    // TSCharacters marks as a tofu risk, the name keeps the character it had.
    void testcases_data()
    {
        QTest::addColumn<ConversionProfile>("profile");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QFile characters(QStringLiteral(TOLVANE_OPENCC_SOURCES "/TSCharacters.txt"));
        QFile cases(QStringLiteral(TOLVANE_OPENCC_SOURCES "/testcases.json"));
        QVERIFY(characters.open(QIODevice::ReadOnly) && cases.open(QIODevice::ReadOnly));
        QHash<uint, uint> tofu; // the risky form → the character it stands for
        const QStringList lines = QString::fromUtf8(characters.readAll()).split(u'\n');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            if (lines[i].startsWith(u"# @tofu-risk:"_s))
                tofu.insert(lines[i].section(u' ', -2, -2).toUcs4().value(0),
                            lines[i + 1].toUcs4().value(0));
        // The file has trailing commas, which a strict reader refuses.
        const QString json = QString::fromUtf8(cases.readAll())
                                 .replace(QRegularExpression(u",(\\s*[}\\]])"_s), u"\\1"_s);
        QMap<QString, int> counts;
        for (const QJsonValue &item :
             QJsonDocument::fromJson(json.toUtf8())[u"cases"_s].toArray()) {
            const QString input = item[u"input"_s].toString();
            for (const QString &key : {u"t2s"_s, u"tw2s"_s, u"hk2s"_s, u"tw2sp"_s}) {
                const QList<uint> in = input.toUcs4();
                QList<uint> out = item[u"expected"_s][key].toString().toUcs4();
                if (out.isEmpty())
                    continue;
                bool kept = false;
                for (qsizetype i = 0; i < std::min(in.size(), out.size()); ++i)
                    if (tofu.value(out[i]) == in[i] && in[i] != 0)
                        kept = (out[i] = in[i]);
                ++counts[key];
                QTest::addRow("%s %s%s", qPrintable(item[u"id"_s].toString()), qPrintable(key),
                              kept ? " (tofu risk kept)" : "")
                    << *profileFromKey(key) << input
                    << QString::fromUcs4(reinterpret_cast<const char32_t *>(out.data()),
                                         out.size());
            }
        }
        const QMap<QString, int> all{
            {u"t2s"_s, 55}, {u"tw2s"_s, 32}, {u"hk2s"_s, 21}, {u"tw2sp"_s, 53}};
        QCOMPARE(counts, all);
    }
    void testcases()
    {
        QFETCH(ConversionProfile, profile);
        QFETCH(QString, input);
        QTEST(QString::fromUtf8(simplifiedFileName(input.toUtf8(), profile)), "expected");
    }

    // Kana, hangul and Japanese-only forms mark a name; such a name keeps every character.
    void language_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<NameLanguage>("language");
        QTest::addColumn<QByteArray>("simplified");
        const auto row = [](const char *tag, const QByteArray &name, NameLanguage language,
                            const QByteArray &simplified) {
            QTest::newRow(tag) << name << language << simplified;
        };
        using L = NameLanguage;
        row("Japanese-only form", "図書館.txt", L::Japanese, "図書館.txt");
        row("hiragana", "後藤さん.mp3", L::Japanese, "後藤さん.mp3");
        row("katakana, bytes not UTF-8", "\xff\xe9\xa1\x9e\xe3\x83\x86", L::Japanese,
            "\xff\xe9\xa1\x9e\xe3\x83\x86");
        row("halfwidth katakana", "ｶﾞ東", L::Japanese, "ｶﾞ東");
        row("hangul and hanja", "한국學校.hwp", L::Korean, "한국學校.hwp");
        row("compatibility jamo", "ㅋ東", L::Korean, "ㅋ東");
        row("Chinese", "東京愛樂.txt", L::Other, "东京爱乐.txt");
        row("Chinese with a katakana middle dot", "約翰・羅傑斯", L::Other, "约翰・罗杰斯");
        row("予 and 呉 are Chinese too", "呉予書", L::Other, "呉予书");
    }
    void language()
    {
        QFETCH(QByteArray, name);
        QTEST(nameLanguage(name), "language");
        QTEST(simplifiedFileName(name), "simplified");
    }

    // The installed dictionaries never change a phrase's length, so a made-up one must show that
    // such a phrase, shorter or longer, falls back to single characters while its neighbours
    // keep their phrases.
    void keepsCountWhenPhrasesDoNot()
    {
        QTemporaryDir dir;
        const auto write = [&dir](const QString &name, const QByteArray &content) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        };
        write(u"phrases.txt"_s, "測試\t测\n乾隆\t乾隆\n檔\t档案\n");
        write(u"characters.txt"_s, "測\t测\n試\t试\n乾\t干\n檔\t档\n");
        write(u"test.json"_s, R"({"segmentation": {"type": "mmseg",
            "dict": {"type": "text", "file": "phrases.txt"}},
          "conversion_chain": [{"dict": {"type": "group", "dicts": [
            {"type": "text", "file": "phrases.txt"}, {"type": "text", "file": "characters.txt"}]}}]})");
        const Simplifier simplifier(QFile::encodeName(dir.filePath(u"test.json"_s)).toStdString());
        QVERIFY2(simplifier.isReady(), qPrintable(simplifier.errorText()));
        QCOMPARE(simplifier.simplify(u"乾隆測試乾檔書"_s), u"乾隆测试干档書"_s);
    }

    // Rows named "one" convert the selected file, the others every file listed.
    void convert_data()
    {
        QTest::addColumn<QByteArrayList>("created");
        QTest::addColumn<QByteArray>("selected");
        QTest::addColumn<QString>("text4");
        QTest::addColumn<QByteArrayList>("listed");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QByteArrayList>("after");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QByteArrayList>("failed");
        const auto row = [](const char *name, const QByteArray &created, const QByteArray &selected,
                            const QString &text4, const QByteArray &listed, bool answer,
                            const QByteArray &after, const QByteArray &results,
                            const QByteArray &failed) {
            QTest::newRow(name) << test::names(created) << selected << text4 << test::names(listed)
                                << answer << test::names(after) << test::texts(results)
                                << test::names(failed);
        };
        const QByteArray notUtf8 = "\xff\xe8\x88\x8a.txt";
        QByteArray gone = "舊0";
        for (int i = 1; i < 25; ++i)
            gone += "|舊" + QByteArray::number(i);

        row("one, text4 named, several dots", "a.tar.gz", "a.tar.gz", u"報告"_s, {}, true,
            "报告.tar.gz", "报告.tar.gz", "");
        row("one, answered no", "舊.txt", "舊.txt", u"舊"_s, {}, false, "舊.txt", "", "");
        row("one, nothing selected", "舊.txt", {}, u"舊"_s, {}, true, "舊.txt", "", "");
        row("one, empty text4", "舊.txt", "舊.txt", {}, {}, true, "舊.txt", "", "舊.txt");
        row("one, dot file keeps its name", ".profile", ".profile", {}, {}, true, ".profile", "",
            "");
        row("one, target taken", "舊.txt|旧.txt", "舊.txt", u"舊"_s, {}, true, "舊.txt|旧.txt", "",
            "舊.txt");
        // text4 as a click fills it: the name's own bytes are converted, not its escapes.
        row("one, Japanese left alone", "後藤さん.txt", "後藤さん.txt", u"後藤さん"_s, {}, true,
            "後藤さん.txt", "", "後藤さん.txt");
        row("one, not UTF-8, as shown", notUtf8, notUtf8, nameText("\xff\xe8\x88\x8a"), {}, true,
            "\xff旧.txt", "$'\\377旧.txt'", "");
        row("all: traditional, plain, whole name", "舊.TXT|readme.md|舊檔案.報告", {}, {},
            "舊.TXT|readme.md|舊檔案.報告", true, "旧.TXT|readme.md|旧档案.报告",
            "旧.TXT|readme.md|旧档案.报告", "");
        row("all, answered no", "舊.TXT", {}, {}, "舊.TXT", false, "舊.TXT", "", "");
        row("all, two become one", "乾.txt|幹.txt", {}, {}, "乾.txt|幹.txt", true, "乾.txt|幹.txt",
            "", "乾.txt|幹.txt");
        row("all, many vanished, the rest goes on", "說明", {}, {}, gone + "|說明", true, "说明",
            "说明", gone);
        // Only the runs of valid UTF-8 are converted; the other bytes stay.
        row("all, not UTF-8", notUtf8 + "|說明", {}, {}, notUtf8 + "|說明", true, "\xff旧.txt|说明",
            "$'\\377旧.txt'|说明", "");
        // Listed with the reason, neither converted nor failed; すし has nothing to convert.
        const QByteArray foreign = "図書館.txt|한국學校.hwp|すし|說明";
        row("all, Japanese and Korean left alone", foreign, {}, {}, foreign, true,
            "図書館.txt|한국學校.hwp|すし|说明",
            "“図書館.txt”：日文名，未转换|“한국學校.hwp”：韩文名，未转换|すし|说明", "");
    }
    void convert()
    {
        QFETCH(QByteArrayList, created);
        QFETCH(QByteArray, selected);
        QFETCH(QString, text4);
        QFETCH(QByteArrayList, listed);
        QFETCH(bool, answer);
        QFETCH(QByteArrayList, after);
        QFETCH(QByteArrayList, failed);
        test::TestDir dir;
        for (const QByteArray &name : created)
            dir.createFile(name);
        const auto before = dir.contents();
        test::FakeResultList list;
        test::FakeMessageBoxes boxes;
        boxes.answer = answer;
        // A value left from an earlier preview must not be what a file is named after.
        ConversionState state{u"陈旧"_s, u"陈旧"_s};
        QString question;
        if (QByteArray(QTest::currentDataTag()).startsWith("one")) {
            convertSelected(dir.nativePath(), selected, text4, list, boxes, state);
            question = u"将【"_s + displayName(selected) + u"】文件转换为简体?"_s;
        } else {
            QCOMPARE(convertFolder(dir.nativePath(), listed, list, boxes, state), answer);
            question =
                u"将【"_s + displayName(dir.nativePath()) + u"】文件夹下所有文件转换为简体?"_s;
        }

        std::sort(after.begin(), after.end());
        QCOMPARE(dir.names(), after);
        QCOMPARE(dir.contents(), before);
        QTEST(list.items(), "results");
        // The question, as worded; then one box naming the files that failed (the first twenty,
        // then how many more), or none at all.
        const auto &shown = boxes.shown();
        QCOMPARE(shown.size(), failed.isEmpty() ? 1 : 2);
        QCOMPARE(shown[0].kind, Kind::Question);
        QCOMPARE(shown[0].title, u"转换"_s);
        QCOMPARE(shown[0].text, question);
        if (failed.isEmpty())
            return;
        const bool alone = QByteArray(QTest::currentDataTag()).endsWith("left alone");
        QCOMPARE(shown[1].kind, alone ? Kind::Notice : Kind::Failure);
        const QString &text = shown[1].text;
        for (const QByteArray &name : failed.first(std::min<qsizetype>(failed.size(), 20)))
            QVERIFY2(text.contains(u'“' + displayName(name) + u'”'), qPrintable(text));
        QCOMPARE(text.count(u'\n'), std::min<qsizetype>(failed.size(), 21));
        if (failed.size() > 20)
            QVERIFY2(text.contains(QString::number(failed.size() - 20)), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestSimplifyRename)
#include "tst_simplifyrename.moc"
