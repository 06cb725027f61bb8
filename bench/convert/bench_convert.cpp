// Whole-folder conversion of 20,000 traditional names against a bare loop of OpenCC conversion
// and no-replace renames over the same names, each on a fresh folder, medians of several rounds.
#include "engine/simplifier.h"
#include "engine/simplifyrename.h"
#include "tests/support/fakemessageboxes.h"
#include "tests/support/fakeresultlist.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <opencc/SimpleConverter.hpp>
#include <stdio.h>
#include <time.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;
namespace {

constexpr int fileCount = 20000;
constexpr int rounds = 7;

// CPU time of the process: other builds on the machine slow the wall clock of either side at
// random, while the work each side does stays what it is.
double now()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

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

struct Folder
{
    explicit Folder(const QByteArrayList &names) : path(QFile::encodeName(dir.path()))
    {
        for (const QByteArray &name : names) {
            const int fd = ::open((path + '/' + name).constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd < 0)
                fail("cannot create a file");
            ::close(fd);
        }
    }
    QTemporaryDir dir;
    QByteArray path;
};

double ours(const QByteArrayList &names)
{
    Folder folder(names);
    tolvane::test::FakeMessageBoxes boxes;
    tolvane::test::FakeResultList results;
    tolvane::ConversionState state;
    const double start = now();
    tolvane::convertFolder(folder.path, names, results, boxes, state);
    const double seconds = now() - start;
    if (results.items().size() != names.size() || boxes.shown().size() != 1)
        fail("the conversion did not rename every file");
    return seconds;
}

double raw(const QByteArrayList &names, const opencc::SimpleConverter &converter)
{
    Folder folder(names);
    const double start = now();
    const int fd = ::open(folder.path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    int renamed = 0;
    for (const QByteArray &name : names) {
        const std::string simplified = converter.Convert(name.constData(), name.size());
        if (::renameat2(fd, name.constData(), fd, simplified.c_str(), RENAME_NOREPLACE) == 0)
            ++renamed;
    }
    ::close(fd);
    const double seconds = now() - start;
    if (renamed != names.size())
        fail("the bare loop did not rename every file");
    return seconds;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    const QByteArrayList names = traditionalNames();
    const opencc::SimpleConverter converter("t2s.json");
    if (!tolvane::Simplifier::shared().isReady())
        fail("cannot load the OpenCC dictionaries");

    std::vector<double> oursTimes;
    std::vector<double> rawTimes;
    for (int round = 0; round < rounds; ++round) {
        // Alternate who goes first, so neither always runs on a warmer cache.
        if (round % 2 == 0) {
            oursTimes.push_back(ours(names));
            rawTimes.push_back(raw(names, converter));
        } else {
            rawTimes.push_back(raw(names, converter));
            oursTimes.push_back(ours(names));
        }
    }
    std::printf("convert_ratio=%.3f\n", median(oursTimes) / median(rawTimes));
    return 0;
}
