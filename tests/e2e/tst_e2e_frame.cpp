#include "formlayout.h"
#include "support/testdir.h"
#include "xsession.h"

#include <QDir>
#include <QTest>

using namespace tolvane;
using namespace tolvane::test;

// The real program on its own display, with no window manager: the frame's own drag, size
// and maximise fall-backs are what runs here. Each test starts the program afresh in a folder
// of its own, with a home and a state folder of its own.
class TestE2eFrame : public QObject
{
    Q_OBJECT

    QString artifact(const QString &name) const
    {
        return QDir(m_artifacts)
            .filePath(QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('-') + name);
    }
    QRect frame() const { return m_x->geometry(m_window); }
    FormLayout form() const { return FormLayout(frame().topLeft()); }
    // Clicks the caption button this far from the frame's right edge once the frame has lit it
    // under the pointer; false if it never lit.
    bool clickCaptionButton(int fromRight) const
    {
        const QPoint at = frame().topRight() + QPoint(1 - fromRight, 20);
        const QRgb plain = m_x->screenshot(artifact(QStringLiteral("plain.png"))).pixel(at);
        m_x->hover(at);
        const bool lit = XSession::waitUntil([&] {
            return m_x->screenshot(artifact(QStringLiteral("lit.png"))).pixel(at) != plain;
        });
        m_x->xdotool(QStringLiteral("click 1"));
        return lit;
    }

    std::unique_ptr<XSession> m_x;
    std::unique_ptr<TestDir> m_folder, m_home;
    std::unique_ptr<QProcess> m_app;
    qulonglong m_window = 0;
    QString m_artifacts = QStringLiteral(TOLVANE_ARTIFACTS);

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(m_artifacts));
        m_x = std::make_unique<XSession>();
        QVERIFY2(m_x->isRunning(), "Xvfb did not start");
    }

    void init()
    {
        m_folder = std::make_unique<TestDir>();
        // The traditional name in a folder of its own, so that the serial rename leaves it alone.
        m_folder->createFolder("繁體");
        for (const char *name : {"a.txt", "b.txt", "繁體/舊檔案.txt"})
            m_folder->createFile(name);
        m_home = std::make_unique<TestDir>();
        m_app = std::make_unique<QProcess>();
        // Started elsewhere on the folder given: the renames below prove the window opened there.
        m_window = m_x->launch(*m_app, m_x->environment(m_home->path()), m_home->path(),
                               {QStringLiteral(TOLVANE_APP), m_folder->path()});
        QVERIFY2(m_window != 0, m_app->state() == QProcess::Running
                                    ? "the window did not show"
                                    : "the program ended at start-up");
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
        m_app->kill();
        m_app->waitForFinished();
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
        m_x->screenshot(artifact(QStringLiteral("dragged.png")));
    }

    void renamesThroughWorkingForm()
    {
        // Pattern "pic#" in text1, start number 1 in text2, then "确 定".
        const FormLayout layout = form();
        m_x->click(layout.at(u"text1").center());
        m_x->xdotool(QStringLiteral("type pic#"));
        m_x->click(layout.at(u"text2").center());
        m_x->xdotool(QStringLiteral("key End BackSpace"));
        m_x->xdotool(QStringLiteral("type 1"));
        m_x->click(layout.at(u"Command1").center());

        const QList<QByteArray> renamed{"pic01.txt", "pic02.txt", "繁體"};
        XSession::waitUntil([&] { return m_folder->names() == renamed; });
        m_x->screenshot(artifact(u"02-renamed.png"_qs));
        QCOMPARE(m_folder->names(), renamed);
        QCOMPARE(m_folder->content("pic01.txt"), QByteArray("a.txt"));
        QCOMPARE(m_folder->content("pic02.txt"), QByteArray("b.txt"));
    }

    void convertsTraditionalName()
    {
        const FormLayout layout = form();
        const QRect files = layout.at(u"lstFiles"), text1 = layout.at(u"text1");

        // Into the subfolder by keyboard, whatever the rows' height: a click below the rows
        // focuses the folder list on the current folder, Down reaches its first subfolder.
        const QImage start = m_x->screenshot(artifact(u"03-folder.png"_qs));
        m_x->click(layout.at(u"lstMap").bottomLeft() + QPoint(30, -10));
        m_x->xdotool(QStringLiteral("key Down Return"));
        const QImage opened = m_x->waitForChange(artifact(u"04-subfolder.png"_qs), files, start);
        QVERIFY2(!opened.isNull(), "the file list did not move to the subfolder");

        // The only file, in the first row; its base name goes to text1 and to text4.
        m_x->click(files.topLeft() + QPoint(30, 8));
        const QImage clicked = m_x->waitForChange(artifact(u"05-clicked.png"_qs), text1, opened);
        QVERIFY2(!clicked.isNull(), "the file click left text1 as it was");

        // The tab "繁转简": text4 holds the traditional base name, text5 its simplified form.
        const QRect command4 = layout.at(u"Command4");
        m_x->click(layout.tabHeader(1));
        const QImage tab = m_x->waitForChange(artifact(u"06-tab.png"_qs), command4, clicked);
        QVERIFY2(!tab.isNull(), "the tab did not switch");

        m_x->click(command4.center());
        const qulonglong question = m_x->waitForWindow(QStringLiteral("^转换"));
        QVERIFY2(question != 0, "no question before converting");
        // Its title is its own, with nothing of the program's name added.
        QCOMPARE(m_x->xdotool(u"getwindowname %1"_qs.arg(question)), u"转换\n"_qs);
        m_x->screenshot(artifact(QStringLiteral("07-question.png")));
        // Return with the pointer on bare screen: the box closes on the press and the focus falls
        // back to the root window, which hands the release to the window under the pointer. Over
        // the form that release would click the focused Command4 once more.
        QVERIFY2(XSession::waitUntil(
                     [&] { return m_x->xdotool(u"getwindowfocus"_qs).toULongLong() == question; }),
                 "the question did not take the keyboard");
        m_x->moveTo(frame().bottomRight() + QPoint(40, 40));
        m_x->xdotool(QStringLiteral("key Return"));

        const QByteArray after = "繁體/旧档案.txt";
        QVERIFY(XSession::waitUntil([&] { return m_folder->exists(after); }));
        // The new name is listed in List1, which the folder change had emptied.
        QVERIFY2(!m_x->waitForChange(artifact(u"08-converted.png"_qs), layout.at(u"List1"), tab)
                      .isNull(),
                 "List1 did not list the new name");
        QVERIFY(!m_folder->exists("繁體/舊檔案.txt"));
        QCOMPARE(m_folder->content(after), QByteArray("繁體/舊檔案.txt"));
        QVERIFY2(XSession::waitUntil([&] { return m_x->findWindow(QStringLiteral("^转换")) == 0; }),
                 "the question is still open");
    }

    void maximisesAndRestores()
    {
        const QRect before = frame();
        QVERIFY2(clickCaptionButton(85), "the button did not light");
        QCOMPARE(m_x->waitForGeometry(m_window, [](QRect g) { return g.width() == 1024; }),
                 QRect(0, 0, 1024, 768));
        m_x->screenshot(artifact(QStringLiteral("13-maximised.png")));

        // A double click on the title bar toggles back.
        m_x->moveTo(QPoint(300, 25));
        m_x->xdotool(QStringLiteral("click --repeat 2 --delay 80 1"));
        QCOMPARE(m_x->waitForGeometry(m_window, [&](QRect g) { return g == before; }), before);
    }

    void minimises()
    {
        // A bare X server has nobody to iconify the window; the request shows in its hints.
        QVERIFY2(clickCaptionButton(110), "the button did not light");
        const auto hints = [&] {
            return m_x->run(u"xprop"_qs, {u"-id"_qs, QString::number(m_window), u"WM_HINTS"_qs});
        };
        QVERIFY2(XSession::waitUntil([&] { return hints().contains(u"Iconic"); }),
                 qPrintable(hints()));
        m_x->screenshot(artifact(QStringLiteral("14-minimised.png")));
    }

    void closes()
    {
        QVERIFY2(clickCaptionButton(50), "the button did not light");
        // It may have ended while the click was still being sent.
        QVERIFY(m_app->state() == QProcess::NotRunning || m_app->waitForFinished(20000));
        QCOMPARE(m_app->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_app->exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestE2eFrame)
#include "tst_e2e_frame.moc"
