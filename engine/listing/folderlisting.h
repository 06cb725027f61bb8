#pragma once

#include "engine/listing/listorder.h"
#include "engine/listing/typefilter.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

namespace tolvane {

// The entries of one folder in list order: regular files or subfolders, hidden (dot) names left
// out, and names the filter does not list. Names are the raw bytes readdir gave, kept back to back
// in one buffer so that a folder of a million files costs little more than its names; display forms
// are made when asked for. Reading needs no display, so the file list and its benchmark use the
// same code. Copies share the buffer.
class FolderListing
{
public:
    enum class Kind { Files, Folders };

    FolderListing() = default;
    // Reads and sorts; a folder that cannot be opened gives an empty listing and its errno. The
    // taken order reads dates through `dates` (see listOrder).
    static FolderListing read(const QByteArray &folder, Kind kind, const ListOrder &order = {},
                              const TypeFilter &filter = {}, TakenDates *dates = nullptr);
    // The same through a folder already open, which stays open.
    static FolderListing read(int folderFd, Kind kind, const ListOrder &order = {},
                              const TypeFilter &filter = {}, TakenDates *dates = nullptr);

    qsizetype count() const { return m_ends.size(); }
    QByteArrayView rawView(qsizetype index) const;
    QByteArray raw(qsizetype index) const { return rawView(index).toByteArray(); }
    QString display(qsizetype index) const;
    // All names in list order, made on each call.
    QList<QByteArray> rawNames() const;
    QStringList displayNames() const;
    int error() const { return m_error; }
    // Under the taken order: the entry holds no date taken and is ordered by its modification
    // time instead.
    bool undated(qsizetype index) const { return !m_undated.isEmpty() && m_undated.at(index); }

private:
    QByteArray m_names;
    // Where each name ends in m_names; the next one starts there.
    QList<qsizetype> m_ends;
    QList<bool> m_undated;
    int m_error = 0;
};

} // namespace tolvane
