#include "frame/framehittest.h"

#include <QTest>

using namespace tolvane;

class TestFrameHitTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hitTest_data()
    {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QPoint>("at"); // window-relative
        QTest::addColumn<int>("code");
        const QRect w(100, 50, 527, 497);
        const auto row = [&](const char *name, QPoint at, int code, QRect window = {}) {
            QTest::newRow(name) << (window.isNull() ? w : window) << at << code;
        };
        row("left of left band", {13, 200}, 2);
        row("left band upper corner", {16, 40}, 13);
        row("left band lower corner", {16, 497 - 42}, 16);
        row("right band lower corner", {527 - 16, 480}, 17);
        row("right band", {527 - 19, 200}, 11);
        row("top band", {200, 12}, 12);
        row("bottom band first row", {200, 497 - 19}, 15);
        row("minimise first column", {527 - 120, 12}, 101);
        row("maximise last row", {527 - 94, 27}, 102);
        row("close over top band", {527 - 30, 13}, 103);
        // A monitor left of and above the primary one.
        const QRect negative(-700, -400, 527, 497);
        row("negative: left band", {15, 200}, 10, negative);
        // The smallest frame: the buttons follow the right edge.
        const QRect small(0, 0, 160, 76);
        row("160: minimise start", {40, 20}, 101, small);
        row("160: corner zones overlap, lower wins", {15, 40}, 16, small);
        row("160: top band beside buttons", {140, 12}, 14, small);
    }

    void hitTest()
    {
        QFETCH(QRect, window);
        QFETCH(QPoint, at);
        QTEST(int(FrameHitTest(window, window.topLeft() + at)), "code");
    }
};

QTEST_GUILESS_MAIN(TestFrameHitTest)
#include "tst_framehittest.moc"
