#include "frame/form1.h"
#include "support/fakemessageboxes.h"

#include <QTest>

using namespace tolvane;

class TestForm1 : public QObject
{
    Q_OBJECT

    test::FakeMessageBoxes m_boxes;
    QPointer<QWidget> m_working;
    Form1 *m_frame = nullptr;

private Q_SLOTS:
    void init()
    {
        m_boxes = {};
        m_frame = new Form1([this] {
            m_working = new QWidget;
            m_working->resize(485, 439);
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
        QCOMPARE(m_boxes.shown().at(0).kind, test::FakeMessageBoxes::Kind::Fatal);
        QCOMPARE(m_boxes.shown().at(0).text, QStringLiteral("Error loading GDI+!"));
        QVERIFY(!m_working);
    }

    // The working form fills the interior, also of the smallest frame a resize snaps to.
    void workingFormFollowsSize()
    {
        QVERIFY(m_frame->Load(m_boxes));
        QVERIFY(m_boxes.shown().isEmpty());
        m_frame->show();
        m_frame->resize(100, 50);
        QCOMPARE(m_frame->size(), QSize(160, 76));
        QCOMPARE(m_working->parentWidget(), m_frame);
        QCOMPARE(m_working->geometry(), QRect(21, 38, 160 - 42, 76 - 58));
        QVERIFY(m_working->isVisible());
    }

    void repaintsShowThePaintedState()
    {
        // The composed frame is dropped once it is on the screen: a later paint shows the
        // same, a hover not lit yet included.
        QVERIFY(m_frame->Load(m_boxes));
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame));
        const QImage unlit = m_frame->grab().toImage();
        QTest::mouseMove(m_frame, QPoint(527 - 50, 20));
        QCOMPARE(m_frame->grab().toImage(), unlit);
        QTest::mouseMove(m_frame, QPoint(527 - 49, 20));
        const QImage lit = m_frame->grab().toImage();
        QVERIFY(lit != unlit);
        QCOMPARE(m_frame->grab().toImage(), lit);
    }

    // Pressed on the close button, dragged off it and released: the window stays. Any mouse
    // button released over the lit close button closes.
    void closeButton()
    {
        QVERIFY(m_frame->Load(m_boxes));
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame));
        const QPoint close(527 - 50, 20);
        QTest::mouseMove(m_frame, close);
        QTest::mouseMove(m_frame, close + QPoint(1, 0));
        QTest::mousePress(m_frame, Qt::LeftButton, {}, close);
        QTest::mouseMove(m_frame, QPoint(200, 30));
        QTest::mouseRelease(m_frame, Qt::LeftButton, {}, QPoint(200, 30));
        QVERIFY(m_frame->isVisible());
        QTest::mouseMove(m_frame, close);
        QTest::mouseClick(m_frame, Qt::RightButton, {}, close);
        QVERIFY(!m_frame->isVisible());
        QVERIFY(!m_working->isVisible());
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
