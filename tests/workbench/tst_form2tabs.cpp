#include "form2fixture.h"
#include "support/rows.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>

using namespace tolvane;
using namespace Qt::StringLiterals;

class TestForm2Tabs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every "#" shows the start as typed; either box refreshes the preview, whichever changes
    // last. Clearing empties all three, each box raising Change once, so a rename then asks for
    // them and touches nothing.
    void previewAndClear()
    {
        test::Form2Fixture f;
        f.openFolder({"a.txt"});
        const auto before = f.dir.contents();
        f.box("text1")->setText(u"A#B#"_s);
        f.box("text2")->setText(u"05"_s);
        QCOMPARE(f.box("text3")->Text(), u"A05B05"_s);
        f.box("text2")->setText(u"5"_s);
        QCOMPARE(f.box("text3")->Text(), u"A5B5"_s);
        f.box("text1")->setText(u"#x"_s);
        QCOMPARE(f.box("text3")->Text(), u"5x"_s);

        QSignalSpy text1(f.box("text1"), &text::Change);
        QSignalSpy text2(f.box("text2"), &text::Change);
        f.click("Command2");
        QCOMPARE(text1.size(), 1);
        QCOMPARE(text2.size(), 1);
        QCOMPARE(f.box("text1")->Text() + f.box("text2")->Text() + f.box("text3")->Text(),
                 QString());
        f.click("Command1");
        QCOMPARE(f.boxes.shown().size(), 1);
        QCOMPARE(f.boxes.shown().first().text, u"没填完！"_s);
        QCOMPARE(f.dir.names(), QList<QByteArray>{"a.txt"});
        QCOMPARE(f.dir.contents(), before);
    }

    void hashReplacesTheSelection()
    {
        test::Form2Fixture f;
        f.showForm();
        f.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.form));
        text *text1 = f.box("text1");
        auto *edit = qobject_cast<QLineEdit *>(text1->focusProxy());
        QVERIFY(edit);
        text1->setText(u"photo2023"_s);
        edit->setFocus();
        edit->setSelection(5, 4);
        QList<qint16> keys;
        connect(text1, &text::KeyPress, this, [&keys](qint16 &KeyAscii) { keys.append(KeyAscii); });
        QSignalSpy changes(text1, &text::Change);
        // A real click moves the focus to the button first, as the user's click would.
        f.click("Command3");
        QCOMPARE(text1->Text(), u"photo#"_s);
        QCOMPARE(keys, QList<qint16>{qint16('#')});
        QCOMPARE(changes.size(), 1);
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(f.box("text3")->Text(), u"photo0"_s);
    }

    void batchThenSecondBatchOnTheStaleList()
    {
        test::Form2Fixture f;
        f.openFolder({"b.JPG", "a10.jpg", "a2.jpg"});
        const auto before = f.dir.contents();
        // The start the form shows at load, "0", numbers from 00.
        f.box("text1")->setText(u"Photo#"_s);
        f.click("Command1");
        QCOMPARE(f.results(), (QStringList{u"Photo00.jpg"_s, u"Photo01.jpg"_s, u"Photo02.JPG"_s}));
        QCOMPARE(f.dir.content("Photo00.jpg"), QByteArray("a2.jpg"));
        QCOMPARE(f.dir.content("Photo01.jpg"), QByteArray("a10.jpg"));
        QCOMPARE(f.dir.content("Photo02.JPG"), QByteArray("b.JPG"));
        // The list is not re-read: it still shows the old names.
        QCOMPARE(f.files()->displayNames(), (QStringList{u"a2.jpg"_s, u"a10.jpg"_s, u"b.JPG"_s}));

        // A second click works on the old names: the first source is gone, nothing changes.
        f.box("text1")->setText(u"X#"_s);
        f.click("Command1");
        QVERIFY(f.results().isEmpty());
        QCOMPARE(f.dir.names(), (QList<QByteArray>{"Photo00.jpg", "Photo01.jpg", "Photo02.JPG"}));
        QCOMPARE(f.dir.contents(), before);

        // Moving away and back shows the new names.
        f.dir.createFolder("sub");
        QVERIFY(f.folders()->setPath(f.dir.nativePath() + "/sub"));
        f.openFolder();
        QCOMPARE(f.files()->displayNames(),
                 (QStringList{u"Photo00.jpg"_s, u"Photo01.jpg"_s, u"Photo02.JPG"_s}));

        // Ctrl+Z undoes the batch after a question and shows the names as they are now; inside
        // a text box it undoes typing instead.
        f.showForm();
        QApplication::setActiveWindow(&f.form);
        const qsizetype shown = f.boxes.shown().size();
        QTest::keyClick(f.list1(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY(!f.form.batchRunning());
        QCOMPARE(f.boxes.shown().size(), shown + 1);
        QCOMPARE(f.boxes.shown().last().title, u"Tolvane"_s);
        QVERIFY2(f.boxes.shown().last().text.contains(u" 3 个文件"_s),
                 qPrintable(f.boxes.shown().last().text));
        QCOMPARE(f.dir.names(), (QList<QByteArray>{"a10.jpg", "a2.jpg", "b.JPG", "sub"}));
        QCOMPARE(f.dir.contents(), before);
        QCOMPARE(f.files()->displayNames(), (QStringList{u"a2.jpg"_s, u"a10.jpg"_s, u"b.JPG"_s}));
        QTest::keyClick(f.box("text1")->focusProxy(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.boxes.shown().size(), shown + 1);
    }

    void listReReadWhenAShownNameNowHoldsAnotherFile()
    {
        // p02 becomes p01 and q becomes p02: the list's "p02" would now name q's content.
        test::Form2Fixture f;
        f.openFolder({"p02", "q"});
        const auto before = f.dir.contents();
        f.box("text1")->setText(u"p#"_s);
        f.box("text2")->setText(u"1"_s);
        f.click("Command1");
        QCOMPARE(f.results(), (QStringList{u"p01"_s, u"p02"_s}));
        QCOMPARE(f.dir.content("p02"), QByteArray("q"));
        QCOMPARE(f.files()->displayNames(), (QStringList{u"p01"_s, u"p02"_s}));
        QCOMPARE(f.dir.contents(), before);
    }

    // Both conversions ask first, append to List1 without clearing it and leave the file list
    // as it was; converting the whole folder hides Command5 until the folder changes.
    void conversion_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("edited"); // text4 after the click; empty: as the click left it
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QByteArrayList>("after");
        QTest::addColumn<QStringList>("listed");
        const auto row = [](const char *name, const char *command, const QString &edited, bool yes,
                            const QByteArray &after, const QByteArray &listed) {
            QTest::newRow(name) << QByteArray(command) << edited << yes << test::names(after)
                                << test::texts(listed);
        };
        row("one, Yes", "Command4", {}, true, "readme.md|旧档案.txt", "earlier|旧档案.txt");
        row("one, text4 edited", "Command4", u"報告"_s, true, "readme.md|报告.txt",
            "earlier|报告.txt");
        row("one, No", "Command4", {}, false, "readme.md|舊檔案.txt", "earlier");
        row("all, Yes", "Command5", {}, true, "readme.md|旧档案.txt",
            "earlier|readme.md|旧档案.txt");
        row("all, No", "Command5", {}, false, "readme.md|舊檔案.txt", "earlier");
    }
    void conversion()
    {
        QFETCH(QByteArray, command);
        QFETCH(QString, edited);
        QFETCH(bool, yes);
        QFETCH(QByteArrayList, after);
        QFETCH(QStringList, listed);
        test::Form2Fixture f;
        f.openFolder({"舊檔案.txt", "readme.md"});
        const auto before = f.dir.contents();
        const QStringList shown = f.files()->displayNames();
        f.get<QTabWidget>("SSTab1")->setCurrentIndex(1);
        f.list1()->addItem(u"earlier"_s);
        f.clickFile("舊檔案.txt");
        QCOMPARE(f.box("text5")->Text(), u"旧档案"_s);
        if (!edited.isEmpty())
            f.box("text4")->setText(edited);
        f.boxes.answer = yes;
        f.click(command.constData());
        QCOMPARE(f.boxes.shown().size(), 1);
        QCOMPARE(f.dir.names(), after);
        QCOMPARE(f.results(), listed);
        QCOMPARE(f.files()->displayNames(), shown);
        QCOMPARE(f.dir.contents(), before);
        QCOMPARE(f.get<Command>("Command5")->isHidden(), yes && command == "Command5");
        f.dir.createFolder("sub");
        QVERIFY(f.folders()->setPath(f.dir.nativePath() + "/sub"));
        QVERIFY(f.get<Command>("Command5")->isVisible());
    }
};

QTEST_MAIN(TestForm2Tabs)
#include "tst_form2tabs.moc"
