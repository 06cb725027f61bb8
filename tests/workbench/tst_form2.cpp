#include "form2fixture.h"
#include "support/unreadablefolder.h"
#include "workbench/drivelistbox.h"
#include "workbench/form2layout.h"

#include <QDir>
#include <QSignalSpy>
#include <QTabWidget>
#include <memory>

using namespace tolvane;
using namespace Qt::StringLiterals;

class TestForm2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every control of the layout sits where it says, inside its container and whole.
    void geometry_data()
    {
        QTest::addColumn<int>("index");
        for (qsizetype i = 0; i < qsizetype(Form2Layout.size()); ++i) {
            if (!Form2Layout[i].name.isEmpty())
                QTest::newRow(Form2Layout[i].name.toLatin1().constData()) << int(i);
        }
    }
    void geometry()
    {
        QFETCH(int, index);
        const Form2Control &entry = Form2Layout[index];
        const QString name = entry.name.toString();
        test::Form2Fixture f;
        f.showForm();
        QCOMPARE(f.form.size(), QSize(485, 439));
        f.get<QTabWidget>("SSTab1")->setCurrentIndex(entry.page);
        QWidget *control = f.get(name.toLatin1().constData());
        QWidget *box =
            entry.container == u"Form2" ? &f.form : f.get(entry.container.toLatin1().constData());
        QVERIFY(box->isAncestorOf(control));
        // 15 twips to a pixel, rounded to the nearest.
        const QRect twips = entry.twips;
        QCOMPARE(QRect(control->mapTo(box, QPoint()), control->size()),
                 QRect(twips.topLeft() / 15.0, twips.size() / 15.0));
        QVERIFY(control->isVisible());
        // The previews are display-only.
        QCOMPARE(control->isEnabled(), name != u"text3" && name != u"text5");
        // Nothing of the control is cut off by the page or group box it sits in.
        QRect shown = control->rect();
        for (QWidget *p = control->parentWidget(); p; p = p->parentWidget())
            shown &= QRect(control->mapFrom(p, QPoint()), p->size());
        QCOMPARE(shown, control->rect());
    }

    // Drive, then folder, then files: the results go, Command5 comes back. The drive box
    // follows the folder list onto another drive; a drive whose folder has gone opens at its
    // root.
    void driveFolderFilesChain()
    {
        test::Form2Fixture f;
        f.dir.createFolder("other");
        f.dir.createFolder("gone");
        f.dir.createFile("other/caf\xe9");
        const QByteArray root = f.dir.nativePath();
        const QByteArray other = root + "/other";
        // Two drives: the test folder and its folder "other".
        auto *drives = f.get<DriveListBox>("Drivestation");
        drives->setDrives(DriveTable({root, other}, root), 0);
        QVERIFY(f.folders()->setDrive(root, root + "/gone"));
        f.dir.createFile("f.txt");
        // Into "other" by keyboard: the box shows its drive; back out the same way.
        QVERIFY(f.folders()->setPath(root));
        f.folders()->setCurrentItem(f.folders()->findItems(u"other"_s, Qt::MatchEndsWith).value(0));
        QTest::keyClick(f.folders(), Qt::Key_Return);
        QCOMPARE(f.files()->path(), other);
        QCOMPARE(drives->currentIndex(), 1);
        QTest::keyClick(f.folders(), Qt::Key_Backspace);
        QCOMPARE(f.files()->path(), root);
        QCOMPARE(drives->currentIndex(), 0);

        const auto before = f.dir.contents();
        f.list1()->addItem(u"x"_s);
        f.get<Command>("Command5")->hide();
        QSignalSpy changes(f.folders(), &FolderListBox::Change);
        drives->setCurrentIndex(1);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(f.files()->path(), other);
        QCOMPARE(f.files()->displayNames(), QStringList{u"caf\\xE9"_s});
        QCOMPARE(f.files()->entry(0), QByteArray("caf\xe9"));
        QVERIFY(f.results().isEmpty());
        QVERIFY(!f.get<Command>("Command5")->isHidden());
        // Back on the first drive, the folder list returns to where it was on that drive,
        // or to the drive's root once that folder is gone.
        QVERIFY(f.folders()->setPath(root + "/gone"));
        drives->setCurrentIndex(1);
        QVERIFY(QDir().rmdir(QFile::decodeName(root + "/gone")));
        drives->setCurrentIndex(0);
        QCOMPARE(drives->currentIndex(), 0);
        QCOMPARE(f.files()->path(), root);
        QCOMPARE(f.files()->displayNames(), QStringList{u"f.txt"_s});
        QCOMPARE(f.boxes.shown().size(), 1);
        // A folder, or a drive, that cannot be opened is reported and leaves the lists as
        // they were.
        QVERIFY(!f.folders()->setPath(root + "/missing"));
        drives->setDrives(DriveTable({root, root + "/missing"}, root), 0);
        drives->setCurrentIndex(1);
        QCOMPARE(f.boxes.shown().size(), 3);
        QCOMPARE(drives->currentIndex(), 0);
        QCOMPARE(f.files()->path(), root);
        QCOMPARE(f.files()->displayNames(), QStringList{u"f.txt"_s});
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

    void fileClickFillsNameFields_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("base");
        QTest::newRow("no dot") << QByteArray("Makefile") << u"Makefile"_s;
        QTest::newRow("first dot ends the base") << QByteArray("photo.2023.jpg") << u"photo"_s;
        QTest::newRow("invalid UTF-8") << QByteArray("n\xff.txt") << u"n\\xFF"_s;
    }
    void fileClickFillsNameFields()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, base);
        test::Form2Fixture f;
        f.openFolder({file, "zzz.txt"});
        f.box("text1")->setText(u"typed #"_s);
        const auto before = f.dir.contents();
        f.clickFile(file);
        QCOMPARE(f.files()->selectedName(), file);
        QCOMPARE(f.box("text1")->Text(), base);
        QCOMPARE(f.box("text4")->Text(), base);
        // Setting text1 refreshes the preview at once.
        QCOMPARE(f.box("text3")->Text(), base);
        QCOMPARE(f.dir.contents(), before);
    }
};

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
