#include "isoverification.h"

#include "propertylist.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>
#include <QtEndian>
#include <QtNumeric>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(Q_OS_MACOS)
#include <sys/disk.h>
#elif defined(Q_OS_LINUX)
#include <linux/fs.h>
#endif

namespace vantorel {

namespace {

constexpr quint64 sectorSize = 512; // GUID partition tables address 512-byte sectors
constexpr quint64 volumeHeaderOffset = 1024;
constexpr quint64 volumeHeaderSize = 512;
// Caps that keep a crafted map from making us read much: real maps are far smaller.
constexpr quint64 maximumGptEntryBytes = 1024 * 1024;
constexpr quint32 maximumApmEntries = 256;
constexpr quint64 apmEntrySize = 80;
// About the catalog of a volume with 100,000 files; an installer's volume holds far fewer.
constexpr quint64 catalogScanLimit = 32 * 1024 * 1024;
// Info.plist files are a few KiB.
constexpr quint64 maximumInfoPlistSize = 1024 * 1024;
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
    throw Stop{{IsoVerdict::Outcome::notVerified, {}, {}, QString::fromLatin1(reason)}};
}

[[noreturn]] void noVolume()
{
    notVerified("no HFS+ volume found");
}

IsoVerdict unreadableVerdict(int errnum)
{
    return {IsoVerdict::Outcome::unreadable,
            {},
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
quint64 be64(const QByteArray &data, qsizetype at)
{
    Q_ASSERT(at >= 0 && at + 8 <= data.size());
    return qFromBigEndian<quint64>(data.constData() + at);
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
        // HFSX (case-sensitive HFS+) volumes are typed as such; their headers pass below.
        const char *type = entry->constData() + 48;
        if (qstrncmp(type, "Apple_HFS", 32) == 0 || qstrncmp(type, "Apple_HFSX", 32) == 0)
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

// Where the volume's allocation blocks lie in the image.
struct Volume
{
    quint64 offset, blockSize, totalBlocks;
};

// A fork (the catalog file's, a file's data fork) as its 80-byte record lists it: its size,
// then its first eight extents. Later extents sit in the extents overflow file, not read here.
class Fork
{
public:
    Fork(const QByteArray &fork, const Volume &volume)
        : m_fork(fork)
        , m_volume(volume)
    {
        Q_ASSERT(fork.size() == 80);
    }

    quint64 size() const { return be64(m_fork, 0); }

    // length bytes from logical on, gathered across the extents; nothing when they run past the
    // eight extents or an extent lies outside the volume.
    std::optional<QByteArray> read(const Image &image, quint64 logical, quint64 length) const
    {
        QByteArray data;
        for (qsizetype extent = 0; extent < 8 && quint64(data.size()) < length; ++extent) {
            const quint64 startBlock = be32(m_fork, 16 + 8 * extent);
            const quint64 blockCount = be32(m_fork, 20 + 8 * extent);
            if (startBlock + blockCount > m_volume.totalBlocks)
                return std::nullopt;
            const quint64 extentBytes = blockCount * m_volume.blockSize;
            if (logical >= extentBytes) {
                logical -= extentBytes;
                continue;
            }
            const quint64 piece = std::min(extentBytes - logical, length - quint64(data.size()));
            const auto bytes =
                image.bytes(m_volume.offset + startBlock * m_volume.blockSize + logical, piece);
            if (!bytes || (data.isEmpty() && piece == length))
                return bytes;
            data += *bytes;
            logical = 0;
        }
        if (quint64(data.size()) < length)
            return std::nullopt;
        return data;
    }

private:
    QByteArray m_fork;
    Volume m_volume;
};

// What the scan of the catalog's leaves keeps: the records that place the installer and the
// blessed folder and file, nothing else.
struct CatalogScan
{
    QString volumeName;
    QList<std::pair<quint32, QString>> apps; // folders at the root named "*.app": ID, name
    QHash<quint32, quint32> contents;        // folder ID -> ID of its folder named "Contents"
    QHash<quint32, quint32> resources;       // folder ID -> ID of its folder named "Resources"
    QHash<quint32, QByteArray> infoPlists;   // folder ID -> data fork of its "Info.plist"
    QSet<quint32> tools;                     // IDs of folders holding a "createinstallmedia"
    bool systemFolderFound = false, bootFileFound = false;
    bool complete = true; // false when the scan stopped at its limit or the eighth extent
};

// A node name: length UTF-16BE units at `at` in a leaf. Compared unit by unit, without HFS+'s
// case folding: the names looked for are the ones the installer's bundle always carries.
struct NodeName
{
    const QByteArray &leaf;
    qsizetype at, length;

    bool endsWith(std::string_view text) const
    {
        const auto size = qsizetype(text.size());
        if (length < size)
            return false;
        for (qsizetype unit = 0; unit < size; ++unit)
            if (be16(leaf, at + 2 * (length - size + unit)) != uchar(text[std::size_t(unit)]))
                return false;
        return true;
    }
    bool operator==(std::string_view text) const
    {
        return length == qsizetype(text.size()) && endsWith(text);
    }
    QString text() const
    {
        QString name(length, Qt::Uninitialized);
        for (qsizetype unit = 0; unit < length; ++unit)
            name[unit] = QChar(be16(leaf, at + 2 * unit));
        // Stored decomposed; shown as people type it, to compare with the installer's name.
        return name.normalized(QString::NormalizationForm_C);
    }
};

constexpr quint32 rootParentId = 1, rootFolderId = 2;
constexpr quint16 folderRecord = 1, fileRecord = 2;
constexpr qsizetype folderRecordSize = 88, fileRecordSize = 248, dataForkAt = 88;

void scanLeaf(const QByteArray &leaf, bool firstLeaf, quint32 systemFolderId, quint32 bootFileId,
              CatalogScan &scan)
{
    const qsizetype size = leaf.size();
    const qsizetype count = be16(leaf, 10);
    // The node ends in the records' offsets and one more, to its free space.
    const qsizetype recordsEnd = size - 2 * (count + 1);
    if (count == 0 || recordsEnd < 14)
        noVolume();
    for (qsizetype index = 0; index < count; ++index) {
        const qsizetype record = be16(leaf, size - 2 - 2 * index);
        if (record < 14 || record + 8 > recordsEnd)
            noVolume();
        const qsizetype keyLength = be16(leaf, record);
        const quint32 parentId = be32(leaf, record + 2);
        const NodeName name{leaf, record + 8, be16(leaf, record + 6)};
        const qsizetype data = record + 2 + keyLength;
        if (name.length > 255 || keyLength < 6 + 2 * name.length || data + 2 > recordsEnd)
            noVolume();
        // The root folder's record comes first: parent ID 1, named after the volume.
        if (firstLeaf && index == 0) {
            if (parentId != rootParentId)
                noVolume();
            scan.volumeName = name.text();
        }
        const quint16 type = be16(leaf, data);
        if (type != folderRecord && type != fileRecord)
            continue;
        if (data + (type == folderRecord ? folderRecordSize : fileRecordSize) > recordsEnd)
            noVolume();
        const quint32 id = be32(leaf, data + 8);
        if (type == folderRecord) {
            scan.systemFolderFound |= id == systemFolderId;
            if (parentId == rootFolderId && name.endsWith(".app"))
                scan.apps.append({id, name.text()});
            if (name == "Contents")
                scan.contents.insert(parentId, id);
            if (name == "Resources")
                scan.resources.insert(parentId, id);
        } else {
            // The data fork starts with its size.
            scan.bootFileFound |= id == bootFileId && be64(leaf, data + dataForkAt) > 0;
            if (name == "Info.plist")
                scan.infoPlists.insert(parentId, leaf.mid(data + dataForkAt, 80));
            if (name == "createinstallmedia")
                scan.tools.insert(parentId);
        }
    }
}

// Follows the leaf nodes from the first along their forward links. Reads at most
// catalogScanLimit bytes of nodes; past that the scan stops incomplete.
CatalogScan scanCatalog(const Image &image, const Fork &catalog, quint32 systemFolderId,
                        quint32 bootFileId)
{
    const auto headerNode = catalog.read(image, 0, 512);
    // The node descriptor's kind: -1 leaf, 1 header.
    if (!headerNode || qint8(headerNode->at(8)) != 1)
        noVolume();
    const quint32 firstLeaf = be32(*headerNode, 14 + 10);
    const quint64 nodeSize = be16(*headerNode, 14 + 18);
    if (nodeSize < 512 || !isPowerOfTwo(nodeSize) || firstLeaf == 0)
        noVolume();
    CatalogScan scan;
    QSet<quint32> visited;
    quint64 budget = catalogScanLimit;
    for (quint32 node = firstLeaf; node != 0;) {
        // A link back to a node already read: a crafted or broken catalog.
        const qsizetype seen = visited.size();
        if (visited.insert(node); visited.size() == seen)
            noVolume();
        if (nodeSize > budget) {
            scan.complete = false;
            break;
        }
        budget -= nodeSize;
        const auto leaf = catalog.read(image, node * nodeSize, nodeSize);
        if (!leaf && node != firstLeaf) {
            scan.complete = false;
            break;
        }
        if (!leaf || qint8(leaf->at(8)) != -1)
            noVolume();
        scanLeaf(*leaf, node == firstLeaf, systemFolderId, bootFileId, scan);
        node = be32(*leaf, 0);
    }
    return scan;
}

// The installer: a folder at the root named "*.app" holding Contents/Info.plist; of several,
// the first that also holds Contents/Resources/createinstallmedia, as the real one does.
std::optional<InstallerOnVolume> findInstaller(const Image &image, const Volume &volume,
                                               const CatalogScan &scan)
{
    if (!scan.complete)
        return std::nullopt;
    const std::pair<quint32, QString> *chosen = nullptr;
    QByteArray infoPlist;
    bool chosenHasTool = false;
    for (const auto &app : scan.apps) {
        const auto contents = scan.contents.constFind(app.first);
        if (contents == scan.contents.cend())
            continue;
        const auto plist = scan.infoPlists.constFind(*contents);
        if (plist == scan.infoPlists.cend())
            continue;
        const bool hasTool = scan.tools.contains(scan.resources.value(*contents));
        if (!chosen || (hasTool && !chosenHasTool)) {
            chosen = &app;
            infoPlist = *plist;
            chosenHasTool = hasTool;
        }
    }
    if (!chosen)
        return std::nullopt;
    const Fork file(infoPlist, volume);
    const auto data =
        file.size() > maximumInfoPlistSize ? std::nullopt : file.read(image, 0, file.size());
    const auto list = data ? PropertyList::fromData(*data) : std::nullopt;
    if (!list)
        return std::nullopt;
    return InstallerOnVolume{chosen->second, list->string("DTPlatformVersion"),
                             list->string("DTPlatformBuild")};
}

QString shown(const std::optional<QString> &value)
{
    return value.value_or(QStringLiteral("Unknown"));
}

IsoVerdict check(const Image &image, const std::optional<ExpectedInstaller> &expected)
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
    const quint32 systemFolderId = be32(*header, 80);
    const quint32 bootFileId = be32(*header, 84);
    const bool blessed = systemFolderId != 0 && bootFileId != 0;
    const Volume volume{partition.offset, blockSize, totalBlocks};
    constexpr qsizetype catalogFork = 272;
    CatalogScan scan;
    IsoVerdict verdict{IsoVerdict::Outcome::verified, {}, {}, {}};
    try {
        scan = scanCatalog(image, Fork(header->mid(catalogFork, 80), volume), systemFolderId,
                           bootFileId);
        verdict.volumeName = scan.volumeName;
        verdict.installer = findInstaller(image, volume, scan);
    } catch (const Stop &) {
        // Of a volume that is not bootable, the name and installer are only told when readable.
        if (blessed)
            throw;
    }
    const auto &found = verdict.installer;
    if (!blessed)
        verdict.reason = QStringLiteral("the volume is not marked bootable");
    // A scan cut short holds nothing it did not reach against the volume.
    else if (scan.complete && !(scan.systemFolderFound && scan.bootFileFound))
        verdict.reason = QStringLiteral("the blessed boot file is missing");
    else if (expected && !found)
        verdict.reason = QStringLiteral("no macOS installer on the volume");
    else if (expected && (shown(found->macOSVersion) != expected->macOSVersion ||
                          shown(found->build) != expected->build))
        verdict.reason = QStringLiteral("the volume holds macOS %1 (%2), not %3 (%4)")
                             .arg(shown(found->macOSVersion), shown(found->build),
                                  expected->macOSVersion, expected->build);
    if (!verdict.reason.isEmpty())
        verdict.outcome = IsoVerdict::Outcome::notVerified;
    return verdict;
}

} // namespace

QString IsoVerdict::line() const
{
    if (outcome != Outcome::verified)
        return QStringLiteral("Not verified: ") + reason + u'.';
    QString text = QStringLiteral("Verified: bootable HFS+ volume \u201C") + volumeName + u'\u201D';
    if (installer)
        text += QStringLiteral(" with macOS %1 (%2)")
                    .arg(shown(installer->macOSVersion), shown(installer->build));
    return text + u'.';
}

IsoVerdict verifyImage(quint64 imageSize, const ImageReadAt &readAt,
                       const std::optional<ExpectedInstaller> &expected)
{
    try {
        return check(Image(imageSize, readAt), expected);
    } catch (const Stop &stop) {
        return stop.verdict;
    } catch (const std::bad_alloc &) {
        return unreadableVerdict(ENOMEM);
    }
}

namespace {

// A disk device's size and block size, from its driver: seeking to the end of a disk gives 0 on
// macOS. Nothing for any other kind of file, or when the driver does not answer.
std::optional<std::pair<quint64, quint64>> diskGeometry(int fd, mode_t mode)
{
#if defined(Q_OS_MACOS)
    // A raw disk (/dev/rdiskN) is a character device.
    if (!S_ISBLK(mode) && !S_ISCHR(mode))
        return std::nullopt;
    uint64_t blockCount = 0;
    uint32_t blockSize = 0;
    quint64 size = 0;
    if (::ioctl(fd, DKIOCGETBLOCKCOUNT, &blockCount) != 0 ||
        ::ioctl(fd, DKIOCGETBLOCKSIZE, &blockSize) != 0 || blockSize == 0 ||
        qMulOverflow(quint64(blockCount), quint64(blockSize), &size))
        return std::nullopt;
    return std::pair{size, quint64(blockSize)};
#elif defined(Q_OS_LINUX)
    uint64_t size = 0;
    if (!S_ISBLK(mode) || ::ioctl(fd, BLKGETSIZE64, &size) != 0)
        return std::nullopt;
    return std::pair{quint64(size), sectorSize};
#else
    Q_UNUSED(fd);
    Q_UNUSED(mode);
    return std::nullopt;
#endif
}

int readFully(int fd, quint64 offset, char *buffer, std::size_t length)
{
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
}

} // namespace

IsoVerdict verifyImageFile(const QString &path, const std::optional<ExpectedInstaller> &expected)
{
    // Non-blocking, so that a named pipe cannot hold the check in open().
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return unreadableVerdict(errno);
    struct stat status;
    quint64 size = 0;
    // Reads go by whole blocks of this size, as a raw disk takes them; files too, so that the
    // same path is used everywhere.
    quint64 blockSize = sectorSize;
    int error = 0;
    if (::fstat(fd, &status) != 0) {
        error = errno;
    } else if (S_ISDIR(status.st_mode)) {
        error = EISDIR;
    } else if (S_ISREG(status.st_mode)) {
        size = quint64(status.st_size);
    } else if (const auto geometry = diskGeometry(fd, status.st_mode)) {
        std::tie(size, blockSize) = *geometry;
    } else if (const off_t end = ::lseek(fd, 0, SEEK_END); end >= 0) {
        size = quint64(end);
    } else {
        error = errno;
    }
    IsoVerdict verdict;
    if (error != 0) {
        verdict = unreadableVerdict(error);
    } else {
        verdict = verifyImage(
            size,
            [fd, size, blockSize](quint64 offset, char *buffer, std::size_t length) {
                const quint64 first = offset / blockSize * blockSize;
                const quint64 end =
                    std::min(size, (offset + length + blockSize - 1) / blockSize * blockSize);
                if (first == offset && end == offset + length)
                    return readFully(fd, offset, buffer, length);
                QByteArray blocks(qsizetype(end - first), Qt::Uninitialized);
                if (const int failed =
                        readFully(fd, first, blocks.data(), std::size_t(end - first)))
                    return failed;
                std::memcpy(buffer, blocks.constData() + (offset - first), length);
                return 0;
            },
            expected);
    }
    ::close(fd);
    return verdict;
}

} // namespace vantorel
