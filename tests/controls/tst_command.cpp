#include "controls/Command/command.h"
#include "controls/host/formhost.h"
#include "controltestkit.h"
#include "platform/cursor.h"

#include <QShortcutEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace tolvane;

Q_DECLARE_METATYPE(tolvane::ButtonState)

namespace {

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

    // One scripted step. Mouse: "press L 10 10" (button L, R or -). Keys: "key A", "keyup A",
    // "shortcut A". Also "focusin", "disable", "show", "cursor 90 10" (where the poll finds the
    // pointer) and "tick" (one poll of the hover timer).
    void step(const QString &line)
    {
        const QStringList w = line.split(u' ');
        const QString &what = w.at(0);
        if (what == u"focusin") {
            QFocusEvent e(QEvent::FocusIn);
            QCoreApplication::sendEvent(m_c.get(), &e);
        } else if (what == u"disable") {
            m_c->setEnabled(false);
        } else if (what == u"show") {
            m_c->show(); // so that the pointer maps to it
            QVERIFY(QTest::qWaitForWindowExposed(m_c.get()));
            QFocusEvent e(QEvent::FocusOut);
            QCoreApplication::sendEvent(m_c.get(), &e);
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
                {u"A"_qs, {Qt::Key_A, u"a"_qs}}};
            const auto [code, text] = keys.value(w.at(1));
            if (what == u"shortcut") {
                QShortcutEvent e(QKeySequence(code), 0);
                QCoreApplication::sendEvent(m_c.get(), &e);
                return;
            }
            QKeyEvent e(what == u"keyup" ? QEvent::KeyRelease : QEvent::KeyPress, code,
                        Qt::NoModifier, text);
            QCoreApplication::sendEvent(m_c.get(), &e);
        } else {
            static const QHash<QString, QEvent::Type> types{
                {u"move"_qs, QEvent::MouseMove},
                {u"press"_qs, QEvent::MouseButtonPress},
                {u"dbl"_qs, QEvent::MouseButtonDblClick},
                {u"release"_qs, QEvent::MouseButtonRelease}};
            const QPointF pos(w.at(2).toDouble(), w.at(3).toDouble());
            const Qt::MouseButton button = w.at(1) == u"L"   ? Qt::LeftButton
                                           : w.at(1) == u"R" ? Qt::RightButton
                                                             : Qt::NoButton;
            const QEvent::Type type = types.value(what);
            sendMouse(m_c.get(), type, pos, button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button);
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
        const auto row = [](const char *name, const char *steps, const char *events,
                            ButtonState state) {
            QTest::newRow(name) << QString::fromUtf8(steps) << QString::fromUtf8(events) << state;
        };
        row("right button only releases; a left click",
            "move - 10 10,press R 5 5,release R 5 5,press L 10 10,release L 11 12",
            "MouseMove(0,0,10,10) MouseUp(2,0,5,5) MouseDown(1,0,10,10) MouseUp(1,0,11,12) Click",
            Hover);
        row("double click: no second click", "press L 5 5,release L 5 5,dbl L 5 5,release L 5 5",
            "MouseDown(1,0,5,5) MouseUp(1,0,5,5) Click DblClick MouseDown(1,0,0,0) "
            "MouseUp(1,0,5,5)",
            Hover);
        row("Space, Enter, a letter",
            "focusin,key Space,keyup Space,key Enter,keyup Enter,key A,keyup A",
            "KeyDown(32,0) MouseDown(1,0,0,0) KeyUp(32,0) MouseUp(0,0,0,0) KeyPress(32) Click "
            "KeyDown(13,0) MouseDown(1,0,0,0) KeyUp(13,0) MouseUp(0,0,0,0) KeyPress(13) Click "
            "KeyDown(65,0) MouseDown(1,0,0,0) KeyUp(65,0) MouseUp(0,0,0,0) KeyPress(65) Click",
            Hover);
        row("a release whose press went elsewhere does not click", "focusin,keyup Enter",
            "KeyUp(13,0)", Focused);
        row("access keys: only Enter clicks", "shortcut Enter,shortcut Keypad,shortcut A",
            "Click Click", Normal);
        row("disabled gets no input", "disable,move - 1 1,press L 1 1,key Space,focusin", "",
            Disabled);
        row("dragged off: the release is no click",
            "show,cursor 200 5,move - 5 5,press L 5 5,tick,release L 200 5",
            "MouseMove(0,0,5,5) MouseDown(1,0,5,5) MouseOut MouseUp(1,0,200,5)", Hover);
    }
    void input()
    {
        QFETCH(QString, steps);
        for (const QString &s : steps.split(u',', Qt::SkipEmptyParts)) {
            step(s);
            if (QTest::currentTestFailed())
                return;
        }
        QTEST(m_log.join(u' '), "events");
        QTEST(m_c->state(), "state");
        // Once the pointer has left, the poll stops.
        if (m_log.contains(u"MouseOut"_qs))
            QVERIFY(!part<QTimer>("Timer1")->isActive());
    }
};

} // namespace

QTEST_MAIN(CommandTest)
#include "tst_command.moc"
