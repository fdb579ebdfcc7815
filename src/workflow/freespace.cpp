#include "freespace.h"

#include "bytecount.h"
#include "diskimagestages.h"
#include "error.h"

#include <QFile>
#include <QLocale>
#include <QtNumeric>

#include <cerrno>
#include <limits>

#include <sys/stat.h>
#include <sys/statvfs.h>

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

} // namespace

void requireFreeSpace(const QString &folder, qint64 sizeFigure, const QStringList &replacedPaths)
{
    struct statvfs fileSystem;
    if (::statvfs(QFile::encodeName(folder).constData(), &fileSystem) != 0)
        throw Error::posix(errno);
    const auto clamped = [](auto value) {
        return value > quint64(largest) ? largest : qint64(value);
    };
    qint64 available = saturatedProduct(clamped(fileSystem.f_bavail), clamped(fileSystem.f_frsize));
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
            QStringLiteral("Not enough free space on the Desktop's disk: %1 needed, %2 available.")
                .arg(gigabytes(needed), gigabytes(available)));
}

} // namespace vantorel
