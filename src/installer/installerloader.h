#pragma once

#include "error.h"
#include "installerinfo.h"

#include <QString>
#include <QUrl>

namespace vantorel {

// Reads Contents/Info.plist, sizes the bundle and reads its icon. Blocking; runs on a worker
// thread. Throws Error: code 1 "Could not read Info.plist", or the platform error of the walk.
InstallerInfo readInstallerInfo(const QUrl &bundleUrl);

// Sum of the logical sizes of every non-hidden, non-directory entry below directoryPath.
// Symbolic links count with their own length and are never followed; folders that cannot be
// opened are skipped. Throws Error (posix) when directoryPath itself cannot be enumerated or an
// entry's attributes cannot be read.
qint64 calculateDirectorySize(const QString &directoryPath);

} // namespace vantorel
