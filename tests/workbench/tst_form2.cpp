#include "controls/Command/command.h"
#include "controls/text/text.h"
#include "platform/rawname.h"
#include "support/fakemessageboxes.h"
#include "support/rows.h"
#include "support/statehome.h"
#include "support/testdir.h"
#include "support/unreadablefolder.h"
#include "workbench/drivelistbox.h"
#include "workbench/filelistbox.h"
#include "workbench/filelistmenu.h"
#include "workbench/folderlistbox.h"
#include "workbench/foldertreemenu.h"
#include "workbench/form2.h"
#include "workbench/previewmodel.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <memory>

using namespace tolvane;
using namespace Qt::StringLiterals;

namespace {

// A working form over a real temporary folder, with message boxes recorded.
struct Fixture
{
    test::StateHome state;
    test::TestDir dir;
    test::FakeMessageBoxes boxes;
    Form2 form{boxes};

    template <typename T = QWidget> T *get(const char *name) const
    {
        T *widget = form.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    text *box(const char *name) const { return get<text>(name); }
    FileListBox *files() const { return get<FileListBox>("lstFiles"); }
    FolderListBox *folders() const { return get<FolderListBox>("lstMap"); }
    QListWidget *list1() const { return get<QListWidget>("List1"); }
    QStringList results() const
    {
        QStringList items;
        for (int i = 0; i < list1()->count(); ++i)
            items.append(list1()->item(i)->text());
        return items;
    }

    void showForm()
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    // Creates the files and opens the folder as the user would reach it in the folder list.
    void openFolder(const QList<QByteArray> &files = {})
    {
        for (const QByteArray &name : files)
            dir.createFile(name);
        QVERIFY(folders()->setPath(dir.nativePath()));
    }
    // A mouse click on the row that shows the file.
    void clickFile(const QByteArray &name)
    {
        FileListBox *view = files();
        const int row = int(view->displayNames().indexOf(displayName(name)));
        QVERIFY2(row >= 0, name.constData());
        showForm();
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }
    // A click, and the batch it may start run to its end.
    void click(const char *command)
    {
        QTest::mouseClick(get<Command>(command), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!form.batchRunning(), 20000);
    }
};

} // namespace

class TestForm2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The drive box follows the folder list onto another drive; a new folder empties the
    // results and brings Command5 back. A drive whose remembered folder has gone opens at its
    // root; a folder or drive that cannot be opened is reported and changes nothing.
    void driveFolderFilesChain()
    {
        Fixture f;
        f.dir.createFolder("other");
        f.dir.createFolder("gone");
        f.dir.createFile("f.txt");
        const QByteArray root = f.dir.nativePath();
        const QByteArray other = root + "/other";
        auto *drives = f.get<DriveListBox>("Drivestation");
        drives->setDrives(DriveTable({root, other}, root), 0);
        QVERIFY(f.folders()->setPath(root));
        f.folders()->setCurrentItem(f.folders()->findItems(u"other"_s, Qt::MatchEndsWith).value(0));
        QTest::keyClick(f.folders(), Qt::Key_Return);
        QCOMPARE(f.files()->path(), other);
        QCOMPARE(drives->currentIndex(), 1);
        QTest::keyClick(f.folders(), Qt::Key_Backspace);
        QCOMPARE(drives->currentIndex(), 0);

        const auto before = f.dir.contents();
        f.list1()->addItem(u"x"_s);
        f.get<Command>("Command5")->hide();
        QVERIFY(f.folders()->setPath(root + "/gone"));
        QVERIFY(f.results().isEmpty());
        QVERIFY(!f.get<Command>("Command5")->isHidden());
        drives->setCurrentIndex(1);
        QVERIFY(QDir().rmdir(QFile::decodeName(root + "/gone")));
        drives->setCurrentIndex(0);
        QCOMPARE(f.files()->path(), root);
        QCOMPARE(f.files()->displayNames(), QStringList{u"f.txt"_s});
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY(!f.folders()->setPath(root + "/missing"));
        drives->setDrives(DriveTable({root, root + "/missing"}, root), 0);
        drives->setCurrentIndex(1);
        QCOMPARE(f.boxes.shown().size(), 3);
        QCOMPARE(drives->currentIndex(), 0);
        QCOMPARE(f.files()->path(), root);
        QCOMPARE(f.dir.contents(), before);
    }

    // Started in a folder it cannot read, the form says so and opens the drive's root.
    void startsInUnreadableFolder()
    {
        test::TestDir dir;
        dir.createFolder("locked");
        const QByteArray locked = dir.nativePath() + "/locked";
        const QString back = QDir::currentPath();
        test::FakeMessageBoxes boxes;
        std::unique_ptr<Form2> form;
        QVERIFY(QDir::setCurrent(QFile::decodeName(locked)));
        {
            const test::UnreadableFolder unreadable(locked);
            if (::faccessat(AT_FDCWD, locked.constData(), R_OK, AT_EACCESS) != 0)
                form = std::make_unique<Form2>(boxes);
            QVERIFY(QDir::setCurrent(back));
        }
        if (!form)
            QSKIP("this process reads the folder whatever its permissions say");
        QCOMPARE(boxes.shown().size(), 1);
        QVERIFY2(boxes.shown().first().text.startsWith(u"无法打开文件夹【"_s +
                                                       QFile::decodeName(locked) + u"】："_s),
                 qPrintable(boxes.shown().first().text));
        auto *folders = form->findChild<FolderListBox *>(u"lstMap"_s);
        const auto *drives = form->findChild<DriveListBox *>(u"Drivestation"_s);
        QCOMPARE(folders->path(), drives->drive());
        QVERIFY(folders->count() > 0);
    }

    // Every "#" shows the start as typed; either box refreshes the preview, whichever changes
    // last. Clearing empties all three, each box raising Change once, so a rename then asks for
    // them and touches nothing.
    void previewAndClear()
    {
        Fixture f;
        f.openFolder({"a.txt"});
        const auto before = f.dir.contents();
        f.box("text1")->setText(u"A#B#"_s);
        f.box("text2")->setText(u"05"_s);
        QCOMPARE(f.box("text3")->Text(), u"A05B05"_s);
        // The preview is disabled, yet looks like the boxes one types in, so it stays legible.
        text *preview = f.box("text3");
        QVERIFY(!preview->isEnabled());
        const auto corner = [](QWidget *w) { return w->grab().toImage().pixel(0, 0); };
        QCOMPARE(corner(preview), corner(f.box("text1")));
        const QPalette look = preview->focusProxy()->palette();
        QCOMPARE(look.color(QPalette::Disabled, QPalette::Text),
                 look.color(QPalette::Active, QPalette::Text));
        f.box("text1")->setText(u"#x"_s);
        QCOMPARE(f.box("text3")->Text(), u"05x"_s);
        // A name that would leave the folder is refused while it is typed.
        f.box("text1")->setText(u"../#x"_s);
        QVERIFY(f.box("text3")->Text().contains(u"不能含有“/”"_s));
        f.box("text1")->setText(u"#x"_s);

        // Command3 puts one "#" in place of the selection, with one Change, and a real click
        // (which takes the focus first, as the user's would) leaves the focus in the box.
        f.showForm();
        f.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.form));
        auto *edit = qobject_cast<QLineEdit *>(f.box("text1")->focusProxy());
        f.box("text1")->setText(u"photo2023"_s);
        edit->setFocus();
        edit->setSelection(5, 4);
        QSignalSpy text1(f.box("text1"), &text::Change);
        QSignalSpy text2(f.box("text2"), &text::Change);
        f.click("Command3");
        QCOMPARE(f.box("text1")->Text(), u"photo#"_s);
        QCOMPARE(text1.size(), 1);
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(f.box("text3")->Text(), u"photo05"_s);

        f.click("Command2");
        QCOMPARE(text1.size(), 2);
        QCOMPARE(text2.size(), 1);
        QCOMPARE(f.box("text1")->Text() + f.box("text2")->Text() + f.box("text3")->Text(),
                 QString());
        f.click("Command1");
        QCOMPARE(f.boxes.shown().size(), 1);
        QCOMPARE(f.boxes.shown().first().text, u"没填完！"_s);
        QCOMPARE(f.dir.contents(), before);
    }

    void batchThenSecondBatchOnTheStaleList()
    {
        Fixture f;
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
        f.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.form));
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

    // The context menu re-sorts and filters the list at once, its checks follow, and a batch
    // numbers exactly the listed files in the listed order; the others keep their names.
    void orderAndFilterFromTheMenu()
    {
        Fixture f;
        f.dir.createFile("b.JPG", "b.JPG, the biggest");
        f.openFolder({"a.jpg", "c.txt"});
        const auto checked = [&f](const QString &choice = {}) {
            FileListMenu menu(f.files());
            QStringList texts;
            for (QAction *action : menu.actions()) {
                if (action->text() == choice)
                    action->trigger();
                if (action->isChecked())
                    texts.append(action->text());
            }
            return texts;
        };
        QCOMPARE(checked(), (QStringList{u"名称"_s, u"全部文件"_s}));
        f.box("text1")->setText(u"P#"_s);
        checked(u"拍摄日期"_s);
        f.click("Command1"); // not numbered while the list still shows another order
        QTRY_VERIFY(!f.files()->arranging());
        checked(u"大小"_s);
        QCOMPARE(f.files()->displayNames(), (QStringList{u"a.jpg"_s, u"c.txt"_s, u"b.JPG"_s}));
        checked(u"倒序"_s);
        checked(u"图片"_s);
        QCOMPARE(checked(), (QStringList{u"大小"_s, u"倒序"_s, u"图片"_s}));
        QCOMPARE(f.files()->displayNames(), (QStringList{u"b.JPG"_s, u"a.jpg"_s}));
        QVERIFY(f.results().isEmpty());
        f.click("Command1");
        QCOMPARE(f.results(), (QStringList{u"P00.JPG"_s, u"P01.jpg"_s}));
        QCOMPARE(f.dir.content("P00.JPG"), QByteArray("b.JPG, the biggest"));
        QCOMPARE(f.dir.names(), (QList<QByteArray>{"P00.JPG", "P01.jpg", "c.txt"}));

        // The next run starts with the same choices.
        f.get<QComboBox>("cboProfile")->setCurrentIndex(2);
        const Form2 next{f.boxes};
        QCOMPARE(next.findChild<QComboBox *>(u"cboProfile"_s)->currentIndex(), 2);
        const auto *files = next.findChild<FileListBox *>(u"lstFiles"_s);
        QVERIFY(files->order() == (ListOrder{ListOrder::Key::Size, true}));
        QCOMPARE(files->filter().patterns(), f.files()->filter().patterns());
    }

    void listReReadWhenAShownNameNowHoldsAnotherFile()
    {
        // p02 becomes p01 and q becomes p02: the list's "p02" would now name q's content.
        Fixture f;
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

    // Typing previews every new name in List1 before the click: the colliding rows in red,
    // each row readable as a whole; the batch's results then replace the preview.
    void previewInList()
    {
        Fixture f;
        f.openFolder({"a.jpg", "b.jpg", "c.png"});
        f.showForm();
        auto *view = f.list1()->findChild<QListView *>(u"List1Preview"_s);
        const auto *model = qobject_cast<const PreviewModel *>(view->model());
        QTest::keyClicks(f.box("text1")->focusProxy(), u"X"_s);
        QTRY_VERIFY(view->isVisible() && !model->checking());
        QAccessibleInterface *rows = QAccessible::queryAccessibleInterface(view);
        QCOMPARE(rows->child(0)->text(QAccessible::Name),
                 u"原名 a.jpg，新名 X.jpg，不能改名：另一个文件也要改成这个名字"_s);
        const QImage shot = view->viewport()->grab().toImage();
        QList<bool> red;
        for (int row = 0; row < 3; ++row) {
            const QRect at = view->visualRect(model->index(row));
            red.append(false);
            for (int x = at.left(); x < at.right(); ++x)
                red.last() |= qRed(shot.pixel(x, at.center().y())) > 200 &&
                              qGreen(shot.pixel(x, at.center().y())) < 100;
        }
        QCOMPARE(red, (QList<bool>{true, true, false}));
        QTest::keyClicks(f.box("text1")->focusProxy(), u"#"_s);
        QTRY_VERIFY(!model->checking());
        f.click("Command1");
        QVERIFY(!view->isVisible());
        QCOMPARE(f.results(), (QStringList{u"X00.jpg"_s, u"X01.jpg"_s, u"X02.png"_s}));
    }

    // Both conversions ask first, append to List1 without clearing it and leave the file list
    // as it was; converting the whole folder hides Command5 until the folder changes. Both
    // lists show a name with a newline escaped.
    void conversion_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("edited"); // text4 after the click; empty: as the click left it
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QByteArrayList>("after");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("profile"); // chosen after the click
        QTest::addColumn<QString>("preview");
        const auto row = [](const char *name, const char *command, const QString &edited, bool yes,
                            const QByteArray &after, const QByteArray &listed, int profile = 0,
                            const QString &preview = u"旧档案"_s) {
            QTest::newRow(name) << QByteArray(command) << edited << yes << test::names(after)
                                << test::texts(listed) << profile << preview;
        };
        row("one, text4 edited", "Command4", u"報告"_s, true, "readme.md|x\n舊.txt|报告.txt",
            "earlier|报告.txt");
        row("one, No", "Command4", {}, false, "readme.md|x\n舊.txt|舊檔案.txt", "earlier");
        row("all, Yes", "Command5", {}, true, "readme.md|x\n旧.txt|旧档案.txt",
            "earlier|readme.md|$'x\\n旧.txt'|旧档案.txt");
        row("all, Taiwan phrases", "Command5", {}, true, "readme.md|x\n旧.txt|旧文件.txt",
            "earlier|readme.md|$'x\\n旧.txt'|旧文件.txt", 3, u"旧文件"_s);
    }
    void conversion()
    {
        QFETCH(QByteArray, command);
        QFETCH(QString, edited);
        QFETCH(bool, yes);
        QFETCH(QByteArrayList, after);
        QFETCH(QStringList, listed);
        Fixture f;
        f.openFolder({"舊檔案.txt", "readme.md", "x\n舊.txt"});
        const auto before = f.dir.contents();
        const QStringList shown = f.files()->displayNames();
        QCOMPARE(shown, (QStringList{u"readme.md"_s, u"$'x\\n舊.txt'"_s, u"舊檔案.txt"_s}));
        f.get<QTabWidget>("SSTab1")->setCurrentIndex(1);
        f.list1()->addItem(u"earlier"_s);
        f.clickFile("舊檔案.txt");
        // The click puts the base name in text1 and text4, its simplified form in text5.
        QCOMPARE(f.box("text1")->Text(), u"舊檔案"_s);
        QCOMPARE(f.box("text5")->Text(), u"旧档案"_s);
        QFETCH(int, profile);
        f.get<QComboBox>("cboProfile")->setCurrentIndex(profile);
        QTEST(f.box("text5")->Text(), "preview");
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

    // The folder list's entry counts a tree's names off the window's thread, asks, converts
    // them as one batch, lists the new names and shows the new folder names; one undo brings
    // the whole tree back.
    void treeFromTheFolderList()
    {
        Fixture f;
        for (const char *folder : {"舊書", "舊書/電腦", "後藤さん"})
            f.dir.createFolder(folder);
        f.dir.createFile("舊書/電腦/資料.txt");
        f.openFolder({"報告.txt"});
        const auto before = f.dir.contents();
        f.folders()->findChild<FolderTreeMenu *>()->convertTree(f.dir.nativePath());
        QTRY_VERIFY_WITH_TIMEOUT(!f.form.batchRunning(), 20000);
        QCOMPARE(f.boxes.shown().size(), 1);
        QVERIFY2(f.boxes.shown().first().text.endsWith(
                     u"中 4 个名称转换为简体（文件 2 个，文件夹 2 个）?"_s),
                 qPrintable(f.boxes.shown().first().text));
        QCOMPARE(f.results(), (QStringList{u"舊書/電腦/资料.txt"_s, u"舊書/电脑"_s, u"报告.txt"_s,
                                           u"“後藤さん”：日文名，未转换"_s, u"旧书"_s}));
        QCOMPARE(test::TestDir::namesIn(f.dir.nativePath() + "/旧书/电脑"),
                 QByteArrayList{"资料.txt"});
        QCOMPARE(f.folders()->findItems(u"旧书"_s, Qt::MatchEndsWith).size(), 1);
        QCOMPARE(f.files()->displayNames(), QStringList{u"报告.txt"_s});
        // The undo takes back the name of the folder shown: the list goes up to one still there.
        QVERIFY(f.folders()->setPath(f.dir.nativePath() + "/旧书/电脑"));
        f.form.undoLastBatch();
        QTRY_VERIFY_WITH_TIMEOUT(!f.form.batchRunning(), 20000);
        QCOMPARE(f.boxes.shown().last().text.contains(u" 4 个文件"_s), true);
        QCOMPARE(test::TestDir::namesIn(f.dir.nativePath() + "/舊書/電腦"),
                 QByteArrayList{"資料.txt"});
        QCOMPARE(f.dir.contents(), before);
        QCOMPARE(f.folders()->path(), f.dir.nativePath());
        QCOMPARE(f.folders()->findItems(u"舊書"_s, Qt::MatchEndsWith).size(), 1);
        QCOMPARE(f.files()->displayNames(), QStringList{u"報告.txt"_s});
    }
};

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
