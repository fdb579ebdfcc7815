#include "installerloader.h"

#include "propertylist.h"
#include "regularfile.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <unistd.h>

namespace vantorel {

namespace {

// The details panel shows the icon at most this large; the full 1024-point rendition would
// only cost memory.
constexpr int maxIconSide = 256;
// Real .icns files hold a dozen renditions and weigh a few megabytes.
constexpr int maxIconImages = 64;
constexpr qint64 maxIconFileSize = 64 * 1024 * 1024;

QString withoutTrailingSlashes(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

// The URL's last path component, also when the URL ends in a slash ("/x/A.app/" gives "A.app").
QString lastPathComponent(const QUrl &url)
{
    const QString path = withoutTrailingSlashes(url.path(QUrl::FullyDecoded));
    if (path == u"/")
        return path;
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// The largest image in the file (an .icns holds one per size), scaled down to the panel's size.
std::optional<QImage> readLargestImage(QIODevice *file)
{
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    // Single-image formats report 0 images.
    const int count = std::clamp(reader.imageCount(), 1, maxIconImages);
    QImage largest;
    for (int index = 0; index < count; ++index) {
        // The icns reader does not advance on its own after read().
        if (index > 0 && !reader.jumpToImage(index))
            break;
        QImage image = reader.read();
        if (!image.isNull() &&
            qint64(image.width()) * image.height() > qint64(largest.width()) * largest.height())
            largest = std::move(image);
    }
    if (largest.isNull())
        return std::nullopt;
    if (largest.width() > maxIconSide || largest.height() > maxIconSide)
        largest =
            largest.scaled(maxIconSide, maxIconSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return largest;
}

// The bundle's own icon: CFBundleIconFile names a file in Contents/Resources, usually without
// its ".icns" extension.
std::optional<QImage> readBundleIcon(const QString &bundlePath,
                                     const std::optional<QString> &iconFile)
{
    // A file name only: the property list must not point the reader outside the bundle.
    if (!iconFile || iconFile->isEmpty() || iconFile->contains(u'/') || iconFile->contains(QChar()))
        return std::nullopt;

    const QString resources = bundlePath + QStringLiteral("/Contents/Resources/");
    QStringList candidates;
    if (!iconFile->endsWith(QLatin1String(".icns"), Qt::CaseInsensitive))
        candidates.append(resources + *iconFile + QStringLiteral(".icns"));
    candidates.append(resources + *iconFile);

    for (const QString &candidate : std::as_const(candidates)) {
        // Regular files only: a pipe or device would block or never end.
        const int fd = openRegularFile(candidate);
        if (fd < 0)
            continue;
        QFile file;
        if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            continue;
        }
        if (file.size() > maxIconFileSize)
            continue;
        if (auto icon = readLargestImage(&file))
            return icon;
    }
    return std::nullopt;
}

} // namespace

InstallerInfo readInstallerInfo(const QUrl &bundleUrl)
{
    const auto plistReadError = [] {
        return Error::application(1, QStringLiteral("Could not read Info.plist"));
    };
    // Only local bundles can be read; anything else has no readable Info.plist.
    if (!bundleUrl.isLocalFile())
        throw plistReadError();
    const QString bundlePath = withoutTrailingSlashes(bundleUrl.toLocalFile());
    if (bundlePath.isEmpty())
        throw plistReadError();

    const auto plist = PropertyList::read(bundlePath + QStringLiteral("/Contents/Info.plist"));
    if (!plist)
        throw plistReadError();

    const QString fileName = lastPathComponent(bundleUrl);
    const auto displayName = plist->string("CFBundleDisplayName");
    const auto bundleName = plist->string("CFBundleName");

    InstallerInfo info;
    info.path = bundleUrl;
    info.name = displayName ? *displayName : bundleName.value_or(fileName);
    info.version = plist->string("CFBundleShortVersionString").value_or(QStringLiteral("Unknown"));
    info.buildNumber = plist->string("DTPlatformBuild").value_or(QStringLiteral("Unknown"));
    info.macOSVersion = plist->string("DTPlatformVersion").value_or(fileName);
    info.size = calculateDirectorySize(bundlePath);
    info.icon = readBundleIcon(bundlePath, plist->string("CFBundleIconFile"));
    info.name.remove(QLatin1String(".app"));
    return info;
}

} // namespace vantorel
