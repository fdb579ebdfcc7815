#include "installerviewmodel.h"

namespace vantorel {

// Placeholder until the workflow lands.
void InstallerViewModel::selectInstaller() {}
void InstallerViewModel::createISO() {}
bool InstallerViewModel::requestReplacement(const QString &) { return false; }

} // namespace vantorel
