#include "form2fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

using namespace tolvane;
using namespace Qt::StringLiterals;

namespace {

// Table positions are twips relative to the container; pixels are twips / 15.
QRect pixelsOf(int left, int top, int width, int height)
{
    return {qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0)};
}

} // namespace

class TestForm2Layout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QRect>("rect");

        const auto row = [](const char *name, const char *container, int tab, int left, int top,
                            int width, int height) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container)
                                << tab << pixelsOf(left, top, width, height);
        };
        row("Drivestation", "Form2", 0, 80, 0, 3255, 300);
        row("lstMap", "Form2", 0, 80, 360, 3255, 2400);
        row("lstFiles", "Form2", 0, 80, 2880, 3255, 3630);
        row("List1", "Form2", 0, 3360, 2880, 3855, 3630);
        row("SSTab1", "Form2", 0, 3360, 0, 3855, 2775);
        row("Frame1", "SSTab1", 0, 120, 360, 3615, 2350);
        row("Label1", "Frame1", 0, 120, 300, 1455, 375);
        row("Command3", "Frame1", 0, 1560, 240, 255, 255);
        row("text1", "Frame1", 0, 120, 600, 3375, 330);
        row("Label2", "Frame1", 0, 120, 1080, 1335, 255);
        row("text2", "Frame1", 0, 1560, 1030, 1935, 330);
        row("Label3", "Frame1", 0, 120, 1530, 1335, 375);
        row("text3", "Frame1", 0, 1560, 1440, 1935, 330);
        row("Command1", "Frame1", 0, 600, 1860, 1215, 375);
        row("Command2", "Frame1", 0, 2160, 1860, 1095, 375);
        row("Label4", "SSTab1", 1, 120, 480, 1815, 255);
        row("text4", "SSTab1", 1, 120, 720, 3615, 330);
        row("Label5", "SSTab1", 1, 120, 1320, 1695, 255);
        row("text5", "SSTab1", 1, 120, 1560, 3615, 330);
        row("Command4", "SSTab1", 1, 360, 2040, 1215, 495);
        row("Command5", "SSTab1", 1, 2040, 2040, 1335, 495);
    }
    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(int, tab);
        QFETCH(QRect, rect);
        test::Form2Fixture f;
        f.showForm();
        QCOMPARE(f.form.size(), QSize(485, 439));
        auto *tabs = f.get<QTabWidget>("SSTab1");
        tabs->setCurrentIndex(tab);
        QWidget *control = f.get<QWidget>(name.toLatin1().constData());
        QWidget *box =
            container == u"Form2"_s ? &f.form : f.get<QWidget>(container.toLatin1().constData());
        QVERIFY(box->isAncestorOf(control));
        QCOMPARE(QRect(control->mapTo(box, QPoint()), control->size()), rect);
        QVERIFY(control->isVisible());
        // Nothing of the control is cut off by the page or group box it sits in.
        QRect shown = control->rect();
        for (QWidget *p = control->parentWidget(); p; p = p->parentWidget())
            shown &= QRect(control->mapFrom(p, QPoint()), p->size());
        QCOMPARE(shown, control->rect());
    }

    void startState()
    {
        test::Form2Fixture f;
        QCOMPARE(f.get<QTabWidget>("SSTab1")->currentIndex(), 0);
        QCOMPARE(f.get<QTabWidget>("SSTab1")->tabText(0), u"重命名"_s);
        QCOMPARE(f.get<QTabWidget>("SSTab1")->tabText(1), u"繁转简"_s);
        QCOMPARE(f.get<QGroupBox>("Frame1")->title(), u"设置文件名格式"_s);
        QCOMPARE(f.form.batchState().StartTextLength, qint16(0));
        QVERIFY(f.form.batchState().SerialFormat.isEmpty());
        QVERIFY(f.form.conversionState().NameToConvert.isEmpty());
        QVERIFY(f.form.conversionState().ConvertedName.isEmpty());
        QVERIFY(f.results().isEmpty());
        // The lists come up on the working folder.
        QCOMPARE(f.folders()->path(), QFile::encodeName(QDir::currentPath()));
        QCOMPARE(f.files()->path(), f.folders()->path());
    }

    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Label1") << u"Label1"_s << u"添加#为序列号："_s;
        QTest::newRow("Label2") << u"Label2"_s << u"序列号起始号："_s;
        QTest::newRow("Label3") << u"Label3"_s << u"新文件名："_s;
        QTest::newRow("Label4") << u"Label4"_s << u"繁体文件名："_s;
        QTest::newRow("Label5") << u"Label5"_s << u"简体文件名："_s;
        QTest::newRow("Command1") << u"Command1"_s << u"确 定"_s;
        QTest::newRow("Command2") << u"Command2"_s << u"Esc"_s;
        QTest::newRow("Command3") << u"Command3"_s << u"#"_s;
        QTest::newRow("Command4") << u"Command4"_s << u"转换选定"_s;
        QTest::newRow("Command5") << u"Command5"_s << u"全部转换"_s;
    }
    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        test::Form2Fixture f;
        if (const auto *label = f.form.findChild<QLabel *>(name)) {
            QCOMPARE(label->text(), caption);
            return;
        }
        const Command *button = f.get<Command>(name.toLatin1().constData());
        QCOMPARE(button->Caption(), caption);
        QCOMPARE(button->Font().family(), u"宋体"_s);
        QCOMPARE(button->Font().pointSizeF(), 9.0);
        QCOMPARE(button->Font().weight(), QFont::Normal);
        QVERIFY(button->Enabled());
        QVERIFY(button->Icon().isNull());
    }

    void textBoxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("text1") << u"text1"_s << QString() << u"宋体"_s << 9.0 << true;
        QTest::newRow("text2") << u"text2"_s << u"0"_s << u"Tahoma"_s << 8.25 << true;
        QTest::newRow("text3") << u"text3"_s << u"0"_s << u"Tahoma"_s << 8.25 << false;
        QTest::newRow("text4") << u"text4"_s << u"0"_s << u"Tahoma"_s << 8.25 << true;
        QTest::newRow("text5") << u"text5"_s << u"0"_s << u"Tahoma"_s << 8.25 << false;
    }
    void textBoxes()
    {
        QFETCH(QString, name);
        QFETCH(QString, content);
        QFETCH(QString, family);
        QFETCH(double, points);
        QFETCH(bool, enabled);
        test::Form2Fixture f;
        const text *box = f.box(name.toLatin1().constData());
        QCOMPARE(box->Text(), content);
        QCOMPARE(box->Font().family(), family);
        QCOMPARE(box->Font().pointSizeF(), points);
        QCOMPARE(box->Enabled(), enabled);
    }

    void tabOrder()
    {
        test::Form2Fixture f;
        const QStringList order = {u"Drivestation"_s, u"lstMap"_s,   u"lstFiles"_s, u"List1"_s,
                                   u"SSTab1"_s,       u"Command3"_s, u"Command2"_s, u"Command1"_s,
                                   u"text3"_s,        u"text2"_s,    u"text1"_s,    u"text4"_s,
                                   u"text5"_s,        u"Command4"_s, u"Command5"_s};
        // Walk the focus chain once round; a part inside a control counts as that control.
        QStringList seen;
        QWidget *start = f.get<QWidget>("Drivestation");
        QWidget *w = start;
        do {
            for (QWidget *p = w; p && p != &f.form; p = p->parentWidget()) {
                if (order.contains(p->objectName()) && p->focusPolicy() != Qt::NoFocus) {
                    if (seen.isEmpty() || seen.last() != p->objectName())
                        seen.append(p->objectName());
                    break;
                }
            }
            w = w->nextInFocusChain();
        } while (w != start);
        seen.removeDuplicates();
        QCOMPARE(seen, order);
    }
};

QTEST_MAIN(TestForm2Layout)
#include "tst_form2layout.moc"
