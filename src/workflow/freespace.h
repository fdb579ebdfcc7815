#pragma once

#include <QString>
#include <QStringList>

namespace vantorel {

// Throws the application's not-enough-space error (code 10) unless the file system that holds
// folder has room for one run: a disk image of sizeFigure megabytes and an ISO of the same size.
// Regular files at replacedPaths count as room, since the run replaces them. A file system that
// cannot be measured throws the platform's error. Looks only; changes nothing.
void requireFreeSpace(const QString &folder, qint64 sizeFigure, const QStringList &replacedPaths);

} // namespace vantorel
