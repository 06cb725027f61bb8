#include "platform/surface.h"

#include <QTest>

using namespace tolvane;

namespace {

constexpr QRgb Untouched = 0xffffffff;

// Each pixel holds its own coordinates, with an alpha that is 0 in column 0: blits replace
// pixels, they never blend.
Surface coordinateSurface(int w, int h)
{
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.setPixel(x, y, qRgba(x, y, 0x40, x * 16));
    return s;
}

// Whether source pixel `got` lies under pixel v of a d-pixel destination stretched from s.
bool under(int v, int d, int s, int got)
{
    return v * s / d <= got && got <= ((v + 1) * s - 1) / d;
}

} // namespace

class TestSurface : public QObject
{
    Q_OBJECT

    const Surface m_source = coordinateSurface(12, 15);

private Q_SLOTS:
    void blit_data()
    {
        QTest::addColumn<bool>("stretch");
        QTest::addColumn<QRect>("from"); // a block of the 12 × 15 source
        QTest::addColumn<QRect>("to");   // on the 20 × 20 target; a copy keeps from's size
        const auto copy = [](const char *name, QRect from, QPoint to) {
            QTest::newRow(name) << false << from << QRect(to, from.size());
        };
        const auto stretch = [](const char *name, QRect to) {
            QTest::newRow(name) << true << QRect(0, 0, 12, 15) << to;
        };
        copy("copy inside", {0, 1, 3, 2}, {2, 3});
        copy("copy past right and bottom", {0, 0, 12, 15}, {15, 12});
        copy("copy to a negative position", {0, 0, 6, 6}, {-3, -2});
        copy("copy from past the source's edge", {8, 10, 10, 10}, {0, 0});
        copy("copy from a negative position", {-2, -1, 4, 4}, {5, 5});
        copy("copy outside the target", {0, 0, 3, 3}, {20, 0});
        stretch("stretch to the same size", {1, 1, 12, 15});
        stretch("stretch wider and taller", {1, 2, 17, 18});
        stretch("stretch smaller", {1, 1, 5, 11});
        stretch("stretch clipped on every side", {-10, -7, 40, 31});
        stretch("stretch to a negative height", {1, 1, 4, -3});
    }

    void blit()
    {
        QFETCH(bool, stretch);
        QFETCH(QRect, from);
        QFETCH(QRect, to);
        Surface target(20, 20);
        target.fill(Untouched);
        if (stretch)
            target.stretchFrom(to.x(), to.y(), to.width(), to.height(), m_source, from.x(),
                               from.y(), from.width(), from.height());
        else
            target.copyFrom(to.x(), to.y(), m_source, from.x(), from.y(), from.width(),
                            from.height());
        // Each pixel drawn shows a source pixel under it (so order, and when enlarging the
        // first and last columns and rows, are kept); nothing else changes.
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                const QRgb p = target.pixel(x, y);
                const QPoint at = QPoint(x, y) - to.topLeft();
                const bool drawn = to.isValid() && to.contains(x, y) &&
                                   (stretch || QRect(0, 0, 12, 15).contains(at + from.topLeft()));
                if (!drawn)
                    QCOMPARE(p, Untouched);
                else if (p != m_source.pixel(qRed(p), qGreen(p)) ||
                         !under(at.x(), to.width(), from.width(), qRed(p) - from.x()) ||
                         !under(at.y(), to.height(), from.height(), qGreen(p) - from.y()))
                    QFAIL(qPrintable(QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(p, 8, 16)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSurface)
#include "tst_surface.moc"
