#include "platform/surface.h"

#include <QTest>

using namespace tolvane;

namespace {

constexpr QRgb Untouched = 0xffffffff;

// Each pixel holds its own coordinates, with an alpha that is 0 in column 0: blits replace
// pixels, they never blend. The target starts all Untouched.
Surface coordinateSurface(int w, int h)
{
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.setPixel(x, y, qRgba(x, y, 0x40, x * 16));
    return s;
}

} // namespace

class TestSurface : public QObject
{
    Q_OBJECT

    const Surface m_source = coordinateSurface(12, 15);
    Surface m_target = Surface(20, 20);

private Q_SLOTS:
    void init() { m_target.fill(Untouched); }

    void copy_data()
    {
        QTest::addColumn<QPoint>("dst");
        QTest::addColumn<QRect>("src");
        QTest::newRow("inside") << QPoint(2, 3) << QRect(0, 1, 3, 2);
        QTest::newRow("past right and bottom") << QPoint(15, 12) << QRect(0, 0, 12, 15);
        QTest::newRow("negative destination") << QPoint(-3, -2) << QRect(0, 0, 6, 6);
        QTest::newRow("source past its edge") << QPoint(0, 0) << QRect(8, 10, 10, 10);
        QTest::newRow("negative source") << QPoint(5, 5) << QRect(-2, -1, 4, 4);
        QTest::newRow("nothing overlaps") << QPoint(20, 0) << QRect(0, 0, 3, 3);
    }

    void copy()
    {
        QFETCH(QPoint, dst);
        QFETCH(QRect, src);
        m_target.copyFrom(dst.x(), dst.y(), m_source, src.x(), src.y(), src.width(), src.height());
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                const QPoint from = QPoint(x, y) - dst + src.topLeft();
                const bool covered = src.contains(from) && QRect(0, 0, 12, 15).contains(from);
                QCOMPARE(m_target.pixel(x, y),
                         covered ? m_source.pixel(from.x(), from.y()) : Untouched);
            }
        }
    }

    void stretch_data()
    {
        QTest::addColumn<QRect>("to");
        QTest::newRow("same size") << QRect(1, 1, 12, 15);
        QTest::newRow("wider and taller") << QRect(1, 2, 17, 18);
        QTest::newRow("smaller") << QRect(1, 1, 5, 11);
        QTest::newRow("clipped on every side") << QRect(-10, -7, 40, 31);
        QTest::newRow("no width") << QRect(1, 1, 0, 4);
        QTest::newRow("negative height") << QRect(1, 1, 4, -3);
    }

    void stretch()
    {
        // Each destination pixel shows a source pixel that lies under it, which keeps the order
        // and, when enlarging, the first and last columns and rows; nothing is drawn outside.
        QFETCH(QRect, to);
        m_target.stretchFrom(to.x(), to.y(), to.width(), to.height(), m_source, 0, 0, 12, 15);
        const auto under = [](int v, int d, int s, int got) {
            return v * s / d <= got && got <= ((v + 1) * s - 1) / d;
        };
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                const QRgb p = m_target.pixel(x, y);
                if (!to.isValid() || !to.contains(x, y))
                    QCOMPARE(p, Untouched);
                else if (p != m_source.pixel(qRed(p), qGreen(p)) ||
                         !under(x - to.x(), to.width(), 12, qRed(p)) ||
                         !under(y - to.y(), to.height(), 15, qGreen(p)))
                    QFAIL(qPrintable(QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(p, 8, 16)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSurface)
#include "tst_surface.moc"
