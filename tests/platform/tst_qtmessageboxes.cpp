#include "platform/qtmessageboxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tolvane;

using Button = QMessageBox::StandardButton;

class TestQtMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void boxes_data()
    {
        QTest::addColumn<int>("kind"); // notice, failure, fatal, question
        QTest::addColumn<Button>("press");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<bool>("answer");
        const QString app = QStringLiteral("Tolvane");
        QTest::newRow("notice") << 0 << Button::Ok << app << QMessageBox::NoIcon << false;
        QTest::newRow("failure") << 1 << Button::Ok << app << QMessageBox::Warning << false;
        QTest::newRow("fatal") << 2 << Button::Ok << app << QMessageBox::Critical << false;
        const QString question = QStringLiteral("转换");
        QTest::newRow("yes") << 3 << Button::Yes << question << QMessageBox::NoIcon << true;
        QTest::newRow("no") << 3 << Button::No << question << QMessageBox::NoIcon << false;
    }

    void boxes()
    {
        QFETCH(int, kind);
        QFETCH(Button, press);
        QFETCH(QString, title);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(bool, answer);
        // What the modal box showed, looked at once it is open; then `press` is clicked.
        QWidget parent;
        QWidget *seenParent = nullptr;
        QString seenTitle, seenText;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons seenButtons;
        Button seenDefault = Button::NoButton;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seenParent = box->parentWidget();
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenIcon = box->icon();
            seenButtons = box->standardButtons();
            seenDefault = box->standardButton(box->defaultButton());
            box->button(press)->click();
        });

        QtMessageBoxes boxes(&parent);
        const QString text = QStringLiteral("没填完！");
        bool answered = false;
        if (kind == 0)
            boxes.notice(text);
        else if (kind == 1)
            boxes.failure(text);
        else if (kind == 2)
            boxes.fatal(text);
        else
            answered = boxes.askYesNo(title, text);
        QCOMPARE(seenParent, &parent);
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenText, text);
        QCOMPARE(seenIcon, icon);
        const Button only = kind == 3 ? Button::Yes : Button::Ok; // also the default
        QCOMPARE(seenButtons, kind == 3 ? only | Button::No : only);
        QCOMPARE(seenDefault, only);
        QCOMPARE(answered, answer);
    }
};

QTEST_MAIN(TestQtMessageBoxes)
#include "tst_qtmessageboxes.moc"
