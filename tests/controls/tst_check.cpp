#include "controls/check/check.h"
#include "controls/check/checkglyphs.h"
#include "controls/host/formhost.h"
#include "controltestkit.h"
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

    // Steps: "press g L" (g glyph, c control; button L or R), "move", "release", "dbl", "key"
    // (Space), "disable". The Click handler still sees the old value; each click on a value with
    // a glyph notifies "Value". A glyph of -1 is not checked.
    void input_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("events");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("glyph");
        QTest::newRow("unchecked disabled") << 0 << u"disable"_qs << QString() << 0 << 3;
        const QString click = u"press g L,release g L"_qs;
        const QString clicked = u"MouseDown(1,0,90,90) MouseUp(1,0,90,90) Click"_qs;
        QTest::newRow("unchecked") << 0 << click << clicked + u" 0"_qs << 1 << 4;
        QTest::newRow("checked") << 1 << click << clicked + u" 1"_qs << 0 << 0;
        QTest::newRow("grayed") << 2 << click << clicked + u" 2"_qs << 0 << 0;
        // Qt reports the second press of a quick double click as a double click; it must still
        // count, or fast clicking would lose every second toggle.
        QTest::newRow("double click") << 0 << click + u",dbl g L,release g L"_qs
                                      << clicked + u" 0 "_qs + clicked + u" 1"_qs << 0 << 0;
        QTest::newRow("dragged off the glyph")
            << 1 << u"press g L,move c L,release c L"_qs
            << u"MouseDown(1,0,90,90) MouseUp(1,0,210,-30)"_qs << 1 << -1;
        QTest::newRow("right button") << 1 << u"press c R,release c R"_qs
                                      << u"MouseDown(2,0,210,15) MouseUp(2,0,210,15)"_qs << 1 << -1;
        QTest::newRow("keys never toggle")
            << 0 << u"key"_qs << u"KeyDown(32,0) KeyPress(32) KeyUp(32,0)"_qs << 0 << 0;
    }
    void input()
    {
        QFETCH(int, before);
        QFETCH(QString, steps);
        QFETCH(int, glyph);
        check &box = *m_box;
        box.setValue(before);
        connect(&box, &check::Click, &box, [&] { m_log << QString::number(box.Value()); });
        QSignalSpy changes(&m_host, &FormHost::changed);
        static const QHash<QString, QEvent::Type> types{{u"press"_qs, Press},
                                                        {u"move"_qs, Move},
                                                        {u"release"_qs, Release},
                                                        {u"dbl"_qs, QEvent::MouseButtonDblClick}};
        for (const QString &step : steps.split(u',')) {
            const QStringList w = step.split(u' ');
            if (w.at(0) == u"disable") {
                box.setEnabled(false);
            } else if (w.at(0) == u"key") {
                QTest::keyClick(&box, Qt::Key_Space);
            } else {
                const Qt::MouseButton button = w.at(2) == u"L" ? Qt::LeftButton : Qt::RightButton;
                const QEvent::Type type = types.value(w.at(0));
                sendMouse(&box, type, w.at(1) == u"g" ? OnGlyph : OnControl,
                          type == Move ? Qt::NoButton : button,
                          type == Release ? Qt::NoButton : button);
            }
        }
        QTEST(m_log.join(u' '), "events");
        QTEST(box.Value(), "after");
        QVERIFY(glyph < 0 || shownGlyph(box) == glyph);
        const auto valueChanges =
            std::count_if(changes.begin(), changes.end(),
                          [](const QVariantList &c) { return c.at(1) == u"Value"_qs; });
        QCOMPARE(valueChanges, m_log.count(u"Click"_qs));
    }
};

QTEST_MAIN(TestCheck)
#include "tst_check.moc"
