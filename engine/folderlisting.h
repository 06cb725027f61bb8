#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace tolvane {

// The entries of one folder in list order: regular files or subfolders, hidden (dot) names left
// out. Names are the raw bytes readdir gave; the display forms share the same index. Reading
// needs no display, so the file list and its benchmark use the same code.
class FolderListing
{
public:
    enum class Kind { Files, Folders };

    FolderListing() = default;
    // Reads and sorts; a folder that cannot be opened gives an empty listing and its errno.
    static FolderListing read(const QByteArray &folder, Kind kind);

    qsizetype count() const { return m_raw.size(); }
    const QByteArray &raw(qsizetype index) const { return m_raw.at(index); }
    const QList<QByteArray> &rawNames() const { return m_raw; }
    const QStringList &displayNames() const { return m_display; }
    int error() const { return m_error; }

private:
    QList<QByteArray> m_raw;
    QStringList m_display;
    int m_error = 0;
};

} // namespace tolvane
