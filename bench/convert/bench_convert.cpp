// Whole-folder conversion of 20,000 traditional names against a bare loop of OpenCC conversion
// and no-replace renames over the same names, each on a fresh folder, medians of several rounds.
#include "bench/benchkit.h"
#include "engine/conversion/simplifier.h"
#include "engine/conversion/simplifyrename.h"
#include "tests/support/fakemessageboxes.h"
#include "tests/support/fakeresultlist.h"

#include <QStringList>
#include <opencc/SimpleConverter.hpp>

using namespace Qt::StringLiterals;
using namespace tolvane::bench;
namespace {

constexpr int fileCount = 20000;
constexpr int rounds = 7;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "bench_convert: %s\n", what);
    std::exit(1);
}

QByteArrayList traditionalNames()
{
    const QStringList words = {u"舊檔案"_s,   u"會議記錄"_s, u"報告書"_s,   u"圖書館"_s,
                               u"電腦資料"_s, u"藝術歷史"_s, u"學習筆記"_s, u"銀行帳戶"_s};
    QByteArrayList names;
    for (int i = 0; i < fileCount; ++i)
        names.append((words[i % words.size()] + u'_' + QString::number(i) + u".txt"_s).toUtf8());
    return names;
}

double ours(const QByteArrayList &names)
{
    const Folder folder(names);
    tolvane::test::FakeMessageBoxes boxes;
    tolvane::test::FakeResultList results;
    tolvane::ConversionState state;
    const double start = cpuSeconds();
    tolvane::convertFolder(folder.path, names, results, boxes, state);
    const double seconds = cpuSeconds() - start;
    if (results.items().size() != names.size() || boxes.shown().size() != 1)
        fail("the conversion did not rename every file");
    return seconds;
}

double raw(const QByteArrayList &names, const opencc::SimpleConverter &converter)
{
    const Folder folder(names);
    const double start = cpuSeconds();
    const int fd = ::open(folder.path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    int renamed = 0;
    for (const QByteArray &name : names) {
        const std::string simplified = converter.Convert(name.constData(), name.size());
        if (::renameat2(fd, name.constData(), fd, simplified.c_str(), RENAME_NOREPLACE) == 0)
            ++renamed;
    }
    ::close(fd);
    const double seconds = cpuSeconds() - start;
    if (renamed != names.size())
        fail("the bare loop did not rename every file");
    return seconds;
}

} // namespace

int main()
{
    const StateHome state;
    const QByteArrayList names = traditionalNames();
    // The same dictionaries on both sides: the ones the program ships.
    const opencc::SimpleConverter converter(
        tolvane::Simplifier::configPath(tolvane::ConversionProfile::T2s));
    if (!tolvane::Simplifier::shared().isReady())
        fail("cannot load the OpenCC dictionaries");

    const auto [oursTime, rawTime] = alternatedMedians(
        rounds, [&] { return ours(names); }, [&] { return raw(names, converter); });
    std::printf("convert_ratio=%.3f\n", oursTime / rawTime);
    return 0;
}
