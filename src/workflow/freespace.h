#pragma once

#include <QString>
#include <QStringList>

namespace vantorel {

// Throws the application's not-enough-space error (code 10) unless the file system that holds
// folder has room for one run: a disk image of sizeFigure megabytes and an ISO of the same size.
// Regular files at replacedPaths count as room, since the run replaces them. A file system that
// cannot be measured throws the platform's error. Looks only; changes nothing. The message names
// the Desktop, or else the folder.
void requireFreeSpace(const QString &folder, qint64 sizeFigure, const QStringList &replacedPaths,
                      bool isDesktop = true);

// Throws the application's file-too-large error (code 11) when the file system that holds folder
// cannot hold a disk image of sizeFigure megabytes: a file size of fileSizeBits bits (FAT's 32)
// reaches 4 GiB. -1, as pathconf gives for "no limit it can tell", passes.
void requireFileSizeRoom(const QString &folder, qint64 sizeFigure, long fileSizeBits);

} // namespace vantorel
