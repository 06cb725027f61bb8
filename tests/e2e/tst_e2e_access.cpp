#include "support/testdir.h"
#include "xsession.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace tolvane::test;

namespace {

const QString Launcher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
const QString AccessibleIface = QStringLiteral("org.a11y.atspi.Accessible");

// One object on the accessibility bus: the program's bus name and the object's path.
struct Node
{
    QString service;
    QDBusObjectPath path;
};

const QDBusArgument &operator>>(const QDBusArgument &in, Node &node)
{
    in.beginStructure();
    in >> node.service >> node.path;
    in.endStructure();
    return in;
}

QDBusArgument &operator<<(QDBusArgument &out, const Node &node)
{
    out.beginStructure();
    out << node.service << node.path;
    out.endStructure();
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Node)

// The real program as a screen reader meets it: through its own session bus and the
// accessibility bus the at-spi launcher starts on it, under a private display.
class TestE2eAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void readerFindsButtonAndNamedText();

private:
    QDBusMessage call(const Node &node, const QString &iface, const QString &method,
                      const QVariantList &arguments = {}) const;
    QList<Node> children(const Node &node) const;
    QString roleName(const Node &node) const;
    QString name(const Node &node) const;
    // Every object under `node` as "role name: accessible name".
    void collect(const Node &node, QStringList &found, int depth = 0) const;
    static void stop(QProcess &process);

    std::unique_ptr<XSession> m_x;
    TestDir m_home; // HOME, XDG_STATE_HOME and XDG_RUNTIME_DIR of everything started here
    TestDir m_folder;
    QProcess m_sessionBus;
    QProcess m_launcher;
    QProcess m_app;
    std::unique_ptr<QDBusConnection> m_a11y;
};

void TestE2eAccess::initTestCase()
{
    qDBusRegisterMetaType<Node>();
    qDBusRegisterMetaType<QList<Node>>();
    if (!QFile::exists(Launcher))
        QSKIP("at-spi2-core's bus launcher is not installed");
    m_x = std::make_unique<XSession>();
    QVERIFY2(m_x->isRunning(), "Xvfb did not start");
    QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral("state")));
    QVERIFY(QFile::setPermissions(m_home.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QProcessEnvironment env = m_x->environment();
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_STATE_HOME"), m_home.path() + QStringLiteral("/state"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
    m_sessionBus.setProcessEnvironment(env);
    m_sessionBus.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address")});
    if (!m_sessionBus.waitForStarted() || !m_sessionBus.waitForReadyRead(10000))
        QSKIP("no session bus: dbus-daemon did not start");
    const QString sessionAddress = QString::fromUtf8(m_sessionBus.readLine()).trimmed();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionAddress);

    m_launcher.setProcessEnvironment(env);
    m_launcher.start(Launcher, {QStringLiteral("--launch-immediately")});
    if (!m_launcher.waitForStarted())
        QSKIP("at-spi-bus-launcher did not start");
    QDBusConnection session = QDBusConnection::connectToBus(sessionAddress, u"session"_qs);
    QString a11yAddress;
    XSession::waitUntil([&] {
        const QDBusReply<QString> reply = session.call(QDBusMessage::createMethodCall(
            u"org.a11y.Bus"_qs, u"/org/a11y/bus"_qs, u"org.a11y.Bus"_qs, u"GetAddress"_qs));
        a11yAddress = reply.isValid() ? reply.value() : QString();
        return !a11yAddress.isEmpty();
    });
    if (a11yAddress.isEmpty())
        QSKIP("the accessibility bus did not start (org.a11y.Bus gave no address)");
    m_a11y =
        std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(a11yAddress, u"a11y"_qs));
    if (!m_a11y->isConnected())
        QSKIP("the accessibility bus does not take connections");

    // A reader normally switches the bridge on; here the program is told to.
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    m_app.setProcessEnvironment(env);
    m_app.setWorkingDirectory(m_folder.path());
    m_app.setProcessChannelMode(QProcess::ForwardedChannels);
    m_app.start(QStringLiteral(TOLVANE_APP), {});
    QVERIFY(m_app.waitForStarted());
    QVERIFY2(m_x->waitForWindow(QStringLiteral("^Tolvane$"), 30) != 0,
             "the program's window did not show");
}

void TestE2eAccess::cleanupTestCase()
{
    m_a11y.reset();
    QDBusConnection::disconnectFromBus(u"a11y"_qs);
    QDBusConnection::disconnectFromBus(u"session"_qs);
    stop(m_app);
    stop(m_launcher);
    stop(m_sessionBus);
    m_x.reset();
}

void TestE2eAccess::stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
}

QDBusMessage TestE2eAccess::call(const Node &node, const QString &iface, const QString &method,
                                 const QVariantList &arguments) const
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(node.service, node.path.path(), iface, method);
    message.setArguments(arguments);
    return m_a11y->call(message, QDBus::Block, 5000);
}

QList<Node> TestE2eAccess::children(const Node &node) const
{
    const QDBusReply<QList<Node>> reply = call(node, AccessibleIface, u"GetChildren"_qs);
    return reply.isValid() ? reply.value() : QList<Node>();
}

QString TestE2eAccess::roleName(const Node &node) const
{
    const QDBusReply<QString> reply = call(node, AccessibleIface, u"GetRoleName"_qs);
    return reply.isValid() ? reply.value() : QString();
}

QString TestE2eAccess::name(const Node &node) const
{
    const QDBusReply<QDBusVariant> reply =
        call(node, u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs, {AccessibleIface, u"Name"_qs});
    return reply.isValid() ? reply.value().variant().toString() : QString();
}

void TestE2eAccess::collect(const Node &node, QStringList &found, int depth) const
{
    found << roleName(node) + u": "_qs + name(node);
    if (depth < 12) // the form is far shallower; a cycle must not hang the test
        for (const Node &child : children(node))
            collect(child, found, depth + 1);
}

void TestE2eAccess::readerFindsButtonAndNamedText()
{
    // The registry lists each program that joined the bus.
    const Node registry{u"org.a11y.atspi.Registry"_qs,
                        QDBusObjectPath(u"/org/a11y/atspi/accessible/root"_qs)};
    Node app;
    const bool joined = XSession::waitUntil(
        [&] {
            for (const Node &candidate : children(registry)) {
                if (name(candidate) == u"Tolvane") {
                    app = candidate;
                    return true;
                }
            }
            return false;
        },
        30);
    QVERIFY2(joined, "the program did not join the accessibility bus");
    QStringList found;
    QVERIFY(XSession::waitUntil([&] {
        found.clear();
        collect(app, found);
        return found.contains(u"push button: 确 定"_qs);
    }));
    QVERIFY2(found.contains(u"text: 添加#为序列号："_qs), qPrintable(found.join(u'\n')));
    // The button's caption is no label of its own.
    QVERIFY(!found.contains(u"label: 确 定"_qs));
}

QTEST_MAIN(TestE2eAccess)
#include "tst_e2e_access.moc"
