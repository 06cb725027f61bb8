#include "support/testdir.h"
#include "xsession.h"

#include <QDir>
#include <QTest>

using namespace tolvane;
using namespace tolvane::test;

// The real program on its own display, with no window manager: the frame's own drag, size
// and maximise fall-backs are what runs here.
class TestE2eFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void showsFrameAroundWorkingForm();
    void renamesThroughWorkingForm();
    void dragsByTitleBar();
    void sizesThroughRightBand();
    void lightsCaptionButton();
    void maximisesAndRestores();
    void minimises();
    void closes();

private:
    QString artifact(const QString &name) const { return QDir(m_artifacts).filePath(name); }
    QRect frame() const { return m_x->geometry(m_window); }

    std::unique_ptr<XSession> m_x;
    TestDir m_folder;
    QProcess m_app;
    qulonglong m_window = 0;
    QString m_artifacts = QStringLiteral(TOLVANE_ARTIFACTS);
};

void TestE2eFrame::initTestCase()
{
    QVERIFY(QDir().mkpath(m_artifacts));
    m_x = std::make_unique<XSession>();
    QVERIFY2(m_x->isRunning(), "Xvfb did not start");
    m_folder.createFile("a.txt");
    m_folder.createFile("b.txt");

    m_app.setProcessEnvironment(m_x->environment());
    m_app.setWorkingDirectory(m_folder.path());
    m_app.setProcessChannelMode(QProcess::ForwardedChannels);
    m_app.start(QStringLiteral(TOLVANE_APP), {});
    QVERIFY(m_app.waitForStarted());
    m_window = m_x->waitForWindow(QStringLiteral("Tolvane"));
    QVERIFY(m_window != 0);
}

void TestE2eFrame::cleanupTestCase()
{
    if (m_app.state() != QProcess::NotRunning) {
        m_app.kill();
        m_app.waitForFinished();
    }
    m_x.reset();
}

void TestE2eFrame::showsFrameAroundWorkingForm()
{
    const QRect r = m_x->waitForGeometry(m_window, [](QRect g) { return g.width() == 527; });
    QCOMPARE(r.size(), QSize(527, 497));
    const QImage shot = m_x->screenshot(artifact(QStringLiteral("01-start.png")));
    QVERIFY(!shot.isNull());

    // The caption is drawn in (248, 0, 0) with its (64, 128, 48) shadow one pixel down-right.
    int caption = 0;
    for (int y = r.top() + 17; y < r.top() + 38; ++y)
        for (int x = r.left() + 50; x < r.right() - 117; ++x)
            if (shot.pixel(x, y) == qRgb(248, 0, 0)) {
                ++caption;
                const QRgb below = shot.pixel(x + 1, y + 1);
                QVERIFY(below == qRgb(248, 0, 0) || below == qRgb(64, 128, 48));
            }
    QVERIFY(caption > 20);
    // The frame's interior is transparent (black on a bare X server); the working form
    // covers it.
    QVERIFY(shot.pixel(r.center()) != qRgb(0, 0, 0));
    QVERIFY(shot.pixel(r.topLeft() + QPoint(22, 39)) != qRgb(0, 0, 0));
}

void TestE2eFrame::dragsByTitleBar()
{
    const QRect before = frame();
    const QPoint grip = before.topLeft() + QPoint(250, 25);
    m_x->moveTo(grip);
    m_x->xdotool(QStringLiteral("mousedown 1"));
    m_x->moveTo(grip + QPoint(50, 30));
    m_x->moveTo(grip + QPoint(100, 60));
    m_x->xdotool(QStringLiteral("mouseup 1"));
    const QRect after = m_x->waitForGeometry(
        m_window, [&](QRect g) { return g.topLeft() == before.topLeft() + QPoint(100, 60); });
    QCOMPARE(after, before.translated(100, 60));
    m_x->screenshot(artifact(QStringLiteral("05-dragged.png")));
}

void TestE2eFrame::sizesThroughRightBand()
{
    const QRect before = frame();
    const QPoint band = before.topLeft() + QPoint(before.width() - 16, 200);
    m_x->moveTo(band);
    m_x->xdotool(QStringLiteral("mousedown 1"));
    m_x->moveTo(band + QPoint(60, 40));
    m_x->xdotool(QStringLiteral("mouseup 1"));
    const QRect after =
        m_x->waitForGeometry(m_window, [&](QRect g) { return g.width() == before.width() + 60; });
    QCOMPARE(after, QRect(before.topLeft(), before.size() + QSize(60, 0)));
    m_x->screenshot(artifact(QStringLiteral("06-sized.png")));
}

void TestE2eFrame::lightsCaptionButton()
{
    const QRect r = frame();
    const QPoint close = r.topLeft() + QPoint(r.width() - 50, 20);
    const QRgb plain = m_x->screenshot(artifact(QStringLiteral("07-plain.png"))).pixel(close);
    m_x->hover(close);
    const QString path = artifact(QStringLiteral("08-close-lit.png"));
    QImage lit = m_x->screenshot(path);
    for (int i = 0; i < 50 && lit.pixel(close) == plain; ++i) {
        XSession::pause(50);
        lit = m_x->screenshot(path);
    }
    QVERIFY(!lit.isNull());
    QVERIFY(lit.pixel(close) != plain);
    m_x->moveTo(r.topLeft() + QPoint(200, 30)); // off the buttons again
}

void TestE2eFrame::renamesThroughWorkingForm()
{
    // Through the working form's own controls (positions from its layout, frame-relative):
    // pattern "pic#" in text1, start number 1 in text2, then "确 定".
    const QPoint origin = frame().topLeft();
    m_x->click(origin + QPoint(372, 112));
    m_x->xdotool(QStringLiteral("type pic#"));
    m_x->click(origin + QPoint(420, 141));
    m_x->xdotool(QStringLiteral("key End BackSpace"));
    m_x->xdotool(QStringLiteral("type 1"));
    m_x->click(origin + QPoint(333, 198));

    const QList<QByteArray> renamed{"pic01.txt", "pic02.txt"};
    for (int i = 0; i < 100 && m_folder.names() != renamed; ++i)
        XSession::pause(50);
    m_x->screenshot(artifact(QStringLiteral("02-renamed.png")));
    QCOMPARE(m_folder.names(), renamed);
    QCOMPARE(m_folder.content("pic01.txt"), QByteArray("a.txt"));
    QCOMPARE(m_folder.content("pic02.txt"), QByteArray("b.txt"));
}

void TestE2eFrame::maximisesAndRestores()
{
    const QRect before = frame();
    m_x->click(before.topLeft() + QPoint(before.width() - 85, 20));
    const QRect full = m_x->waitForGeometry(m_window, [](QRect g) { return g.width() == 1024; });
    QCOMPARE(full, QRect(0, 0, 1024, 768));
    m_x->screenshot(artifact(QStringLiteral("09-maximised.png")));

    // A double click on the title bar toggles back.
    m_x->moveTo(QPoint(300, 25));
    m_x->xdotool(QStringLiteral("click --repeat 2 --delay 80 1"));
    QCOMPARE(m_x->waitForGeometry(m_window, [&](QRect g) { return g == before; }), before);
}

void TestE2eFrame::minimises()
{
    // A bare X server has nobody to iconify the window; the request shows in its hints.
    const QRect r = frame();
    m_x->click(r.topLeft() + QPoint(r.width() - 110, 20));
    QString hints;
    for (int i = 0; i < 50 && !hints.contains(QLatin1String("Iconic")); ++i) {
        XSession::pause(50);
        hints = m_x->run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(m_window),
                                                   QStringLiteral("WM_HINTS")});
    }
    QVERIFY2(hints.contains(QLatin1String("Iconic")), qPrintable(hints));
    m_x->screenshot(artifact(QStringLiteral("10-minimised.png")));
}

void TestE2eFrame::closes()
{
    const QRect r = frame();
    m_x->click(r.topLeft() + QPoint(r.width() - 50, 20));
    QVERIFY(m_app.waitForFinished(20000));
    QCOMPARE(m_app.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_app.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestE2eFrame)
#include "tst_e2e_frame.moc"
