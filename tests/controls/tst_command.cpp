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
            *log << QStringLiteral("%1(%2,%3,%4,%5)")
                        .arg(QLatin1String(name))
                        .arg(b)
                        .arg(s)
                        .arg(x)
                        .arg(y);
        };
    };
    const auto key = [log](const char *name) {
        return [log, name](qint16 code, qint16 s) {
            *log << QStringLiteral("%1(%2,%3)").arg(QLatin1String(name)).arg(code).arg(s);
        };
    };
    QObject::connect(&c, &Command::Click, [log] { *log << QStringLiteral("Click"); });
    QObject::connect(&c, &Command::DblClick, [log] { *log << QStringLiteral("DblClick"); });
    QObject::connect(&c, &Command::KeyDown, key("KeyDown"));
    QObject::connect(&c, &Command::KeyPress,
                     [log](qint16 a) { *log << QStringLiteral("KeyPress(%1)").arg(a); });
    QObject::connect(&c, &Command::KeyUp, key("KeyUp"));
    QObject::connect(&c, &Command::MouseOut, [log] { *log << QStringLiteral("MouseOut"); });
    QObject::connect(&c, &Command::MouseDown, mouse("MouseDown"));
    QObject::connect(&c, &Command::MouseMove, mouse("MouseMove"));
    QObject::connect(&c, &Command::MouseUp, mouse("MouseUp"));
    return log;
}

QImage expectedImage(QSize size, ButtonState skin, bool focusRect)
{
    static const CommandSkins skins;
    Surface s(size.width(), size.height());
    CommandPainter(skins).PaintState(s, skin, false, false);
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

private:
    FormHost m_host;
    std::unique_ptr<Command> m_c;
    QStringList *m_log = nullptr;

    QLabel *lbl() const { return m_c->findChild<QLabel *>(QStringLiteral("lbl")); }
    QLabel *imgButton() const { return m_c->findChild<QLabel *>(QStringLiteral("imgButton")); }
    QTimer *Timer1() const { return m_c->findChild<QTimer *>(QStringLiteral("Timer1")); }

    QWidget *part(const QString &name) const
    {
        return name == u"l"   ? lbl()
               : name == u"i" ? static_cast<QWidget *>(imgButton())
                              : m_c.get();
    }

    // Runs one scripted step: "move s 10 10", "press l L 3 4", "release s R+ 5 5" (+ holds
    // Shift; s surface, l caption, i icon), "dbl s L 1 1", "focusin", "focusout",
    // "key Space" / "keyup Space" / "repeat Space", "disable", "enable".
    void step(const QString &line)
    {
        const QStringList w = line.split(u' ');
        const QString &what = w.at(0);
        if (what == u"focusin" || what == u"focusout") {
            QFocusEvent e(what == u"focusin" ? QEvent::FocusIn : QEvent::FocusOut);
            QCoreApplication::sendEvent(m_c.get(), &e);
        } else if (what == u"disable" || what == u"enable") {
            m_c->setEnabled(what == u"enable");
        } else if (what.startsWith(u"key") || what == u"repeat") {
            static const QHash<QString, std::pair<int, QString>> keys{
                {QStringLiteral("Space"), {Qt::Key_Space, QStringLiteral(" ")}},
                {QStringLiteral("Enter"), {Qt::Key_Return, QStringLiteral("\r")}},
                {QStringLiteral("A"), {Qt::Key_A, QStringLiteral("a")}},
                {QStringLiteral("Shift"), {Qt::Key_Shift, QString()}},
            };
            const auto [code, text] = keys.value(w.at(1));
            // As on X11, a modifier key's release still carries its own modifier.
            const bool shiftUp = what == u"keyup" && code == Qt::Key_Shift;
            QKeyEvent e(what == u"keyup" ? QEvent::KeyRelease : QEvent::KeyPress, code,
                        shiftUp ? Qt::ShiftModifier : Qt::NoModifier, text, what == u"repeat");
            QCoreApplication::sendEvent(m_c.get(), &e);
        } else {
            QWidget *target = part(w.at(1));
            const QPointF pos(w.at(w.size() - 2).toDouble(), w.last().toDouble());
            const Qt::MouseButton button = what == u"move"            ? Qt::NoButton
                                           : w.at(2).startsWith(u'L') ? Qt::LeftButton
                                                                      : Qt::RightButton;
            const Qt::KeyboardModifiers mods =
                w.size() > 4 && w.at(2).endsWith(u'+') ? Qt::ShiftModifier : Qt::NoModifier;
            const QEvent::Type type = what == u"move"    ? QEvent::MouseMove
                                      : what == u"press" ? QEvent::MouseButtonPress
                                      : what == u"dbl"   ? QEvent::MouseButtonDblClick
                                                         : QEvent::MouseButtonRelease;
            QMouseEvent e(
                type, pos, target->mapToGlobal(pos), button,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), mods);
            QCoreApplication::sendEvent(target, &e);
        }
    }

    // Shown so that the pointer maps to it; a shown window may take the focus, which the
    // test then takes away again.
    bool showUnfocused()
    {
        m_c->show();
        if (!QTest::qWaitForWindowExposed(m_c.get()))
            return false;
        step(QStringLiteral("focusout"));
        return true;
    }

    void run(const QStringList &steps)
    {
        for (const QString &s : steps)
            step(s);
    }

private Q_SLOTS:
    void init()
    {
        m_c.reset(createInstance<Command>(nullptr, m_host, QStringLiteral("Command1"), nullptr));
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
        QTest::newRow("moves raise MouseMove once, on entry")
            << L({"move s 10 10", "move s 20 12", "move l 2 2"}) << L({"MouseMove(0,0,10,10)"})
            << int(Hover) << int(Hover) << false;
        QTest::newRow("click on the surface")
            << L({"move s 10 10", "press s L 10 10", "release s L 11 12"})
            << L({"MouseMove(0,0,10,10)", "MouseDown(1,0,10,10)", "MouseUp(1,0,11,12)", "Click"})
            << int(Hover) << int(Hover) << false;
        QTest::newRow("caption and icon pass their own coordinates")
            << L({"press l L+ 3 4", "release l L 3 4", "press i L 1 2", "release i L 1 2"})
            << L({"MouseDown(1,1,3,4)", "MouseUp(1,0,3,4)", "Click", "MouseDown(1,0,1,2)",
                  "MouseUp(1,0,1,2)", "Click"})
            << int(Hover) << int(Hover) << false;
        QTest::newRow("right button only releases")
            << L({"press s R 5 5", "release s R 5 5"}) << L({"MouseUp(2,0,5,5)"}) << int(Hover)
            << int(Hover) << false;
        QTest::newRow("drag off: no click")
            << L({"press s L 5 5", "release s L 120 5"})
            << L({"MouseDown(1,0,5,5)", "MouseUp(1,0,120,5)"}) << int(Hover) << int(Hover) << false;
        QTest::newRow("double click presses again without a second click")
            << L({"press s L 5 5", "release s L 5 5", "dbl s L 5 5", "release s L 5 5"})
            << L({"MouseDown(1,0,5,5)", "MouseUp(1,0,5,5)", "Click", "DblClick",
                  "MouseDown(1,0,0,0)", "MouseUp(1,0,5,5)"})
            << int(Hover) << int(Hover) << false;
        QTest::newRow("held press shows its rectangle without focus")
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
        QTest::newRow("keys: Space, Enter, a letter")
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
        QFETCH(QStringList, events);
        QFETCH(int, state);
        QFETCH(int, skin);
        QFETCH(bool, focusRect);
        run(steps);
        QCOMPARE(*m_log, events);
        QCOMPARE(int(m_c->state()), state);
        QCOMPARE(m_c->surfaceImage().image(),
                 expectedImage(m_c->size(), ButtonState(skin), focusRect));
    }

    void accessKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("Enter") << int(Qt::Key_Return) << QStringList{QStringLiteral("Click")};
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << QStringList{QStringLiteral("Click")};
        QTest::newRow("a letter") << int(Qt::Key_O) << QStringList{};
    }

    void accessKey()
    {
        QFETCH(int, key);
        QFETCH(QStringList, events);
        QShortcutEvent e(QKeySequence(key), 0);
        QCoreApplication::sendEvent(m_c.get(), &e);
        QCOMPARE(*m_log, events);
        QCOMPARE(m_c->state(), Normal); // no pressed or hover look
    }

    void hoverExit_data()
    {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<bool>("focus");
        QTest::addColumn<bool>("outside");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("held"); // pressed after entering, then dragged to the cursor
        QTest::newRow("inside") << QPoint(44, 16) << false << false << int(Hover) << false;
        QTest::newRow("far corner is inside")
            << QPoint(89, 33) << false << false << int(Hover) << false;
        QTest::newRow("right of the far edge")
            << QPoint(90, 10) << false << true << int(Normal) << false;
        QTest::newRow("below the far edge")
            << QPoint(10, 34) << false << true << int(Normal) << false;
        QTest::newRow("left") << QPoint(-1, 10) << false << true << int(Normal) << false;
        QTest::newRow("outside with focus")
            << QPoint(10, -1) << true << true << int(Focused) << false;
        QTest::newRow("dragged off") << QPoint(200, 5) << false << true << int(Normal) << true;
        QTest::newRow("dragged off with focus")
            << QPoint(200, 5) << true << true << int(Focused) << true;
    }

    void hoverExit()
    {
        QFETCH(QPoint, cursor);
        QFETCH(bool, focus);
        QFETCH(bool, outside);
        QFETCH(int, state);
        QFETCH(bool, held);
        QVERIFY(showUnfocused());
        setCursorSource([c = m_c.get(), cursor] { return c->mapToGlobal(cursor); });
        if (focus)
            step(QStringLiteral("focusin"));
        step(QStringLiteral("move s 5 5"));
        if (held)
            step(QStringLiteral("press s L 5 5"));
        QVERIFY(Timer1()->isActive());
        QSignalSpy ticks(Timer1(), &QTimer::timeout);
        QVERIFY(ticks.wait(2000));
        QCOMPARE(m_log->endsWith(QStringLiteral("MouseOut")), outside);
        QCOMPARE(Timer1()->isActive(), !outside);
        QCOMPARE(int(m_c->state()), state);
        QCOMPARE(m_c->surfaceImage().image(),
                 expectedImage(m_c->size(), ButtonState(state), focus));
        if (!held)
            return;
        // The release off the control still lands in Hover, but is no click.
        step(QStringLiteral("release s L 200 5"));
        QCOMPARE(m_log->last(), QStringLiteral("MouseUp(1,0,200,5)"));
        QVERIFY(!m_log->contains(QStringLiteral("Click")));
        QCOMPARE(m_c->state(), Hover);
        QVERIFY(!Timer1()->isActive());
    }

    void captionAndIconLayout()
    {
        const auto at = [](QWidget *w) { return w->pos(); };
        const int lw = lbl()->width();
        const int lh = lbl()->height();
        QCOMPARE(at(lbl()), QPoint(qRound((89 - lw) / 2.0f), qRound((33 - lh) / 2.0f)));
        // A press moves caption and icon one pixel down and right; the release undoes it.
        step(QStringLiteral("press s L 1 1"));
        QCOMPARE(at(lbl()), QPoint(qRound((89 - lw) / 2.0f) + 1, qRound((33 - lh) / 2.0f) + 1));
        step(QStringLiteral("release s L 1 1"));
        QCOMPARE(at(lbl()).x(), qRound((89 - lw) / 2.0f));

        m_c->setIcon(testIcon());
        QCOMPARE(m_c->IconAlign(), 1);
        QVERIFY(imgButton()->isVisibleTo(m_c.get()));
        QCOMPARE(at(imgButton()), QPoint(5, 8));
        QCOMPARE(at(lbl()).x(), 17 + 7);
        m_c->setIcon(QImage()); // blanks the box, keeps it and the layout
        QVERIFY(imgButton()->isVisibleTo(m_c.get()));
        QCOMPARE(at(lbl()).x(), 24);
        m_c->setIconAlign(2);
        QCOMPARE(at(lbl()).x(), 5);
        QCOMPARE(at(imgButton()).x(), 89 - 17 - 5);

        m_c->setEnabled(false);
        m_c->setEnabled(true); // forgets the icon placement
        QCOMPARE(m_c->IconAlign(), 0);
        QVERIFY(!imgButton()->isVisibleTo(m_c.get()));
        m_c->setIconAlign(2); // placed but still hidden until a refresh
        QVERIFY(!imgButton()->isVisibleTo(m_c.get()));
        QCOMPARE(at(imgButton()).x(), 89 - 17 - 5);
        m_c->setCaption(QStringLiteral("转换选定"));
        QVERIFY(imgButton()->isVisibleTo(m_c.get()));
    }

    void newInstanceNotifiesInOrder()
    {
        QSignalSpy changed(&m_host, &FormHost::changed);
        m_host.setAmbientFont(QFont(QStringLiteral("DejaVu Sans"), 11));
        std::unique_ptr<Command> c(
            createInstance<Command>(nullptr, m_host, QStringLiteral("Command2"), nullptr));
        QStringList names;
        for (const auto &args : changed)
            names << args.at(1).toString();
        QCOMPARE(names, (QStringList{QStringLiteral("Enabled"), QStringLiteral("Font"),
                                     QStringLiteral("Caption")}));
        QCOMPARE(c->Caption(), QStringLiteral("Command2"));
        QCOMPARE(c->Font(), m_host.ambientFont());
    }

    void loadProperties_data()
    {
        QTest::addColumn<QVariantMap>("stored"); // lower-case names, as the form keeps them
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("iconAlign");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("the form's own entries")
            << QVariantMap{{QStringLiteral("caption"), QStringLiteral("确 定")},
                           {QStringLiteral("icon"), QImage()}}
            << QStringLiteral("确 定") << 0 << true;
        QTest::newRow("nothing stored") << QVariantMap{} << QStringLiteral("Command1") << 0 << true;
        QTest::newRow("icon without placement") << QVariantMap{{QStringLiteral("icon"), testIcon()}}
                                                << QStringLiteral("Command1") << 1 << true;
        QTest::newRow("icon placed right") << QVariantMap{{QStringLiteral("ICONALIGN"), qint32(2)},
                                                          {QStringLiteral("Icon"), testIcon()}}
                                           << QStringLiteral("Command1") << 2 << true;
        QTest::newRow("disabled forgets the placement")
            << QVariantMap{{QStringLiteral("iconalign"), qint32(2)},
                           {QStringLiteral("icon"), testIcon()},
                           {QStringLiteral("enabled"), false}}
            << QStringLiteral("Command1") << 0 << false;
    }

    void loadProperties()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QString, caption);
        QFETCH(int, iconAlign);
        QFETCH(bool, enabled);
        PropertyBag bag;
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            bag.write(it.key(), it.value(), QVariant());
        std::unique_ptr<Command> c(
            createInstance<Command>(nullptr, m_host, QStringLiteral("Command1"), &bag));
        QCOMPARE(c->Caption(), caption);
        QCOMPARE(c->IconAlign(), iconAlign);
        QCOMPARE(c->Enabled(), enabled);
        QCOMPARE(c->findChild<QLabel *>(QStringLiteral("imgButton"))->isVisibleTo(c.get()),
                 iconAlign != 0);

        // Saved and loaded again through the stored form, nothing changes.
        PropertyBag saved;
        c->saveProperties(saved);
        const PropertyBag again = PropertyBag::fromJson(saved.toJson());
        std::unique_ptr<Command> d(
            createInstance<Command>(nullptr, m_host, QStringLiteral("Command1"), &again));
        QCOMPARE(d->Caption(), caption);
        QCOMPARE(d->IconAlign(), iconAlign);
        QCOMPARE(d->Enabled(), enabled);
        QCOMPARE(d->Icon().isNull(), c->Icon().isNull());
        QCOMPARE(d->size(), c->size());
    }

    void saveOrder()
    {
        m_c->setIcon(testIcon());
        m_c->setIconAlign(2);
        m_c->setCaption(QStringLiteral("全部转换"));
        m_c->setFont(QFont(QStringLiteral("DejaVu Sans"), 13));
        m_c->setFontColor(0xFF);
        PropertyBag bag;
        m_c->saveProperties(bag);
        QCOMPARE(bag.names(),
                 L({"_extentx", "_extenty", "IconAlign", "Icon", "Caption", "Font", "FontColor"}));
        QCOMPARE(bag.read<qint32>(u"fontcolor", 0), 0xFF);
    }
};

} // namespace

QTEST_MAIN(CommandTest)
#include "tst_command.moc"
