#include "platform/surface.h"

#include <QTest>

using namespace tolvane;

namespace {

// Each pixel holds its own coordinates, so a test can tell where a copied pixel came from.
Surface coordinateSurface(int w, int h)
{
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.setPixel(x, y, qRgba(x, y, 0x40, 0xFF));
    return s;
}

} // namespace

class TestSurface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newSurfaceIsTransparent()
    {
        const Surface s(7, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                QCOMPARE(s.pixel(x, y), QRgb(0));
    }

    void copyReplacesAlpha()
    {
        Surface dst(4, 4);
        dst.fill(qRgba(255, 255, 255, 255));
        Surface src(2, 2);
        src.setPixel(0, 0, qRgba(10, 0, 0, 20)); // half-transparent, premultiplied
        dst.copyFrom(1, 1, src, 0, 0, 2, 2);
        QCOMPARE(dst.pixel(1, 1), qRgba(10, 0, 0, 20));
        QCOMPARE(dst.pixel(2, 2), QRgb(0)); // transparent source pixel replaces, no blending
        QCOMPARE(dst.pixel(0, 0), qRgba(255, 255, 255, 255));
    }

    void copyClips_data()
    {
        QTest::addColumn<QPoint>("dst");
        QTest::addColumn<QRect>("src");
        QTest::newRow("inside") << QPoint(2, 3) << QRect(1, 1, 3, 2);
        QTest::newRow("past right and bottom") << QPoint(8, 8) << QRect(0, 0, 6, 6);
        QTest::newRow("negative destination") << QPoint(-3, -2) << QRect(0, 0, 6, 6);
        QTest::newRow("source past its edge") << QPoint(0, 0) << QRect(4, 4, 10, 10);
        QTest::newRow("negative source") << QPoint(5, 5) << QRect(-2, -1, 4, 4);
        QTest::newRow("nothing overlaps") << QPoint(20, 0) << QRect(0, 0, 3, 3);
    }

    void copyClips()
    {
        QFETCH(QPoint, dst);
        QFETCH(QRect, src);
        const Surface source = coordinateSurface(6, 6);
        Surface target(10, 10);
        target.copyFrom(dst.x(), dst.y(), source, src.x(), src.y(), src.width(), src.height());
        // Every target pixel is either untouched or the source pixel that maps onto it.
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                const int sx = x - dst.x() + src.x();
                const int sy = y - dst.y() + src.y();
                const bool covered = src.contains(sx, sy) && sx >= 0 && sy >= 0 && sx < 6 &&
                                     sy < 6;
                QCOMPARE(target.pixel(x, y), covered ? source.pixel(sx, sy) : QRgb(0));
            }
        }
    }

    void stretch_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::newRow("same size") << QSize(12, 15) << QSize(12, 15);
        QTest::newRow("wider and taller") << QSize(12, 15) << QSize(83, 27);
        QTest::newRow("smaller") << QSize(12, 15) << QSize(11, 11);
    }

    void stretch()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        const Surface source = coordinateSurface(from.width(), from.height());
        Surface target(to.width() + 2, to.height() + 2);
        target.stretchFrom(1, 1, to.width(), to.height(), source, 0, 0, from.width(),
                           from.height());
        // The first and last source rows and columns always survive, in order, and the
        // border around the destination stays untouched.
        QCOMPARE(qRed(target.pixel(1, 1)), 0);
        QCOMPARE(qRed(target.pixel(to.width(), 1)), from.width() - 1);
        QCOMPARE(qGreen(target.pixel(1, to.height())), from.height() - 1);
        int lastX = -1;
        for (int x = 1; x <= to.width(); ++x) {
            const int sx = qRed(target.pixel(x, 1));
            QVERIFY(sx >= lastX);
            lastX = sx;
        }
        for (int x = 0; x < target.width(); ++x) {
            QCOMPARE(target.pixel(x, 0), QRgb(0));
            QCOMPARE(target.pixel(x, target.height() - 1), QRgb(0));
        }
        if (from == to)
            for (int y = 0; y < to.height(); ++y)
                for (int x = 0; x < to.width(); ++x)
                    QCOMPARE(target.pixel(x + 1, y + 1), source.pixel(x, y));
    }

    void stretchWithEmptyExtentDrawsNothing()
    {
        const Surface source = coordinateSurface(4, 4);
        Surface target(4, 4);
        target.stretchFrom(0, 0, 0, 4, source, 0, 0, 4, 4);
        target.stretchFrom(0, 0, 4, -3, source, 0, 0, 4, 4);
        target.stretchFrom(-10, -10, 4, 4, source, 0, 0, 4, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(target.pixel(x, y), QRgb(0));
    }
};

QTEST_GUILESS_MAIN(TestSurface)
#include "tst_surface.moc"
