#include "environment.h"

#include "applescriptexecutor.h"

#include <QStandardPaths>

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
    return resolved;
}

} // namespace vantorel
