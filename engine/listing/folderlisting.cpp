#include "engine/listing/folderlisting.h"

#include "platform/rawname.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <vector>

namespace tolvane {
namespace {

constexpr qsizetype TrimThreshold = 4096;

// d_type saves a stat per entry; links and file systems without d_type are asked directly,
// following links as a file manager does.
bool isKind(DIR *dir, const dirent *entry, FolderListing::Kind kind)
{
    const bool wantFolder = kind == FolderListing::Kind::Folders;
    switch (entry->d_type) {
    case DT_REG:
        return !wantFolder;
    case DT_DIR:
        return wantFolder;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0)
            return false;
        return wantFolder ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
    }
    default:
        return false;
    }
}

} // namespace

FolderListing FolderListing::read(const QByteArray &folder, Kind kind, const ListOrder &order,
                                  const TypeFilter &filter, TakenDates *dates)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        FolderListing listing;
        listing.m_error = errno;
        return listing;
    }
    FolderListing listing = read(fd, kind, order, filter, dates);
    ::close(fd);
    return listing;
}

FolderListing FolderListing::read(int folderFd, Kind kind, const ListOrder &order,
                                  const TypeFilter &filter, TakenDates *dates)
{
    FolderListing listing;
    // A descriptor of its own: closing the listing must not close the caller's.
    const int own = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = own < 0 ? nullptr : ::fdopendir(own);
    if (!dir) {
        listing.m_error = errno;
        if (own >= 0)
            ::close(own);
        return listing;
    }
    {
        QByteArray names;
        std::vector<qsizetype> ends;
        while (const dirent *entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.' || !filter.matches(entry->d_name) ||
                !isKind(dir, entry, kind))
                continue;
            names.append(entry->d_name);
            ends.push_back(names.size());
        }
        ::closedir(dir);
        // Views point into the buffer only once it has stopped growing.
        std::vector<QByteArrayView> found;
        found.reserve(ends.size());
        for (size_t i = 0; i < ends.size(); ++i) {
            const qsizetype start = i == 0 ? 0 : ends[i - 1];
            found.emplace_back(names.constData() + start, ends[i] - start);
        }
        ends = {};

        const OrderedNames sorted = listOrder(folderFd, found, order, dates);
        listing.m_names.reserve(names.size());
        listing.m_ends.reserve(qsizetype(sorted.indexes.size()));
        for (const qsizetype index : sorted.indexes) {
            listing.m_names.append(found[index]);
            listing.m_ends.append(listing.m_names.size());
            if (!sorted.undated.empty())
                listing.m_undated.append(sorted.undated[size_t(index)]);
        }
    }
    // Reading and ordering a big folder leave megabytes of freed blocks, partly in the sorting
    // threads' heaps; hand those pages back rather than keep them for the list's lifetime.
    if (listing.count() >= TrimThreshold)
        ::malloc_trim(0);
    return listing;
}

QByteArrayView FolderListing::rawView(qsizetype index) const
{
    const qsizetype start = index == 0 ? 0 : m_ends.at(index - 1);
    return QByteArrayView(m_names.constData() + start, m_ends.at(index) - start);
}

QString FolderListing::display(qsizetype index) const
{
    const QByteArrayView name = rawView(index);
    return displayName(QByteArray::fromRawData(name.data(), name.size()));
}

QList<QByteArray> FolderListing::rawNames() const
{
    QList<QByteArray> names;
    names.reserve(count());
    for (qsizetype i = 0; i < count(); ++i)
        names.append(raw(i));
    return names;
}

QStringList FolderListing::displayNames() const
{
    QStringList names;
    names.reserve(count());
    for (qsizetype i = 0; i < count(); ++i)
        names.append(display(i));
    return names;
}

} // namespace tolvane
