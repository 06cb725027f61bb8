#include "controls/Command/command.h"
#include "controls/host/formhost.h"

#include <QMouseEvent>
#include <QShortcutEvent>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace tolvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(tolvane::ButtonState)

namespace {

class CommandTest : public QObject
{
    Q_OBJECT

    FormHost m_host;
    std::unique_ptr<Command> m_c;

    // One scripted step. Mouse: "press L 10 10" (button L, R or -). Keys: "key A", "keyup A",
    // "shortcut A". Also "focusin" and "disable".
    void step(const QString &line)
    {
        const QStringList w = line.split(u' ');
        const QString &what = w.at(0);
        if (what == u"focusin") {
            QFocusEvent e(QEvent::FocusIn);
            QCoreApplication::sendEvent(m_c.get(), &e);
        } else if (what == u"disable") {
            m_c->setEnabled(false);
        } else if (w.size() == 2) {
            static const QHash<QString, std::pair<int, QString>> keys{
                {u"Space"_s, {Qt::Key_Space, u" "_s}},
                {u"Enter"_s, {Qt::Key_Return, u"\r"_s}},
                {u"Keypad"_s, {Qt::Key_Enter, u"\r"_s}},
                {u"A"_s, {Qt::Key_A, u"a"_s}}};
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
                {u"move"_s, QEvent::MouseMove},
                {u"press"_s, QEvent::MouseButtonPress},
                {u"dbl"_s, QEvent::MouseButtonDblClick},
                {u"release"_s, QEvent::MouseButtonRelease}};
            const QPointF pos(w.at(2).toDouble(), w.at(3).toDouble());
            const Qt::MouseButton button = w.at(1) == u"L"   ? Qt::LeftButton
                                           : w.at(1) == u"R" ? Qt::RightButton
                                                             : Qt::NoButton;
            const QEvent::Type type = types.value(what);
            QMouseEvent e(type, pos, m_c->mapToGlobal(pos), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
            QCoreApplication::sendEvent(m_c.get(), &e);
        }
    }

private Q_SLOTS:
    void init()
    {
        m_c.reset(createInstance<Command>(nullptr, m_host, u"Command1"_s, nullptr));
        m_c->resizeNow(QSize(89, 33));
    }
    void cleanup() { m_c.reset(); }

    void input_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<ButtonState>("state");
        const auto row = [](const char *name, const char *steps, int clicks, ButtonState state) {
            QTest::newRow(name) << QString::fromUtf8(steps) << clicks << state;
        };
        row("the right button does not click, the left does",
            "move - 10 10,press R 5 5,release R 5 5,press L 10 10,release L 11 12", 1, Hover);
        row("double click: no second click", "press L 5 5,release L 5 5,dbl L 5 5,release L 5 5", 1,
            Hover);
        row("Space, Enter, a letter",
            "focusin,key Space,keyup Space,key Enter,keyup Enter,key A,keyup A", 3, Hover);
        row("a release whose press went elsewhere", "focusin,keyup Enter", 0, Focused);
        row("access keys: only Enter clicks", "shortcut Enter,shortcut Keypad,shortcut A", 2,
            Normal);
        row("disabled gets no input", "disable,move - 1 1,press L 1 1,key Space,focusin", 0,
            Disabled);
    }
    void input()
    {
        QFETCH(QString, steps);
        QSignalSpy clicks(m_c.get(), &Command::Click);
        for (const QString &s : steps.split(u',', Qt::SkipEmptyParts)) {
            step(s);
            if (QTest::currentTestFailed())
                return;
        }
        QTEST(int(clicks.size()), "clicks");
        QTEST(m_c->state(), "state");
    }
};

} // namespace

QTEST_MAIN(CommandTest)
#include "tst_command.moc"
