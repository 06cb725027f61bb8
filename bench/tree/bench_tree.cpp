// A whole tree of 100,000 traditional names in 2,000 folders converted as one batch (walk, plan,
// journal, moves) against the bare work: nftw over an identical fresh tree, each entry renamed
// children first with a no-replace rename to its name converted by the same dictionaries.
#include "bench/benchkit.h"
#include "engine/batch/treejob.h"
#include "engine/conversion/simplifier.h"
#include "engine/conversion/simplifyrename.h"

#include <QStringList>
#include <ftw.h>
#include <opencc/SimpleConverter.hpp>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace tolvane::bench;
namespace {

constexpr int topFolders = 40;
constexpr int subFolders = 49; // in each top folder: 40 + 40 × 49 = 2,000 folders
constexpr int filesPerFolder = 50;
constexpr int folderCount = topFolders * (1 + subFolders);
constexpr int fileCount = folderCount * filesPerFolder;
constexpr int rounds = 5;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "bench_tree: %s\n", what);
    std::exit(1);
}

const QStringList words = {u"舊檔案"_s,   u"會議記錄"_s, u"報告書"_s,   u"圖書館"_s,
                           u"電腦資料"_s, u"藝術歷史"_s, u"學習筆記"_s, u"銀行帳戶"_s};

QByteArray word(int i, const QString &end)
{
    return (words[i % words.size()] + u'_' + QString::number(i) + end).toUtf8();
}

void makeFolder(const QByteArray &path)
{
    if (::mkdir(path.constData(), 0755) != 0)
        fail("cannot make a folder");
    for (int i = 0; i < filesPerFolder; ++i) {
        const int fd = ::open((path + '/' + word(i, u".txt"_s)).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            fail("cannot make a file");
        ::close(fd);
    }
}

struct Tree
{
    Tree()
    {
        path = QFile::encodeName(dir.path()) + "/root";
        if (::mkdir(path.constData(), 0755) != 0)
            fail("cannot make the tree");
        for (int top = 0; top < topFolders; ++top) {
            const QByteArray upper = path + '/' + word(top, u"資料夾"_s);
            makeFolder(upper);
            for (int sub = 0; sub < subFolders; ++sub)
                makeFolder(upper + '/' + word(sub, u"專輯"_s));
        }
    }
    QTemporaryDir dir;
    QByteArray path;
};

double ours()
{
    const Tree tree;
    const double start = cpuSeconds();
    const std::shared_ptr<tolvane::TreeJob> job =
        tolvane::makeTreeConversion(tree.path, tolvane::ConversionProfile::T2s);
    job->run();
    const double seconds = cpuSeconds() - start;
    if (job->stage() != tolvane::TreeJob::Stage::Ran || job->done() != fileCount + folderCount)
        fail("the tree was not converted whole");
    return seconds;
}

const opencc::SimpleConverter *converter = nullptr;
int renamed = 0;

int renameEntry(const char *path, const struct stat *, int, struct FTW *at)
{
    if (at->level == 0)
        return 0;
    const char *name = path + at->base;
    const std::string simplified = converter->Convert(name);
    if (simplified == name)
        return 0;
    const std::string target = std::string(path, size_t(at->base)) + simplified;
    if (::renameat2(AT_FDCWD, path, AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        ++renamed;
    return 0;
}

double raw()
{
    const Tree tree;
    renamed = 0;
    const double start = cpuSeconds();
    ::nftw(tree.path.constData(), renameEntry, 64, FTW_DEPTH | FTW_PHYS);
    const double seconds = cpuSeconds() - start;
    if (renamed != fileCount + folderCount)
        fail("the bare walk did not rename every entry");
    return seconds;
}

} // namespace

int main()
{
    const StateHome state;
    // The same dictionaries on both sides: the ones the program ships.
    const opencc::SimpleConverter shipped(
        tolvane::Simplifier::configPath(tolvane::ConversionProfile::T2s));
    converter = &shipped;
    if (!tolvane::Simplifier::shared().isReady())
        fail("cannot load the OpenCC dictionaries");

    const auto [oursTime, rawTime] = alternatedMedians(rounds, ours, raw);
    std::fprintf(stderr, "tree: ours %.3f s, bare %.3f s (processor time, medians)\n", oursTime,
                 rawTime);
    std::printf("tree_ratio=%.3f\n", oursTime / rawTime);
    return 0;
}
