#include "controls/Command/command.h"
#include "controls/Command/commandskins.h"
#include "controls/host/formhost.h"
#include "controltestkit.h"
#include "platform/cursor.h"

#include <QLabel>
#include <QShortcutEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace tolvane;

Q_DECLARE_METATYPE(tolvane::ButtonState)

namespace {

QImage testIcon()
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    return icon;
}

class CommandTest : public QObject
{
    Q_OBJECT

    FormHost m_host;
    EventLog m_log;
    std::unique_ptr<Command> m_c;

    template <typename T> T *part(const char *name) const
    {
        return m_c->findChild<T *>(QString::fromLatin1(name));
    }

    // One scripted step. Mouse: "press s L 10 10" (s surface, l caption, i icon; button L, R or
    // -, L+ holds Shift). Keys: "key A", "keyup A", "repeat A", "shortcut A". Also "focusin",
    // "focusout", "disable", "enable", "show", "cursor 90 10" (where the poll finds the
    // pointer) and "tick" (one poll of the hover timer).
    void step(const QString &line)
    {
        const QStringList w = line.split(u' ');
        const QString &what = w.at(0);
        if (what.startsWith(u"focus")) {
            QFocusEvent e(what == u"focusin" ? QEvent::FocusIn : QEvent::FocusOut);
            QCoreApplication::sendEvent(m_c.get(), &e);
        } else if (what.endsWith(u"able")) {
            m_c->setEnabled(what == u"enable");
        } else if (what == u"show") {
            m_c->show(); // so that the pointer maps to it; the shown window may take the focus
            QVERIFY(QTest::qWaitForWindowExposed(m_c.get()));
            step(u"focusout"_qs);
        } else if (what == u"cursor") {
            const QPoint at(w.at(1).toInt(), w.at(2).toInt());
            setCursorSource([c = m_c.get(), at] { return c->mapToGlobal(at); });
        } else if (what == u"tick") {
            QVERIFY(QSignalSpy(part<QTimer>("Timer1"), &QTimer::timeout).wait(2000));
        } else if (w.size() == 2) {
            static const QHash<QString, std::pair<int, QString>> keys{
                {u"Space"_qs, {Qt::Key_Space, u" "_qs}},
                {u"Enter"_qs, {Qt::Key_Return, u"\r"_qs}},
                {u"Keypad"_qs, {Qt::Key_Enter, u"\r"_qs}},
                {u"A"_qs, {Qt::Key_A, u"a"_qs}},
                {u"Shift"_qs, {Qt::Key_Shift, QString()}}};
            const auto [code, text] = keys.value(w.at(1));
            if (what == u"shortcut") {
                QShortcutEvent e(QKeySequence(code), 0);
                QCoreApplication::sendEvent(m_c.get(), &e);
                return;
            }
            const bool up = what == u"keyup";
            // As on X11, a modifier key's release still carries its own modifier.
            QKeyEvent e(up ? QEvent::KeyRelease : QEvent::KeyPress, code,
                        up && code == Qt::Key_Shift ? Qt::ShiftModifier : Qt::NoModifier, text,
                        what == u"repeat");
            QCoreApplication::sendEvent(m_c.get(), &e);
        } else {
            static const QHash<QString, QEvent::Type> types{
                {u"move"_qs, QEvent::MouseMove},
                {u"press"_qs, QEvent::MouseButtonPress},
                {u"dbl"_qs, QEvent::MouseButtonDblClick},
                {u"release"_qs, QEvent::MouseButtonRelease}};
            QWidget *target =
                w.at(1) == u"s" ? m_c.get() : part<QWidget>(w.at(1) == u"l" ? "lbl" : "imgButton");
            const QPointF pos(w.at(3).toDouble(), w.at(4).toDouble());
            const Qt::MouseButton button = w.at(2).startsWith(u'L')   ? Qt::LeftButton
                                           : w.at(2).startsWith(u'R') ? Qt::RightButton
                                                                      : Qt::NoButton;
            const QEvent::Type type = types.value(what);
            sendMouse(target, type, pos, button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                      w.at(2).endsWith(u'+') ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }

private Q_SLOTS:
    void init()
    {
        m_c.reset(createInstance<Command>(nullptr, m_host, u"Command1"_qs, nullptr));
        m_c->resizeNow(QSize(89, 33));
        Command *c = m_c.get();
        m_log.clear();
        m_log.record(c, &Command::Click, &Command::DblClick, &Command::KeyDown, &Command::KeyPress,
                     &Command::KeyUp, &Command::MouseOut, &Command::MouseDown, &Command::MouseMove,
                     &Command::MouseUp);
    }
    void cleanup()
    {
        setCursorSource({});
        m_c.reset();
    }

    void input_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("events");
        QTest::addColumn<ButtonState>("state");
        QTest::addColumn<ButtonState>("skin"); // the picture on screen
        QTest::addColumn<bool>("focusRect");
        const auto row = [](const char *name, const char *steps, const char *events,
                            ButtonState state, ButtonState skin, bool focusRect) {
            QTest::newRow(name) << QString::fromUtf8(steps) << QString::fromUtf8(events) << state
                                << skin << focusRect;
        };
        row("MouseMove once, on entry", "move s - 10 10,move s - 20 12,move l - 2 2",
            "MouseMove(0,0,10,10)", Hover, Hover, false);
        row("right button only releases; a left click",
            "move s - 10 10,press s R 5 5,release s R 5 5,press s L 10 10,release s L 11 12",
            "MouseMove(0,0,10,10) MouseUp(2,0,5,5) MouseDown(1,0,10,10) MouseUp(1,0,11,12) Click",
            Hover, Hover, false);
        row("caption and icon pass their own coordinates",
            "press l L+ 3 4,release l L 3 4,press i L 1 2,release i L 1 2",
            "MouseDown(1,1,3,4) MouseUp(1,0,3,4) Click MouseDown(1,0,1,2) MouseUp(1,0,1,2) Click",
            Hover, Hover, false);
        row("double click: no second click",
            "press s L 5 5,release s L 5 5,dbl s L 5 5,release s L 5 5",
            "MouseDown(1,0,5,5) MouseUp(1,0,5,5) Click DblClick MouseDown(1,0,0,0) "
            "MouseUp(1,0,5,5)",
            Hover, Hover, false);
        row("held press shows the rectangle without focus", "press s L 5 5", "MouseDown(1,0,5,5)",
            Pressed, Pressed, true);
        row("focus while held keeps the pressed skin", "press s L 5 5,focusin",
            "MouseDown(1,0,5,5)", Focused, Pressed, true);
        row("focus lost", "focusin,focusout", "", Normal, Normal, false);
        row("Space, Enter, a letter",
            "focusin,key Space,keyup Space,key Enter,keyup Enter,key A,keyup A",
            "KeyDown(32,0) MouseDown(1,0,0,0) KeyUp(32,0) MouseUp(0,0,0,0) KeyPress(32) Click "
            "KeyDown(13,0) MouseDown(1,0,0,0) KeyUp(13,0) MouseUp(0,0,0,0) KeyPress(13) Click "
            "KeyDown(65,0) MouseDown(1,0,0,0) KeyUp(65,0) MouseUp(0,0,0,0) KeyPress(65) Click",
            Hover, Hover, true);
        row("a modifier alone does not click; auto-repeat raises KeyDown only",
            "key Shift,keyup Shift,key Space,repeat Space,repeat Space,keyup Space",
            "KeyDown(16,1) KeyUp(16,0) KeyDown(32,0) MouseDown(1,0,0,0) KeyDown(32,0) "
            "KeyDown(32,0) "
            "KeyUp(32,0) MouseUp(0,0,0,0) KeyPress(32) Click",
            Hover, Hover, false);
        row("a release whose press went elsewhere does not click", "focusin,keyup Enter",
            "KeyUp(13,0)", Focused, Focused, true);
        row("access keys: only Enter clicks, without a look",
            "shortcut Enter,shortcut Keypad,shortcut A", "Click Click", Normal, Normal, false);
        row("disabled while held ignores hover and press until a release",
            "press s L 3 3,disable,release s L 3 3,enable,move s - 3 3,press s L 3 3,release s L "
            "4 4,move s - 3 3",
            "MouseDown(1,0,3,3) MouseUp(1,0,4,4) Click", Hover, Hover, false);
        row("disabled gets no input", "disable,move s - 1 1,press s L 1 1,key Space,focusin", "",
            Disabled, Disabled, false);
        // The poll counts the far edges as inside.
        row("pointer on the far corner", "show,cursor 89 33,move s - 5 5,tick",
            "MouseMove(0,0,5,5)", Hover, Hover, false);
        row("pointer right of the far edge", "show,cursor 90 10,move s - 5 5,tick",
            "MouseMove(0,0,5,5) MouseOut", Normal, Normal, false);
        row("pointer out with focus", "show,cursor 10 -1,focusin,move s - 5 5,tick",
            "MouseMove(0,0,5,5) MouseOut", Focused, Focused, true);
        row("dragged off: the release is no click",
            "show,cursor 200 5,move s - 5 5,press s L 5 5,tick,release s L 200 5",
            "MouseMove(0,0,5,5) MouseDown(1,0,5,5) MouseOut MouseUp(1,0,200,5)", Hover, Hover,
            false);
    }
    void input()
    {
        QFETCH(QString, steps);
        QFETCH(ButtonState, skin);
        QFETCH(bool, focusRect);
        for (const QString &s : steps.split(u',', Qt::SkipEmptyParts)) {
            step(s);
            if (QTest::currentTestFailed())
                return;
        }
        QTEST(m_log.join(u' '), "events");
        QTEST(m_c->state(), "state");
        // The skin's own corner (kept as it is at any size) and the focus dots, which invert
        // every other pixel from (2, 2).
        const QImage shown = m_c->surfaceImage().image();
        const QImage picture = CommandSkins().at(skin).image();
        QCOMPARE(shown.copy(87, 31, 2, 2), picture.copy(16, 19, 2, 2));
        QCOMPARE(shown.pixel(2, 2), picture.pixel(2, 2) ^ (focusRect ? 0xFFFFFFu : 0u));
        // Once the pointer has left, the poll stops.
        if (m_log.contains(u"MouseOut"_qs))
            QVERIFY(!part<QTimer>("Timer1")->isActive());
    }

    void captionAndIconLayout()
    {
        auto *lbl = part<QLabel>("lbl");
        auto *img = part<QLabel>("imgButton");
        const QPoint centred(qRound((89 - lbl->width()) / 2.0f),
                             qRound((33 - lbl->height()) / 2.0f));
        QCOMPARE(lbl->pos(), centred);
        // A press moves the parts one pixel down and right; the release undoes it.
        step(u"press s L 1 1"_qs);
        QCOMPARE(lbl->pos(), centred + QPoint(1, 1));
        step(u"release s L 1 1"_qs);
        QCOMPARE(lbl->pos(), centred);
        m_c->setIcon(testIcon());
        QVERIFY(img->isVisibleTo(m_c.get()));
        // Disabled through its form, the button looks disabled and hides the icon; enabled
        // again, the icon comes back where it was.
        QWidget form;
        m_c->setParent(&form);
        const QPoint iconAt = img->pos(), captionAt = lbl->pos();
        form.setEnabled(false);
        QVERIFY(m_c->Enabled()); // the form's state is not the button's own, nor saved
        QCOMPARE(m_c->state(), Disabled);
        QVERIFY(!img->isVisibleTo(m_c.get()));
        QCOMPARE(lbl->pos(), centred);
        form.setEnabled(true);
        QCOMPARE(m_c->state(), Normal);
        QVERIFY(img->isVisibleTo(m_c.get()));
        QCOMPARE(img->pos(), iconAt);
        QCOMPARE(lbl->pos(), captionAt);
        m_c->setParent(nullptr);
    }
};

} // namespace

QTEST_MAIN(CommandTest)
#include "tst_command.moc"
