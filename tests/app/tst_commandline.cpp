#include "support/exifjpeg.h"
#include "support/testdir.h"

#include <QProcess>
#include <QRegularExpression>
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
        QByteArrayList names{"a.txt",
                             "b.txt",
                             "taken/x01.txt/d",
                             "taken/e.txt",
                             "\xfe/c\xff.txt",
                             "簡/檔案.txt",
                             "簡/舊.txt",
                             "簡/旧.txt",
                             "jp/後藤さん.txt",
                             "jp/軟體.txt",
                             "ko/한국學校.txt",
                             "photos/a.jpg",
                             "photos/b.jpg",
                             "photos/c.jpg",
                             "photos/d.jpg",
                             "樹/舊書/讀書.txt",
                             "樹/後藤さん/書.txt"};
        // Names that could rewrite a terminal or split a line.
        for (const char *name : {"bad\xff", "\357\273\277bom", "esc\x1b[31m'r\\d'", "new\nline",
                                 "舊\t", "旧\t", "\xe2\x80\xaetxt.exe"})
            names.append(QByteArray("odd/") + name);
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
        QTest::addColumn<QByteArray>("out"); // "[…": JSON
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
            << none << apply + QByteArrayList{"\xfe"} << 0 << QByteArray("$'c\\377.txt'\tx01.txt\n")
            << QString() << fixture({{"\xfe/c\xff.txt", "\xfe/x01.txt"}});
        QTest::newRow("json bytes")
            << none << rename + QByteArrayList{"--json", "\xfe"} << 0
            << QByteArray(R"([{"error":null,"from":"c\\xFF.txt","from_base64":"Y/8udHh0",)"
                          R"("status":"planned","to":"x01.txt"}])")
            << QString() << fixture();
        // Arguments are bytes: a pattern's are kept, a folder's byte-order mark is not dropped.
        QTest::newRow("pattern bytes")
            << none << QByteArrayList{"--rename", "y\xff#", "--start", "1", "--apply", "\xfe"} << 0
            << QByteArray("$'c\\377.txt'\t$'y\\37701.txt'\n") << QString()
            << fixture({{"\xfe/c\xff.txt", "\xfe/y\xff"
                                           "01.txt"}});
        QTest::newRow("folder with a byte-order mark")
            << none << QByteArrayList{"--simplify", "\xef\xbb\xbf簡"} << 1 << nothing
            << QStringLiteral("无法打开文件夹") << fixture();
        QTest::newRow("new names stay in the folder")
            << none << QByteArrayList{"--rename", "../x#", "--start", "1", "--apply", "簡"} << 1
            << nothing << QStringLiteral("不能含有“/”") << fixture();
        const QByteArrayList odd{"--rename", "z\t#", "--start", "1", "odd"};
        QTest::newRow("escaped")
            << none << odd << 0
            << QByteArray("$'bad\\377'\t$'z\\t01'\n\357\273\277bom\t$'z\\t02'\n"
                          "$'esc\\033[31m\\'r\\\\d\\''\t$'z\\t03'\n$'new\\nline'\t$'z\\t04'\n"
                          "$'\\u202Etxt.exe'\t$'z\\t05.exe'\n$'旧\\t'\t$'z\\t06'\n"
                          "$'舊\\t'\t$'z\\t07'\n")
            << QString() << fixture();
        const char pairs[] =
            "bad\xff\0z\t01\0\357\273\277bom\0z\t02\0esc\x1b[31m'r\\d'\0z\t03\0new\nline\0z\t04\0"
            "\xe2\x80\xaetxt.exe\0z\t05.exe\0旧\t\0z\t06\0舊\t\0z\t07\0";
        QTest::newRow("null") << none << odd + QByteArrayList{"-0"} << 0
                              << QByteArray(pairs, sizeof pairs - 1) << QString() << fixture();
        QTest::newRow("escaped messages")
            << none << QByteArrayList{"--simplify", "odd"} << 1 << nothing
            << QStringLiteral("“$'舊\\t'”→“$'旧\\t'”：已有同名的文件") << fixture();
        QTest::newRow("json controls")
            << none << rename + QByteArrayList{"--json", "odd"} << 0
            << QByteArray(
                   R"([{"error":null,"from":"bad\\xFF","from_base64":"YmFk/w==",)"
                   R"("status":"planned","to":"x01"},{"error":null,"from":")"
                   "\xef\xbb\xbf"
                   R"(bom","status":"planned","to":"x02"},{"error":null,)"
                   "\"from\":\"esc\\u001b[31m'r\\\\d'\",\"status\":\"planned\",\"to\":\"x03\"},"
                   R"({"error":null,"from":"new\nline","status":"planned","to":"x04"},)"
                   R"({"error":null,"from":"\u202etxt.exe","status":"planned","to":"x05.exe"},)"
                   R"({"error":null,)"
                   R"("from":"旧\t","status":"planned","to":"x06"},{"error":null,)"
                   R"("from":"舊\t","status":"planned","to":"x07"}])")
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
        // Sizes are the lengths of the names: 檔案.txt is the biggest, 旧.txt and 舊.txt tie.
        QTest::newRow("size reversed, ties by name")
            << none << rename + QByteArrayList{"--sort", "size", "--reverse", "簡"} << 0
            << QByteArray("檔案.txt\tx01.txt\n旧.txt\tx02.txt\n舊.txt\tx03.txt\n") << QString()
            << fixture();
        QTest::newRow("only the listed files, case ignored")
            << none << apply + QByteArrayList{"--only", "*.zip; *.EXE", "odd"} << 0
            << QByteArray("$'\\u202Etxt.exe'\tx01.exe\n") << QString()
            << fixture({{"odd/\xe2\x80\xaetxt.exe", "odd/x01.exe"}});
        // Taken: c.jpg and d.jpg in 2021, a.jpg in 2023; b.jpg has no date and was written now.
        QTest::newRow("taken, ties by name")
            << none << rename + QByteArrayList{"--sort", "taken", "photos"} << 0
            << QByteArray("c.jpg\tx01.jpg\nd.jpg\tx02.jpg\na.jpg\tx03.jpg\nb.jpg\tx04.jpg\n")
            << QString() << fixture();
        QTest::newRow("unknown order")
            << none << QByteArrayList{"--simplify", "--sort", "date"} << 1 << nothing
            << QStringLiteral("--sort 只能是") << fixture();
        // Left alone for its language: reported, but neither renamed nor kept against the plan.
        QTest::newRow("profile, Japanese left alone")
            << none << QByteArrayList{"--simplify=tw2sp", "--apply", "--json", "jp"} << 0
            << QByteArray(R"([{"error":null,"from":"軟體.txt","status":"done","to":"软件.txt"},)"
                          R"({"error":"日文名，未转换","from":"後藤さん.txt",)"
                          R"("status":"left-alone","to":"後藤さん.txt"}])")
            << QString() << fixture({{"jp/軟體.txt", "jp/软件.txt"}});
        QTest::newRow("Korean left alone")
            << none << QByteArrayList{"--simplify", "--apply", "ko"} << 0 << nothing
            << QStringLiteral("“한국學校.txt”：韩文名，未转换") << fixture();
        QTest::newRow("unknown profile")
            << none << QByteArrayList{"--simplify=tw", "jp"} << 1 << nothing
            << QStringLiteral("“tw”：可选 t2s、tw2s、hk2s、tw2sp") << fixture();
        // A tree: children first, paths below the folder, one undo; a conflict stops it whole.
        const QByteArrayList tree{"--simplify", "--recursive", "--folders", "--apply", "樹"};
        const QByteArrayList treeDone = fixture({{"樹/舊書/讀書.txt", "樹/旧书/读书.txt"},
                                                 {"樹/後藤さん/書.txt", "樹/後藤さん/书.txt"}});
        QTest::newRow("tree") << none << tree << 0
                              << QByteArray("後藤さん/書.txt\t後藤さん/书.txt\n"
                                            "舊書/讀書.txt\t舊書/读书.txt\n舊書\t旧书\n")
                              << QStringLiteral("“後藤さん”：日文名，未转换") << treeDone;
        QTest::newRow("tree undone") << tree << QByteArrayList{"--undo", "--apply"} << 0
                                     << QByteArray("旧书\t舊書\n舊書/读书.txt\t舊書/讀書.txt\n"
                                                   "後藤さん/书.txt\t後藤さん/書.txt\n")
                                     << QString() << fixture();
        QTest::newRow("folder names only")
            << none << QByteArrayList{"--simplify", "--folders", "樹"} << 0
            << QByteArray("舊書\t旧书\n") << QString() << fixture();
        QTest::newRow("tree with a conflict")
            << none << QByteArrayList{"--simplify", "--recursive", "--apply", "."} << 1 << nothing
            << QStringLiteral("“簡/舊.txt”→“簡/旧.txt”：已有同名的文件") << fixture();
        QTest::newRow("tree of a serial rename")
            << none << rename + QByteArrayList{"--recursive"} << 1 << nothing
            << QStringLiteral("只能和 --simplify 一起给出") << fixture();
        QTest::newRow("undo preview")
            << apply << QByteArrayList{"--undo"} << 0 << back << QString() << x;
        QTest::newRow("undo") << apply << QByteArrayList{"--undo", "--apply"} << 0 << back
                              << QString() << fixture();
        QTest::newRow("nothing to undo")
            << none << QByteArrayList{"--undo", "--json"} << 1 << QByteArray("[]")
            << QStringLiteral("没有可以撤销") << fixture();
        QTest::newRow("missing folder")
            << none << QByteArrayList{"--simplify", "gone\x1b"} << 1 << nothing
            << QStringLiteral("【$'gone\\033'】：文件夹不存在") << fixture();
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
        for (const char *folder : {"taken", "taken/x01.txt", "\xfe", "簡", "odd", "jp", "ko",
                                   "photos", "樹", "樹/舊書", "樹/後藤さん"})
            dir.createFolder(folder);
        for (const QByteArray &file : fixture())
            dir.createFile(file);
        for (const auto &[name, date] : {std::pair{"a", "2023:01:01 08:00:00"},
                                         {"c", "2021:06:01 08:00:00"},
                                         {"d", "2021:06:01 08:00:00"}})
            test::writeFile(dir.nativePath() + "/photos/" + name + ".jpg", test::exifJpeg(date));
        if (!before.isEmpty())
            QCOMPARE(run(dir.nativePath(), state.nativePath(), before).status, 0);

        const Run result = run(dir.nativePath(), state.nativePath(), args);
        QFETCH(QByteArray, out);
        // JSON without its indentation, byte for byte: no name in these rows holds a space.
        if (out.startsWith('['))
            QCOMPARE(QByteArray(result.out).replace(' ', "").replace('\n', ""), out);
        else
            QCOMPARE(result.out, out);
        QFETCH(QString, err);
        QVERIFY2(QString::fromUtf8(result.err).contains(err), result.err.constData());
        // Only the output made for scripts carries the control characters of names.
        static const QRegularExpression unsafe(QStringLiteral(
            "[\\x00-\\x08\\x0b-\\x1f\\x7f-\\x9f\\x{202a}-\\x{202e}\\x{2066}-\\x{2069}]"));
        const QString shown =
            QString::fromUtf8(args.contains("-0") ? result.err : result.out + result.err);
        QVERIFY2(!shown.contains(unsafe), qPrintable(shown));
        QTEST(result.status, "status");
        QTEST(files(dir.nativePath()), "after");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
