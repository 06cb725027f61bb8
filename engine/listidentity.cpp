#include "engine/listidentity.h"

#include "platform/rawname.h"

#include <QHash>
#include <sys/stat.h>

namespace tolvane {

ListIdentity::Identity ListIdentity::identify(const QByteArray &path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return {};
    return {st.st_dev, st.st_ino, true};
}

ListIdentity ListIdentity::take(const QByteArray &folder, const FolderListing &listing)
{
    ListIdentity snapshot;
    snapshot.m_folder = folder;
    snapshot.m_listing = listing;
    snapshot.m_identities.reserve(listing.count());
    for (const QByteArray &name : listing.rawNames())
        snapshot.m_identities.push_back(identify(joinPath(folder, name)));
    return snapshot;
}

bool ListIdentity::anyChanged(const QStringList &displayNames) const
{
    const QStringList &listedDisplay = m_listing.displayNames();
    if (displayNames.isEmpty())
        return false;
    QHash<QString, qsizetype> indexOf;
    indexOf.reserve(listedDisplay.size());
    for (qsizetype i = 0; i < listedDisplay.size(); ++i)
        indexOf.insert(listedDisplay.at(i), i);
    for (const QString &name : displayNames) {
        const auto found = indexOf.constFind(name);
        if (found == indexOf.constEnd())
            continue;
        if (!(identify(joinPath(m_folder, m_listing.raw(*found))) == m_identities[*found]))
            return true;
    }
    return false;
}

} // namespace tolvane
