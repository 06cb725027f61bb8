#include "support/testdir.h"
#include "xsession.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFile>
#include <QTest>

using namespace tolvane::test;

namespace {

// An object on the accessibility bus: its program's bus name and its path.
using Node = std::pair<QString, QString>;

const QString AccessibleIface = QStringLiteral("org.a11y.atspi.Accessible");

QVariant ask(const QDBusConnection &bus, const Node &node, const QString &iface,
             const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(node.first, node.second, iface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus.call(message, QDBus::Block, 5000);
    return reply.arguments().value(0);
}

} // namespace

// The real program as a screen reader meets it: over the accessibility bus that at-spi2-core's
// launcher starts on a session bus of the test's own, under a private display.
class TestE2eAccess : public QObject
{
    Q_OBJECT

    // Every object from `node` down as "role: name".
    void collect(const Node &node, QStringList &found, int depth = 0) const
    {
        const QVariant name = ask(m_a11y, node, u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs,
                                  {AccessibleIface, u"Name"_qs});
        found << ask(m_a11y, node, AccessibleIface, u"GetRoleName"_qs).toString() + u": "_qs +
                     name.value<QDBusVariant>().variant().toString();
        if (depth == 14) // the form is far shallower; a cycle must not hang the test
            return;
        const auto list =
            ask(m_a11y, node, AccessibleIface, u"GetChildren"_qs).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            QString service;
            QDBusObjectPath path;
            list.beginStructure();
            list >> service >> path;
            list.endStructure();
            collect({service, path.path()}, found, depth + 1);
        }
        list.endArray();
    }

    std::unique_ptr<XSession> m_x;
    // HOME, XDG_STATE_HOME and XDG_RUNTIME_DIR (private, as a temporary folder is) of all
    // started here, and the program's folder.
    TestDir m_home;
    QProcess m_sessionBus, m_launcher, m_app;
    QDBusConnection m_a11y{QString()};

private Q_SLOTS:
    void initTestCase()
    {
        const QString launcher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
        if (!QFile::exists(launcher))
            QSKIP("at-spi2-core's bus launcher is not installed");
        m_x = std::make_unique<XSession>();
        QVERIFY2(m_x->isRunning(), "Xvfb did not start");
        QProcessEnvironment env = m_x->environment(m_home.path());
        m_sessionBus.setProcessEnvironment(env);
        m_sessionBus.start(u"dbus-daemon"_qs,
                           {u"--session"_qs, u"--nofork"_qs, u"--print-address"_qs});
        if (!m_sessionBus.waitForReadyRead(10000))
            QSKIP("no session bus: dbus-daemon did not start");
        const QString session = QString::fromUtf8(m_sessionBus.readLine()).trimmed();
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_qs, session);
        m_launcher.setProcessEnvironment(env);
        m_launcher.start(launcher, {u"--launch-immediately"_qs});
        const QDBusConnection sessionBus = QDBusConnection::connectToBus(session, u"session"_qs);
        QString address;
        XSession::waitUntil([&] {
            address = ask(sessionBus, {u"org.a11y.Bus"_qs, u"/org/a11y/bus"_qs}, u"org.a11y.Bus"_qs,
                          u"GetAddress"_qs)
                          .toString();
            return !address.isEmpty();
        });
        m_a11y = QDBusConnection::connectToBus(address, u"a11y"_qs);
        if (!m_a11y.isConnected())
            QSKIP("the accessibility bus did not start: org.a11y.Bus gave no usable address");

        // A screen reader would switch the program's bridge on; here the program is told to.
        env.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_qs, u"1"_qs);
        QVERIFY2(m_x->launch(m_app, env, m_home.path(), {QStringLiteral(TOLVANE_APP)}) != 0,
                 "the program's window did not show");
    }

    void cleanupTestCase()
    {
        // Asked to end, the launcher takes its own bus down with it.
        for (QProcess *process : {&m_app, &m_launcher, &m_sessionBus}) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
            process->waitForFinished();
        }
        m_x.reset();
    }

    void readerFindsButtonAndNamedText()
    {
        // The registry holds every program that joined this private bus: only ours.
        const Node registry{u"org.a11y.atspi.Registry"_qs, u"/org/a11y/atspi/accessible/root"_qs};
        QStringList found;
        QVERIFY2(XSession::waitUntil(
                     [&] {
                         found.clear();
                         collect(registry, found);
                         return found.contains(u"push button: 确 定"_qs);
                     },
                     30),
                 "no button on the accessibility bus: the program did not join it");
        QVERIFY2(found.contains(u"text: 添加#为序列号："_qs), qPrintable(found.join(u'\n')));
        QVERIFY(!found.contains(u"label: 确 定"_qs)); // the caption is no label of its own
    }
};

QTEST_MAIN(TestE2eAccess)
#include "tst_e2e_access.moc"
