#include "tests/support/testdir.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane::test {

TestDir::TestDir(const QByteArray &parent)
    : m_dir(parent.isEmpty() ? QDir::tempPath() + QStringLiteral("/tolvane-test-XXXXXX")
                             : QFile::decodeName(parent + "/test-XXXXXX"))
{
    if (!m_dir.isValid())
        qFatal("cannot create a temporary folder in %s", parent.constData());
}

TestDir::~TestDir()
{
    const auto removeEntry = [](const char *path, const struct stat *, int, FTW *) {
        ::remove(path);
        return 0;
    };
    ::nftw(nativePath().constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void TestDir::createFile(const QByteArray &name, const QByteArray &content)
{
    const int fd = ::open(at(name), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const bool made = fd >= 0 && ::write(fd, content.constData(), content.size()) == content.size();
    ::close(fd);
    if (!made)
        qFatal("cannot create test file %s", at(name).constData());
}

void TestDir::createFolder(const QByteArray &name)
{
    if (::mkdir(at(name), 0755) != 0)
        qFatal("cannot create test folder %s", at(name).constData());
}

void TestDir::create(const QByteArrayList &entries)
{
    for (const QByteArray &entry : entries) {
        if (entry.endsWith('/'))
            createFolder(entry.chopped(1));
        else if (!entry.endsWith('@'))
            createFile(entry);
        else if (::symlink("a", at(entry.chopped(1))) != 0)
            qFatal("cannot create test link %s", entry.constData());
    }
}

bool TestDir::exists(const QByteArray &name) const
{
    struct stat st;
    return ::lstat(at(name), &st) == 0;
}

QByteArray TestDir::content(const QByteArray &name) const
{
    const int fd = ::open(at(name), O_RDONLY | O_CLOEXEC);
    QByteArray data;
    char buffer[4096];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        data.append(buffer, n);
    ::close(fd);
    return data;
}

void writeFile(const QByteArray &path, const QByteArray &content)
{
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool made = fd >= 0 && ::write(fd, content.constData(), content.size()) == content.size();
    ::close(fd);
    if (!made)
        qFatal("cannot write test file %s", path.constData());
}

QList<QByteArray> TestDir::names() const
{
    return namesIn(nativePath());
}

QList<QByteArray> TestDir::namesIn(const QByteArray &folder)
{
    QList<QByteArray> result;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return result;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            result.append(name);
    }
    ::closedir(dir);
    std::sort(result.begin(), result.end());
    return result;
}

std::map<QByteArray, int> TestDir::contents() const
{
    std::map<QByteArray, int> result;
    for (const QByteArray &name : names()) {
        struct stat st;
        if (::lstat(at(name), &st) == 0 && S_ISREG(st.st_mode))
            ++result[content(name)];
    }
    return result;
}

} // namespace tolvane::test
