// Start-up to the first painted frame, and idle resident memory, of Tolvane against a bare Qt
// window: both are started the same way on the same display, alternately.
#include "tests/support/privatedisplay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class Runner
{
public:
    Runner(const QProcessEnvironment &env, const QString &folder) : m_env(env), m_folder(folder) {}

    // Milliseconds from start to the end of a run that quits after its first paint.
    double startup(const QString &program) const
    {
        QProcess process;
        prepare(process, "exit");
        QElapsedTimer timer;
        timer.start();
        process.start(program, {});
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            qFatal("%s did not come up", qPrintable(program));
        return double(timer.nsecsElapsed()) / 1e6;
    }

    // Resident kilobytes once the program has painted and settled.
    double idleMemory(const QString &program) const
    {
        QProcess process;
        prepare(process, "report");
        process.start(program, {});
        while (!process.canReadLine())
            if (!process.waitForReadyRead(60000))
                qFatal("%s did not paint", qPrintable(program));
        QThread::msleep(1500);
        double kilobytes = 0;
        QFile status(QStringLiteral("/proc/%1/status").arg(process.processId()));
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("VmRSS:"))
                    kilobytes = line.mid(6).trimmed().split(' ').first().toDouble();
        process.kill();
        process.waitForFinished();
        return kilobytes;
    }

private:
    void prepare(QProcess &process, const char *mode) const
    {
        QProcessEnvironment env = m_env;
        env.insert(QStringLiteral("TOLVANE_FIRST_PAINT"), QString::fromLatin1(mode));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_folder);
        process.setStandardErrorFile(QProcess::nullDevice());
    }

    QProcessEnvironment m_env;
    QString m_folder;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QProcess server;
    const QProcessEnvironment env = tolvane::test::privateDisplayEnvironment(server);

    // A folder with some files, as the program would be started in.
    QTemporaryDir folder;
    for (int i = 0; i < 50; ++i) {
        QFile file(folder.filePath(QStringLiteral("photo %1.jpg").arg(i)));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
    }

    const Runner runner(env, folder.path());
    const QString app1 = QStringLiteral(TOLVANE_APP);
    const QString bare = QStringLiteral(STARTUP_BARE);
    runner.startup(bare); // warm the file cache for both
    runner.startup(app1);
    std::vector<double> times;
    for (int round = 0; round < 11; ++round) {
        const double base = runner.startup(bare);
        times.push_back(runner.startup(app1) / base);
    }
    std::vector<double> memory;
    for (int round = 0; round < 3; ++round) {
        const double base = runner.idleMemory(bare);
        memory.push_back(runner.idleMemory(app1) / base);
    }

    server.terminate();
    server.waitForFinished();
    QTextStream(stdout) << "startup_ratio=" << QString::number(median(times), 'f', 3) << '\n'
                        << "memory_ratio=" << QString::number(median(memory), 'f', 3) << Qt::endl;
    return 0;
}
