#include "support/exifjpeg.h"
#include "support/testdir.h"
#include "xsession.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QTest>

using namespace tolvane::test;
using namespace Qt::StringLiterals;

// The real program on its own display with no window manager, where the frame's own drag, size
// and maximise run. Each test starts it afresh in a folder, home and state folder of its own,
// on an accessibility bus of the test's own.
class TestE2eFrame : public QObject
{
    Q_OBJECT

    // An object on the accessibility bus: its program's bus name and its path.
    using Node = std::pair<QString, QString>;

    QString artifact(const QString &name) const
    {
        return QStringLiteral(TOLVANE_ARTIFACTS "/") +
               QString::fromLatin1(QTest::currentTestFunction()) + u'-' + name;
    }
    QRect frame() const { return m_x->geometry(m_window); }
    QRect control(QStringView name) const { return formControl(frame().topLeft(), name); }
    // Renames the listed files to pic01, pic02, … through the rename tab.
    void renameAsPics() const
    {
        m_x->click(control(u"text1").center());
        m_x->xdotool(QStringLiteral("type pic#"));
        m_x->click(control(u"text2").center());
        m_x->xdotool(QStringLiteral("key End BackSpace"));
        m_x->xdotool(QStringLiteral("type 1"));
        m_x->click(control(u"Command1").center());
    }
    // Clicks the caption button this far from the frame's right edge once the frame has lit it
    // under the pointer after one motion onto it; false if it never lit. First, with `leave`,
    // the pointer leaves the window from the lit button; false if it stayed lit.
    bool clickCaptionButton(int fromRight, bool leave = false) const
    {
        const QPoint at = frame().topRight() + QPoint(1 - fromRight, 20);
        const QRgb plain = m_x->screenshot(artifact(QStringLiteral("plain.png"))).pixel(at);
        m_x->moveTo(at);
        const auto lit = [&] { return m_x->screenshot(artifact(u"lit.png"_s)).pixel(at) != plain; };
        if (leave) {
            if (!XSession::waitUntil(lit))
                return false;
            m_x->moveTo(at + QPoint(fromRight + 40, 0));
            if (!XSession::waitUntil([&] { return !lit(); }))
                return false;
            m_x->moveTo(at);
        }
        const bool wasLit = XSession::waitUntil(lit);
        m_x->xdotool(u"click 1"_s);
        return wasLit;
    }
    // A session bus of the test's own, which starts at-spi2-core's accessibility bus when first
    // asked for it; why not, when they did not start.
    const char *startAccessibilityBus()
    {
        m_sessionBus.setProcessEnvironment(m_x->environment(m_busHome.path()));
        m_sessionBus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        if (!m_sessionBus.waitForReadyRead(10000))
            return "no session bus: dbus-daemon did not start";
        const QString address = QString::fromUtf8(m_sessionBus.readLine()).trimmed();
        // A screen reader would switch the program's bridge on; here the program is told to.
        m_reader.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
        m_reader.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, address);
        const auto session = QDBusConnection::connectToBus(address, u"session"_s);
        const Node bus{u"org.a11y.Bus"_s, u"/org/a11y/bus"_s};
        QString a11y;
        XSession::waitUntil([&] {
            a11y = ask(session, bus, u"GetAddress"_s, {}, u"org.a11y.Bus"_s).toString();
            return !a11y.isEmpty();
        });
        m_a11y = QDBusConnection::connectToBus(a11y, u"a11y"_s);
        return m_a11y.isConnected() ? nullptr
                                    : "no accessibility bus: at-spi2-core's launcher is missing or "
                                      "gave no address";
    }
    static QVariant ask(const QDBusConnection &bus, const Node &node, const QString &method,
                        const QVariantList &arguments = {},
                        const QString &iface = u"org.a11y.atspi.Accessible"_s)
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(node.first, node.second, iface, method);
        message.setArguments(arguments);
        const QDBusMessage reply = bus.call(message, QDBus::Block, 5000);
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0) : QVariant();
    }
    // Every object from `node` down as "role: name", and as "role: name, action" if it has one.
    void collect(const Node &node, QStringList &found, int depth = 0) const
    {
        const QVariant name =
            ask(m_a11y, node, u"Get"_s, {u"org.a11y.atspi.Accessible"_s, u"Name"_s},
                u"org.freedesktop.DBus.Properties"_s);
        found << ask(m_a11y, node, u"GetRoleName"_s).toString() + u": "_s +
                     name.value<QDBusVariant>().variant().toString();
        const QVariant action = ask(m_a11y, node, u"GetName"_s, {0}, u"org.a11y.atspi.Action"_s);
        if (action.isValid()) // the first, which a reader's "activate" runs
            found << found.last() + u", "_s + action.toString();
        if (depth == 14) // the form is far shallower; a cycle must not hang the test
            return;
        for (const Node &child : qdbus_cast<QList<Node>>(ask(m_a11y, node, u"GetChildren"_s)))
            collect(child, found, depth + 1);
    }

    std::unique_ptr<XSession> m_x;
    std::unique_ptr<TestDir> m_folder, m_home;
    // HOME, XDG_STATE_HOME and XDG_RUNTIME_DIR (private, as a temporary folder is) of the buses.
    TestDir m_busHome;
    QProcess m_sessionBus;
    QProcessEnvironment m_reader; // what joins a program to the accessibility bus
    QDBusConnection m_a11y{QString()};
    const char *m_noAccessibilityBus = nullptr;
    QProcess m_app;
    qulonglong m_window = 0;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(QStringLiteral(TOLVANE_ARTIFACTS)));
        m_x = std::make_unique<XSession>();
        QVERIFY2(m_x->isRunning(), "Xvfb did not start");
        m_noAccessibilityBus = startAccessibilityBus();
    }

    void cleanupTestCase()
    {
        // The launcher it started ends with it, and takes the accessibility bus down too.
        m_sessionBus.terminate();
        m_sessionBus.waitForFinished();
    }

    void init()
    {
        m_folder = std::make_unique<TestDir>();
        // The traditional name in a folder of its own, so that the serial rename leaves it alone.
        m_folder->createFolder("繁體");
        for (const char *name : {"a.txt", "b.txt", "繁體/舊檔案.txt"})
            m_folder->createFile(name);
        m_home = std::make_unique<TestDir>();
        QProcessEnvironment env = m_x->environment(m_home->path());
        env.insert(m_reader);
        // Started elsewhere on the folder given: the renames below prove the window opened there.
        m_window = m_x->launch(m_app, env, m_home->path(),
                               {QStringLiteral(TOLVANE_APP), m_folder->path()});
        QVERIFY2(m_window != 0, "the window did not show");
        // Shown at its full size and painted: the working form covers the frame's interior.
        const QRect r = m_x->waitForGeometry(m_window, [](QRect g) { return g.width() == 527; });
        QCOMPARE(r.size(), QSize(527, 497));
        QVERIFY2(XSession::waitUntil([&] {
                     const QImage shot = m_x->screenshot(artifact(QStringLiteral("start.png")));
                     return !shot.isNull() &&
                            shot.pixel(r.topLeft() + QPoint(22, 39)) != qRgb(0, 0, 0);
                 }),
                 "the working form was not painted");
        m_x->moveTo(r.bottomRight() + QPoint(40, 40));
    }

    void cleanup() // before its folder goes
    {
        m_app.kill();
        m_app.waitForFinished();
    }

    void drags_data()
    {
        QTest::addColumn<QPoint>("grip"); // from the frame's top-right corner
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<QRect>("moved"); // the change to the frame's geometry
        QTest::newRow("title bar moves")
            << QPoint(-277, 25) << QPoint(100, 60) << QRect(100, 60, 0, 0);
        QTest::newRow("right band sizes")
            << QPoint(-16, 200) << QPoint(60, 40) << QRect(0, 0, 60, 0);
    }

    void drags()
    {
        QFETCH(QPoint, grip);
        QFETCH(QPoint, by);
        QFETCH(QRect, moved);
        const QRect before = frame();
        const QRect wanted(before.topLeft() + moved.topLeft(), before.size() + moved.size());
        const QPoint at = before.topRight() + QPoint(1, 0) + grip;
        m_x->moveTo(at);
        m_x->xdotool(QStringLiteral("mousedown 1"));
        m_x->moveTo(at + by / 2);
        m_x->moveTo(at + by);
        m_x->xdotool(QStringLiteral("mouseup 1"));
        QCOMPARE(m_x->waitForGeometry(m_window, [&](QRect g) { return g == wanted; }), wanted);
    }

    // A window manager that tiles (GNOME's and Xfce's halves) maximises in one direction and
    // gives the size: the skin's outline becomes the window's edge, and untiled its shadow is back.
    void tiledLeavesItsShadowOutside()
    {
        const QRect floating = frame();
        const QRect corner(QPoint(13, 11), QSize(60, 20)); // past the shadow: outline, icon, title
        const QImage skin = m_x->screenshot(artifact(u"floating.png"_s))
                                .copy(corner.translated(floating.topLeft()));
        const QString id = QString::number(m_window);
        const auto place = [&](const QStringList &state, QSize size, QPoint skinAt) {
            m_x->run(u"xprop"_s, QStringList{u"-id"_s, id} + state);
            m_x->xdotool(u"windowsize %1 %2 %3"_s.arg(id).arg(size.width()).arg(size.height()));
            const QRect now =
                m_x->waitForGeometry(m_window, [&](QRect g) { return g.size() == size; });
            return now.size() == size && XSession::waitUntil([&] {
                       const QImage shot = m_x->screenshot(artifact(u"placed.png"_s));
                       return shot.copy(QRect(now.topLeft() + skinAt, corner.size())) == skin;
                   });
        };
        QVERIFY2(place({u"-f"_s, u"_NET_WM_STATE"_s, u"32a"_s, u"-set"_s, u"_NET_WM_STATE"_s,
                        u"_NET_WM_STATE_MAXIMIZED_VERT"_s},
                       QSize(640, 768), QPoint()),
                 "tiled, the window still shows its shadow");
        QVERIFY2(place({u"-remove"_s, u"_NET_WM_STATE"_s}, floating.size(), corner.topLeft()),
                 "untiled, the shadow did not come back");
    }

    void renamesThroughWorkingForm()
    {
        renameAsPics();

        const QList<QByteArray> renamed{"pic01.txt", "pic02.txt", "繁體"};
        XSession::waitUntil([&] { return m_folder->names() == renamed; });
        QCOMPARE(m_folder->names(), renamed);
        QCOMPARE(m_folder->content("pic01.txt"), QByteArray("a.txt"));
        QCOMPARE(m_folder->content("pic02.txt"), QByteArray("b.txt"));
    }

    // Photos first, oldest taken first; the text files have no date and follow by modification.
    void numbersByDateTaken()
    {
        m_folder->createFile("p1.jpg", exifJpeg("2023:01:01 08:00:00"));
        m_folder->createFile("p2.jpg", exifJpeg("2021:06:01 08:00:00"));
        m_x->hover(control(u"lstFiles").center());
        m_x->xdotool(QStringLiteral("click 3"));
        m_x->xdotool(QStringLiteral("key Down Down Return")); // 名称, then 拍摄日期
        renameAsPics();

        const QList<QByteArray> renamed{"pic01.jpg", "pic02.jpg", "pic03.txt", "pic04.txt", "繁體"};
        XSession::waitUntil([&] { return m_folder->names() == renamed; });
        QCOMPARE(m_folder->names(), renamed);
        QCOMPARE(m_folder->content("pic01.jpg"), exifJpeg("2021:06:01 08:00:00"));
    }

    void convertsTraditionalName()
    {
        const QRect files = control(u"lstFiles"), text1 = control(u"text1");

        // Into the subfolder by keyboard, whatever the rows' height: a click below the rows
        // focuses the folder list on the current folder, Down reaches its first subfolder.
        const QImage start = m_x->screenshot(artifact(u"03-folder.png"_s));
        m_x->click(control(u"lstMap").bottomLeft() + QPoint(30, -10));
        m_x->xdotool(QStringLiteral("key Down Return"));
        const QImage opened = m_x->waitForChange(artifact(u"04-subfolder.png"_s), files, start);
        QVERIFY2(!opened.isNull(), "the file list did not move to the subfolder");

        // The only file, in the first row; its base name goes to text1 and to text4.
        m_x->click(files.topLeft() + QPoint(30, 8));
        const QImage clicked = m_x->waitForChange(artifact(u"05-clicked.png"_s), text1, opened);
        QVERIFY2(!clicked.isNull(), "the file click left text1 as it was");

        // The tab "繁转简": text4 holds the traditional base name, text5 its simplified form.
        const QRect command4 = control(u"Command4");
        m_x->click(tabHeader(frame().topLeft(), 1));
        const QImage tab = m_x->waitForChange(artifact(u"06-tab.png"_s), command4, clicked);
        QVERIFY2(!tab.isNull(), "the tab did not switch");

        m_x->click(command4.center());
        const qulonglong question = m_x->waitForWindow(QStringLiteral("^转换"));
        // Its title is its own, with nothing of the program's name added.
        QCOMPARE(m_x->xdotool(u"getwindowname %1"_s.arg(question)), u"转换\n"_s);
        m_x->screenshot(artifact(QStringLiteral("07-question.png")));
        // Return with the pointer on bare screen: the box closes on the press and the focus falls
        // back to the root window, which hands the release to the window under the pointer. Over
        // the form that release would click the focused Command4 once more.
        QVERIFY2(XSession::waitUntil(
                     [&] { return m_x->xdotool(u"getwindowfocus"_s).toULongLong() == question; }),
                 "the question did not take the keyboard");
        m_x->moveTo(frame().bottomRight() + QPoint(40, 40));
        m_x->xdotool(QStringLiteral("key Return"));

        const QByteArray after = "繁體/旧档案.txt";
        QVERIFY(XSession::waitUntil([&] { return m_folder->exists(after); }));
        QVERIFY(!m_folder->exists("繁體/舊檔案.txt"));
        QCOMPARE(m_folder->content(after), QByteArray("繁體/舊檔案.txt"));
        QVERIFY2(XSession::waitUntil([&] { return m_x->findWindow(QStringLiteral("^转换")) == 0; }),
                 "the question is still open");
    }

    void captionButtonsMaximiseRestoreMinimiseClose()
    {
        const QRect before = frame();
        QVERIFY2(clickCaptionButton(85), "the button did not light");
        QCOMPARE(m_x->waitForGeometry(m_window, [](QRect g) { return g.width() == 1024; }),
                 QRect(0, 0, 1024, 768));

        // A double click on the title bar toggles back.
        m_x->moveTo(QPoint(300, 25));
        m_x->xdotool(QStringLiteral("click --repeat 2 --delay 80 1"));
        QCOMPARE(m_x->waitForGeometry(m_window, [&](QRect g) { return g == before; }), before);

        // A bare X server has nobody to iconify the window; the request shows in its hints.
        QVERIFY2(clickCaptionButton(110), "the button did not light");
        const QStringList hints{u"-id"_s, QString::number(m_window), u"WM_HINTS"_s};
        QVERIFY2(
            XSession::waitUntil([&] { return m_x->run(u"xprop"_s, hints).contains(u"Iconic"); }),
            "the window did not ask to be iconified");

        QVERIFY2(clickCaptionButton(50, true), "the button did not light, or stayed lit");
        // It may have ended while the click was still being sent.
        QVERIFY(m_app.state() == QProcess::NotRunning || m_app.waitForFinished(20000));
        QCOMPARE(m_app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_app.exitCode(), 0);
    }

    void readerFindsButtonAndNamedText()
    {
        if (m_noAccessibilityBus)
            QSKIP(m_noAccessibilityBus);
        // The registry holds every program that joined this private bus: only the one started
        // for this test.
        const Node registry{u"org.a11y.atspi.Registry"_s, u"/org/a11y/atspi/accessible/root"_s};
        QStringList found;
        QVERIFY2(XSession::waitUntil(
                     [&] {
                         found.clear();
                         collect(registry, found);
                         return found.contains(u"push button: 确 定, Press"_s);
                     },
                     30),
                 "no \"确 定\" to press on the accessibility bus: the program did not join it");
        QVERIFY2(found.contains(u"text: 添加#为序列号："_s), qPrintable(found.join(u'\n')));
        QVERIFY(!found.contains(u"label: 确 定"_s)); // the caption is no label of its own
    }
};

QTEST_GUILESS_MAIN(TestE2eFrame)
#include "tst_e2e_frame.moc"
