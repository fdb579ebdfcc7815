#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace vantorel {

// Writes a file, making its folders first.
inline bool writeTestFile(const QString &path, const QByteArray &contents, bool executable = false)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(contents) == contents.size() &&
           (!executable || file.setPermissions(file.permissions() | QFile::ExeOwner |
                                               QFile::ExeGroup | QFile::ExeOther));
}

} // namespace vantorel
