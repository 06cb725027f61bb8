#include "frame/framehittest.h"
#include "frame/hoverbutton.h"

#include <QTest>

using namespace tolvane;

class TestFrameHitTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hitTest_data();
    void hitTest();
    void hover_data();
    void hover();
};

void TestFrameHitTest::hitTest_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QPoint>("at"); // window-relative
    QTest::addColumn<int>("code");

    const QRect w(100, 50, 527, 497);
    QTest::newRow("title bar drags") << w << QPoint(200, 30) << 2;
    QTest::newRow("lower border drags") << w << QPoint(200, 490) << 2;
    QTest::newRow("outer shadow drags") << w << QPoint(5, 200) << 2;
    QTest::newRow("left band") << w << QPoint(14, 200) << 10;
    QTest::newRow("left band last column") << w << QPoint(19, 200) << 10;
    QTest::newRow("left of left band") << w << QPoint(13, 200) << 2;
    QTest::newRow("left band upper corner") << w << QPoint(16, 40) << 13;
    QTest::newRow("left band on upper split") << w << QPoint(16, 41) << 0;
    QTest::newRow("left band on lower split") << w << QPoint(16, 497 - 43) << 0;
    QTest::newRow("left band lower corner") << w << QPoint(16, 497 - 42) << 16;
    QTest::newRow("right band") << w << QPoint(527 - 19, 200) << 11;
    QTest::newRow("right band last column") << w << QPoint(527 - 14, 200) << 11;
    QTest::newRow("right of right band") << w << QPoint(527 - 13, 200) << 2;
    QTest::newRow("right band upper corner") << w << QPoint(527 - 16, 30) << 14;
    QTest::newRow("right band lower corner") << w << QPoint(527 - 16, 480) << 17;
    QTest::newRow("top band") << w << QPoint(200, 12) << 12;
    QTest::newRow("top band last row") << w << QPoint(200, 15) << 12;
    QTest::newRow("below top band") << w << QPoint(200, 16) << 2;
    QTest::newRow("top band left part") << w << QPoint(42, 13) << 13;
    QTest::newRow("top band on left split") << w << QPoint(43, 13) << 2;
    QTest::newRow("top band under close") << w << QPoint(527 - 42, 13) << 103;
    QTest::newRow("top band right part") << w << QPoint(527 - 20, 13) << 14;
    QTest::newRow("bottom band on right split") << w << QPoint(527 - 43, 497 - 16) << 2;
    QTest::newRow("top band over left band, on split") << w << QPoint(16, 13) << 13;
    QTest::newRow("bottom band") << w << QPoint(200, 497 - 19) << 15;
    QTest::newRow("bottom band last row") << w << QPoint(200, 497 - 14) << 15;
    QTest::newRow("below bottom band") << w << QPoint(200, 497 - 13) << 2;
    QTest::newRow("bottom band corners") << w << QPoint(30, 497 - 16) << 16;
    QTest::newRow("bottom band over left band") << w << QPoint(16, 497 - 16) << 16;
    QTest::newRow("minimise first column") << w << QPoint(527 - 120, 12) << 101;
    QTest::newRow("before minimise") << w << QPoint(527 - 121, 20) << 2;
    QTest::newRow("maximise") << w << QPoint(527 - 94, 27) << 102;
    QTest::newRow("below the buttons") << w << QPoint(527 - 94, 28) << 2;
    QTest::newRow("close") << w << QPoint(527 - 68, 20) << 103;
    QTest::newRow("close last column") << w << QPoint(527 - 26, 20) << 103;
    QTest::newRow("close over top band corner") << w << QPoint(527 - 30, 13) << 103;
    QTest::newRow("after close") << w << QPoint(527 - 25, 20) << 2;

    // A monitor left of and above the primary one.
    const QRect negative(-700, -400, 527, 497);
    QTest::newRow("negative: left band") << negative << QPoint(15, 200) << 10;
    QTest::newRow("negative: minimise") << negative << QPoint(527 - 100, 20) << 101;
    QTest::newRow("negative: bottom right") << negative << QPoint(527 - 16, 497 - 16) << 17;
    QTest::newRow("negative: title") << negative << QPoint(300, 30) << 2;

    // The smallest frame: the buttons follow the right edge, minimise starts at u = 40.
    const QRect small(0, 0, 160, 76);
    QTest::newRow("160: minimise start") << small << QPoint(40, 20) << 101;
    QTest::newRow("160: before minimise") << small << QPoint(39, 20) << 2;
    QTest::newRow("160: left band upper corner") << small << QPoint(15, 30) << 13;
    QTest::newRow("160: corner zones overlap, lower wins") << small << QPoint(15, 40) << 16;
    QTest::newRow("160: bottom band") << small << QPoint(80, 60) << 15;
    QTest::newRow("160: top band beside buttons") << small << QPoint(140, 12) << 14;
}

void TestFrameHitTest::hitTest()
{
    QFETCH(QRect, window);
    QFETCH(QPoint, at);
    QFETCH(int, code);
    QCOMPARE(FrameHitTest(window, window.topLeft() + at), code);
}

void TestFrameHitTest::hover_data()
{
    // Hit codes fed in turn; what the machine answers and whether it repaints at once ('!').
    QTest::addColumn<QList<int>>("hits");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("repaints");
    QTest::addColumn<int>("lit");

    QTest::newRow("first hit over a button answers the code")
        << QList<int>{2, 103} << QList<int>{2, 103} << QStringLiteral("..") << 3;
    QTest::newRow("lit button answers client")
        << QList<int>{103, 103} << QList<int>{103, 1} << QStringLiteral("..") << 3;
    QTest::newRow("button to button stays client")
        << QList<int>{101, 102, 103} << QList<int>{101, 1, 1} << QStringLiteral("...") << 3;
    QTest::newRow("leaving repaints at once")
        << QList<int>{102, 2, 2} << QList<int>{102, 2, 2} << QStringLiteral(".!.") << 0;
    QTest::newRow("leaving onto a band")
        << QList<int>{101, 12} << QList<int>{101, 12} << QStringLiteral(".!") << 0;
    QTest::newRow("never lit") << QList<int>{2, 10, 0} << QList<int>{2, 10, 0}
                               << QStringLiteral("...") << 0;
}

void TestFrameHitTest::hover()
{
    QFETCH(QList<int>, hits);
    QFETCH(QList<int>, answers);
    QFETCH(QString, repaints);
    QFETCH(int, lit);

    HoverButton machine;
    QString repainted;
    QList<int> answered;
    for (const int hit : hits) {
        const HoverButton::Step step = machine.hitTest(qint16(hit));
        answered.append(step.answer);
        repainted.append(step.repaintNow ? QLatin1Char('!') : QLatin1Char('.'));
    }
    QCOMPARE(answered, answers);
    QCOMPARE(repainted, repaints);
    QCOMPARE(machine.value(), lit);
}

QTEST_GUILESS_MAIN(TestFrameHitTest)
#include "tst_framehittest.moc"
