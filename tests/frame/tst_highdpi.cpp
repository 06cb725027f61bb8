#include "frame/form1.h"
#include "platform/pngreader.h"
#include "support/fakemessageboxes.h"
#include "workbench/form2.h"

#include <QPainter>
#include <QScreen>
#include <QTest>

using namespace tolvane;

// The frame around the working form on a screen at the scale QT_SCALE_FACTOR sets (this test
// runs at 2 and at 1.5).
class TestHighDpi : public QObject
{
    Q_OBJECT

    test::FakeMessageBoxes m_boxes;
    std::unique_ptr<Form1> m_frame;

private Q_SLOTS:
    void initTestCase()
    {
        m_frame = std::make_unique<Form1>([this] { return new Form2(m_boxes); });
        QVERIFY(m_frame->Load(m_boxes));
        m_frame->move(0, 0);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        QVERIFY2(m_frame->devicePixelRatioF() > 1, "run with QT_SCALE_FACTOR above 1");
    }

    // What reached the screen shows the skin's picture drawn for this density, not one
    // enlarged: the top-left corner, over black.
    void densePictures()
    {
        const qreal scale = m_frame->devicePixelRatioF();
        QTest::qWait(50);
        const QImage shot =
            m_frame->screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        const QString name = QStringLiteral(":/frame/101@%1x.png").arg(scale);
        QImage picture = readPng(name);
        picture.setDevicePixelRatio(1); // drawn pixel for pixel, whatever its name says
        QCOMPARE(picture.height(), qRound(38 * scale));
        QImage expected(picture.size(), QImage::Format_RGB32);
        expected.fill(Qt::black);
        QPainter(&expected).drawImage(0, 0, picture);
        expected.setDevicePixelRatio(shot.devicePixelRatio());
        QCOMPARE(shot.copy(expected.rect()), expected);
    }

    // Hit testing and dragging work in the same logical pixels at any scale.
    void hitTestAndDrag()
    {
        const QPoint close(m_frame->width() - 50, 20);
        QTest::mouseMove(m_frame.get(), close);
        QCOMPARE(m_frame->hoverButton(), HoverButton::Close);
        QTest::mouseMove(m_frame.get(), QPoint(200, 30));
        const QPoint start = m_frame->pos();
        QTest::mousePress(m_frame.get(), Qt::LeftButton, {}, QPoint(200, 30));
        QTest::mouseMove(m_frame.get(), QPoint(260, 70));
        QTest::mouseRelease(m_frame.get(), Qt::LeftButton, {}, QPoint(260, 70));
        QCOMPARE(m_frame->pos(), start + QPoint(60, 40));
    }
};

QTEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
