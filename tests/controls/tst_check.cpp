#include "controls/check/check.h"
#include "controls/check/checkgeometry.h"
#include "controls/check/checkglyphs.h"
#include "controls/host/formhost.h"
#include "controls/host/propertybag.h"
#include "platform/cursor.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

using namespace tolvane;

namespace {

// 300 twips high: the glyph sits at 52 twips, which is pixel row 3.
constexpr QSize BoxSize(100, 20);
constexpr QPoint OnGlyph(6, 9);
constexpr QPoint OnControl(14, 1);

enum class Action { None, Hover, Press, DragLeft, Disable };

void sendMouse(QWidget &widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held)
{
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void click(QWidget &widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(widget, QEvent::MouseButtonPress, at, button, button);
    sendMouse(widget, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

// Which stored picture the glyph area shows, or -1 when it matches none.
int shownGlyph(check &box)
{
    const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage area = shown.copy(QRect(0, 3, 13, 13));
    for (int i = 0; i < 12; ++i) {
        if (area == CheckGlyphs::picture(i).convertToFormat(QImage::Format_RGB32))
            return i == 9 ? 8 : i; // 9 is 8 pixel for pixel
    }
    return -1;
}

bool captionHasColor(check &box, QRgb color)
{
    const QImage shown = box.grab().toImage();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 16; x < shown.width(); ++x)
            if ((shown.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF))
                return true;
    return false;
}

// Logs every event the control raises, by name, with the value a Click handler sees.
QStringList *recordEvents(check &box)
{
    auto *log = new QStringList;
    QObject::connect(&box, &QObject::destroyed, [log] { delete log; });
    QObject::connect(&box, &check::Click, &box,
                     [log, &box] { log->append(u"Click@"_qs + QString::number(box.Value())); });
    QObject::connect(&box, &check::KeyDown, &box,
                     [log](qint16 &, qint16 &) { log->append(u"KeyDown"_qs); });
    QObject::connect(&box, &check::KeyPress, &box,
                     [log](qint16 &) { log->append(u"KeyPress"_qs); });
    QObject::connect(&box, &check::KeyUp, &box,
                     [log](qint16 &, qint16 &) { log->append(u"KeyUp"_qs); });
    auto mouse = [log](const QString &name) {
        return [log, name](qint16 &b, qint16 &, float &x, float &y) {
            log->append(QStringLiteral("%1(%2,%3,%4)").arg(name).arg(b).arg(x).arg(y));
        };
    };
    QObject::connect(&box, &check::MouseDown, &box, mouse(u"MouseDown"_qs));
    QObject::connect(&box, &check::MouseMove, &box, mouse(u"MouseMove"_qs));
    QObject::connect(&box, &check::MouseUp, &box, mouse(u"MouseUp"_qs));
    QObject::connect(&box, &check::MouseOut, &box, [log] { log->append(u"MouseOut"_qs); });
    return log;
}

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT

    FormHost m_host;

private Q_SLOTS:
    void initTestCase()
    {
        m_host.setAmbientFont(QFont(u"Tahoma"_qs, 9));
        // Far from every control, so that the leave poll ends at once unless a test says so.
        setCursorSource([] { return QPoint(-10000, -10000); });
    }
    void cleanupTestCase() { setCursorSource({}); }

    void layoutInTwips_data()
    {
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("captionHeight");
        QTest::addColumn<int>("glyphTop");
        QTest::addColumn<int>("captionTop");
        QTest::newRow("300") << 300.0 << 225.0 << 52 << 37;
        QTest::newRow("100, glyph clipped") << 100.0 << 225.0 << -47 << -62;
        QTest::newRow("105.5 rounds up to 106") << 300.5 << 225.0 << 53 << 38;
        QTest::newRow("106.5 rounds down to 106") << 301.5 << 225.0 << 53 << 38;
        QTest::newRow("exact fit") << 195.0 << 195.0 << 0 << 0;
    }
    void layoutInTwips()
    {
        QFETCH(double, height);
        QFETCH(double, captionHeight);
        const CheckGeometry layout = CheckGeometry::arrange(height, captionHeight);
        QTEST(layout.glyphTop, "glyphTop");
        QTEST(layout.captionTop, "captionTop");
    }

    void glyphFollowsValueAndLook_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("glyph");
        QTest::newRow("unchecked") << 0 << Action::None << 0;
        QTest::newRow("checked") << 1 << Action::None << 4;
        QTest::newRow("grayed") << 2 << Action::None << 8;
        QTest::newRow("unchecked hover") << 0 << Action::Hover << 1;
        QTest::newRow("checked hover") << 1 << Action::Hover << 5;
        QTest::newRow("grayed hover") << 2 << Action::Hover << 8;
        QTest::newRow("unchecked pressed") << 0 << Action::Press << 2;
        QTest::newRow("checked pressed") << 1 << Action::Press << 6;
        QTest::newRow("grayed pressed") << 2 << Action::Press << 10;
        QTest::newRow("checked, left held moving") << 1 << Action::DragLeft << 6;
        QTest::newRow("unchecked disabled") << 0 << Action::Disable << 3;
        QTest::newRow("checked disabled") << 1 << Action::Disable << 7;
        QTest::newRow("grayed disabled") << 2 << Action::Disable << 11;
        QTest::newRow("no glyph of its own") << 5 << Action::None << 0;
        QTest::newRow("no glyph, hover") << 5 << Action::Hover << 0;
        QTest::newRow("no glyph, disabled") << -1 << Action::Disable << 0;
    }
    void glyphFollowsValueAndLook()
    {
        QFETCH(int, value);
        QFETCH(Action, action);
        check box;
        box.resizeNow(BoxSize);
        box.setValue(value);
        switch (action) {
        case Action::None:
            break;
        case Action::Hover:
            sendMouse(box, QEvent::MouseMove, OnGlyph, Qt::NoButton, Qt::NoButton);
            break;
        case Action::Press:
            sendMouse(box, QEvent::MouseButtonPress, OnControl, Qt::LeftButton, Qt::LeftButton);
            break;
        case Action::DragLeft:
            sendMouse(box, QEvent::MouseMove, OnControl, Qt::NoButton, Qt::LeftButton);
            break;
        case Action::Disable:
            box.setEnabled(false);
            break;
        }
        QTEST(shownGlyph(box), "glyph");
    }

    void enablingRestoresTheNormalLook()
    {
        check box;
        box.resizeNow(BoxSize);
        box.setValue(1);
        box.setForeColor(0x0000FF); // red
        box.setEnabled(false);
        box.setForeColor(0xFF0000); // blue, kept for later
        QVERIFY(captionHasColor(box, qRgb(161, 161, 146)));
        QVERIFY(!captionHasColor(box, qRgb(0, 0, 255)));
        box.setEnabled(true);
        QCOMPARE(shownGlyph(box), 4);
        QVERIFY(captionHasColor(box, qRgb(0, 0, 255)));
        QVERIFY(!captionHasColor(box, qRgb(161, 161, 146)));
    }

    void clickToggles_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("glyph");
        QTest::newRow("unchecked") << 0 << 1 << 4;
        QTest::newRow("checked") << 1 << 0 << 0;
        QTest::newRow("grayed") << 2 << 0 << 0;
        QTest::newRow("other stays") << 3 << 3 << 0;
        QTest::newRow("negative stays") << -1 << -1 << 0;
    }
    void clickToggles()
    {
        QFETCH(int, before);
        check box;
        placeInstance(box, m_host, u"Check1"_qs, nullptr);
        box.resizeNow(BoxSize);
        box.setValue(before);
        const QStringList *log = recordEvents(box);
        QSignalSpy changes(&m_host, &FormHost::changed);
        click(box, OnGlyph);
        const QString at =
            QStringLiteral("(1,%1,%2)").arg((OnGlyph.x() - 0) * 15).arg((OnGlyph.y() - 3) * 15);
        QCOMPARE(*log, (QStringList{u"MouseDown"_qs + at, u"MouseUp"_qs + at,
                                    u"Click@"_qs + QString::number(before)}));
        QTEST(box.Value(), "after");
        QTEST(shownGlyph(box), "glyph");
        QCOMPARE(changes.size(), before >= 0 && before <= 2 ? 1 : 0); // "Value" notified
    }

    // Qt reports the second press of a quick double click as a double click; it must still
    // count as a click, or fast clicking would lose every second toggle.
    void doubleClickTogglesTwice()
    {
        check box;
        box.resizeNow(BoxSize);
        const QStringList *log = recordEvents(box);
        click(box, OnGlyph);
        sendMouse(box, QEvent::MouseButtonDblClick, OnGlyph, Qt::LeftButton, Qt::LeftButton);
        sendMouse(box, QEvent::MouseButtonRelease, OnGlyph, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(log->count(u"Click@0"_qs), 1);
        QCOMPARE(log->count(u"Click@1"_qs), 1);
        QCOMPARE(box.Value(), 0);
    }

    void pressesThatMakeNoClick_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("pressAt");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::newRow("dragged out") << Qt::LeftButton << OnControl << QPoint(130, 10);
        QTest::newRow("dragged off the glyph") << Qt::LeftButton << OnGlyph << OnControl;
        QTest::newRow("right button") << Qt::RightButton << OnControl << OnControl;
    }
    void pressesThatMakeNoClick()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, pressAt);
        QFETCH(QPoint, releaseAt);
        check box;
        box.resizeNow(BoxSize);
        box.setValue(1);
        const QStringList *log = recordEvents(box);
        sendMouse(box, QEvent::MouseButtonPress, pressAt, button, button);
        sendMouse(box, QEvent::MouseMove, releaseAt, Qt::NoButton, button);
        sendMouse(box, QEvent::MouseButtonRelease, releaseAt, button, Qt::NoButton);
        QCOMPARE(box.Value(), 1);
        QVERIFY(!log->join(u' ').contains(u"Click"));
        QVERIFY(log->first().startsWith(u"MouseDown"));
        QVERIFY(log->last().startsWith(u"MouseUp"));
    }

    void movementReportsPartPositions_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("reported");
        QTest::newRow("control") << OnControl << u"MouseMove(0,210,15)"_qs;
        QTest::newRow("glyph, own corner") << OnGlyph << u"MouseMove(0,90,90)"_qs;
        // Anywhere on the caption reports the caption's corner: 16 px in, centred.
        QTest::newRow("caption") << QPoint(30, 9) << u"caption"_qs;
        QTest::newRow("caption, elsewhere") << QPoint(20, 12) << u"caption"_qs;
    }
    void movementReportsPartPositions()
    {
        QFETCH(QPoint, at);
        QFETCH(QString, reported);
        check box;
        box.setCaption(u"Check1"_qs);
        box.resizeNow(BoxSize);
        const QStringList *log = recordEvents(box);
        sendMouse(box, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        QCOMPARE(log->size(), 1);
        if (reported == u"caption") {
            const int height = QFontMetrics(box.font()).height() * 15;
            const int top = CheckGeometry::arrange(300, height).captionTop;
            reported = QStringLiteral("MouseMove(0,240,%1)").arg(top);
        }
        QCOMPARE(log->first(), reported);
    }

    void leavePollCountsEdgesInside_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("outside");
        QTest::newRow("top left") << QPoint(0, 0) << false;
        QTest::newRow("client width and height") << QPoint(100, 20) << false;
        QTest::newRow("one right of that") << QPoint(101, 20) << true;
        QTest::newRow("one below that") << QPoint(100, 21) << true;
        QTest::newRow("left of the control") << QPoint(-1, 5) << true;
        QTest::newRow("above the control") << QPoint(5, -1) << true;
    }
    void leavePollCountsEdgesInside()
    {
        QFETCH(QPoint, pointer);
        QFETCH(bool, outside);
        check box;
        box.resizeNow(BoxSize);
        box.setValue(1);
        setCursorSource([&box, pointer] { return box.mapToGlobal(pointer); });
        sendMouse(box, QEvent::MouseMove, OnGlyph, Qt::NoButton, Qt::NoButton);
        QSignalSpy out(&box, &check::MouseOut);
        QCOMPARE(shownGlyph(box), 5);
        if (outside) {
            QVERIFY(out.wait(2000));
            QCOMPARE(shownGlyph(box), 4);
        }
        QTest::qWait(50); // several ticks: at most the one MouseOut
        setCursorSource([] { return QPoint(-10000, -10000); });
        QCOMPARE(out.size(), outside ? 1 : 0);
        if (!outside)
            QCOMPARE(shownGlyph(box), 5);
    }

    void heldButtonStillLeaves()
    {
        check box;
        box.resizeNow(BoxSize);
        QPoint pointer = OnControl;
        setCursorSource([&box, &pointer] { return box.mapToGlobal(pointer); });
        const QStringList *log = recordEvents(box);
        sendMouse(box, QEvent::MouseButtonPress, OnControl, Qt::LeftButton, Qt::LeftButton);
        pointer = QPoint(150, 10);
        sendMouse(box, QEvent::MouseMove, pointer, Qt::NoButton, Qt::LeftButton);
        QTRY_COMPARE(log->count(u"MouseOut"_qs), 1);
        QCOMPARE(shownGlyph(box), 0);
        sendMouse(box, QEvent::MouseButtonRelease, pointer, Qt::LeftButton, Qt::NoButton);
        setCursorSource([] { return QPoint(-10000, -10000); });
        QCOMPARE(box.Value(), 0);
        QCOMPARE(log->size(), 3); // MouseDown, MouseOut, MouseUp: the move outside is dropped
    }

    void keysAreReportedButNeverToggle()
    {
        check box;
        const QStringList *log = recordEvents(box);
        QTest::keyClick(&box, Qt::Key_Space);
        QCOMPARE(*log, (QStringList{u"KeyDown"_qs, u"KeyPress"_qs, u"KeyUp"_qs}));
        QCOMPARE(box.Value(), 0);
    }

    void newInstanceDefaults()
    {
        check box;
        placeInstance(box, m_host, u"Check1"_qs, nullptr);
        box.resizeNow(BoxSize);
        QCOMPARE(box.Caption(), u"Check1"_qs);
        QCOMPARE(box.Value(), 0);
        QCOMPARE(shownGlyph(box), 0);
        QCOMPARE(box.BackColor(), 0x8000000Fu);
        const QImage shown = box.grab().toImage();
        QCOMPARE(shown.pixelColor(99, 0), QApplication::palette().color(QPalette::Button));
        QVERIFY(captionHasColor(box, qRgb(0, 0, 0)));
        PropertyBag saved;
        box.saveProperties(saved);
        QCOMPARE(saved.names(), (QStringList{u"_extentx"_qs, u"_extenty"_qs}));
    }

    void savesInOrderAndLoadsBack()
    {
        check box;
        placeInstance(box, m_host, u"Check1"_qs, nullptr);
        box.setValue(7); // no glyph, but stored and read back unchanged
        box.setCaption(u"全部"_qs);
        box.setEnabled(false);
        box.setFont(QFont(u"宋体"_qs, 12));
        box.setBackColor(0xFFFFFF);
        box.setForeColor(0x8000000F);
        PropertyBag saved;
        box.saveProperties(saved);
        QCOMPARE(saved.names(),
                 (QStringList{u"_extentx"_qs, u"_extenty"_qs, u"Font"_qs, u"Value"_qs,
                              u"Caption"_qs, u"Enabled"_qs, u"BackColor"_qs, u"ForeColor"_qs}));
        check again;
        placeInstance(again, m_host, u"Check2"_qs, &saved);
        QCOMPARE(again.Value(), 7);
        QCOMPARE(again.Caption(), u"全部"_qs);
        QVERIFY(!again.Enabled());
        QCOMPARE(again.Font().pointSize(), 12);
        QCOMPARE(again.BackColor(), 0xFFFFFFu);
        QCOMPARE(again.ForeColor(), 0x8000000Fu);
    }

    void missingCaptionIsTheDisplayName()
    {
        check box;
        const PropertyBag empty;
        placeInstance(box, m_host, u"Check3"_qs, &empty);
        QCOMPARE(box.Caption(), u"Check3"_qs);
        QVERIFY(box.Enabled());
        QCOMPARE(box.Font(), m_host.ambientFont());
    }
};

QTEST_MAIN(TestCheck)
#include "tst_check.moc"
