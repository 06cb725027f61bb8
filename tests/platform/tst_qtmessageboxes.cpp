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
        const QString app = QStringLiteral("Tolvane");
        QTest::newRow("notice") << 0 << Button::Ok << app << QMessageBox::NoIcon;
        QTest::newRow("failure") << 1 << Button::Ok << app << QMessageBox::Warning;
        QTest::newRow("fatal") << 2 << Button::Ok << app << QMessageBox::Critical;
        const QString question = QStringLiteral("转换");
        QTest::newRow("yes") << 3 << Button::Yes << question << QMessageBox::NoIcon;
        QTest::newRow("no") << 3 << Button::No << question << QMessageBox::NoIcon;
    }

    void boxes()
    {
        QFETCH(int, kind);
        QFETCH(Button, press);
        QFETCH(QString, title);
        QFETCH(QMessageBox::Icon, icon);
        // What the open box shows, before `press` is clicked on it.
        QWidget parent;
        std::tuple<QWidget *, QString, QString, int, int, int> seen;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen = {box->parentWidget(),
                        box->windowTitle(),
                        box->text(),
                        box->icon(),
                        box->standardButtons(),
                        box->standardButton(box->defaultButton())};
                box->button(press)->click();
            }
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
        const int only = kind == 3 ? Button::Yes : Button::Ok; // also the default
        const int buttons = kind == 3 ? only | Button::No : only;
        QCOMPARE(seen, std::make_tuple(&parent, title, text, int(icon), buttons, only));
        QCOMPARE(answered, press == Button::Yes);
    }
};

QTEST_MAIN(TestQtMessageBoxes)
#include "tst_qtmessageboxes.moc"
