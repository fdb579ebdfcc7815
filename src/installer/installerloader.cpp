#include "installerloader.h"

namespace vantorel {

// Placeholder until installer loading lands.
InstallerInfo readInstallerInfo(const QUrl &) { throw Error::application(1, QStringLiteral("Could not read Info.plist")); }
qint64 calculateDirectorySize(const QString &) { return 0; }

} // namespace vantorel
