#include "platform/qtmessageboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tolvane;

namespace {

// What the box looked like while it was open.
struct Seen
{
    bool found = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QWidget *parent = nullptr;
};

// Looks at the modal box as soon as it is shown and then presses `press` on it.
void inspectNextBox(Seen &seen, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [&seen, press] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {true,
                box->windowTitle(),
                box->text(),
                box->icon(),
                box->standardButtons(),
                box->defaultButton() ? box->standardButton(box->defaultButton())
                                     : QMessageBox::NoButton,
                box->parentWidget()};
        box->button(press)->click();
    });
}

} // namespace

class TestQtMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void boxes_data();
    void boxes();
};

void TestQtMessageBoxes::boxes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QMessageBox::StandardButton>("press");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QMessageBox::StandardButtons>("buttons");
    QTest::addColumn<QMessageBox::StandardButton>("defaultButton");
    QTest::addColumn<bool>("answer");

    const QString app = QStringLiteral("Tolvane");
    const QMessageBox::StandardButtons yesNo = QMessageBox::Yes | QMessageBox::No;
    QTest::newRow("notice") << QStringLiteral("notice") << QMessageBox::Ok << app
                            << QMessageBox::NoIcon << QMessageBox::StandardButtons(QMessageBox::Ok)
                            << QMessageBox::Ok << false;
    QTest::newRow("failure") << QStringLiteral("failure") << QMessageBox::Ok << app
                             << QMessageBox::Warning
                             << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::Ok
                             << false;
    QTest::newRow("fatal") << QStringLiteral("fatal") << QMessageBox::Ok << app
                           << QMessageBox::Critical << QMessageBox::StandardButtons(QMessageBox::Ok)
                           << QMessageBox::Ok << false;
    QTest::newRow("question, yes")
        << QStringLiteral("question") << QMessageBox::Yes << QStringLiteral("转换")
        << QMessageBox::NoIcon << yesNo << QMessageBox::Yes << true;
    QTest::newRow("question, no") << QStringLiteral("question") << QMessageBox::No
                                  << QStringLiteral("转换") << QMessageBox::NoIcon << yesNo
                                  << QMessageBox::Yes << false;
}

void TestQtMessageBoxes::boxes()
{
    QFETCH(QString, kind);
    QFETCH(QMessageBox::StandardButton, press);
    QFETCH(QString, title);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QMessageBox::StandardButtons, buttons);
    QFETCH(QMessageBox::StandardButton, defaultButton);
    QFETCH(bool, answer);

    QWidget parent;
    QtMessageBoxes boxes(&parent);
    const QString text = QStringLiteral("没填完！");
    Seen seen;
    inspectNextBox(seen, press);
    bool answered = false;
    if (kind == QLatin1String("notice"))
        boxes.notice(text);
    else if (kind == QLatin1String("failure"))
        boxes.failure(text);
    else if (kind == QLatin1String("fatal"))
        boxes.fatal(text);
    else
        answered = boxes.askYesNo(title, text);

    QVERIFY(seen.found);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.icon, icon);
    QCOMPARE(seen.buttons, buttons);
    QCOMPARE(seen.defaultButton, defaultButton);
    QCOMPARE(seen.parent, &parent);
    QCOMPARE(answered, answer);
}

QTEST_MAIN(TestQtMessageBoxes)
#include "tst_qtmessageboxes.moc"
