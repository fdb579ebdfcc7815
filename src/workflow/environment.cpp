#include "environment.h"

#include "applescriptexecutor.h"

#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

namespace vantorel {

QString resolvedDesktopFolder(const Environment &given)
{
    return given.desktopFolder.isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
               : given.desktopFolder;
}

Environment resolvedEnvironment(const Environment &given)
{
    Environment resolved = given;
    if (resolved.interpreterPath.isEmpty())
        resolved.interpreterPath = AppleScriptExecutor::defaultInterpreterPath();
    resolved.desktopFolder = resolvedDesktopFolder(given);
    if (resolved.volumesRoot.isEmpty())
        resolved.volumesRoot = QStringLiteral("/Volumes");
    if (resolved.outputFolder.isEmpty())
        resolved.outputFolder = resolved.desktopFolder;
    if (!resolved.fileSizeBits) {
        resolved.fileSizeBits = [](const QString &folder) {
            return ::pathconf(QFile::encodeName(folder).constData(), _PC_FILESIZEBITS);
        };
    }
    return resolved;
}

} // namespace vantorel
