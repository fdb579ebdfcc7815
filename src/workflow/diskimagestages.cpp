#include "installerviewmodel.h"

namespace vantorel {

// Placeholder until the workflow lands.
QString InstallerViewModel::createDMG(const InstallerInfo &) { return {}; }
void InstallerViewModel::makeBootable(const QString &, const InstallerInfo &) {}
QString InstallerViewModel::convertToISO(const QString &) { return {}; }
bool InstallerViewModel::cleanup(const QString &) { return true; }

} // namespace vantorel
