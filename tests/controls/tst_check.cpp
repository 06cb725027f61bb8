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

// 20 pixels high: the glyph sits at 52 twips, pixel row 3.
constexpr QSize BoxSize(100, 20);
constexpr QPoint OnGlyph(6, 9);
constexpr QPoint OnControl(14, 1);
const QPoint FarAway(-10000, -10000);

void sendMouse(QWidget &widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held)
{
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void click(QWidget &widget, QPoint at)
{
    sendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

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

bool captionHasColor(check &box, QRgb color)
{
    const QImage shown = box.grab().toImage();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 16; x < shown.width(); ++x)
            if ((shown.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF))
                return true;
    return false;
}

// Every event the control raises, by name, with the value a Click handler sees.
QStringList *recordEvents(check &box)
{
    auto *log = new QStringList;
    QObject::connect(&box, &QObject::destroyed, [log] { delete log; });
    QObject::connect(&box, &check::Click, &box,
                     [log, &box] { log->append(u"Click@"_qs + QString::number(box.Value())); });
    QObject::connect(&box, &check::KeyDown, [log](qint16 &, qint16 &) { *log << u"KeyDown"_qs; });
    QObject::connect(&box, &check::KeyPress, [log](qint16 &) { *log << u"KeyPress"_qs; });
    QObject::connect(&box, &check::KeyUp, [log](qint16 &, qint16 &) { *log << u"KeyUp"_qs; });
    auto mouse = [log](const char *name) {
        return [log, name](qint16 &b, qint16 &, float &x, float &y) {
            *log << QString::asprintf("%s(%d,%g,%g)", name, b, double(x), double(y));
        };
    };
    QObject::connect(&box, &check::MouseDown, mouse("MouseDown"));
    QObject::connect(&box, &check::MouseMove, mouse("MouseMove"));
    QObject::connect(&box, &check::MouseUp, mouse("MouseUp"));
    QObject::connect(&box, &check::MouseOut, [log] { *log << u"MouseOut"_qs; });
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
        setCursorSource([] { return FarAway; });
    }
    void cleanupTestCase() { setCursorSource({}); }

    void layoutInTwips_data()
    {
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("glyphTop");
        QTest::addColumn<int>("captionTop");
        QTest::newRow("300") << 300.0 << 52 << 37;
        QTest::newRow("100, glyph clipped") << 100.0 << -47 << -62;
        QTest::newRow("105.5 rounds to even") << 300.5 << 53 << 38;
    }
    void layoutInTwips()
    {
        QFETCH(double, height);
        const CheckGeometry layout = CheckGeometry::arrange(height, 225.0);
        QTEST(layout.glyphTop, "glyphTop");
        QTEST(layout.captionTop, "captionTop");
    }

    void glyphFollowsValueAndLook_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("glyph");
        QTest::newRow("unchecked") << 0 << QString() << 0;
        QTest::newRow("grayed") << 2 << QString() << 8;
        QTest::newRow("checked hover") << 1 << u"hover"_qs << 5;
        QTest::newRow("unchecked pressed") << 0 << u"press"_qs << 2;
        QTest::newRow("grayed pressed") << 2 << u"press"_qs << 10;
        QTest::newRow("checked, left held moving") << 1 << u"drag"_qs << 6;
        QTest::newRow("unchecked disabled") << 0 << u"disable"_qs << 3;
        QTest::newRow("grayed disabled") << 2 << u"disable"_qs << 11;
        QTest::newRow("no glyph of its own, hover") << 5 << u"hover"_qs << 0;
        QTest::newRow("no glyph, disabled") << -1 << u"disable"_qs << 0;
    }
    void glyphFollowsValueAndLook()
    {
        QFETCH(int, value);
        QFETCH(QString, action);
        check box;
        box.resizeNow(BoxSize);
        box.setValue(value);
        if (action == u"hover")
            sendMouse(box, QEvent::MouseMove, OnGlyph, Qt::NoButton, Qt::NoButton);
        else if (action == u"press")
            sendMouse(box, QEvent::MouseButtonPress, OnControl, Qt::LeftButton, Qt::LeftButton);
        else if (action == u"drag")
            sendMouse(box, QEvent::MouseMove, OnControl, Qt::NoButton, Qt::LeftButton);
        else if (action == u"disable")
            box.setEnabled(false);
        QTEST(shownGlyph(box), "glyph");
    }

    void enablingRestoresTheNormalLook()
    {
        check box;
        box.resizeNow(BoxSize);
        box.setValue(1);
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
            QStringLiteral("(1,%1,%2)").arg(OnGlyph.x() * 15).arg((OnGlyph.y() - 3) * 15);
        QCOMPARE(*log, (QStringList{u"MouseDown"_qs + at, u"MouseUp"_qs + at,
                                    u"Click@"_qs + QString::number(before)}));
        QTEST(box.Value(), "after");
        QTEST(shownGlyph(box), "glyph");
        QCOMPARE(changes.size(), before <= 2 ? 1 : 0); // "Value"
    }

    // Qt reports the second press of a quick double click as a double click; it must still
    // count, or fast clicking would lose every second toggle.
    void doubleClickTogglesTwice()
    {
        check box;
        box.resizeNow(BoxSize);
        const QStringList *log = recordEvents(box);
        click(box, OnGlyph);
        sendMouse(box, QEvent::MouseButtonDblClick, OnGlyph, Qt::LeftButton, Qt::LeftButton);
        sendMouse(box, QEvent::MouseButtonRelease, OnGlyph, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(log->filter(u"Click"_qs), (QStringList{u"Click@0"_qs, u"Click@1"_qs}));
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
        QVERIFY(log->filter(u"Click"_qs).isEmpty());
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
        QTest::newRow("caption") << QPoint(30, 9) << QString();
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
        if (reported.isEmpty()) {
            const int top =
                CheckGeometry::arrange(300, QFontMetrics(box.font()).height() * 15).captionTop;
            reported = QStringLiteral("MouseMove(0,240,%1)").arg(top);
        }
        QCOMPARE(*log, QStringList{reported});
    }

    void leavePollCountsEdgesInside_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("outside");
        QTest::newRow("client width and height") << QPoint(100, 20) << false;
        QTest::newRow("one right of that") << QPoint(101, 20) << true;
        QTest::newRow("one below that") << QPoint(100, 21) << true;
        QTest::newRow("left of the control") << QPoint(-1, 5) << true;
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
        if (outside)
            QVERIFY(out.wait(2000));
        QTest::qWait(50); // several ticks: at most the one MouseOut
        setCursorSource([] { return FarAway; });
        QCOMPARE(out.size(), outside ? 1 : 0);
        QCOMPARE(shownGlyph(box), outside ? 4 : 5);
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
        setCursorSource([] { return FarAway; });
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

    // A new instance and one stored without entries both take the defaults and store nothing.
    void defaults_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::newRow("new") << false;
        QTest::newRow("stored, no entries") << true;
    }
    void defaults()
    {
        QFETCH(bool, stored);
        check box;
        const PropertyBag empty;
        placeInstance(box, m_host, u"Check3"_qs, stored ? &empty : nullptr);
        box.resizeNow(BoxSize);
        QCOMPARE(box.Caption(), u"Check3"_qs);
        QCOMPARE(box.Font(), m_host.ambientFont());
        QCOMPARE(shownGlyph(box), 0);
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
};

QTEST_MAIN(TestCheck)
#include "tst_check.moc"
