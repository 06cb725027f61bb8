#include "form2fixture.h"
#include "platform/rawname.h"
#include "workbench/drivelistbox.h"

#include <QSignalSpy>

using namespace tolvane;
using namespace Qt::StringLiterals;

class TestForm2Navigation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void folderChangeListsFilesAndResets()
    {
        test::Form2Fixture f;
        f.dir.createFile("file10.txt");
        f.dir.createFile("File2.txt");
        f.dir.createFile(".hidden");
        f.dir.createFile("caf\xe9");
        f.dir.createFolder("sub");
        f.get<QListWidget>("List1")->addItem(u"old result"_s);
        f.get<Command>("Command5")->hide();
        const auto before = f.dir.contents();

        QSignalSpy changes(f.folders(), &FolderListBox::Change);
        f.openFolder();
        QCOMPARE(changes.size(), 1);
        QCOMPARE(f.files()->path(), f.dir.nativePath());
        QCOMPARE(f.files()->displayNames(),
                 (QStringList{u"caf\\xE9"_s, u"File2.txt"_s, u"file10.txt"_s}));
        QCOMPARE(f.files()->entry(0), QByteArray("caf\xe9"));
        QVERIFY(f.results().isEmpty());
        QVERIFY(!f.get<Command>("Command5")->isHidden());
        // The folder list shows the new folder's subfolders.
        QVERIFY(!f.folders()->findItems(u"sub"_s, Qt::MatchEndsWith).isEmpty());
        QCOMPARE(f.dir.contents(), before);
    }

    void subfolderAndBackByKeyboard()
    {
        test::Form2Fixture f;
        f.dir.createFolder("inner");
        f.dir.createFile("top.txt");
        const auto before = f.dir.contents();
        f.openFolder();
        const QByteArray inner = f.dir.nativePath() + "/inner";
        const QList<QListWidgetItem *> rows = f.folders()->findItems(u"inner"_s, Qt::MatchEndsWith);
        QCOMPARE(rows.size(), 1);
        f.folders()->setCurrentItem(rows.first());
        QTest::keyClick(f.folders(), Qt::Key_Return);
        QCOMPARE(f.folders()->path(), inner);
        QCOMPARE(f.files()->path(), inner);
        QTest::keyClick(f.folders(), Qt::Key_Backspace);
        QCOMPARE(f.files()->path(), f.dir.nativePath());
        QCOMPARE(f.files()->displayNames(), QStringList{u"top.txt"_s});
        QCOMPARE(f.dir.contents(), before);
    }

    void unreadableFolderIsReported()
    {
        test::Form2Fixture f;
        f.openFolder();
        QVERIFY(!f.folders()->setPath(f.dir.nativePath() + "/missing"));
        QCOMPARE(f.folders()->path(), f.dir.nativePath());
        QCOMPARE(f.boxes.shown().size(), 1);
        QCOMPARE(f.boxes.shown().first().kind, test::FakeMessageBoxes::Kind::Failure);
    }

    void driveChangeMovesTheFolderList()
    {
        test::Form2Fixture f;
        f.dir.createFolder("other");
        f.dir.createFile("f.txt");
        const QByteArray other = f.dir.nativePath() + "/other";
        // Two drives: the test folder's parent tree as "/" and the folder "other" as a drive.
        DriveListBox *drives = f.get<DriveListBox>("Drivestation");
        drives->setDrives(DriveTable({"/", other}, f.dir.nativePath()), 0);
        f.openFolder();
        f.get<QListWidget>("List1")->addItem(u"x"_s);
        f.get<Command>("Command5")->hide();

        drives->setCurrentIndex(1);
        QCOMPARE(f.folders()->path(), other);
        QCOMPARE(f.files()->count(), 0);
        QVERIFY(f.results().isEmpty());
        QVERIFY(!f.get<Command>("Command5")->isHidden());
        // Back on the first drive, the folder list returns to where it was on that drive.
        drives->setCurrentIndex(0);
        QCOMPARE(f.folders()->path(), f.dir.nativePath());
        QCOMPARE(f.files()->displayNames(), QStringList{u"f.txt"_s});
        QCOMPARE(f.dir.content("f.txt"), QByteArray("f.txt"));
    }

    void unreadableDriveKeepsTheFolder()
    {
        test::Form2Fixture f;
        f.dir.createFile("f.txt");
        DriveListBox *drives = f.get<DriveListBox>("Drivestation");
        drives->setDrives(DriveTable({"/", f.dir.nativePath() + "/gone"}, f.dir.nativePath()), 0);
        f.openFolder();
        drives->setCurrentIndex(1);
        // The failure is reported; the drive list goes back to the drive the folder list is on.
        QCOMPARE(f.boxes.shown().size(), 1);
        QCOMPARE(drives->currentIndex(), 0);
        QCOMPARE(f.folders()->path(), f.dir.nativePath());
        QCOMPARE(f.files()->displayNames(), QStringList{u"f.txt"_s});
    }

    void fileClickFillsNameFields_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("base");

        QTest::newRow("no extension") << QByteArray("Makefile") << u"Makefile"_s;
        QTest::newRow("first dot ends the base") << QByteArray("photo.2023.jpg") << u"photo"_s;
        QTest::newRow("archive") << QByteArray("a.tar.gz") << u"a"_s;
        QTest::newRow("traditional") << QByteArray("舊檔案.txt") << u"舊檔案"_s;
        QTest::newRow("invalid UTF-8") << QByteArray("n\xff.txt") << u"n\\xFF"_s;
    }
    void fileClickFillsNameFields()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, base);
        test::Form2Fixture f;
        f.dir.createFile(file);
        f.dir.createFile("zzz.txt");
        f.openFolder();
        f.box("text1")->setText(u"typed #"_s);
        const auto before = f.dir.contents();
        f.clickFile(displayName(file));
        QCOMPARE(f.files()->selectedName(), file);
        QCOMPARE(f.box("text1")->Text(), base);
        QCOMPARE(f.box("text4")->Text(), base);
        // Setting text1 refreshes the preview at once.
        QCOMPARE(f.box("text3")->Text(), base);
        QCOMPARE(f.dir.contents(), before);
    }
};

QTEST_MAIN(TestForm2Navigation)
#include "tst_form2navigation.moc"
