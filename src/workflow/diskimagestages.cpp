#include "diskimagestages.h"

#include "applescriptexecutor.h"
#include "commandtexts.h"
#include "error.h"
#include "freespace.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel {

namespace {

QString absolutePath(const QString &path)
{
    return QDir::isRelativePath(path) ? QDir::current().absoluteFilePath(path) : path;
}

// True when anything has this name, a dangling symbolic link included.
bool entryExists(const QString &path)
{
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) == 0)
        return true;
    if (errno == ENOENT || errno == ENOTDIR)
        return false;
    throw Error::posix(errno);
}

// Removes a file or link. A folder is never removed: unlink refuses it with the platform's
// error, so a confirmed "Replace" cannot take a whole directory tree with it.
void removeEntry(const QString &path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0)
        throw Error::posix(errno);
}

// Like the platform's move: the destination must not exist. The test and the rename are one
// step, so a file that appears in between is never overwritten.
void moveEntry(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
#if defined(Q_OS_MACOS)
    if (::renamex_np(source.constData(), target.constData(), RENAME_EXCL) == 0)
        return;
    const bool unsupported = errno == ENOTSUP;
#elif defined(Q_OS_LINUX)
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return;
    const bool unsupported = errno == EINVAL || errno == ENOSYS;
#else
    const bool unsupported = true;
#endif
    if (!unsupported)
        throw Error::posix(errno);
    // A file system without the atomic form: test, then rename.
    if (entryExists(to))
        throw Error::posix(EEXIST);
    if (::rename(source.constData(), target.constData()) != 0)
        throw Error::posix(errno);
}

// A stage may be handed a location on its own: it must still name a file inside a folder.
QString checkedLocation(const QString &location)
{
    const qsizetype slash = location.lastIndexOf(u'/');
    requireUsableFileName(slash < 0 ? location : location.mid(slash + 1));
    return absolutePath(location);
}

} // namespace

bool isUsableFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(u'/') && !name.contains(QChar(u'\0'));
}

void requireUsableFileName(const QString &name)
{
    if (!isUsableFileName(name))
        throw Error::application(
            stageerror::unusableName,
            QStringLiteral("The installer name cannot be used as a file name"));
}

QString joinPath(const QString &folder, const QString &component)
{
    if (folder.endsWith(u'/'))
        return folder + component;
    return folder + u'/' + component;
}

QString diskImageLocation(const QString &folder, const QString &name)
{
    return joinPath(folder, name + QLatin1String(".dmg"));
}

QString isoPathFor(const QString &diskImageLocation)
{
    const qsizetype nameStart = diskImageLocation.lastIndexOf(u'/') + 1;
    const qsizetype dot = diskImageLocation.lastIndexOf(u'.');
    // A dot that opens the file name starts no extension.
    const QString base = dot > nameStart ? diskImageLocation.left(dot) : diskImageLocation;
    return base + QLatin1String(".iso");
}

QString conversionOutputFor(const QString &isoPath)
{
    return isoPath + QLatin1String(".cdr");
}

QString volumePathFor(const QString &volumesRoot, const QString &name)
{
    return joinPath(volumesRoot, name);
}

QString toolPathFor(const QString &installerPath)
{
    return joinPath(installerPath, QStringLiteral("Contents/Resources/createinstallmedia"));
}

DiskImageStages::DiskImageStages(Environment environment, ReplacementRequest requestReplacement)
    : m_environment(std::move(environment))
    , m_requestReplacement(std::move(requestReplacement))
{}

void DiskImageStages::setRun(const CommandCancellation *cancellation, RunLeftovers *leftovers)
{
    m_cancellation = cancellation;
    m_leftovers = leftovers;
}

bool DiskImageStages::run(const QString &script) const
{
    return AppleScriptExecutor::executeAppleScript(script, m_environment.interpreterPath,
                                                   m_cancellation);
}

void DiskImageStages::record(QString RunLeftovers::*item, const QString &path) const
{
    if (m_leftovers)
        m_leftovers->*item = path;
}

QString DiskImageStages::createDMG(const InstallerInfo &installer) const
{
    // Before anything touches the disk: the name becomes a file name and a volume name.
    requireUsableFileName(installer.name);
    const QString &output = m_environment.outputFolder.isEmpty() ? m_environment.desktopFolder
                                                                 : m_environment.outputFolder;
    if (output.isEmpty())
        throw Error(posixErrorDomain(), ENOENT,
                    QStringLiteral("The Desktop folder could not be found"));

    const QString folder = absolutePath(output);
    const QString location = diskImageLocation(folder, installer.name);
    const QString isoPath = isoPathFor(location), leftover = conversionOutputFor(isoPath);
    // Refuse now a run that would fail later: a disk that fills up, or one whose file system
    // cannot hold a file the size of the disk image. The files it replaces count as room.
    const qint64 sizeFigure = commandtexts::sizeFigure(installer.size);
    requireFreeSpace(folder, sizeFigure, {location, isoPath, leftover},
                     output == m_environment.desktopFolder);
    if (m_environment.fileSizeBits)
        requireFileSizeRoom(folder, sizeFigure, m_environment.fileSizeBits(folder));
    // The conversion output of a run that was cut short is asked about now, like the disk image:
    // the convert command refuses to overwrite it, and would fail only after the long install.
    QStringList replaced;
    for (const QString &path : {location, leftover}) {
        if (!entryExists(path))
            continue;
        if (!m_requestReplacement(path))
            throw Error::application(stageerror::dmgReplaceDeclined,
                                     QStringLiteral("Operation cancelled by user"));
        replaced << path;
    }
    for (const QString &path : std::as_const(replaced))
        removeEntry(path);
    record(&RunLeftovers::diskImage, location);
    if (!run(commandtexts::createCommand(installer.size, installer.name, location)))
        throw Error::application(stageerror::createFailed,
                                 QStringLiteral("Failed to create DMG file"));
    return location;
}

void DiskImageStages::makeBootable(const QString &location, const InstallerInfo &installer) const
{
    requireUsableFileName(installer.name);
    const QString image = checkedLocation(location);
    const QString volumePath = volumePathFor(m_environment.volumesRoot, installer.name);

    // createinstallmedia erases whatever is mounted there and the eject is forced: a volume we
    // did not attach must never be the target.
    if (entryExists(volumePath))
        throw Error::application(
            stageerror::volumeInUse,
            QStringLiteral("A volume named '%1' is already mounted. Eject it and try again.")
                .arg(installer.name));

    record(&RunLeftovers::volume, volumePath);
    if (!run(commandtexts::attachCommand(image)))
        throw Error::application(stageerror::attachFailed, QStringLiteral("Failed to mount DMG"));

    const QString installerPath = installer.path.toLocalFile();
    // The record's own version: the selection may have changed since the run began.
    const bool installed = run(commandtexts::installMediaCommand(
        toolPathFor(installerPath), installerPath, volumePath, installer.majorVersion()));
    // The eject's own flag means nothing; only its thrown error counts.
    run(commandtexts::ejectCommand(volumePath));
    record(&RunLeftovers::volume, {});
    if (!installed)
        throw Error::application(stageerror::installMediaFailed,
                                 QStringLiteral("Failed to make DMG bootable"));
}

QString DiskImageStages::convertToISO(const QString &location) const
{
    const QString image = checkedLocation(location);
    const QString isoPath = isoPathFor(image);
    if (entryExists(isoPath)) {
        if (!m_requestReplacement(isoPath))
            throw Error::application(stageerror::isoReplaceDeclined,
                                     QStringLiteral("Operation cancelled by user"));
        removeEntry(isoPath);
    }
    record(&RunLeftovers::conversionOutput, conversionOutputFor(isoPath));
    if (!run(commandtexts::convertCommand(image, isoPath)))
        throw Error::application(stageerror::convertFailed,
                                 QStringLiteral("Failed to convert DMG to ISO"));
    moveEntry(conversionOutputFor(isoPath), isoPath);
    record(&RunLeftovers::conversionOutput, {});
    record(&RunLeftovers::iso, isoPath);
    return isoPath;
}

bool DiskImageStages::cleanup(const QString &location) const
{
    const bool deleted = run(commandtexts::deleteCommand(checkedLocation(location)));
    record(&RunLeftovers::diskImage, {});
    return deleted;
}

QString DiskImageStages::rollBack(const RunLeftovers &leftovers, bool stopped) const
{
    QStringList leftBehind;
    bool undone = false;
    const auto undo = [&](const QString &path, const QString &script) {
        if (path.isEmpty())
            return;
        try {
            if (!entryExists(path))
                return;
            undone = true;
            // Never cancelled: this is what a stop is waiting for.
            AppleScriptExecutor::executeAppleScript(script, m_environment.interpreterPath);
        } catch (const Error &error) {
            leftBehind << QStringLiteral("Left behind: \u201C%1\u201D (%2).")
                              .arg(path, error.localizedDescription().section(u'\n', 0, 0));
        }
    };
    // The volume first: the disk image stays busy while it is attached, and an install-media
    // command running as root, which no signal of ours reaches, ends when its volume goes.
    undo(leftovers.volume, commandtexts::ejectCommand(leftovers.volume));
    for (const QString &file :
         {leftovers.conversionOutput, leftovers.diskImage, stopped ? leftovers.iso : QString()})
        undo(file, commandtexts::deleteCommand(file));
    if (!leftBehind.isEmpty())
        return leftBehind.join(u'\n');
    return undone ? QStringLiteral("The temporary files were removed.") : QString();
}

} // namespace vantorel
