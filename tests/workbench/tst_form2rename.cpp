#include "form2fixture.h"

#include <QLineEdit>
#include <QSignalSpy>

using namespace tolvane;
using namespace Qt::StringLiterals;

class TestForm2Rename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void preview_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("preview");
        QTest::newRow("one mark") << u"IMG_#"_s << u"1"_s << u"IMG_1"_s;
        QTest::newRow("two marks") << u"A#B#"_s << u"5"_s << u"A5B5"_s;
        QTest::newRow("start as typed") << u"x#"_s << u" 007"_s << u"x 007"_s;
        QTest::newRow("no mark") << u"plain"_s << u"3"_s << u"plain"_s;
        QTest::newRow("empty start") << u"a#b"_s << QString() << u"ab"_s;
    }
    void preview()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, start);
        QFETCH(QString, preview);
        // Either box changing refreshes the preview, whichever changes last.
        test::Form2Fixture f;
        f.box("text1")->setText(pattern);
        f.box("text2")->setText(start);
        QCOMPARE(f.box("text3")->Text(), preview);
        f.box("text2")->setText(u"9"_s);
        f.box("text2")->setText(start);
        f.box("text1")->setText(QString());
        f.box("text1")->setText(pattern);
        QCOMPARE(f.box("text3")->Text(), preview);
    }

    void clearEmptiesThePatternFields()
    {
        test::Form2Fixture f;
        f.box("text1")->setText(u"A#"_s);
        f.box("text2")->setText(u"5"_s);
        QSignalSpy text1(f.box("text1"), &text::Change);
        QSignalSpy text2(f.box("text2"), &text::Change);
        f.click("Command2");
        QCOMPARE(f.box("text1")->Text(), QString());
        QCOMPARE(f.box("text2")->Text(), QString());
        QCOMPARE(f.box("text3")->Text(), QString());
        QCOMPARE(text1.size(), 1);
        QCOMPARE(text2.size(), 1);
        // Both boxes are empty now, so a rename asks for them and touches nothing.
        f.dir.createFile("a.txt");
        f.openFolder();
        const auto before = f.dir.contents();
        f.click("Command1");
        QCOMPARE(f.boxes.shown().size(), 1);
        QCOMPARE(f.boxes.shown().first().text, u"没填完！"_s);
        QVERIFY(f.dir.exists("a.txt"));
        QCOMPARE(f.dir.contents(), before);
    }

    void hashTypedAtTheCaret_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("after");
        QTest::newRow("caret at end") << u"IMG_"_s << 4 << 0 << u"IMG_#"_s;
        QTest::newRow("caret inside") << u"ab"_s << 1 << 0 << u"a#b"_s;
        QTest::newRow("selection replaced") << u"photo2023"_s << 5 << 4 << u"photo#"_s;
        QTest::newRow("all selected") << u"xyz"_s << 0 << 3 << u"#"_s;
    }
    void hashTypedAtTheCaret()
    {
        QFETCH(QString, before);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, after);
        test::Form2Fixture f;
        f.showForm();
        f.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.form));
        text *text1 = f.box("text1");
        auto *edit = qobject_cast<QLineEdit *>(text1->focusProxy());
        QVERIFY(edit);
        text1->setText(before);
        edit->setFocus();
        if (length > 0)
            edit->setSelection(start, length);
        else
            edit->setCursorPosition(start);
        QList<qint16> keys;
        connect(text1, &text::KeyPress, this, [&keys](qint16 &KeyAscii) { keys.append(KeyAscii); });
        QSignalSpy changes(text1, &text::Change);
        // A real click moves the focus to the button first, as the user's click would.
        f.click("Command3");
        QCOMPARE(text1->Text(), after);
        QCOMPARE(keys, QList<qint16>{qint16('#')});
        QCOMPARE(changes.size(), 1);
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(f.box("text3")->Text(), QString(after).replace(u'#', u"0"_s));
    }

    void batchThenSecondBatchOnTheStaleList()
    {
        test::Form2Fixture f;
        f.dir.createFile("b.JPG");
        f.dir.createFile("a10.jpg");
        f.dir.createFile("a2.jpg");
        f.openFolder();
        const auto before = f.dir.contents();
        f.runBatch(u"Photo#"_s, u"1"_s);
        QCOMPARE(f.results(), (QStringList{u"Photo01.jpg"_s, u"Photo02.jpg"_s, u"Photo03.JPG"_s}));
        QCOMPARE(f.dir.content("Photo01.jpg"), QByteArray("a2.jpg"));
        QCOMPARE(f.dir.content("Photo02.jpg"), QByteArray("a10.jpg"));
        QCOMPARE(f.dir.content("Photo03.JPG"), QByteArray("b.JPG"));
        QCOMPARE(f.form.batchState().StartTextLength, qint16(1));
        QCOMPARE(f.form.batchState().SerialFormat, u"00"_s);
        // The list is not re-read: it still shows the old names, and the fields keep theirs.
        QCOMPARE(f.files()->displayNames(), (QStringList{u"a2.jpg"_s, u"a10.jpg"_s, u"b.JPG"_s}));
        QCOMPARE(f.box("text1")->Text(), u"Photo#"_s);

        // A second click works on the old names: the first source is gone, nothing changes.
        f.runBatch(u"X#"_s, u"1"_s);
        QVERIFY(f.results().isEmpty());
        QCOMPARE(f.dir.names(), (QList<QByteArray>{"Photo01.jpg", "Photo02.jpg", "Photo03.JPG"}));
        QCOMPARE(f.dir.contents(), before);

        // Moving away and back shows the new names.
        f.dir.createFolder("sub");
        QVERIFY(f.folders()->setPath(f.dir.nativePath() + "/sub"));
        f.openFolder();
        QCOMPARE(f.files()->displayNames(),
                 (QStringList{u"Photo01.jpg"_s, u"Photo02.jpg"_s, u"Photo03.JPG"_s}));
    }

    void collisionStopsTheBatch_data()
    {
        QTest::addColumn<QList<QByteArray>>("files");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("no mark, same extension")
            << QList<QByteArray>{"a.txt", "b.txt"} << u"X"_s << u"1"_s << QStringList{u"X.txt"_s};
        QTest::newRow("target is a later file")
            << QList<QByteArray>{"01.txt", "02.txt"} << u"#"_s << u"2"_s << QStringList{};
        QTest::newRow("start 0 shown at load")
            << QList<QByteArray>{"f.txt"} << u"n#"_s << u"0"_s << QStringList{u"n00.txt"_s};
    }
    void collisionStopsTheBatch()
    {
        QFETCH(QList<QByteArray>, files);
        QFETCH(QString, pattern);
        QFETCH(QString, start);
        QFETCH(QStringList, listed);
        test::Form2Fixture f;
        for (const QByteArray &name : files)
            f.dir.createFile(name);
        f.openFolder();
        const auto before = f.dir.contents();
        f.runBatch(pattern, start);
        QCOMPARE(f.results(), listed);
        QCOMPARE(f.dir.contents(), before);
        QCOMPARE(f.dir.names().size(), files.size());
    }

    void listReReadWhenAShownNameNowHoldsAnotherFile()
    {
        // p02 becomes p01 and q becomes p02: the list's "p02" would now name q's content.
        test::Form2Fixture f;
        f.dir.createFile("p02");
        f.dir.createFile("q");
        f.openFolder();
        const auto before = f.dir.contents();
        f.runBatch(u"p#"_s, u"1"_s);
        QCOMPARE(f.results(), (QStringList{u"p01"_s, u"p02"_s}));
        QCOMPARE(f.dir.content("p02"), QByteArray("q"));
        QCOMPARE(f.files()->displayNames(), (QStringList{u"p01"_s, u"p02"_s}));
        QCOMPARE(f.dir.contents(), before);
    }
};

QTEST_MAIN(TestForm2Rename)
#include "tst_form2rename.moc"
