#pragma once

#include <QString>

#include <functional>

namespace vantorel {

// Where a run meets the machine. Empty members take the platform defaults.
struct Environment
{
    QString interpreterPath;   // default: AppleScriptExecutor::defaultInterpreterPath()
    QString desktopFolder;     // default: the user's Desktop folder
    QString volumesRoot;       // default: "/Volumes"
    QString outputFolder = {}; // where a run writes its files; default: the Desktop folder
    // The bits a file's size may take in a folder's file system (pathconf's _PC_FILESIZEBITS:
    // 32 on FAT), or -1 when it does not say; default: ask the file system.
    std::function<long(const QString &folder)> fileSizeBits = {};
};

// Empty members replaced by the platform defaults. Safe on any thread.
Environment resolvedEnvironment(const Environment &given);
// Only the Desktop folder of that: what the window needs without the rest.
QString resolvedDesktopFolder(const Environment &given);

} // namespace vantorel
