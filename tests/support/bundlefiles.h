#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantorel {

// Writes a file, making its folders first.
inline bool writeTestFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(contents) == contents.size();
}

// An installer bundle: Info.plist plus the 10-byte Contents/Resources/createinstallmedia.
inline QString makeTestBundle(const QString &path, const QByteArray &plist)
{
    writeTestFile(path + QStringLiteral("/Contents/Info.plist"), plist);
    writeTestFile(path + QStringLiteral("/Contents/Resources/createinstallmedia"), "#!/bin/sh\n");
    return path;
}

// An XML property list with only a display name.
inline QByteArray plistNamed(const QByteArray &name)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>CFBundleDisplayName</key><string>" +
           name + "</string></dict></plist>\n";
}

} // namespace vantorel
