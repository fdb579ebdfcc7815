#include "isoverification.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>
#include <QtNumeric>

#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel {

namespace {

constexpr quint64 sectorSize = 512; // GUID partition tables address 512-byte sectors
constexpr quint64 volumeHeaderOffset = 1024;
constexpr quint64 volumeHeaderSize = 512;
// Caps that keep a crafted map from making us read much: real maps are far smaller.
constexpr quint64 maximumGptEntryBytes = 1024 * 1024;
constexpr quint32 maximumApmEntries = 256;
constexpr quint64 apmEntrySize = 80;
// Apple HFS+ partition type 48465300-0000-11AA-AA11-00306543ECAC as stored on disk.
constexpr char hfsPlusTypeGuid[] =
    "\x00\x53\x46\x48\x00\x00\xAA\x11\xAA\x11\x00\x30\x65\x43\xEC\xAC";

// Leaves the check with its verdict.
struct Stop
{
    IsoVerdict verdict;
};

[[noreturn]] void notVerified(const char *reason)
{
    throw Stop{{IsoVerdict::Outcome::notVerified, {}, QString::fromLatin1(reason)}};
}

[[noreturn]] void noVolume()
{
    notVerified("no HFS+ volume found");
}

IsoVerdict unreadableVerdict(int errnum)
{
    return {IsoVerdict::Outcome::unreadable,
            {},
            QStringLiteral("the file could not be read: ") +
                QString::fromLocal8Bit(std::strerror(errnum))};
}

[[noreturn]] void unreadable(int errnum)
{
    throw Stop{unreadableVerdict(errnum)};
}

bool isPowerOfTwo(quint64 value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

// a * b, or nothing when it leaves 64 bits.
std::optional<quint64> product(quint64 a, quint64 b)
{
    quint64 result;
    return qMulOverflow(a, b, &result) ? std::nullopt : std::optional(result);
}

// Field readers over a buffer that the caller has sized to hold the field.
quint16 be16(const QByteArray &data, qsizetype at)
{
    Q_ASSERT(at >= 0 && at + 2 <= data.size());
    return qFromBigEndian<quint16>(data.constData() + at);
}
quint32 be32(const QByteArray &data, qsizetype at)
{
    Q_ASSERT(at >= 0 && at + 4 <= data.size());
    return qFromBigEndian<quint32>(data.constData() + at);
}
quint32 le32(const QByteArray &data, qsizetype at)
{
    Q_ASSERT(at >= 0 && at + 4 <= data.size());
    return qFromLittleEndian<quint32>(data.constData() + at);
}
quint64 le64(const QByteArray &data, qsizetype at)
{
    Q_ASSERT(at >= 0 && at + 8 <= data.size());
    return qFromLittleEndian<quint64>(data.constData() + at);
}

class Image
{
public:
    Image(quint64 size, const ImageReadAt &readAt)
        : m_size(size)
        , m_readAt(readAt)
    {}

    quint64 size() const { return m_size; }

    // The bytes at offset, or nothing when they do not all lie inside the image.
    std::optional<QByteArray> bytes(quint64 offset, quint64 length) const
    {
        if (offset > m_size || length > m_size - offset)
            return std::nullopt;
        QByteArray data(qsizetype(length), Qt::Uninitialized);
        if (const int error = m_readAt(offset, data.data(), std::size_t(length)))
            unreadable(error);
        return data;
    }

private:
    quint64 m_size;
    const ImageReadAt &m_readAt;
};

// Where the volume lies. A partition map bounds it; a bare volume is bounded by its own header.
struct Partition
{
    quint64 offset = 0;
    std::optional<quint64> length;
};

Partition gptVolume(const Image &image, const QByteArray &header)
{
    const quint64 entriesSector = le64(header, 72);
    const quint32 count = le32(header, 80);
    const quint32 entrySize = le32(header, 84);
    const auto entriesOffset = product(entriesSector, sectorSize);
    const auto entriesLength = product(count, entrySize);
    if (entrySize < 128 || !entriesOffset || !entriesLength ||
        *entriesLength > maximumGptEntryBytes)
        noVolume();
    const auto entries = image.bytes(*entriesOffset, *entriesLength);
    if (!entries)
        noVolume();
    for (quint32 index = 0; index < count; ++index) {
        const qsizetype at = qsizetype(index) * entrySize;
        if (std::memcmp(entries->constData() + at, hfsPlusTypeGuid, 16) != 0)
            continue;
        const quint64 first = le64(*entries, at + 32);
        const quint64 last = le64(*entries, at + 40);
        const auto offset = product(first, sectorSize);
        const auto length = last < first ? std::nullopt : product(last - first + 1, sectorSize);
        if (!offset || !length)
            noVolume();
        return {*offset, *length};
    }
    noVolume();
}

Partition apmVolume(const Image &image, const QByteArray &block0)
{
    const quint64 blockSize = be16(block0, 2);
    if (blockSize < 512 || !isPowerOfTwo(blockSize))
        noVolume();
    quint32 count = 1;
    for (quint32 index = 1; index <= count; ++index) {
        const auto entry = image.bytes(index * blockSize, apmEntrySize);
        if (!entry || !entry->startsWith("PM"))
            noVolume();
        if (index == 1) {
            count = be32(*entry, 4);
            if (count > maximumApmEntries)
                noVolume();
        }
        if (qstrncmp(entry->constData() + 48, "Apple_HFS", 32) == 0)
            return {be32(*entry, 8) * blockSize, be32(*entry, 12) * blockSize};
    }
    noVolume();
}

Partition findVolume(const Image &image)
{
    const auto start = image.bytes(0, 2 * sectorSize);
    if (start && start->mid(510, 2) == "\x55\xAA" && start->mid(512, 8) == "EFI PART")
        return gptVolume(image, start->mid(512));
    if (start && start->startsWith("ER"))
        return apmVolume(image, *start);
    return {};
}

// The catalog file's extents, as the volume header lists them (the first eight).
class CatalogFile
{
public:
    CatalogFile(const QByteArray &header, quint64 volumeOffset, quint64 blockSize,
                quint64 totalBlocks)
        : m_header(header)
        , m_volumeOffset(volumeOffset)
        , m_blockSize(blockSize)
        , m_totalBlocks(totalBlocks)
    {}

    // The image offset of length bytes at a catalog offset, when they lie in one extent.
    quint64 imageOffset(quint64 logical, quint64 length) const
    {
        constexpr qsizetype catalogFork = 272;
        for (qsizetype extent = 0; extent < 8; ++extent) {
            const quint64 startBlock = be32(m_header, catalogFork + 16 + 8 * extent);
            const quint64 blockCount = be32(m_header, catalogFork + 20 + 8 * extent);
            if (startBlock + blockCount > m_totalBlocks)
                noVolume();
            const quint64 extentBytes = blockCount * m_blockSize;
            if (logical < extentBytes) {
                if (length > extentBytes - logical)
                    noVolume();
                return m_volumeOffset + startBlock * m_blockSize + logical;
            }
            logical -= extentBytes;
        }
        noVolume();
    }

    QByteArray node(const Image &image, quint64 logical, quint64 length, qint8 kind) const
    {
        const auto data = image.bytes(imageOffset(logical, length), length);
        // The node descriptor's kind: -1 leaf, 1 header.
        if (!data || qint8(data->at(8)) != kind)
            noVolume();
        return *data;
    }

private:
    const QByteArray &m_header;
    quint64 m_volumeOffset, m_blockSize, m_totalBlocks;
};

// The root folder's record comes first in the first leaf: parent ID 1, named after the volume.
QString volumeName(const Image &image, const CatalogFile &catalog)
{
    const QByteArray headerNode = catalog.node(image, 0, 512, 1);
    const quint64 firstLeaf = be32(headerNode, 14 + 10);
    const quint64 nodeSize = be16(headerNode, 14 + 18);
    if (nodeSize < 512 || !isPowerOfTwo(nodeSize) || firstLeaf == 0)
        noVolume();
    const QByteArray leaf = catalog.node(image, firstLeaf * nodeSize, nodeSize, -1);
    const qsizetype size = leaf.size();
    const qsizetype record = be16(leaf, size - 2);
    if (be16(leaf, 10) == 0 || record < 14 || record + 8 > size - 2)
        noVolume();
    const quint16 keyLength = be16(leaf, record);
    const quint32 parentId = be32(leaf, record + 2);
    const qsizetype nameLength = be16(leaf, record + 6);
    if (parentId != 1 || nameLength > 255 || keyLength < 6 + 2 * nameLength ||
        record + 8 + 2 * nameLength > size - 2)
        noVolume();
    QString name(nameLength, Qt::Uninitialized);
    for (qsizetype unit = 0; unit < nameLength; ++unit)
        name[unit] = QChar(be16(leaf, record + 8 + 2 * unit));
    // Stored decomposed; shown as people type it, to compare with the installer's name.
    return name.normalized(QString::NormalizationForm_C);
}

IsoVerdict check(const Image &image)
{
    const Partition partition = findVolume(image);
    const auto header = partition.offset > image.size()
                            ? std::nullopt
                            : image.bytes(partition.offset + volumeHeaderOffset, volumeHeaderSize);
    if (!header) {
        // A map that places the volume beyond the end of the file: the file was cut short.
        if (partition.length)
            notVerified("the file is shorter than its volume");
        noVolume();
    }
    const quint16 signature = be16(*header, 0);
    const quint16 version = be16(*header, 2);
    if (!(signature == 0x482B && version == 4) && !(signature == 0x4858 && version == 5))
        noVolume();
    const quint64 blockSize = be32(*header, 40);
    const quint64 totalBlocks = be32(*header, 44);
    const quint64 volumeSize = blockSize * totalBlocks;
    if (blockSize < 512 || !isPowerOfTwo(blockSize) ||
        (partition.length && volumeSize > *partition.length))
        noVolume();
    if (volumeSize > image.size() - partition.offset)
        notVerified("the file is shorter than its volume");
    // Finder info words 0 and 1: the blessed system folder and the blessed boot file.
    if (be32(*header, 80) == 0 || be32(*header, 84) == 0)
        notVerified("the volume is not marked bootable");
    const CatalogFile catalog(*header, partition.offset, blockSize, totalBlocks);
    return {IsoVerdict::Outcome::verified, volumeName(image, catalog), {}};
}

} // namespace

QString IsoVerdict::line() const
{
    if (outcome == Outcome::verified)
        return QStringLiteral("Verified: bootable HFS+ volume \u201C") + volumeName +
               QStringLiteral("\u201D.");
    return QStringLiteral("Not verified: ") + reason + u'.';
}

IsoVerdict verifyImage(quint64 imageSize, const ImageReadAt &readAt)
{
    try {
        return check(Image(imageSize, readAt));
    } catch (const Stop &stop) {
        return stop.verdict;
    } catch (const std::bad_alloc &) {
        return unreadableVerdict(ENOMEM);
    }
}

IsoVerdict verifyImageFile(const QString &path)
{
    // Non-blocking, so that a named pipe cannot hold the check in open().
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return unreadableVerdict(errno);
    struct stat status;
    off_t size = -1;
    int error = 0;
    if (::fstat(fd, &status) != 0)
        error = errno;
    else if (S_ISDIR(status.st_mode))
        error = EISDIR;
    else if (S_ISREG(status.st_mode))
        size = status.st_size;
    // A disk device reports its size only through seeking to its end.
    else if ((size = ::lseek(fd, 0, SEEK_END)) < 0)
        error = errno;
    IsoVerdict verdict;
    if (error != 0) {
        verdict = unreadableVerdict(error);
    } else {
        verdict =
            verifyImage(quint64(size), [fd](quint64 offset, char *buffer, std::size_t length) {
                while (length > 0) {
                    const ssize_t got = ::pread(fd, buffer, length, off_t(offset));
                    if (got < 0 && errno == EINTR)
                        continue;
                    if (got < 0)
                        return errno;
                    if (got == 0)
                        return ENODATA; // the file shrank since it was measured
                    buffer += got;
                    offset += quint64(got);
                    length -= std::size_t(got);
                }
                return 0;
            });
    }
    ::close(fd);
    return verdict;
}

} // namespace vantorel
