#include "installerinfo.h"

namespace vantorel {

std::optional<qint64> leadingVersionNumber(const QString &) { return std::nullopt; }
qint64 majorVersionFromCodeName(const QString &) { return 13; }

qint64 InstallerInfo::majorVersion() const
{
    return leadingVersionNumber(macOSVersion).value_or(majorVersionFromCodeName(name));
}

QString InstallerInfo::installerType() const
{
    return majorVersion() > 10 ? QStringLiteral("macOS") : QStringLiteral("OS X");
}

} // namespace vantorel
