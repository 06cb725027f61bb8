// The Exif reader, a module of its own: the library behind it is large, and a run that never
// orders photos by their dates taken does not load it.
#include <QDateTime>
#include <algorithm>
#include <ctime>
#include <exiv2/exiv2.hpp>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tolvane {
namespace {

using Bytes = std::vector<unsigned char>;

// An Exif segment holds at most 64 KiB; camera files put theirs first, after at most a few
// small segments. A TIFF keeps its first directories near its start.
constexpr off_t HeaderLimit = 1 << 20;
constexpr int SegmentLimit = 64;
constexpr size_t TiffPrefix = 1 << 20;
// Read at once: the headers of most photos, in one call instead of one a segment.
constexpr size_t HeadSize = 4096;

class File
{
public:
    File(int folderFd, const char *name)
        // Links are followed as the listing follows them; a fifo or device must not block us.
        : m_fd(::openat(folderFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY))
    {
        struct stat st;
        if (m_fd >= 0 && (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))) {
            ::close(m_fd);
            m_fd = -1;
        }
        if (m_fd >= 0)
            m_head = readFile(0, HeadSize);
    }
    ~File()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    File(const File &) = delete;
    File &operator=(const File &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // Up to `size` bytes at `offset`; fewer at the end of the file.
    Bytes read(off_t offset, size_t size) const
    {
        const auto start = size_t(offset);
        if (start + size <= m_head.size() || m_head.size() < HeadSize) {
            const size_t from = std::min(start, m_head.size());
            const size_t to = std::min(start + size, m_head.size());
            return Bytes(m_head.begin() + qsizetype(from), m_head.begin() + qsizetype(to));
        }
        return readFile(offset, size);
    }

private:
    Bytes readFile(off_t offset, size_t size) const
    {
        Bytes bytes(size);
        size_t got = 0;
        while (got < size) {
            const ssize_t n = ::pread(m_fd, bytes.data() + got, size - got, offset + off_t(got));
            if (n <= 0)
                break;
            got += size_t(n);
        }
        bytes.resize(got);
        return bytes;
    }

    int m_fd;
    Bytes m_head;
};

// The TIFF structure inside a JPEG's Exif segment: the markers are walked up to the image data,
// each segment skipped by its length, so nothing past the headers is read.
Bytes jpegExif(const File &file)
{
    off_t at = 2;
    for (int segment = 0; segment < SegmentLimit && at < HeaderLimit; ++segment) {
        const Bytes head = file.read(at, 4);
        if (head.size() < 4 || head[0] != 0xff)
            return {};
        const unsigned char marker = head[1];
        if (marker == 0xd9 || marker == 0xda) // end of image, start of the image data
            return {};
        if (marker == 0xff) { // fill byte
            ++at;
            continue;
        }
        if ((marker >= 0xd0 && marker <= 0xd7) || marker == 0x01) { // no length
            at += 2;
            continue;
        }
        const size_t length = size_t(head[2]) << 8 | head[3];
        if (length < 2)
            return {};
        if (marker == 0xe1) {
            Bytes payload = file.read(at + 4, length - 2);
            static constexpr unsigned char exif[] = {'E', 'x', 'i', 'f', 0, 0};
            if (payload.size() > sizeof exif &&
                std::equal(exif, exif + sizeof exif, payload.begin())) {
                payload.erase(payload.begin(), payload.begin() + sizeof exif);
                return payload;
            }
        }
        at += off_t(2 + length);
    }
    return {};
}

Bytes tiffStructure(const File &file)
{
    const Bytes magic = file.read(0, 4);
    if (magic.size() < 4)
        return {};
    if (magic[0] == 0xff && magic[1] == 0xd8)
        return jpegExif(file);
    const bool intel = magic == Bytes{'I', 'I', 0x2a, 0};
    const bool motorola = magic == Bytes{'M', 'M', 0, 0x2a};
    if (intel || motorola)
        return file.read(0, TiffPrefix);
    return {};
}

// "YYYY:MM:DD HH:MM:SS" in local time; cameras without a clock write zeros or blanks. Parsed by
// hand: Qt's date parser costs more than reading the file.
std::optional<qint64> parseDate(const std::string &text)
{
    static constexpr char shape[] = "dddd:dd:dd dd:dd:dd";
    if (text.size() < sizeof shape - 1)
        return std::nullopt;
    for (size_t i = 0; i < sizeof shape - 1; ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == 'd' ? !digit : text[i] != shape[i])
            return std::nullopt;
    }
    const auto number = [&text](size_t at, size_t length) {
        int value = 0;
        for (size_t i = at; i < at + length; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    std::tm fields{};
    fields.tm_year = number(0, 4);
    fields.tm_mon = number(5, 2);
    fields.tm_mday = number(8, 2);
    fields.tm_hour = number(11, 2);
    fields.tm_min = number(14, 2);
    fields.tm_sec = number(17, 2);
    if (!QDate::isValid(fields.tm_year, fields.tm_mon, fields.tm_mday) ||
        !QTime::isValid(fields.tm_hour, fields.tm_min, fields.tm_sec))
        return std::nullopt;
    fields.tm_year -= 1900;
    fields.tm_mon -= 1;
    fields.tm_isdst = -1; // as the clock showed it, summer time or not
    return qint64(std::mktime(&fields));
}

std::optional<qint64> takenAt(int folderFd, const char *name)
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); });
    const File file(folderFd, name);
    if (!file.isOpen())
        return std::nullopt;
    const Bytes tiff = tiffStructure(file);
    if (tiff.size() < 8)
        return std::nullopt;
    try {
        Exiv2::ExifData exif;
        // The buffer is at most 1 MiB, so its size fits either release's size type.
        Exiv2::ExifParser::decode(exif, tiff.data(), static_cast<uint32_t>(tiff.size()));
        static const Exiv2::ExifKey original("Exif.Photo.DateTimeOriginal");
        const auto found = exif.findKey(original);
        if (found == exif.end())
            return std::nullopt;
        return parseDate(found->toString());
    } catch (...) {
        // Whatever a damaged file makes the library throw, it only means "no date".
        return std::nullopt;
    }
}

} // namespace
} // namespace tolvane

// What platform/photodate.cpp finds in the module: 1 and the seconds when the photo has a date
// taken, else 0.
extern "C" __attribute__((visibility("default"))) int
tolvane_photo_taken(int folderFd, const char *name, long long *seconds)
{
    const std::optional<qint64> taken = tolvane::takenAt(folderFd, name);
    if (!taken)
        return 0;
    *seconds = *taken;
    return 1;
}
