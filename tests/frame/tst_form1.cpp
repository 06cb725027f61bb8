#include "frame/form1.h"
#include "support/fakemessageboxes.h"

#include <QScreen>
#include <QTest>

using namespace tolvane;
using namespace Qt::StringLiterals;

class TestForm1 : public QObject
{
    Q_OBJECT

    static constexpr QRect Files{5, 192, 217, 242}, Results{224, 192, 257, 242};
    test::FakeMessageBoxes m_boxes;
    QPointer<QWidget> m_working;
    Form1 *m_frame = nullptr;

private Q_SLOTS:
    void init()
    {
        m_boxes = {};
        // A stand-in working form with the lists the frame lays out.
        m_frame = new Form1([this] {
            m_working = new QWidget;
            m_working->resize(485, 439);
            for (const auto &[name, place] : {std::pair{"lstFiles", Files}, {"List1", Results}}) {
                auto *list = new QWidget(m_working);
                list->setObjectName(QString::fromLatin1(name));
                list->setGeometry(place);
            }
            return m_working.data();
        });
    }

    void cleanup()
    {
        delete m_frame;
        QVERIFY(!m_working); // the frame owns the working form
    }

    void missingDecoder()
    {
        QVERIFY(!m_frame->Load(m_boxes, false));
        QCOMPARE(m_boxes.shown().size(), 1);
        QCOMPARE(std::pair(m_boxes.shown().at(0).kind, m_boxes.shown().at(0).text),
                 std::pair(test::FakeMessageBoxes::Kind::Fatal, u"Error loading GDI+!"_s));
        QVERIFY(!m_working);
    }

    // One move onto a button lights it; leaving the window, the focus going elsewhere, hiding
    // and a press released off the button each put the light out. The button still works.
    void hover_data()
    {
        QTest::addColumn<int>("leave");
        QTest::newRow("pointer leaves the window") << 0;
        QTest::newRow("focus goes elsewhere") << 1;
        QTest::newRow("hidden") << 2;
        QTest::newRow("pressed, released elsewhere") << 3;
    }
    void hover()
    {
        QFETCH(int, leave);
        QVERIFY(m_frame->Load(m_boxes));
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame));
        QTest::mouseMove(m_frame, QPoint(200, 200)); // the last test left the pointer anywhere
        const QImage unlit = m_frame->grab().toImage();
        const QPoint close(527 - 50, 20);
        QTest::mouseMove(m_frame, close);
        QCOMPARE(m_frame->hoverButton(), HoverButton::Close);
        QVERIFY(m_frame->grab().toImage() != unlit);
        QWidget other;
        QEvent left(QEvent::Leave);
        if (leave == 0) {
            QCoreApplication::sendEvent(m_frame, &left);
        } else if (leave == 1) {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        } else if (leave == 2) {
            m_frame->hide();
            m_frame->show();
        } else {
            QTest::mousePress(m_frame, Qt::LeftButton, {}, close);
            QTest::mouseRelease(m_frame, Qt::LeftButton, {}, QPoint(-30, 20));
        }
        QCOMPARE(m_frame->hoverButton(), HoverButton::None);
        QCOMPARE(m_frame->grab().toImage(), unlit);
        // Any mouse button released over the close button closes.
        QTest::mouseClick(m_frame, Qt::RightButton, {}, close);
        QVERIFY(!m_frame->isVisible());
        QVERIFY(!m_working->isVisible());
    }
    // The working form fills the interior at any size the frame is given, its lists taking
    // up the difference; the smallest frame keeps every control whole and the lists a few rows
    // high. Maximised, the shadow goes and the form fills more.
    void workingFormFollowsSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("maximise");
        QTest::newRow("larger") << QSize(727, 597) << false;
        QTest::newRow("smaller than the smallest") << QSize(100, 50) << false;
        QTest::newRow("maximised") << QSize(527, 497) << true;
    }
    void workingFormFollowsSize()
    {
        QFETCH(QSize, size);
        QFETCH(bool, maximise);
        QVERIFY(m_frame->Load(m_boxes));
        m_frame->show();
        m_frame->resize(size);
        if (maximise)
            QTest::mouseDClick(m_frame, Qt::LeftButton, {}, QPoint(200, 25));
        const QSize given = m_frame->size();
        QCOMPARE(m_working->geometry(), maximise ? QRect(QPoint(8, 27), given - QSize(16, 35))
                                                 : QRect(QPoint(21, 38), given - QSize(42, 58)));
        QVERIFY(m_working->isVisible());
        QCOMPARE(given.width(), maximise ? m_frame->screen()->availableGeometry().width()
                                         : std::max(size.width(), 527));
        const QRect list1 = m_working->findChild<QWidget *>(QStringLiteral("List1"))->geometry();
        const QRect files = m_working->findChild<QWidget *>(QStringLiteral("lstFiles"))->geometry();
        // Both lists end where they did against the form's right and bottom edges, and keep
        // their gap; five rows fit.
        QCOMPARE(QPoint(m_working->width() - list1.right(), m_working->height() - files.bottom()),
                 QPoint(485 - Results.right(), 439 - Files.bottom()));
        QCOMPARE(list1.left() - files.right(), Results.left() - Files.right());
        QVERIFY(list1.height() >= 5 * m_frame->fontMetrics().height());
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
