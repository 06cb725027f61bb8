#include "frame/framepainter.h"
#include "frame/skinartist.h"
#include "frame/windowmanager.h"
#include "support/testdir.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <dlfcn.h>
#include <unistd.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace Qt::StringLiterals;

// The real program under sway, a tiling Wayland compositor, on a headless output of 800 × 600
// at scale 2: sway gives the window the whole output as its tile and puts boxes over it. The
// program starts on a folder that does not exist, so a box opens at once.
class TestE2eWayland : public QObject
{
    Q_OBJECT

    TestDir m_runtime, m_home; // sway's XDG_RUNTIME_DIR; the program's home and state folder
    QProcess m_sway, m_app;    // killed when the test ends, before their folders go
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();

    QByteArray run(const QString &program, const QStringList &arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(m_env);
        process.start(program, arguments);
        process.waitForFinished(20000);
        return process.readAllStandardOutput();
    }
    // The rectangles of the program's windows in the compositor's pixels, tiled ones first.
    QList<QRect> windows() const
    {
        QList<QRect> found;
        const auto walk = [&](const auto &self, const QJsonObject &node) -> void {
            const QJsonObject r = node[u"rect"].toObject();
            if (node[u"app_id"] == u"io.github.tolvane.Tolvane"_s)
                found << QRect(r[u"x"].toInt(), r[u"y"].toInt(), r[u"width"].toInt(),
                               r[u"height"].toInt());
            for (const char *list : {"nodes", "floating_nodes"})
                for (const QJsonValue child : node[QLatin1StringView(list)].toArray())
                    self(self, child.toObject());
        };
        walk(walk, QJsonDocument::fromJson(run(u"swaymsg"_s, {u"-t"_s, u"get_tree"_s})).object());
        return found;
    }
    // Empty once the screen comes to show every opaque pixel of a skin picture as drawn for
    // `scale`, at `at` (device pixels), as far as the picture lies on the screen. Otherwise what
    // the last screenshot showed: how many pixels differed, where nearby the picture for either
    // scale lies instead, and the windows.
    QString shows(int id, qreal scale, QPoint at) const
    {
        // Opaque pixels that differ (-1 when too few lie on the screen), or whether any does.
        const auto differing = [](const QImage &skin, const QImage &shot, QPoint at, bool any) {
            int opaque = 0, differ = 0;
            for (int y = 0; y < skin.height() && !(any && differ); ++y)
                for (int x = 0; x < skin.width() && !(any && differ); ++x)
                    if (qAlpha(skin.pixel(x, y)) == 255 && shot.valid(at + QPoint(x, y)) &&
                        ++opaque)
                        differ += shot.pixel(at + QPoint(x, y)) != skin.pixel(x, y);
            return (opaque > 100 || differ) ? differ : -1;
        };
        const QImage skin = SkinArtist().picture(id, scale);
        QImage shot;
        if (QTest::qWaitFor(
                [&] {
                    QFile::remove(m_home.path() + u"/shot.png"_s);
                    run(u"grim"_s, {m_home.path() + u"/shot.png"_s});
                    return differing(skin, shot = QImage(m_home.path() + u"/shot.png"_s), at,
                                     false) == 0;
                },
                30000))
            return {};
        QString seen = u"%1 pixels differ;"_s.arg(differing(skin, shot, at, false));
        for (const qreal other : {scale, scale == 1 ? 2.0 : 1.0}) {
            const QImage picture = SkinArtist().picture(id, other);
            for (int dy = -40; dy <= 40; ++dy)
                for (int dx = -40; dx <= 40; ++dx)
                    if (differing(picture, shot, at + QPoint(dx, dy), true) == 0)
                        seen += u" the picture for scale %1 lies at %2, %3 from there;"_s.arg(other)
                                    .arg(dx)
                                    .arg(dy);
        }
        for (const QRect &window : windows())
            seen += u" a window at %1, %2, %3 × %4;"_s.arg(window.x())
                        .arg(window.y())
                        .arg(window.width())
                        .arg(window.height());
        return seen;
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"sway", "swaymsg", "grim"})
            if (QStandardPaths::findExecutable(QLatin1StringView(tool)).isEmpty())
                QSKIP("sway or grim is not installed (scripts/deps.sh installs them)");
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                           u"/platforms/libqwayland-generic.so"_s))
            QSKIP("Qt's Wayland platform (qt6-wayland) is not installed");
        QFile config(m_runtime.path() + u"/config"_s);
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("output HEADLESS-1 mode 1600x1200 scale 2\ndefault_border none\n"
                     "xwayland disable\n");
        config.close();
        // sway refuses to run as root: then it runs as nobody, in a folder of nobody's.
        QStringList command{u"sway"_s, u"-c"_s, config.fileName()};
        if (geteuid() == 0 && chown(m_runtime.nativePath().constData(), 65534, 65534) == 0)
            command = QStringList{u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s,
                                  u"--clear-groups"_s} +
                      command;
        for (const QString &name : m_env.keys())
            if (name.startsWith(u"QT_"_s) || name.contains(u"DISPLAY"_s) || name == u"SWAYSOCK"_s)
                m_env.remove(name);
        for (const QString &set :
             {u"WLR_BACKENDS=headless"_s, u"WLR_RENDERER=pixman"_s, u"WLR_LIBINPUT_NO_DEVICES=1"_s,
              u"WLR_HEADLESS_OUTPUTS=1"_s, u"XDG_RUNTIME_DIR="_s + m_runtime.path(),
              u"HOME="_s + m_runtime.path()})
            m_env.insert(set.section(u'=', 0, 0), set.section(u'=', 1));
        m_sway.setProcessEnvironment(m_env);
        m_sway.start(command.first(), command.mid(1));
        const QDir runtime(m_runtime.path());
        const auto ipc = [&] { return runtime.entryList({u"sway-ipc.*"_s}, QDir::System); };
        if (!QTest::qWaitFor([&] { return runtime.exists(u"wayland-1"_s) && !ipc().isEmpty(); }))
            QSKIP(qPrintable(u"sway did not start: "_s +
                             QString::fromLocal8Bit(m_sway.readAllStandardError())));
        // The tools and the program reach sway by absolute paths and keep folders of their own.
        m_env.insert(u"SWAYSOCK"_s, runtime.filePath(ipc().first()));
        m_env.insert(u"WAYLAND_DISPLAY"_s, runtime.filePath(u"wayland-1"_s));
        for (const QString &name :
             {u"XDG_RUNTIME_DIR"_s, u"HOME"_s, u"XDG_STATE_HOME"_s, u"XDG_CONFIG_HOME"_s})
            m_env.insert(name, m_home.path());
        m_env.insert(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
    }

    void tiledAtScale2WithBoxOver()
    {
        m_app.setProcessEnvironment(m_env);
        m_app.setWorkingDirectory(m_home.path());
        m_app.start(QStringLiteral(TOLVANE_APP), {m_home.path() + u"/missing"_s});
        QList<QRect> shown;
        QVERIFY2(QTest::qWaitFor([&] { return (shown = windows()).size() == 2; }, 30000),
                 "the window and its box did not both show");
        QCOMPARE(shown[0], QRect(0, 0, 800, 600));
        QVERIFY2(shown[0].contains(shown[1]), "the box is not over the window");

        // The caption buttons come from their picture for scale 2, at the tile's right edge;
        // where Qt tells the window it is tiled, its shadow lies outside the tile.
        dlopen("libQt6WaylandClient.so.6", RTLD_LAZY);
        const QMargins out = waylandTellsTiled() ? FramePainter::shadow() : QMargins();
        const QPoint corner(-117 + out.right(), -out.top()); // from the tile's top-right
        QString seen = shows(103, 2, (QPoint(800, 0) + corner) * 2);
        QVERIFY2(seen.isEmpty(), qPrintable(seen));
        // The lists reach down to the tile's bottom: white where the form's own grey would be.
        const QImage shot(m_home.path() + u"/shot.png"_s);
        for (const QPoint list : {QPoint(60, 560), QPoint(760, 560)})
            QCOMPARE(shot.pixel(list * 2), qRgb(255, 255, 255));

        // At scale 1 the window follows: the pictures for scale 1, at the new tile's edge.
        run(u"swaymsg"_s, {u"output HEADLESS-1 scale 1"_s});
        seen = shows(103, 1, QPoint(1600, 0) + corner);
        QVERIFY2(seen.isEmpty(), qPrintable(seen));
    }
};

QTEST_GUILESS_MAIN(TestE2eWayland)
#include "tst_e2e_wayland.moc"
