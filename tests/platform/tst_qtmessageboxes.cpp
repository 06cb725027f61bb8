#include "platform/qtmessageboxes.h"
#include "platform/qttranslations.h"

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
    void initTestCase() { m_translated = installQtTranslations(*qApp); }

    // Each box over its parent and modal to it, titled exactly, its buttons in Chinese, the first
    // the default.
    void boxes_data()
    {
        QTest::addColumn<int>("kind"); // notice, failure, fatal, question
        QTest::addColumn<Button>("press");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("captions"); // "&" before the access key
        const QString app = QStringLiteral("Tolvane");
        const QStringList ok{QStringLiteral("确定")};
        QTest::newRow("notice") << 0 << Button::Ok << app << ok;
        QTest::newRow("failure") << 1 << Button::Ok << app << ok;
        QTest::newRow("fatal") << 2 << Button::Ok << app << ok;
        const QStringList yesNo{QStringLiteral("是(&Y)"), QStringLiteral("否(&N)")};
        QTest::newRow("yes") << 3 << Button::Yes << QStringLiteral("转换") << yesNo;
        QTest::newRow("no") << 3 << Button::No << QStringLiteral("转换") << yesNo;
    }

    void boxes()
    {
        QFETCH(int, kind);
        QFETCH(Button, press);
        QFETCH(QString, title);
        QFETCH(QStringList, captions);
        // What the open box shows, before `press` is clicked on it.
        QWidget parent;
        std::tuple<QWidget *, Qt::WindowModality, QString, QString, QString> seen;
        QStringList shown;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen = {box->parentWidget(), box->windowModality(), box->windowTitle(), box->text(),
                        box->defaultButton()->text()};
                for (QAbstractButton *button : box->buttons())
                    shown.append(button->text());
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
        QCOMPARE(answered, press == Button::Yes);
        if (!m_translated)
            QSKIP("Qt's Chinese translations (qt6-translations-l10n) are not installed");
        QCOMPARE(seen, std::make_tuple(&parent, Qt::WindowModal, title, text, captions.first()));
        QCOMPARE(shown, captions);
    }

private:
    bool m_translated = false;
};

QTEST_MAIN(TestQtMessageBoxes)
#include "tst_qtmessageboxes.moc"
