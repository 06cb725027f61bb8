#include "platform/mountplace.h"

#include <QFile>
#include <blkid/blkid.h>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

namespace tolvane {
namespace {

struct MountLine
{
    int id = 0;
    QByteArray device; // "major:minor"
    MountPlace place;
    QByteArray source;
    QByteArray superOptions;
};

// mountinfo writes spaces, tabs, newlines and backslashes in paths as octal escapes.
QByteArray unescaped(const QByteArray &field)
{
    if (!field.contains('\\'))
        return field;
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        bool octal = false;
        const int code = i + 3 < field.size() ? field.mid(i + 1, 3).toInt(&octal, 8) : 0;
        if (field[i] == '\\' && octal) {
            out += char(code);
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

QList<MountLine> mountLines()
{
    QList<MountLine> lines;
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &text : file.readAll().split('\n')) {
        const QList<QByteArray> fields = text.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (dash < 6 || fields.size() < dash + 3)
            continue;
        MountLine line;
        line.id = fields[0].toInt();
        line.device = fields[2];
        line.place.root = unescaped(fields[3]);
        line.place.mountPoint = unescaped(fields[4]);
        line.place.type = fields[dash + 1];
        line.source = unescaped(fields[dash + 2]);
        line.superOptions = fields.value(dash + 3);
        lines.append(line);
    }
    return lines;
}

struct DeviceTags
{
    QByteArray uuid, label, type;
};

// The names udev gives a device, for users who may not read the device itself.
QByteArray udevName(const char *folder, const QByteArray &device)
{
    const QByteArray path(folder);
    DIR *dir = ::opendir(path.constData());
    if (!dir)
        return {};
    QByteArray found;
    while (const dirent *entry = ::readdir(dir)) {
        char *target = ::realpath((path + '/' + entry->d_name).constData(), nullptr);
        if (target && device == target && entry->d_name[0] != '.')
            found = entry->d_name;
        std::free(target);
    }
    ::closedir(dir);
    return found;
}

// libblkid's calls, opened at the first probe rather than linked: most runs never probe, and
// the library would sit in every run's memory. Without it nothing is probed, as on a device
// that cannot be read.
struct Blkid
{
    decltype(&blkid_new_probe_from_filename) newProbe = nullptr;
    decltype(&blkid_probe_enable_superblocks) enableSuperblocks = nullptr;
    decltype(&blkid_probe_set_superblocks_flags) setSuperblocksFlags = nullptr;
    decltype(&blkid_do_safeprobe) safeProbe = nullptr;
    decltype(&blkid_probe_lookup_value) lookupValue = nullptr;
    decltype(&blkid_free_probe) freeProbe = nullptr;
};

const Blkid *blkid()
{
    static const std::optional<Blkid> calls = []() -> std::optional<Blkid> {
        void *library = ::dlopen("libblkid.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return std::nullopt;
        Blkid found;
        const auto find = [library](auto &call, const char *name) {
            call =
                reinterpret_cast<std::remove_reference_t<decltype(call)>>(::dlsym(library, name));
            return call != nullptr;
        };
        if (find(found.newProbe, "blkid_new_probe_from_filename") &&
            find(found.enableSuperblocks, "blkid_probe_enable_superblocks") &&
            find(found.setSuperblocksFlags, "blkid_probe_set_superblocks_flags") &&
            find(found.safeProbe, "blkid_do_safeprobe") &&
            find(found.lookupValue, "blkid_probe_lookup_value") &&
            find(found.freeProbe, "blkid_free_probe"))
            return found;
        return std::nullopt;
    }();
    return calls ? &*calls : nullptr;
}

DeviceTags probeDevice(const QByteArray &source)
{
    DeviceTags tags;
    char *real = ::realpath(source.constData(), nullptr);
    const QByteArray device = real ? QByteArray(real) : source;
    std::free(real);
    tags.uuid = udevName("/dev/disk/by-uuid", device);
    tags.label = udevName("/dev/disk/by-label", device);
    const Blkid *calls = blkid();
    if (blkid_probe probe = calls ? calls->newProbe(device.constData()) : nullptr) {
        calls->enableSuperblocks(probe, 1);
        calls->setSuperblocksFlags(probe,
                                   BLKID_SUBLKS_UUID | BLKID_SUBLKS_LABEL | BLKID_SUBLKS_TYPE);
        if (calls->safeProbe(probe) == 0) {
            const auto value = [calls, probe](const char *name, QByteArray &into) {
                const char *data = nullptr;
                size_t size = 0;
                if (into.isEmpty() && calls->lookupValue(probe, name, &data, &size) == 0)
                    into = QByteArray(data, qsizetype(size)).chopped(size > 0 ? 1 : 0);
            };
            value("UUID", tags.uuid);
            value("LABEL", tags.label);
            value("TYPE", tags.type);
        }
        calls->freeProbe(probe);
    }
    return tags;
}

DeviceTags tagsOf(const MountLine &line)
{
    // Read anew each time: the next stick in the same slot has the same device name.
    return line.source.startsWith("/dev/") ? probeDevice(line.source) : DeviceTags{};
}

MountPlace placeOf(const MountLine &line)
{
    MountPlace place = line.place;
    const DeviceTags tags = tagsOf(line);
    if (!tags.uuid.isEmpty())
        place.fileSystem = "uuid:" + tags.uuid;
    else if (!tags.label.isEmpty())
        place.fileSystem = "label:" + tags.label;
    else
        place.fileSystem = "source:" + place.type + ':' + line.source;
    if (place.type == "fuseblk" && !tags.type.isEmpty())
        place.type = tags.type;
    static const QList<QByteArray> stable{"ext2", "ext3", "ext4", "btrfs", "xfs", "f2fs", "tmpfs"};
    static const QList<QByteArray> folding{"vfat", "msdos", "exfat", "cifs", "smb3", "smbfs"};
    place.stableInodes = stable.contains(place.type);
    place.foldsCase = folding.contains(place.type) ||
                      (place.type == "ntfs3" && line.superOptions.contains("nocase")) ||
                      place.type.startsWith("fuse.exfat") || place.type.startsWith("fuse.vfat");
    return place;
}

QByteArray joined(const QByteArray &folder, const QByteArray &rest)
{
    if (rest.isEmpty())
        return folder;
    return folder.endsWith('/') ? folder + rest.mid(1) : folder + rest;
}

// rest when path is base or lies under it ("" or "/…"); none otherwise.
std::optional<QByteArray> under(const QByteArray &path, const QByteArray &base)
{
    if (base == "/")
        return path == "/" ? QByteArray() : path;
    if (path == base)
        return QByteArray();
    if (path.startsWith(base) && path[base.size()] == '/')
        return path.mid(base.size());
    return std::nullopt;
}

} // namespace

QByteArray MountPlace::pathOf(const QByteArray &inside) const
{
    const std::optional<QByteArray> rest = under(inside, root);
    return rest ? joined(mountPoint, *rest) : QByteArray();
}

QByteArray MountPlace::insideFileSystem(const QByteArray &path) const
{
    const std::optional<QByteArray> rest = under(path, mountPoint);
    return rest ? joined(root, *rest) : QByteArray();
}

std::optional<MountPlace> mountPlaceOf(int folderFd)
{
    struct statx st = {};
    if (::statx(folderFd, "", AT_EMPTY_PATH, STATX_MNT_ID, &st) != 0)
        return std::nullopt;
    const QByteArray device =
        QByteArray::number(st.stx_dev_major) + ':' + QByteArray::number(st.stx_dev_minor);
    const QList<MountLine> lines = mountLines();
    const MountLine *match = nullptr;
    for (const MountLine &line : lines) {
        if ((st.stx_mask & STATX_MNT_ID) ? line.id == int(st.stx_mnt_id) : line.device == device)
            match = &line;
    }
    return match ? std::optional(placeOf(*match)) : std::nullopt;
}

QList<MountPlace> mountsOf(const QByteArray &fileSystem)
{
    QList<MountPlace> places;
    for (const MountLine &line : mountLines()) {
        // Only mounts that could be the file system are probed.
        const bool device = line.source.startsWith("/dev/");
        if (fileSystem.startsWith("source:") ? !fileSystem.endsWith(':' + line.source) : !device)
            continue;
        if (MountPlace place = placeOf(line); place.fileSystem == fileSystem)
            places.append(place);
    }
    return places;
}

} // namespace tolvane
