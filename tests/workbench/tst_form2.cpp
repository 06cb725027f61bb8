#include "engine/basename.h"
#include "form2fixture.h"
#include "workbench/drivelistbox.h"

#include <QSignalSpy>
#include <QTabWidget>

using namespace tolvane;
using namespace Qt::StringLiterals;

class TestForm2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Positions are twips relative to the container, 15 twips to a pixel.
    void geometry_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("container");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QRect>("rect");
        const auto row = [](const char *name, const char *container, int tab, QRect twips) {
            QTest::newRow(name) << QByteArray(name) << QByteArray(container) << tab
                                << QRect(twips.topLeft() / 15.0, twips.size() / 15.0);
        };
        row("Drivestation", "Form2", 0, {80, 0, 3255, 300});
        row("lstMap", "Form2", 0, {80, 360, 3255, 2400});
        row("lstFiles", "Form2", 0, {80, 2880, 3255, 3630});
        row("List1", "Form2", 0, {3360, 2880, 3855, 3630});
        row("SSTab1", "Form2", 0, {3360, 0, 3855, 2775});
        row("Frame1", "SSTab1", 0, {120, 360, 3615, 2350});
        row("Label1", "Frame1", 0, {120, 300, 1455, 375});
        row("Command3", "Frame1", 0, {1560, 240, 255, 255});
        row("text1", "Frame1", 0, {120, 600, 3375, 330});
        row("Label2", "Frame1", 0, {120, 1080, 1335, 255});
        row("text2", "Frame1", 0, {1560, 1030, 1935, 330});
        row("Label3", "Frame1", 0, {120, 1530, 1335, 375});
        row("text3", "Frame1", 0, {1560, 1440, 1935, 330});
        row("Command1", "Frame1", 0, {600, 1860, 1215, 375});
        row("Command2", "Frame1", 0, {2160, 1860, 1095, 375});
        row("Label4", "SSTab1", 1, {120, 480, 1815, 255});
        row("text4", "SSTab1", 1, {120, 720, 3615, 330});
        row("Label5", "SSTab1", 1, {120, 1320, 1695, 255});
        row("text5", "SSTab1", 1, {120, 1560, 3615, 330});
        row("Command4", "SSTab1", 1, {360, 2040, 1215, 495});
        row("Command5", "SSTab1", 1, {2040, 2040, 1335, 495});
    }
    void geometry()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, container);
        QFETCH(int, tab);
        QFETCH(QRect, rect);
        test::Form2Fixture f;
        f.showForm();
        QCOMPARE(f.form.size(), QSize(485, 439));
        f.get<QTabWidget>("SSTab1")->setCurrentIndex(tab);
        QWidget *control = f.get(name.constData());
        QWidget *box = container == "Form2" ? &f.form : f.get(container.constData());
        QVERIFY(box->isAncestorOf(control));
        QCOMPARE(QRect(control->mapTo(box, QPoint()), control->size()), rect);
        QVERIFY(control->isVisible());
        // The previews are display-only.
        QCOMPARE(control->isEnabled(), name != "text3" && name != "text5");
        // Nothing of the control is cut off by the page or group box it sits in.
        QRect shown = control->rect();
        for (QWidget *p = control->parentWidget(); p; p = p->parentWidget())
            shown &= QRect(control->mapFrom(p, QPoint()), p->size());
        QCOMPARE(shown, control->rect());
    }

    void tabOrder()
    {
        test::Form2Fixture f;
        const QStringList order =
            u"Drivestation lstMap lstFiles List1 SSTab1 Command3 Command2 "
            u"Command1 text3 text2 text1 text4 text5 Command4 Command5"_s.split(u' ');
        // Walk the focus chain once round; a part inside a control counts as that control.
        QStringList seen;
        QWidget *start = f.get("Drivestation"), *w = start;
        do {
            QWidget *p = w;
            while (p != &f.form &&
                   (!order.contains(p->objectName()) || p->focusPolicy() == Qt::NoFocus))
                p = p->parentWidget();
            if (p != &f.form)
                seen.append(p->objectName());
            w = w->nextInFocusChain();
        } while (w != start);
        seen.removeDuplicates();
        QCOMPARE(seen, order);
    }

    // Drive, then folder, then files: the results go, Command5 comes back.
    void driveFolderFilesChain()
    {
        test::Form2Fixture f;
        f.dir.createFolder("other");
        f.dir.createFile("other/caf\xe9");
        const QByteArray other = f.dir.nativePath() + "/other";
        // Two drives: the test folder's tree as "/" and the folder "other" as a drive.
        auto *drives = f.get<DriveListBox>("Drivestation");
        drives->setDrives(DriveTable({"/", other}, f.dir.nativePath()), 0);
        f.openFolder({"f.txt"});
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
        // Back on the first drive, the folder list returns to where it was on that drive.
        drives->setCurrentIndex(0);
        QCOMPARE(f.files()->path(), f.dir.nativePath());
        QCOMPARE(f.files()->displayNames(), QStringList{u"f.txt"_s});
        // Into a subfolder and back by keyboard.
        f.folders()->setCurrentItem(f.folders()->findItems(u"other"_s, Qt::MatchEndsWith).value(0));
        QTest::keyClick(f.folders(), Qt::Key_Return);
        QCOMPARE(f.files()->path(), other);
        QTest::keyClick(f.folders(), Qt::Key_Backspace);
        QCOMPARE(f.files()->path(), f.dir.nativePath());
        QCOMPARE(f.dir.contents(), before);
    }

    // A folder or drive that cannot be opened is reported and leaves the lists where they were.
    void unreadablePlaces()
    {
        test::Form2Fixture f;
        auto *drives = f.get<DriveListBox>("Drivestation");
        drives->setDrives(DriveTable({"/", f.dir.nativePath() + "/gone"}, f.dir.nativePath()), 0);
        f.openFolder({"f.txt"});
        QVERIFY(!f.folders()->setPath(f.dir.nativePath() + "/missing"));
        QCOMPARE(f.boxes.shown().size(), 1);
        drives->setCurrentIndex(1);
        QCOMPARE(f.boxes.shown().size(), 2);
        QCOMPARE(drives->currentIndex(), 0);
        QCOMPARE(f.folders()->path(), f.dir.nativePath());
        QCOMPARE(f.files()->displayNames(), QStringList{u"f.txt"_s});
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
        QCOMPARE(baseName(".profile"), QByteArray()); // hidden, so never clicked
        QCOMPARE(f.box("text1")->Text(), base);
        QCOMPARE(f.box("text4")->Text(), base);
        // Setting text1 refreshes the preview at once.
        QCOMPARE(f.box("text3")->Text(), base);
        QCOMPARE(f.dir.contents(), before);
    }
};

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
