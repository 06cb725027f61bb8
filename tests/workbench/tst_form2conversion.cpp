#include "form2fixture.h"
#include "platform/rawname.h"

#include <QTabWidget>

using namespace tolvane;
using namespace Qt::StringLiterals;

namespace {

// The form on its second tab, over a folder holding the given files.
void openOnConversionTab(test::Form2Fixture &f, const QList<QByteArray> &files)
{
    for (const QByteArray &name : files)
        f.dir.createFile(name);
    f.openFolder();
    f.showForm();
    f.get<QTabWidget>("SSTab1")->setCurrentIndex(1);
}

} // namespace

class TestForm2Conversion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void simplifiedPreview_data()
    {
        QTest::addColumn<QString>("traditional");
        QTest::addColumn<QString>("simplified");
        QTest::newRow("traditional") << u"舊檔案"_s << u"旧档案"_s;
        QTest::newRow("latin") << u"abc"_s << u"abc"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("mixed with extension") << u"報告.TXT"_s << u"报告.TXT"_s;
    }
    void simplifiedPreview()
    {
        QFETCH(QString, traditional);
        QFETCH(QString, simplified);
        test::Form2Fixture f;
        f.box("text4")->setText(traditional);
        QCOMPARE(f.box("text5")->Text(), simplified);
        QCOMPARE(f.form.conversionState().NameToConvert, traditional);
    }

    void convertSelected_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("edited"); // text4 after the click; empty: as the click left it
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QByteArray>("result");
        QTest::newRow("with extension")
            << QByteArray("舊檔案.txt") << QString() << true << QByteArray("旧档案.txt");
        QTest::newRow("without dot")
            << QByteArray("說明") << QString() << true << QByteArray("说明");
        QTest::newRow("edited base keeps extension")
            << QByteArray("a.tar.gz") << u"報告"_s << true << QByteArray("报告.tar.gz");
        QTest::newRow("answered No")
            << QByteArray("舊檔案.txt") << QString() << false << QByteArray("舊檔案.txt");
    }
    void convertSelected()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, edited);
        QFETCH(bool, yes);
        QFETCH(QByteArray, result);
        test::Form2Fixture f;
        openOnConversionTab(f, {file, "other.txt"});
        const auto before = f.dir.contents();
        f.get<QListWidget>("List1")->addItem(u"earlier"_s);
        f.clickFile(displayName(file));
        if (!edited.isEmpty())
            f.box("text4")->setText(edited);
        f.boxes.answer = yes;
        f.click("Command4");

        QCOMPARE(f.boxes.shown().size(), 1);
        QCOMPARE(f.boxes.shown().first().title, u"转换"_s);
        QCOMPARE(f.boxes.shown().first().text,
                 u"将【"_s + displayName(file) + u"】文件转换为简体?"_s);
        QVERIFY(f.dir.exists(result));
        QCOMPARE(f.dir.content(result), file);
        // Conversions append to List1 without clearing it, and leave the list as it was.
        const QStringList expected =
            yes ? QStringList{u"earlier"_s, displayName(result)} : QStringList{u"earlier"_s};
        QCOMPARE(f.results(), expected);
        QVERIFY(f.files()->displayNames().contains(displayName(file)));
        // Emptied after the rename; a declined question leaves the preview's result.
        QCOMPARE(f.form.conversionState().ConvertedName.isEmpty(), yes);
        QCOMPARE(f.dir.contents(), before);
    }

    void convertFolder_data()
    {
        QTest::addColumn<QList<QByteArray>>("files");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QList<QByteArray>>("after");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("Yes") << QList<QByteArray>{"舊.TXT", "readme.md"} << true
                             << QList<QByteArray>{"readme.md", "旧.TXT"}
                             << QStringList{u"readme.md"_s, u"旧.TXT"_s};
        QTest::newRow("No") << QList<QByteArray>{"舊.TXT", "readme.md"} << false
                            << QList<QByteArray>{"readme.md", "舊.TXT"} << QStringList{};
        QTest::newRow("empty folder")
            << QList<QByteArray>{} << true << QList<QByteArray>{} << QStringList{};
        QTest::newRow("simplified name taken")
            << QList<QByteArray>{"舊.txt", "旧.txt"} << true
            << QList<QByteArray>{"旧.txt", "舊.txt"} << QStringList{u"旧.txt"_s};
    }
    void convertFolder()
    {
        QFETCH(QList<QByteArray>, files);
        QFETCH(bool, yes);
        QFETCH(QList<QByteArray>, after);
        QFETCH(QStringList, listed);
        test::Form2Fixture f;
        openOnConversionTab(f, files);
        const auto before = f.dir.contents();
        f.boxes.answer = yes;
        f.click("Command5");

        QCOMPARE(f.boxes.shown().first().title, u"转换"_s);
        QCOMPARE(f.boxes.shown().first().text,
                 u"将【"_s + f.dir.path() + u"】文件夹下所有文件转换为简体?"_s);
        QCOMPARE(f.dir.names(), after);
        QCOMPARE(f.results(), listed);
        // A file left unconverted is reported after the question.
        QCOMPARE(f.boxes.shown().size(), yes && listed.size() < files.size() ? 2 : 1);
        QCOMPARE(f.get<Command>("Command5")->isHidden(), yes);
        QCOMPARE(f.dir.contents(), before);

        // Any folder change shows Command5 again.
        f.dir.createFolder("sub");
        QVERIFY(f.folders()->setPath(f.dir.nativePath() + "/sub"));
        QVERIFY(f.get<Command>("Command5")->isVisible());
    }
};

QTEST_MAIN(TestForm2Conversion)
#include "tst_form2conversion.moc"
