#include "controls/check/check.h"
#include "controls/check/checkgeometry.h"
#include "controls/check/checkglyphs.h"
#include "controls/host/formhost.h"
#include "controls/host/propertybag.h"
#include "inputlog.h"
#include "platform/cursor.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace tolvane;

namespace {

// 20 pixels high: the glyph sits at 52 twips, pixel row 3.
constexpr QSize BoxSize(100, 20);
constexpr QPoint OnGlyph(6, 9);
constexpr QPoint OnControl(14, 1);
const QPoint FarAway(-10000, -10000);
constexpr auto Press = QEvent::MouseButtonPress;
constexpr auto Move = QEvent::MouseMove;
constexpr auto Release = QEvent::MouseButtonRelease;

// Which stored picture the glyph area shows, or -1 when it matches none.
int shownGlyph(check &box)
{
    const QImage area =
        box.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(0, 3, 13, 13);
    for (int i = 0; i < 12; ++i) {
        if (area == CheckGlyphs::picture(i).convertToFormat(QImage::Format_RGB32))
            return i == 9 ? 8 : i; // 9 is 8 pixel for pixel
    }
    return -1;
}

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT

    FormHost m_host;
    EventLog m_log;

    std::unique_ptr<check> m_box;

private Q_SLOTS:
    void initTestCase()
    {
        m_host.setAmbientFont(QFont(u"Tahoma"_qs, 9));
        // Far from every control, so that the leave poll ends at once unless a test says so.
        setCursorSource([] { return FarAway; });
    }
    void cleanupTestCase() { setCursorSource({}); }
    void init()
    {
        m_box = std::make_unique<check>();
        placeInstance(*m_box, m_host, u"Check1"_qs, nullptr);
        m_box->resizeNow(BoxSize);
        m_log.clear();
        m_log.record(m_box.get(), &check::Click, &check::KeyDown, &check::KeyPress, &check::KeyUp,
                     &check::MouseDown, &check::MouseMove, &check::MouseUp, &check::MouseOut);
    }
    void cleanup() { m_box.reset(); }

    void glyphFollowsValueAndLook_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("action"); // a mouse event type, or -1 to disable the control
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("glyph");
        QTest::newRow("checked hover") << 1 << int(Move) << 0 << 5;
        QTest::newRow("grayed pressed") << 2 << int(Press) << 1 << 10;
        QTest::newRow("checked, left held moving") << 1 << int(Move) << 1 << 6;
        QTest::newRow("unchecked disabled") << 0 << -1 << 0 << 3;
        QTest::newRow("no glyph of its own, hover") << 5 << int(Move) << 0 << 0;
        QTest::newRow("no glyph, disabled") << -1 << -1 << 0 << 0;
    }
    void glyphFollowsValueAndLook()
    {
        QFETCH(int, value);
        QFETCH(int, action);
        QFETCH(int, buttons);
        check &box = *m_box;
        box.setValue(value);
        if (action < 0)
            box.setEnabled(false);
        else
            sendMouse(&box, QEvent::Type(action), OnGlyph,
                      Qt::MouseButton(action == Press ? buttons : 0), Qt::MouseButtons(buttons));
        QTEST(shownGlyph(box), "glyph");
    }

    // The Click handler still sees the old value; the new one is notified as "Value".
    void clickToggles_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("glyph");
        QTest::newRow("unchecked") << 0 << 1 << 4;
        QTest::newRow("checked") << 1 << 0 << 0;
        QTest::newRow("grayed") << 2 << 0 << 0;
        QTest::newRow("other stays") << 3 << 3 << 0;
    }
    void clickToggles()
    {
        QFETCH(int, before);
        check &box = *m_box;
        box.setValue(before);
        connect(&box, &check::Click, &box, [&] { m_log << QString::number(box.Value()); });
        QSignalSpy changes(&m_host, &FormHost::changed);
        sendMouse(&box, Press, OnGlyph, Qt::LeftButton, Qt::LeftButton);
        sendMouse(&box, Release, OnGlyph, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(m_log.join(u' '),
                 u"MouseDown(1,0,90,90) MouseUp(1,0,90,90) Click "_qs + QString::number(before));
        QTEST(box.Value(), "after");
        QTEST(shownGlyph(box), "glyph");
        QCOMPARE(changes.size(), before <= 2 ? 1 : 0);
    }

    // Qt reports the second press of a quick double click as a double click; it must still
    // count, or fast clicking would lose every second toggle.
    void doubleClickTogglesTwice()
    {
        check &box = *m_box;
        sendMouse(&box, Press, OnGlyph, Qt::LeftButton, Qt::LeftButton);
        sendMouse(&box, Release, OnGlyph, Qt::LeftButton, Qt::NoButton);
        sendMouse(&box, QEvent::MouseButtonDblClick, OnGlyph, Qt::LeftButton, Qt::LeftButton);
        sendMouse(&box, Release, OnGlyph, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(box.Value(), 0);
        QCOMPARE(shownGlyph(box), 0);
    }

    void pressesThatMakeNoClick_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("pressAt");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::newRow("dragged off the glyph") << Qt::LeftButton << OnGlyph << OnControl;
        QTest::newRow("right button") << Qt::RightButton << OnControl << OnControl;
    }
    void pressesThatMakeNoClick()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, pressAt);
        QFETCH(QPoint, releaseAt);
        check &box = *m_box;
        box.setValue(1);
        sendMouse(&box, Press, pressAt, button, button);
        sendMouse(&box, Move, releaseAt, Qt::NoButton, button);
        sendMouse(&box, Release, releaseAt, button, Qt::NoButton);
        QCOMPARE(box.Value(), 1);
        QVERIFY(m_log.filter(u"Click"_qs).isEmpty());
        QVERIFY(m_log.first().startsWith(u"MouseDown") && m_log.last().startsWith(u"MouseUp"));
    }

    // The poll counts the far edges as inside; a held button still leaves, and its moves
    // outside are dropped.
    void leavePoll_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("events");
        QTest::addColumn<int>("glyph");
        QTest::newRow("client width and height")
            << QPoint(100, 20) << false << u"MouseMove(0,0,90,90)"_qs << 5;
        QTest::newRow("one right of that")
            << QPoint(101, 20) << false << u"MouseMove(0,0,90,90) MouseOut"_qs << 4;
        QTest::newRow("left of the control")
            << QPoint(-1, 5) << false << u"MouseMove(0,0,90,90) MouseOut"_qs << 4;
        QTest::newRow("held") << QPoint(150, 10) << true
                              << u"MouseDown(1,0,210,15) MouseOut MouseUp(1,0,2250,150)"_qs << 4;
    }
    void leavePoll()
    {
        QFETCH(QPoint, pointer);
        QFETCH(bool, held);
        QFETCH(QString, events);
        check &box = *m_box;
        box.setValue(1);
        setCursorSource([&box, pointer] { return box.mapToGlobal(pointer); });
        if (held)
            sendMouse(&box, Press, OnControl, Qt::LeftButton, Qt::LeftButton);
        sendMouse(&box, Move, held ? pointer : OnGlyph, Qt::NoButton,
                  held ? Qt::LeftButton : Qt::NoButton);
        if (events.contains(u"MouseOut"))
            QTRY_VERIFY(m_log.contains(u"MouseOut"_qs));
        QTest::qWait(50); // several ticks: at most the one MouseOut
        if (held)
            sendMouse(&box, Release, pointer, Qt::LeftButton, Qt::NoButton);
        setCursorSource([] { return FarAway; });
        QCOMPARE(m_log.join(u' '), events);
        QTEST(shownGlyph(box), "glyph");
        QCOMPARE(box.Value(), 1);
    }

    void keysAreReportedButNeverToggle()
    {
        check &box = *m_box;
        QTest::keyClick(&box, Qt::Key_Space);
        QCOMPARE(m_log.join(u' '), u"KeyDown(32,0) KeyPress(32) KeyUp(32,0)"_qs);
        QCOMPARE(box.Value(), 0);
    }

    // Stored data without entries gives the defaults; only set properties are stored, and
    // all of them come back.
    void savesAndLoadsBack()
    {
        check box;
        const PropertyBag empty;
        placeInstance(box, m_host, u"Check1"_qs, &empty);
        QCOMPARE(box.Caption(), u"Check1"_qs);
        QCOMPARE(box.Font(), m_host.ambientFont());
        PropertyBag saved;
        box.saveProperties(saved);
        QCOMPARE(saved.names().size(), 2); // the extent
        box.setValue(7);                   // no glyph, but stored and read back unchanged
        box.setCaption(u"全部"_qs);
        box.setEnabled(false);
        box.setFont(QFont(u"宋体"_qs, 12));
        box.setBackColor(0xFFFFFF);
        box.setForeColor(0x8000000F);
        box.saveProperties(saved);
        QCOMPARE(saved.names().size(), 8);
        const PropertyBag stored = PropertyBag::fromJson(saved.toJson());
        check again;
        placeInstance(again, m_host, u"Check2"_qs, &stored);
        PropertyBag resaved;
        again.saveProperties(resaved);
        QCOMPARE(resaved.toJson(), saved.toJson());
    }
};

QTEST_MAIN(TestCheck)
#include "tst_check.moc"
