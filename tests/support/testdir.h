#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>
#include <map>

namespace tolvane::test {

// A real temporary folder for file tests. Names are raw bytes, so tests can use names that are
// not valid UTF-8. By default a file's content is its own name, which makes every file
// identifiable after renames: contents() before and after must match.
class TestDir
{
public:
    // In the system's temporary folder, or inside `parent` to test another file system.
    explicit TestDir(const QByteArray &parent = {});
    // Removes the folder byte by byte: Qt's own removal skips names that are not UTF-8.
    ~TestDir();

    QString path() const { return m_dir.path(); }
    QByteArray nativePath() const { return QFile::encodeName(m_dir.path()); }

    void createFile(const QByteArray &name) { createFile(name, name); }
    void createFile(const QByteArray &name, const QByteArray &content);
    void createFolder(const QByteArray &name);
    // Entries ending in "/" are made as folders, in "@" as links to "a", all else as files.
    void create(const QByteArrayList &entries);

    bool exists(const QByteArray &name) const;
    QByteArray content(const QByteArray &name) const;
    // Names of the folder's entries (files and folders, hidden ones too), byte-sorted.
    QList<QByteArray> names() const;
    static QList<QByteArray> namesIn(const QByteArray &folder);
    // Content of every regular file with how often it occurs: the "nothing lost" fingerprint.
    std::map<QByteArray, int> contents() const;

private:
    QByteArray at(const QByteArray &name) const { return nativePath() + '/' + name; }

    QTemporaryDir m_dir;
};

// Writes a file at any path, replacing what it held.
void writeFile(const QByteArray &path, const QByteArray &content);

} // namespace tolvane::test
