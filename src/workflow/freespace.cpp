#include "freespace.h"

#include "bytecount.h"
#include "diskimagestages.h"
#include "error.h"

#include <QFile>
#include <QLocale>
#include <QtNumeric>

#include <cerrno>
#include <limits>
#include <optional>

#include <sys/stat.h>
#include <sys/statvfs.h>

#ifdef Q_OS_MACOS
#include <CoreFoundation/CoreFoundation.h>
#endif

namespace vantorel {

namespace {

constexpr qint64 largest = std::numeric_limits<qint64>::max();

// Products and sums that leave 64 bits stay at the largest count: still more than any disk.
qint64 saturatedProduct(qint64 a, qint64 b)
{
    qint64 result;
    return qMulOverflow(a, b, &result) ? largest : result;
}

qint64 saturatedSum(qint64 a, qint64 b)
{
    qint64 result;
    return qAddOverflow(a, b, &result) ? largest : result;
}

QString gigabytes(qint64 bytes)
{
    return gigabyteFigure(bytes, QLocale()) + QLatin1String(" GB");
}

#ifdef Q_OS_MACOS
// On APFS, statvfs leaves out purgeable space (caches, local snapshots) that the system frees
// when a file needs it and that Finder counts as available; this is the figure Finder shows.
std::optional<qint64> availableForImportantUsage(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    const CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        kCFAllocatorDefault, reinterpret_cast<const UInt8 *>(path.constData()), path.size(), true);
    if (!url)
        return std::nullopt;
    CFTypeRef value = nullptr;
    std::optional<qint64> available;
    SInt64 bytes = 0;
    if (CFURLCopyResourcePropertyForKey(url, kCFURLVolumeAvailableCapacityForImportantUsageKey,
                                        &value, nullptr) &&
        value && CFGetTypeID(value) == CFNumberGetTypeID() &&
        CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt64Type, &bytes) &&
        bytes >= 0)
        available = bytes;
    if (value)
        CFRelease(value);
    CFRelease(url);
    return available;
}
#endif

} // namespace

void requireFreeSpace(const QString &folder, qint64 sizeFigure, const QStringList &replacedPaths,
                      bool isDesktop)
{
    struct statvfs fileSystem;
    if (::statvfs(QFile::encodeName(folder).constData(), &fileSystem) != 0)
        throw Error::posix(errno);
    const auto clamped = [](auto value) {
        return value > quint64(largest) ? largest : qint64(value);
    };
    qint64 available = saturatedProduct(clamped(fileSystem.f_bavail), clamped(fileSystem.f_frsize));
#ifdef Q_OS_MACOS
    // The larger figure: a volume that does not answer for important usage keeps statvfs's.
    if (const auto important = availableForImportantUsage(folder))
        available = qMax(available, *important);
#endif
    // Only a regular file gives its room back: a link's target stays where it is.
    for (const QString &path : replacedPaths) {
        struct stat status;
        if (::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode))
            available = saturatedSum(available, status.st_size);
    }

    // The disk image, then the ISO converted from it, each of the full size.
    const qint64 needed =
        saturatedProduct(saturatedProduct(qMax(sizeFigure, qint64(0)), 1'000'000), 2);
    if (needed > available)
        // The available figure includes the replaced files, so that the two figures compare.
        throw Error::application(
            stageerror::notEnoughSpace,
            isDesktop ? QStringLiteral("Not enough free space on the Desktop's disk: %1 needed, "
                                       "%2 available.")
                            .arg(gigabytes(needed), gigabytes(available))
                      : QStringLiteral("Not enough free space on the disk of \u201C%1\u201D: %2 "
                                       "needed, %3 available.")
                            .arg(folder, gigabytes(needed), gigabytes(available)));
}

void requireFileSizeRoom(const QString &folder, qint64 sizeFigure, long fileSizeBits)
{
    if (fileSizeBits < 0 || fileSizeBits >= 64)
        return;
    // The largest size such a file system keeps: FAT's 32 bits give 4 GiB less a byte.
    const quint64 largestFile = (quint64(1) << fileSizeBits) - 1;
    if (quint64(saturatedProduct(qMax(sizeFigure, qint64(0)), 1'000'000)) <= largestFile)
        return;
    throw Error::application(
        stageerror::fileTooLarge,
        QStringLiteral("\u201C%1\u201D is on a disk that cannot hold files over %2 GB. Choose a "
                       "folder on another disk.")
            .arg(folder, QString::number((largestFile + 1) >> 30)));
}

} // namespace vantorel
