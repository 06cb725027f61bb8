#include "frame/form1.h"
#include "support/fakemessageboxes.h"
#include "workbench/form2.h"
#include "workbench/form2layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTest>

using namespace tolvane;

// The frame around the working form on a screen at the scale QT_SCALE_FACTOR sets (this test
// runs at 2 and at 1.5), against the same window drawn at one device pixel to a pixel. Both
// as the screen shows them: what is transparent, over black.
class TestHighDpi : public QObject
{
    Q_OBJECT

    test::FakeMessageBoxes m_boxes;
    std::unique_ptr<Form1> m_frame;
    QImage m_scaled; // device pixels
    QImage m_plain;  // logical pixels
    qreal m_scale = 1;
    // Where the frame, the buttons and the text boxes draw, Qt's own text left out (it is
    // drawn for each scale anew); logical pixels.
    QRegion m_ours;
    QRect m_caption;

private Q_SLOTS:
    void initTestCase()
    {
        m_frame = std::make_unique<Form1>([this] { return new Form2(m_boxes); });
        QVERIFY(m_frame->Load(m_boxes));
        m_frame->move(0, 0);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        m_scale = m_frame->devicePixelRatioF();
        QVERIFY2(m_scale > 1, "run with QT_SCALE_FACTOR above 1");
        // What reached the screen: a picture rendered for the purpose is scaled apart.
        QTest::qWait(50);
        m_scaled = m_frame->screen()
                       ->grabWindow(0)
                       .toImage()
                       .copy(QRectF(QPointF(), m_frame->size() * m_scale).toRect())
                       .convertToFormat(QImage::Format_RGB32);
        QImage drawn(m_frame->size(), QImage::Format_ARGB32_Premultiplied);
        drawn.fill(0);
        m_frame->render(&drawn);
        m_plain = QImage(m_frame->size(), QImage::Format_RGB32);
        m_plain.fill(Qt::black);
        QPainter(&m_plain).drawImage(0, 0, drawn);

        auto *form = m_frame->findChild<Form2 *>();
        m_ours = QRegion(m_frame->rect()) - form->geometry();
        for (const Form2Control &entry : Form2Layout) {
            if (entry.kind != Form2Control::Kind::Button && entry.kind != Form2Control::Kind::Box)
                continue;
            auto *control = form->findChild<QWidget *>(entry.name.toString());
            if (!control->isVisible()) // on the page not shown
                continue;
            const QPoint at = control->mapTo(m_frame.get(), QPoint());
            m_ours += QRect(at, control->size());
            for (QWidget *part : control->findChildren<QWidget *>()) {
                if (qobject_cast<QLabel *>(part) || qobject_cast<QLineEdit *>(part))
                    m_ours -= QRect(part->mapTo(m_frame.get(), QPoint()), part->size());
            }
        }
        m_caption = QRect(50, 17, m_frame->width() - 167, 21);
    }

    // No gap between pieces, no piece out of place: where the plain picture shows no black all
    // round a pixel, neither does the scaled one; where it is one colour, the scaled one is too.
    void noGapsOrMisplacedPieces()
    {
        const QRgb black = qRgb(0, 0, 0);
        int checked = 0;
        for (int y = 0; y < m_scaled.height(); ++y) {
            for (int x = 0; x < m_scaled.width(); ++x) {
                const QPoint logical(int(x / m_scale), int(y / m_scale));
                if (!m_ours.contains(logical) || m_caption.contains(logical))
                    continue;
                // The logical pixels under this device pixel, one pixel round.
                QList<QRgb> plain;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (m_plain.rect().contains(logical + QPoint(dx, dy)))
                            plain.append(m_plain.pixel(logical + QPoint(dx, dy)));
                const QRgb p = m_scaled.pixel(x, y);
                const bool flat = plain.count(plain.first()) == plain.size();
                if ((!plain.contains(black) && p == black) || (flat && p != plain.first()))
                    QFAIL(qPrintable(QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(p, 8, 16)));
                checked += flat;
            }
        }
        QVERIFY(checked > 10000);
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
