#include "support/testdir.h"
#include "xsession.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace tolvane;
using namespace tolvane::test;
using namespace Qt::StringLiterals;

// Seeded random X input against the real program for TOLVANE_RANDOM_SECONDS (75 by default):
// clicks all over the form and its caption buttons, typing, keys, folder changes, and answers
// to whatever box it opens. The program must not end but by its close button, and every file's
// content must still be somewhere in the tree. TOLVANE_RANDOM_SEED replays a run.
class TestE2eRandom : public QObject
{
    Q_OBJECT

    XSession m_x;
    TestDir m_root;
    QProcess m_app;
    qulonglong m_window = 0;
    QRandomGenerator m_random;
    QStringList m_acts; // the latest ones, for the report
    const std::filesystem::path m_work = m_root.path().toStdString() + "/work";
    const QStringList Answers{u"Return"_s, u"Escape"_s, u"space"_s};
    const QStringList Keys =
        Answers + QStringList{u"Tab"_s, u"ctrl+z"_s, u"Down"_s, u"BackSpace"_s, u"ctrl+a"_s};

    // Content of every regular file in the tree with how often it occurs, whatever its name.
    std::map<std::string, int> contents() const
    {
        std::map<std::string, int> found;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(m_work)) {
            if (entry.symlink_status().type() == std::filesystem::file_type::regular) {
                std::ifstream file(entry.path(), std::ios::binary);
                ++found[std::string(std::istreambuf_iterator<char>(file), {})];
            }
        }
        return found;
    }
    template <typename List> auto pick(const List &list)
    {
        return list[m_random.bounded(int(std::size(list)))];
    }
    QPoint inside(QRect r)
    {
        return r.topLeft() +
               QPoint(m_random.bounded(qMax(1, r.width())), m_random.bounded(qMax(1, r.height())));
    }
    // The move just before a click lights a caption button.
    static QStringList clickAt(QPoint at, int times = 1, int button = 1)
    {
        return QString::asprintf("mousemove %d %d sleep 0.05 mousemove %d %d click --repeat %d "
                                 "--delay 80 %d",
                                 at.x(), at.y(), at.x() + 1, at.y(), times, button)
            .split(u' ');
    }
    QString typed()
    {
        static const QStringList Short{u"#"_s,    u"/"_s,     u".."_s,   u"pic#"_s,
                                       u"a/b#"_s, u"體檔#"_s, u"../x"_s, u"7"_s};
        if (m_random.bounded(4) != 0)
            return pick(Short);
        static const QString Letters = u"#/.a1 繁體檔舊"_s;
        QString text(200 + m_random.bounded(600), QChar());
        for (QChar &c : text)
            c = pick(Letters);
        return text;
    }
    // The next input, as xdotool's words. Every window but the form is a message box or the
    // progress dialog, and is answered first: by a key or a click somewhere on it.
    QStringList nextInput()
    {
        const QStringList shown =
            m_x.xdotool(u"search --onlyvisible --name ."_s).split(u'\n', Qt::SkipEmptyParts);
        const QString form = QString::number(m_window);
        for (const QString &id : shown) {
            const QRect box = m_x.geometry(id.toULongLong());
            if (id != form && !box.isEmpty())
                return m_random.bounded(3) ? QStringList{u"key"_s, pick(Answers)}
                                           : clickAt(inside(box));
        }
        // Back from minimised, as a task bar would bring it; never off-screen for long.
        if (!shown.contains(form))
            return {u"windowmap"_s, form};
        const QRect frame = m_x.geometry(m_window);
        if (!QRect(0, 0, 1024, 768).contains(frame))
            return {u"windowmove"_s, form, u"200"_s, u"100"_s};
        switch (m_random.bounded(8)) {
        case 0: // any control; a page stands for the tab's corner
            return clickAt(inside(formControl(frame.topLeft(), pick(Form2Layout).name)));
        case 1: // the right button opens the result list's menu
            return clickAt(inside(frame), 1, m_random.bounded(4) ? 1 : 3);
        case 2: // changes the folder, or the drive's list when it is open
            return clickAt(inside(formControl(frame.topLeft(), u"lstMap")), 2);
        case 3:
            return clickAt(tabHeader(frame.topLeft(), m_random.bounded(2)));
        case 4: // minimise, maximise or restore; close now and then, which restarts the program
            return clickAt(
                frame.topLeft() +
                QPoint(frame.width() - (m_random.bounded(8) ? pick(std::array{110, 85}) : 50), 20));
        case 5:
        case 6:
            return {u"type"_s, u"--delay"_s, u"2"_s, typed()};
        default:
            return {u"key"_s, pick(Keys)};
        }
    }
    bool start()
    {
        m_window =
            m_x.launch(m_app, m_x.environment(m_root.path()), m_root.path(),
                       {u"bash"_s, QStringLiteral(TOLVANE_CONTAIN), m_root.path(),
                        QStringLiteral(TOLVANE_APP), m_root.path() + u"/work/資料/舊檔案"_s});
        return m_window != 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("a read-only mount namespace around the program needs root");
        QVERIFY2(m_x.isRunning(), "Xvfb did not start");
        if (QProcess::execute(u"bash"_s,
                              {QStringLiteral(TOLVANE_CONTAIN), m_root.path(), u"true"_s}) != 0)
            QSKIP("contain.sh made no read-only mount namespace (see its message above)");

        // A start two folders down, which ".." may leave; traditional names for the conversion.
        for (const char *folder : {"work", "work/資料", "work/資料/舊檔案", "work/資料/舊檔案/圖片",
                                   "work/資料/舊檔案/下載", "work/資料/體育"})
            m_root.createFolder(folder);
        const QList<QByteArray> names{"報告", "舊照片", "體檢單", "a", "#1", "練習.."};
        for (int i = 0; i < 40; ++i) {
            const QByteArray folder = QList<QByteArray>{"/圖片", "/下載", "/../體育"}.value(i % 3);
            m_root.createFile("work/資料/舊檔案" + (i < 30 ? "" : folder) + '/' + names[i % 6] +
                                  QByteArray::number(i) + ".txt",
                              "content " + QByteArray::number(i));
        }
    }

    void randomInputLosesNothing()
    {
        const QString given = qEnvironmentVariable("TOLVANE_RANDOM_SEED");
        const uint seed = given.isEmpty() ? QRandomGenerator::system()->generate() : given.toUInt();
        const int seconds = qEnvironmentVariable("TOLVANE_RANDOM_SECONDS", u"75"_s).toInt();
        qInfo("TOLVANE_RANDOM_SEED=%u TOLVANE_RANDOM_SECONDS=%d", seed, seconds);
        m_random.seed(seed);
        const auto before = contents();
        QVERIFY2(start(), "the program did not start");
        int steps = 0;
        const auto why = [&] {
            return u"seed %1, step %2; the latest acts:\n%3"_s.arg(seed).arg(steps).arg(
                m_acts.join(u'\n'));
        };
        // Its close button ends it well; a crash, a sanitizer report or a leak otherwise.
        const auto endedBadly = [&] {
            m_app.waitForFinished(0); // nothing else here runs the event loop that notices
            return m_app.state() == QProcess::NotRunning &&
                   (m_app.exitStatus() != QProcess::NormalExit || m_app.exitCode() != 0);
        };
        for (const QDeadlineTimer deadline(seconds * 1000); !deadline.hasExpired(); ++steps) {
            QVERIFY2(!endedBadly(), qPrintable(why()));
            if (m_app.state() == QProcess::NotRunning) // closed by its button
                QVERIFY2(start(), qPrintable(why()));
            const QStringList input = nextInput();
            m_acts = m_acts.mid(m_acts.size() > 15) << input.join(u' ').left(80);
            m_x.run(u"xdotool"_s, input);
        }
        qInfo("%d steps", steps);
        QVERIFY2(!endedBadly(), qPrintable(why()));
        m_app.kill();
        m_app.waitForFinished();
        QVERIFY(contents() == before);
    }
};

QTEST_GUILESS_MAIN(TestE2eRandom)
#include "tst_e2e_random.moc"
