#include "environment.h"

#include "applescriptexecutor.h"

#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

namespace vantorel {

Environment resolvedEnvironment(const Environment &given)
{
    Environment resolved = given;
    if (resolved.interpreterPath.isEmpty())
        resolved.interpreterPath = AppleScriptExecutor::defaultInterpreterPath();
    if (resolved.desktopFolder.isEmpty())
        resolved.desktopFolder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
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
