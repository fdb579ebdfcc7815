#pragma once

#include <QString>

namespace vantorel {

// Where a run meets the machine. Empty members take the platform defaults.
struct Environment
{
    QString interpreterPath; // default: AppleScriptExecutor::defaultInterpreterPath()
    QString desktopFolder;   // default: the user's Desktop folder
    QString volumesRoot;     // default: "/Volumes"
};

// Empty members replaced by the platform defaults. Safe on any thread.
Environment resolvedEnvironment(const Environment &given);

} // namespace vantorel
