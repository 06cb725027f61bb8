#include "controls/Command/command.h"
#include "controls/Command/commandpainter.h"
#include "controls/Command/commandskins.h"
#include "controls/host/formhost.h"
#include "controls/host/propertybag.h"
#include "platform/cursor.h"

#include <QLabel>
#include <QShortcutEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace tolvane;

namespace {

// Every event the button raises, in order, with its arguments.
QStringList *recordEvents(Command &c)
{
    auto *log = new QStringList;
    QObject::connect(&c, &QObject::destroyed, [log] { delete log; });
    const auto mouse = [log](const char *name) {
        return [log, name](qint16 b, qint16 s, float x, float y) {
            *log << QString::asprintf("%s(%d,%d,%g,%g)", name, b, s, double(x), double(y));
        };
    };
    const auto key = [log](const char *name) {
        return [log, name](qint16 code, qint16 s) {
            *log << QString::asprintf("%s(%d,%d)", name, code, s);
        };
    };
    QObject::connect(&c, &Command::Click, [log] { *log << u"Click"_qs; });
    QObject::connect(&c, &Command::DblClick, [log] { *log << u"DblClick"_qs; });
    QObject::connect(&c, &Command::KeyDown, key("KeyDown"));
    QObject::connect(&c, &Command::KeyPress,
                     [log](qint16 a) { *log << QString::asprintf("KeyPress(%d)", a); });
    QObject::connect(&c, &Command::KeyUp, key("KeyUp"));
    QObject::connect(&c, &Command::MouseOut, [log] { *log << u"MouseOut"_qs; });
    QObject::connect(&c, &Command::MouseDown, mouse("MouseDown"));
    QObject::connect(&c, &Command::MouseMove, mouse("MouseMove"));
    QObject::connect(&c, &Command::MouseUp, mouse("MouseUp"));
    return log;
}

QImage expectedImage(QSize size, int skin, bool focusRect)
{
    static const CommandSkins skins;
    Surface s(size.width(), size.height());
    CommandPainter(skins).PaintState(s, ButtonState(skin), false, false);
    if (focusRect)
        CommandPainter::DrawFocus(s);
    return s.image();
}

QStringList L(std::initializer_list<const char *> items = {})
{
    QStringList list;
    for (const char *item : items)
        list << QString::fromUtf8(item);
    return list;
}

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
    std::unique_ptr<Command> m_c;
    QStringList *m_log = nullptr;

    template <typename T> T *part(const char *name) const
    {
        return m_c->findChild<T *>(QString::fromLatin1(name));
    }

    // One scripted step: "move s 10 10", "press l L 3 4", "release s R+ 5 5" (+ holds Shift;
    // s surface, l caption, i icon), "dbl s L 1 1", "focusin", "focusout", "key Space",
    // "keyup Space", "repeat Space", "disable", "enable".
    void step(const QString &line)
    {
        const QStringList w = line.split(u' ');
        const QString &what = w.at(0);
        if (what.startsWith(u"focus")) {
            QFocusEvent e(what == u"focusin" ? QEvent::FocusIn : QEvent::FocusOut);
            QCoreApplication::sendEvent(m_c.get(), &e);
        } else if (what.endsWith(u"able")) {
            m_c->setEnabled(what == u"enable");
        } else if (what.startsWith(u"key") || what == u"repeat") {
            static const QHash<QString, std::pair<int, QString>> keys{
                {u"Space"_qs, {Qt::Key_Space, u" "_qs}},
                {u"Enter"_qs, {Qt::Key_Return, u"\r"_qs}},
                {u"A"_qs, {Qt::Key_A, u"a"_qs}},
                {u"Shift"_qs, {Qt::Key_Shift, QString()}},
            };
            const auto [code, text] = keys.value(w.at(1));
            const bool up = what == u"keyup";
            // As on X11, a modifier key's release still carries its own modifier.
            QKeyEvent e(up ? QEvent::KeyRelease : QEvent::KeyPress, code,
                        up && code == Qt::Key_Shift ? Qt::ShiftModifier : Qt::NoModifier, text,
                        what == u"repeat");
            QCoreApplication::sendEvent(m_c.get(), &e);
        } else {
            QWidget *target = w.at(1) == u"l"   ? part<QWidget>("lbl")
                              : w.at(1) == u"i" ? part<QWidget>("imgButton")
                                                : m_c.get();
            const QPointF pos(w.at(w.size() - 2).toDouble(), w.last().toDouble());
            const Qt::MouseButton button = what == u"move"            ? Qt::NoButton
                                           : w.at(2).startsWith(u'L') ? Qt::LeftButton
                                                                      : Qt::RightButton;
            const QEvent::Type type = what == u"move"    ? QEvent::MouseMove
                                      : what == u"press" ? QEvent::MouseButtonPress
                                      : what == u"dbl"   ? QEvent::MouseButtonDblClick
                                                         : QEvent::MouseButtonRelease;
            QMouseEvent e(type, pos, target->mapToGlobal(pos), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          w.size() > 4 && w.at(2).endsWith(u'+') ? Qt::ShiftModifier
                                                                 : Qt::NoModifier);
            QCoreApplication::sendEvent(target, &e);
        }
    }

    void checkLook(int state, int skin, bool focusRect)
    {
        QCOMPARE(int(m_c->state()), state);
        QCOMPARE(m_c->surfaceImage().image(), expectedImage(m_c->size(), skin, focusRect));
    }

private Q_SLOTS:
    void init()
    {
        m_c.reset(createInstance<Command>(nullptr, m_host, u"Command1"_qs, nullptr));
        m_c->resizeNow(QSize(89, 33));
        m_log = recordEvents(*m_c);
    }
    void cleanup()
    {
        setCursorSource({});
        m_c.reset();
    }

    void input_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("skin"); // the picture on screen
        QTest::addColumn<bool>("focusRect");
        QTest::newRow("MouseMove once, on entry")
            << L({"move s 10 10", "move s 20 12", "move l 2 2"}) << L({"MouseMove(0,0,10,10)"})
            << int(Hover) << int(Hover) << false;
        QTest::newRow("click") << L({"move s 10 10", "press s L 10 10", "release s L 11 12"})
                               << L({"MouseMove(0,0,10,10)", "MouseDown(1,0,10,10)",
                                     "MouseUp(1,0,11,12)", "Click"})
                               << int(Hover) << int(Hover) << false;
        QTest::newRow("caption and icon pass their own coordinates")
            << L({"press l L+ 3 4", "release l L 3 4", "press i L 1 2", "release i L 1 2"})
            << L({"MouseDown(1,1,3,4)", "MouseUp(1,0,3,4)", "Click", "MouseDown(1,0,1,2)",
                  "MouseUp(1,0,1,2)", "Click"})
            << int(Hover) << int(Hover) << false;
        QTest::newRow("right button only releases")
            << L({"press s R 5 5", "release s R 5 5"}) << L({"MouseUp(2,0,5,5)"}) << int(Hover)
            << int(Hover) << false;
        QTest::newRow("double click: no second click")
            << L({"press s L 5 5", "release s L 5 5", "dbl s L 5 5", "release s L 5 5"})
            << L({"MouseDown(1,0,5,5)", "MouseUp(1,0,5,5)", "Click", "DblClick",
                  "MouseDown(1,0,0,0)", "MouseUp(1,0,5,5)"})
            << int(Hover) << int(Hover) << false;
        QTest::newRow("held press shows the rectangle without focus")
            << L({"press s L 5 5"}) << L({"MouseDown(1,0,5,5)"}) << int(Pressed) << int(Pressed)
            << true;
        QTest::newRow("focus while held keeps the pressed skin")
            << L({"press s L 5 5", "focusin"}) << L({"MouseDown(1,0,5,5)"}) << int(Focused)
            << int(Pressed) << true;
        QTest::newRow("focused") << L({"focusin"}) << L() << int(Focused) << int(Focused) << true;
        QTest::newRow("hover with focus")
            << L({"focusin", "move s 1 1"}) << L({"MouseMove(0,0,1,1)"}) << int(Hover) << int(Hover)
            << true;
        QTest::newRow("focus lost")
            << L({"focusin", "focusout"}) << L() << int(Normal) << int(Normal) << false;
        QTest::newRow("Space, Enter, a letter")
            << L({"focusin", "key Space", "keyup Space", "key Enter", "keyup Enter", "key A",
                  "keyup A"})
            << L({"KeyDown(32,0)", "MouseDown(1,0,0,0)", "KeyUp(32,0)", "MouseUp(0,0,0,0)",
                  "KeyPress(32)", "Click", "KeyDown(13,0)", "MouseDown(1,0,0,0)", "KeyUp(13,0)",
                  "MouseUp(0,0,0,0)", "KeyPress(13)", "Click", "KeyDown(65,0)",
                  "MouseDown(1,0,0,0)", "KeyUp(65,0)", "MouseUp(0,0,0,0)", "KeyPress(65)", "Click"})
            << int(Hover) << int(Hover) << true;
        QTest::newRow("auto-repeat raises KeyDown only")
            << L({"key Space", "repeat Space", "repeat Space", "keyup Space"})
            << L({"KeyDown(32,0)", "MouseDown(1,0,0,0)", "KeyDown(32,0)", "KeyDown(32,0)",
                  "KeyUp(32,0)", "MouseUp(0,0,0,0)", "KeyPress(32)", "Click"})
            << int(Hover) << int(Hover) << false;
        QTest::newRow("a modifier alone does not click")
            << L({"key Shift", "keyup Shift"}) << L({"KeyDown(16,1)", "KeyUp(16,0)"}) << int(Normal)
            << int(Normal) << false;
        QTest::newRow("key released elsewhere leaves the button held")
            << L({"focusin", "key A", "focusout", "move s 3 3", "press s L 3 3", "release s L 3 3"})
            << L({"KeyDown(65,0)", "MouseDown(1,0,0,0)", "MouseUp(1,0,3,3)", "Click"}) << int(Hover)
            << int(Hover) << false;
        QTest::newRow("disabled while held ignores hover and press until a release")
            << L({"press s L 3 3", "disable", "release s L 3 3", "enable", "move s 3 3",
                  "press s L 3 3", "release s L 4 4", "move s 3 3"})
            << L({"MouseDown(1,0,3,3)", "MouseUp(1,0,4,4)", "Click"}) << int(Hover) << int(Hover)
            << false;
        QTest::newRow("disabled gets no input")
            << L({"disable", "move s 1 1", "press s L 1 1", "key Space", "focusin"}) << L()
            << int(Disabled) << int(Disabled) << false;
    }
    void input()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, state);
        QFETCH(int, skin);
        QFETCH(bool, focusRect);
        for (const QString &s : steps)
            step(s);
        QTEST(*m_log, "events");
        checkLook(state, skin, focusRect);
    }

    void accessKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("Enter") << int(Qt::Key_Return) << L({"Click"});
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << L({"Click"});
        QTest::newRow("a letter") << int(Qt::Key_O) << L();
    }
    void accessKey()
    {
        QFETCH(int, key);
        QShortcutEvent e(QKeySequence(key), 0);
        QCoreApplication::sendEvent(m_c.get(), &e);
        QTEST(*m_log, "events");
        QCOMPARE(m_c->state(), Normal); // no pressed or hover look
    }

    void hoverExit_data()
    {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<bool>("focus");
        QTest::addColumn<bool>("held"); // pressed after entering, then dragged to the cursor
        QTest::addColumn<int>("state");
        QTest::newRow("far corner is inside") << QPoint(89, 33) << false << false << int(Hover);
        QTest::newRow("right of the far edge") << QPoint(90, 10) << false << false << int(Normal);
        QTest::newRow("below the far edge") << QPoint(10, 34) << false << false << int(Normal);
        QTest::newRow("left") << QPoint(-1, 10) << false << false << int(Normal);
        QTest::newRow("outside with focus") << QPoint(10, -1) << true << false << int(Focused);
        QTest::newRow("dragged off") << QPoint(200, 5) << false << true << int(Normal);
    }
    void hoverExit()
    {
        QFETCH(QPoint, cursor);
        QFETCH(bool, focus);
        QFETCH(bool, held);
        QFETCH(int, state);
        const bool outside = state != Hover;
        m_c->show(); // so that the pointer maps to it
        QVERIFY(QTest::qWaitForWindowExposed(m_c.get()));
        step(u"focusout"_qs);
        setCursorSource([c = m_c.get(), cursor] { return c->mapToGlobal(cursor); });
        if (focus)
            step(u"focusin"_qs);
        step(u"move s 5 5"_qs);
        if (held)
            step(u"press s L 5 5"_qs);
        auto *timer = part<QTimer>("Timer1");
        QSignalSpy ticks(timer, &QTimer::timeout);
        QVERIFY(ticks.wait(2000));
        QCOMPARE(m_log->endsWith(u"MouseOut"_qs), outside);
        QCOMPARE(timer->isActive(), !outside);
        checkLook(state, state, focus);
        if (!held)
            return;
        // The release off the control still lands in Hover, but is no click.
        step(u"release s L 200 5"_qs);
        QCOMPARE(m_log->last(), u"MouseUp(1,0,200,5)"_qs);
        QVERIFY(!m_log->contains(u"Click"_qs));
        QCOMPARE(m_c->state(), Hover);
        QVERIFY(!timer->isActive());
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
        QCOMPARE(m_c->IconAlign(), 1);
        QVERIFY(img->isVisibleTo(m_c.get()));
        QCOMPARE(img->pos(), QPoint(5, 8));
        QCOMPARE(lbl->x(), 17 + 7);
        m_c->setIconAlign(2);
        QCOMPARE(lbl->x(), 5);
        QCOMPARE(img->x(), 89 - 17 - 5);
        m_c->setEnabled(false);
        m_c->setEnabled(true); // forgets the icon placement
        QCOMPARE(m_c->IconAlign(), 0);
        QVERIFY(!img->isVisibleTo(m_c.get()));
        QCOMPARE(lbl->pos(), centred);
    }

    void newInstanceNotifiesInOrder()
    {
        QSignalSpy changed(&m_host, &FormHost::changed);
        m_host.setAmbientFont(QFont(u"DejaVu Sans"_qs, 11));
        std::unique_ptr<Command> c(
            createInstance<Command>(nullptr, m_host, u"Command2"_qs, nullptr));
        QStringList names;
        for (const auto &args : changed)
            names << args.at(1).toString();
        QCOMPARE(names, L({"Enabled", "Font", "Caption"}));
        QCOMPARE(c->Caption(), u"Command2"_qs);
        QCOMPARE(c->Font(), m_host.ambientFont());
    }

    // Stored names are matched without regard to case, and survive a save and reload.
    void storedProperties_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("iconAlign");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("the form's own entries")
            << QVariantMap{{u"caption"_qs, u"确 定"_qs}, {u"icon"_qs, QImage()}} << u"确 定"_qs << 0
            << true;
        QTest::newRow("icon without placement")
            << QVariantMap{{u"icon"_qs, testIcon()}} << u"Command1"_qs << 1 << true;
        QTest::newRow("icon placed right")
            << QVariantMap{{u"ICONALIGN"_qs, qint32(2)}, {u"Icon"_qs, testIcon()}} << u"Command1"_qs
            << 2 << true;
        QTest::newRow("disabled forgets the placement") << QVariantMap{{u"iconalign"_qs, qint32(2)},
                                                                       {u"icon"_qs, testIcon()},
                                                                       {u"enabled"_qs, false}}
                                                        << u"Command1"_qs << 0 << false;
    }
    void storedProperties()
    {
        QFETCH(QVariantMap, stored);
        PropertyBag bag;
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            bag.write(it.key(), it.value(), QVariant());
        std::unique_ptr<Command> c(createInstance<Command>(nullptr, m_host, u"Command1"_qs, &bag));
        PropertyBag saved;
        c->saveProperties(saved);
        const PropertyBag again = PropertyBag::fromJson(saved.toJson());
        std::unique_ptr<Command> d(
            createInstance<Command>(nullptr, m_host, u"Command1"_qs, &again));
        for (Command *b : {c.get(), d.get()}) {
            QTEST(b->Caption(), "caption");
            QTEST(b->IconAlign(), "iconAlign");
            QTEST(b->Enabled(), "enabled");
            QCOMPARE(b->findChild<QLabel *>(u"imgButton"_qs)->isVisibleTo(b), b->IconAlign() != 0);
        }
        QCOMPARE(d->Icon().isNull(), c->Icon().isNull());
        QCOMPARE(d->size(), c->size());
    }

    void savesEveryPropertyInOrder()
    {
        m_c->setIcon(testIcon());
        m_c->setIconAlign(2);
        m_c->setCaption(u"全部转换"_qs);
        m_c->setFont(QFont(u"DejaVu Sans"_qs, 13));
        m_c->setFontColor(0xFF);
        PropertyBag bag;
        m_c->saveProperties(bag);
        QCOMPARE(bag.names(),
                 L({"_extentx", "_extenty", "IconAlign", "Icon", "Caption", "Font", "FontColor"}));
        std::unique_ptr<Command> d(createInstance<Command>(nullptr, m_host, u"Command1"_qs, &bag));
        QCOMPARE(d->FontColor(), 0xFF);
        QCOMPARE(d->Font(), m_c->Font());
    }
};

} // namespace

QTEST_MAIN(CommandTest)
#include "tst_command.moc"
