#include "support/testdir.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <unistd.h>

using namespace tolvane;

// The real program on real temporary folders, with its own state and home folders and no
// display at all: a command-line run that opened one would fail here.
class TestCommandLine : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        int status;
        QByteArray out, err;
    };

    static Run run(const QByteArray &folder, const QByteArray &state, const QByteArrayList &args)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("XDG_STATE_HOME"), QFile::decodeName(state));
        environment.insert(QStringLiteral("HOME"), QFile::decodeName(state));
        // QProcess would pass the arguments through QString, which loses bytes that are not
        // UTF-8: the child starts the program itself, with everything made before the fork.
        const auto pointers = [](QByteArrayList &strings) {
            QList<char *> list;
            for (QByteArray &string : strings)
                list.append(string.data());
            return list << nullptr;
        };
        QByteArrayList strings = QByteArrayList{TOLVANE_BINARY} + args, variables;
        for (const QString &variable : environment.toStringList())
            variables.append(variable.toUtf8());
        const QList<char *> argv = pointers(strings), envp = pointers(variables);
        QProcess process;
        process.setWorkingDirectory(QFile::decodeName(folder));
        process.setChildProcessModifier(
            [&argv, &envp] { ::execve(TOLVANE_BINARY, argv.data(), envp.data()); });
        process.start(QStringLiteral(TOLVANE_BINARY), {});
        if (!process.waitForFinished(60000))
            return {-1, {}, {}};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    // Every file under the folder, as paths inside it.
    static QByteArrayList files(const QByteArray &folder)
    {
        QByteArrayList found;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(folder.data()))
            if (entry.is_regular_file())
                found.append(QByteArray::fromStdString(
                    entry.path().lexically_relative(folder.data()).native()));
        std::sort(found.begin(), found.end());
        return found;
    }

    // The files every row starts with, with some of them moved.
    static QByteArrayList fixture(const QList<std::pair<QByteArray, QByteArray>> &moves = {})
    {
        QByteArrayList names{"a.txt",          "b.txt",       "taken/x01.txt/d", "taken/e.txt",
                             "\xfe/c\xff.txt", "簡/檔案.txt", "簡/舊.txt",       "簡/旧.txt"};
        for (const auto &[from, to] : moves)
            names.replace(names.indexOf(from), to);
        std::sort(names.begin(), names.end());
        return names;
    }

private Q_SLOTS:
    void runs_data()
    {
        QTest::addColumn<QByteArrayList>("before"); // a command run first, when given
        QTest::addColumn<QByteArrayList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out"); // "[…": compared as JSON
        QTest::addColumn<QString>("err");    // a text standard error holds
        QTest::addColumn<QByteArrayList>("after");

        const QByteArrayList rename{"--rename", "x#", "--start", "1"};
        const QByteArrayList apply = rename + QByteArrayList{"--apply"};
        const QByteArray planned = "a.txt\tx01.txt\nb.txt\tx02.txt\n";
        const QByteArrayList x = fixture({{"a.txt", "x01.txt"}, {"b.txt", "x02.txt"}});
        const QByteArray back = "x01.txt\ta.txt\nx02.txt\tb.txt\n";
        const QByteArrayList none;
        const QByteArray nothing;
        QTest::newRow("preview") << none << rename << 0 << planned << QString() << fixture();
        QTest::newRow("apply") << none << apply << 0 << planned << QString() << x;
        QTest::newRow("refused") << none << apply + QByteArrayList{"taken"} << 1 << nothing
                                 << QStringLiteral("已有同名的文件夹") << fixture();
        QTest::newRow("raw bytes")
            << none << apply + QByteArrayList{"\xfe"} << 0 << QByteArray("c\xff.txt\tx01.txt\n")
            << QString() << fixture({{"\xfe/c\xff.txt", "\xfe/x01.txt"}});
        QTest::newRow("json bytes")
            << none << rename + QByteArrayList{"--json", "\xfe"} << 0
            << QByteArray(R"([{"error":null,"from":"c\\xFF.txt","from_base64":"Y/8udHh0",)"
                          R"("status":"planned","to":"x01.txt"}])")
            << QString() << fixture();
        QTest::newRow("some simplified")
            << none << QByteArrayList{"--simplify", "--apply", "簡"} << 2
            << QByteArray("檔案.txt\t档案.txt\n") << QStringLiteral("已有同名的文件")
            << fixture({{"簡/檔案.txt", "簡/档案.txt"}});
        QTest::newRow("json simplify")
            << none << QByteArrayList{"--simplify", "--json", "簡"} << 2
            << QByteArray(R"([{"error":null,"from":"檔案.txt","status":"planned","to":"档案.txt"},)"
                          R"({"error":"已有同名的文件","from":"舊.txt","status":"refused",)"
                          R"("to":"旧.txt"}])")
            << QStringLiteral("将保持原名") << fixture();
        QTest::newRow("undo preview")
            << apply << QByteArrayList{"--undo"} << 0 << back << QString() << x;
        QTest::newRow("undo") << apply << QByteArrayList{"--undo", "--apply"} << 0 << back
                              << QString() << fixture();
        QTest::newRow("nothing to undo")
            << none << QByteArrayList{"--undo", "--json"} << 1 << QByteArray("[]")
            << QStringLiteral("没有可以撤销") << fixture();
        QTest::newRow("missing folder") << none << QByteArrayList{"--simplify", "gone"} << 1
                                        << nothing << QStringLiteral("文件夹不存在") << fixture();
        QTest::newRow("unknown option") << none << QByteArrayList{"--frob"} << 1 << nothing
                                        << QStringLiteral("“--frob”") << fixture();
        QTest::newRow("no value") << none << QByteArrayList{"--simplify", "--rename"} << 1
                                  << nothing << QStringLiteral("缺少值") << fixture();
        QTest::newRow("empty start") << none << QByteArrayList{"--rename", "x", "--start", ""} << 1
                                     << nothing << QStringLiteral("没填完") << fixture();
    }
    void runs()
    {
        QFETCH(QByteArrayList, before);
        QFETCH(QByteArrayList, args);
        test::TestDir dir, state;
        for (const char *folder : {"taken", "taken/x01.txt", "\xfe", "簡"})
            dir.createFolder(folder);
        for (const QByteArray &file : fixture())
            dir.createFile(file);
        if (!before.isEmpty())
            QCOMPARE(run(dir.nativePath(), state.nativePath(), before).status, 0);

        const Run result = run(dir.nativePath(), state.nativePath(), args);
        QFETCH(QByteArray, out);
        if (out.startsWith('['))
            QCOMPARE(QJsonDocument::fromJson(result.out).toJson(QJsonDocument::Compact), out);
        else
            QCOMPARE(result.out, out);
        QFETCH(QString, err);
        QVERIFY2(QString::fromUtf8(result.err).contains(err), result.err.constData());
        QTEST(result.status, "status");
        QTEST(files(dir.nativePath()), "after");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
