#include "app/commandline.h"

#include "app/commandreport.h"
#include "app/startfolder.h"
#include "engine/batch/batchreport.h"
#include "engine/batch/treejob.h"
#include "engine/batch/undo.h"
#include "engine/conversion/simplifyrename.h"
#include "engine/listing/folderlisting.h"
#include "engine/listing/listorder.h"
#include "engine/listing/takendates.h"
#include "engine/listing/typefilter.h"
#include "engine/naming/serialformat.h"
#include "engine/naming/serialnamer.h"
#include "engine/naming/serialrename.h"
#include "platform/folderhandle.h"
#include "platform/photodate.h"
#include "platform/rawname.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace tolvane {
namespace {

// Arguments are bytes, QCommandLineParser takes strings: a byte that is not part of valid UTF-8
// becomes a lone surrogate (U+DC80..U+DCFF), which no valid UTF-8 decodes to, so a folder's
// bytes come back exactly.
QString escapedArgument(const QByteArray &raw)
{
    // A leading byte-order mark is part of the name, not a marker to drop.
    if (isValidUtf8(raw))
        return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)(raw);
    QString text;
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(QChar(char16_t(byte < 0x80 ? byte : 0xDC00 + byte)));
    }
    return text;
}

QByteArray argumentBytes(const QString &text)
{
    const auto isEscape = [](QChar c) { return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF; };
    if (std::none_of(text.cbegin(), text.cend(), isEscape))
        return text.toUtf8();
    // An escaped argument holds only ASCII and escaped bytes.
    QByteArray raw;
    for (const QChar c : text)
        raw.append(char(isEscape(c) ? c.unicode() - 0xDC00 : c.unicode()));
    return raw;
}

const QString helpText = QStringLiteral(
    "用法：\n"
    "  tolvane [文件夹]                          打开窗口\n"
    "  tolvane --rename 模式 --start 编号 [--sort 顺序] [--reverse] [--only 模式]\n"
    "          [--apply] [--json | -0] [文件夹]\n"
    "  tolvane --simplify[=t2s|tw2s|hk2s|tw2sp] [--sort 顺序] [--reverse] [--only 模式]\n"
    "          [--apply] [--json | -0] [文件夹]\n"
    "  tolvane --simplify[=t2s|tw2s|hk2s|tw2sp] --recursive [--folders] [--apply]\n"
    "          [--json | -0] [文件夹]\n"
    "  tolvane --undo [--apply] [--json | -0]\n"
    "\n"
    "不带 --apply 时只列出计划的改名，每行“旧名<TAB>新名”，不改动任何文件；\n"
    "不能改名的文件及原因写到标准错误。文件夹默认为当前文件夹，文件及其顺序与窗口中列出的相同。\n"
    "名字含控制字符（如换行、制表符、ESC）、双向控制字符或不是 UTF-8 的字节时，行中和标准错误中\n"
    "都写成 bash 的 $'...' 形式，如 $'新\\n行.txt'，bash 把它还原为名字原来的字节。\n"
    "\n"
    "选项：\n"
    "  --rename 模式   按序号改名：模式中的“#”换成序号，文件保留原扩展名。\n"
    "                  例：tolvane --rename '旅行_#' --start 1 ~/图片/旅行\n"
    "  --start 编号    --rename 的起始编号；序号补零到所填编号的位数（至少两位，\n"
    "                  编号有七位或更多时不补零）。\n"
    "                  例：tolvane --rename '第#集' --start 001 .\n"
    "  --simplify      把文件名中的繁体字转换为简体。=后可选转换方式：t2s 繁体（默认），\n"
    "                  tw2s 台湾正体，hk2s 香港繁体，tw2sp 台湾正体并换用大陆常用词。\n"
    "                  含假名或谚文的日文名、韩文名不转换，列在标准错误中。\n"
    "                  例：tolvane --simplify ~/文檔    tolvane --simplify=tw2sp ~/軟體\n"
    "  --recursive     --simplify 转换文件夹及其所有子文件夹中的文件，作为一批改名：\n"
    "                  任何一处有问题就整批不改；名字带相对于文件夹的路径列出。\n"
    "                  不跟随符号链接，跳过另一个文件系统上的文件夹（挂载点）和隐藏的名字。\n"
    "                  例：tolvane --simplify --recursive --apply ~/音樂\n"
    "  --folders       --simplify 也转换子文件夹的名字（所给文件夹本身的名字不变）。\n"
    "                  例：tolvane --simplify --recursive --folders ~/電子書\n"
    "  --sort 顺序     按此顺序编号和列出：name（名称，默认）、taken（拍摄日期：照片的 Exif\n"
    "                  拍摄时间，没有的按修改日期）、modified（修改日期）、size（大小）、\n"
    "                  type（类型：先按扩展名，再按名称）；顺序相同的按名称。\n"
    "                  例：tolvane --rename '下载_#' --start 1 --sort modified ~/下载\n"
    "  --reverse       倒序：--sort 的顺序反过来，顺序相同的仍按名称。\n"
    "                  例：tolvane --rename '#' --start 1 --sort size --reverse .\n"
    "  --only 模式     只改名（或转换）名字符合模式的文件，其余文件不动；多个模式用“;”分隔，\n"
    "                  不分大小写（*.jpg 也符合 IMG_0001.JPG）。\n"
    "                  例：tolvane --rename '旅行_#' --start 1 --only '*.jpg;*.png' ~/图片\n"
    "  --undo          撤销最近一批改名，不论是窗口还是命令行所做的。\n"
    "                  例：tolvane --undo --apply\n"
    "  --apply         真正改名，并列出已改名的文件。\n"
    "                  例：tolvane --simplify --apply ~/文檔\n"
    "  --json          输出一个 JSON 数组，每个文件一个对象：from、to、status、error。\n"
    "                  名字中不是 UTF-8 的字节写成 \\xNN，名字原来的字节另以 base64 写在\n"
    "                  from_base64、to_base64 中（只有这样的名字才有这两项）。\n"
    "                  例：tolvane --simplify --json ~/文檔\n"
    "  -0, --null      每个改名输出为旧名、NUL、新名、NUL，名字的字节原样不变，供脚本读取。\n"
    "                  例：tolvane --simplify -0 ~/文檔 | xargs -0 -n 2 printf '%q → %q\\n'\n"
    "  -h, --help      显示本帮助。\n"
    "                  例：tolvane --help\n"
    "  --version       显示版本。\n"
    "                  例：tolvane --version\n"
    "\n"
    "退出状态：0 计划的改名全部完成（或预览没有发现问题），1 没有改名任何文件，2 部分完成。\n");

// QCommandLineParser's own messages are English; the option they name is quoted in them.
QString parseError(const QCommandLineParser &parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("不认识的选项“%1%2”。")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    const QString option =
        QRegularExpression(QStringLiteral("'([^']*)'")).match(parser.errorText()).captured(1);
    if (parser.errorText().startsWith(QStringLiteral("Missing value")))
        return QStringLiteral("选项“%1”后面缺少值。").arg(option);
    return QStringLiteral("选项“%1”不带值。").arg(option);
}

struct Request
{
    enum Action { Rename, Simplify, Undo };
    Action action = Rename;
    QByteArray pattern;
    QString start;
    QByteArray folder = ".";
    ListOrder order;
    TypeFilter filter;
    ConversionProfile profile = ConversionProfile::T2s;
    bool apply = false;
    bool recursive = false;
    bool folders = false;
    CommandReport::Format output = CommandReport::Format::Lines;
};

// Why the parsed options do not make one request; empty when they do.
QString requestError(const QCommandLineParser &parser, Request &request)
{
    const QStringList actions{QStringLiteral("rename"), QStringLiteral("simplify"),
                              QStringLiteral("undo")};
    qsizetype chosen = 0;
    for (qsizetype i = 0; i < actions.size(); ++i) {
        if (parser.isSet(actions[i])) {
            request.action = Request::Action(i);
            ++chosen;
        }
    }
    if (chosen != 1)
        return QStringLiteral("请给出 --rename、--simplify、--undo 三者之一。");
    for (const QString &name : {QStringLiteral("rename"), QStringLiteral("start"),
                                QStringLiteral("sort"), QStringLiteral("only")})
        if (parser.values(name).size() > 1)
            return QStringLiteral("选项“--%1”只能给一次。").arg(name);
    if (parser.isSet(QStringLiteral("rename")) != parser.isSet(QStringLiteral("start")))
        return QStringLiteral("--rename 和 --start 要一起给出。");
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1)
        return QStringLiteral("只能给一个文件夹。");
    if (request.action == Request::Undo && !folders.isEmpty())
        return QStringLiteral("--undo 不接受文件夹：它撤销最近一批改名，不论在哪个文件夹。");
    for (const char *name : {"sort", "reverse", "only"})
        if (request.action == Request::Undo && parser.isSet(QString::fromLatin1(name)))
            return QStringLiteral("--undo 不接受 --%1：它按原来的顺序撤销。")
                .arg(QString::fromLatin1(name));
    request.recursive = parser.isSet(QStringLiteral("recursive"));
    request.folders = parser.isSet(QStringLiteral("folders"));
    if ((request.recursive || request.folders) && request.action != Request::Simplify)
        return QStringLiteral("--recursive 和 --folders 只能和 --simplify 一起给出。");
    for (const char *name : {"sort", "reverse", "only"})
        if ((request.recursive || request.folders) && parser.isSet(QString::fromLatin1(name)))
            return QStringLiteral("--recursive 和 --folders 不接受 --%1：它们转换每一个名字。")
                .arg(QString::fromLatin1(name));
    if (parser.isSet(QStringLiteral("sort"))) {
        const auto key = ListOrder::keyNamed(parser.value(QStringLiteral("sort")).toUtf8());
        if (!key)
            return QStringLiteral("--sort 只能是 name、taken、modified、size、type 之一。");
        request.order.key = *key;
    }
    request.order.reversed = parser.isSet(QStringLiteral("reverse"));
    request.filter = TypeFilter::fromPatterns(parser.value(QStringLiteral("only")));
    if (!folders.isEmpty())
        request.folder = argumentBytes(folders.first());
    request.pattern = argumentBytes(parser.value(QStringLiteral("rename")));
    request.start = parser.value(QStringLiteral("start"));
    request.apply = parser.isSet(QStringLiteral("apply"));
    const bool json = parser.isSet(QStringLiteral("json"));
    if (json && parser.isSet(QStringLiteral("null")))
        return QStringLiteral("-0 和 --json 只能选一个。");
    if (json)
        request.output = CommandReport::Format::Json;
    else if (parser.isSet(QStringLiteral("null")))
        request.output = CommandReport::Format::Null;
    return {};
}

QString summary(bool refused, qsizetype problems, const CommandReport &report, bool apply)
{
    if (refused)
        return apply ? QStringLiteral("有 %1 个文件不能改成新名字，所以没有改名任何文件。")
                           .arg(problems)
                     : QStringLiteral("有 %1 个文件不能改成新名字，这批改名会被整批拒绝。")
                           .arg(problems);
    if (report.kept() == 0)
        return {};
    if (!apply)
        return QStringLiteral("有 %1 个文件将保持原名。").arg(report.kept());
    if (report.renamed() == 0)
        return QStringLiteral("%1 个文件保持原名，没有改名任何文件。").arg(report.kept());
    return QStringLiteral("已改名 %1 个文件，%2 个文件保持原名。")
        .arg(report.renamed())
        .arg(report.kept());
}

// Finishes the report of jobs that have been prepared and, when they could and were asked to,
// executed: notStarted says why none of them moved anything.
int finishJobs(CommandReport &report, const QString &notStarted, bool refused, qsizetype problems,
               bool apply, const QStringList &extra)
{
    if (!notStarted.isEmpty())
        return report.finish(notStarted, true);
    QStringList lines = QStringList{summary(refused, problems, report, apply)} + extra;
    lines.removeAll(QString());
    return report.finish(lines.join(u'\n'), refused);
}

QString quitText()
{
    return QStringLiteral(
        "收到终止信号，改名在中途停止；可以用 tolvane --undo --apply 撤销已做的改名。");
}

// Only a quit signal cancels a batch of the command line.
int finishJob(const BatchJob &job, CommandReport &report, bool apply,
              const QList<LeftAlone> &leftAlone)
{
    report.addJob(job, apply);
    report.addLeftAlone(leftAlone);
    return finishJobs(report, BatchReport::notStarted(job), job.stage() == BatchJob::Stage::Refused,
                      job.plan().problemCount(), apply, {job.cancelled() ? quitText() : QString()});
}

int runBatch(const Request &request, BatchJob::Namer namer, bool refuseOnProblem)
{
    CommandReport report(request.output);
    // Opened once: the files are listed, planned and moved in this folder, whatever happens to
    // its path meanwhile. Absolute, so that an undo from elsewhere finds it again.
    const std::shared_ptr<const FolderHandle> folder = FolderHandle::open(request.folder);
    TakenDates dates(photoTakenAt);
    const FolderListing listing =
        folder->error() ? FolderListing()
                        : FolderListing::read(folder->fd(), FolderListing::Kind::Files,
                                              request.order, request.filter, &dates);
    if (const int error = folder->error() ? folder->error() : listing.error())
        return report.finish(
            QStringLiteral("无法打开文件夹【%1】：%2。没有改名任何文件。")
                .arg(BatchReport::shownName(request.folder), folderErrorReason(error)),
            true);

    BatchJob job(folder, listing.rawNames(), std::move(namer),
                 {.refuseOnProblem = refuseOnProblem,
                  .stopAtFirstFailure = refuseOnProblem,
                  .journal = request.apply});
    job.prepare();
    if (request.apply && job.stage() == BatchJob::Stage::Ready)
        job.execute();
    return finishJob(job, report, request.apply,
                     request.action == Request::Simplify ? leftAloneFiles(job, request.profile)
                                                         : QList<LeftAlone>());
}

// Names are reported as paths below the folder given.
int runTree(const Request &request)
{
    CommandReport report(request.output);
    TreeJob tree(
        FolderHandle::open(request.folder),
        [profile = request.profile](const QByteArray &name) {
            return simplifiedFileName(name, profile);
        },
        {.recursive = request.recursive, .folders = request.folders, .journal = request.apply});
    tree.prepare();
    if (request.apply)
        tree.execute();
    for (const TreeJob::Block &block : tree.blocks()) {
        report.addJob(*block.job, request.apply, block.path);
        QList<LeftAlone> files = leftAloneFiles(*block.job, request.profile);
        for (LeftAlone &file : files)
            file.name = block.pathOf(file.name);
        report.addLeftAlone(files);
    }
    return finishJobs(report, tree.notStarted(), tree.stage() == TreeJob::Stage::Refused,
                      tree.problemCount(), request.apply,
                      {tree.skippedText(), tree.cancelled() ? quitText() : QString()});
}

int runUndo(const Request &request)
{
    CommandReport report(request.output);
    Undo undo;
    undo.prepare();
    if (undo.stage() == Undo::Stage::NothingToUndo)
        return report.finish(QStringLiteral("没有可以撤销的改名。"), true);
    if (undo.stage() != Undo::Stage::Ready)
        return report.finish(QStringLiteral("无法撤销：%1").arg(undo.error()), true);
    if (request.apply)
        undo.execute();
    QString notStarted;
    qsizetype problems = 0;
    for (const Undo::Block &block : undo.blocks()) {
        report.addJob(*block.job, request.apply, block.path);
        if (notStarted.isEmpty())
            notStarted = BatchReport::notStarted(*block.job);
        problems += block.job->plan().problemCount();
    }
    report.addUndo(undo);
    QStringList extra;
    if (undo.cancelled())
        extra.append(QStringLiteral("收到终止信号，撤销在中途停止。"));
    extra.append(undo.leftText());
    if (!undo.error().isEmpty())
        extra.append(QStringLiteral("无法在改名记录中记下这次撤销：%1").arg(undo.error()));
    return finishJobs(report, notStarted, false, problems, request.apply, extra);
}

int run(const Request &request)
{
    switch (request.action) {
    case Request::Rename: {
        if (const QString text = serialRenameRefusal(request.pattern, request.start);
            !text.isEmpty())
            return CommandReport(request.output).finish(text, true);
        const SerialNamer namer(request.pattern, StartValue(request.start),
                                SerialFormatFor(startTextLength(request.start)));
        return runBatch(
            request,
            [namer](qsizetype i, const QByteArray &name) { return namer.newName(i, name); }, true);
    }
    case Request::Simplify:
        if (const QString text = conversionRefusal(request.profile); !text.isEmpty())
            return CommandReport(request.output).finish(text, true);
        if (request.recursive || request.folders)
            return runTree(request);
        return runBatch(
            request,
            [profile = request.profile](qsizetype, const QByteArray &name) {
                return simplifiedFileName(name, profile);
            },
            false);
    case Request::Undo:
        return runUndo(request);
    }
    return 1;
}

} // namespace

int runCommandLine(const QByteArrayList &arguments)
{
    QCommandLineParser parser;
    parser.addOptions({
        {QStringLiteral("rename"), {}, QStringLiteral("pattern")},
        {QStringLiteral("start"), {}, QStringLiteral("n")},
        {QStringLiteral("simplify"), {}},
        {QStringLiteral("sort"), {}, QStringLiteral("order")},
        {QStringLiteral("reverse"), {}},
        {QStringLiteral("only"), {}, QStringLiteral("patterns")},
        {QStringLiteral("undo"), {}},
        {QStringLiteral("recursive"), {}},
        {QStringLiteral("folders"), {}},
        {QStringLiteral("apply"), {}},
        {QStringLiteral("json"), {}},
        {{QStringLiteral("0"), QStringLiteral("null")}, {}},
        {{QStringLiteral("h"), QStringLiteral("help")}, {}},
        {QStringLiteral("version"), {}},
    });
    QStringList texts{QStringLiteral("tolvane")};
    const QString usageHint = QStringLiteral("\n用 tolvane --help 查看用法。");
    std::optional<ConversionProfile> profile = ConversionProfile::T2s;
    // QCommandLineParser has no option whose value may be left out: "--simplify=PROFILE" is
    // taken apart before it parses, up to a "--", after which every argument is a folder.
    const qsizetype optionsEnd = arguments.indexOf("--");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray &argument = arguments[i];
        if ((optionsEnd < 0 || i < optionsEnd) && argument.startsWith("--simplify=")) {
            profile = profileFromKey(escapedArgument(argument.mid(11)));
            if (!profile) {
                complain(QStringLiteral("不认识的转换方式“%1”：可选 t2s、tw2s、hk2s、tw2sp。")
                             .arg(displayName(argument.mid(11))) +
                         usageHint);
                return 1;
            }
            texts.append(QStringLiteral("--simplify"));
        } else {
            texts.append(escapedArgument(argument));
        }
    }
    if (!parser.parse(texts)) {
        complain(parseError(parser) + usageHint);
        return 1;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(helpText.toUtf8().constData(), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::fputs("tolvane " TOLVANE_VERSION "\n", stdout);
        return 0;
    }
    Request request;
    request.profile = *profile;
    if (const QString text = requestError(parser, request); !text.isEmpty()) {
        complain(text + usageHint);
        return 1;
    }
    return run(request);
}

} // namespace tolvane
