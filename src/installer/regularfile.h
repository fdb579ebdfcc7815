#pragma once

#include <QString>

namespace vantorel {

// Opens path for reading only when it is a regular file (after following links), or returns -1.
// The open never blocks: a named pipe with no writer, a socket or a device is refused at once,
// by the file's own type as fstat reports it, not by a check made before the open.
int openRegularFile(const QString &path);

} // namespace vantorel
