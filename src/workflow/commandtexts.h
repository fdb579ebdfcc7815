#pragma once

#include <QString>

// The AppleScript texts of the disk image stages. Pure functions: no file system, no process.
//
// Every inserted value is quoted twice: for the shell (inside single quotes, where a single
// quote is written '\'') and then, as part of the whole shell command, for the AppleScript
// string literal (backslash and double quote escaped). Ordinary values therefore come out
// unchanged, and no value can end either quoting early.
namespace vantorel::commandtexts {

// The value inside single quotes, safe as one shell word whatever its characters.
QString shellQuoted(const QString &value);
// The text as the body of an AppleScript string literal (without the surrounding quotes).
QString appleScriptEscaped(const QString &text);
// do shell script "COMMAND" followed by " with administrator privileges" or a single space.
QString doShellScript(const QString &shellCommand, bool withAdministratorPrivileges);

// Megabytes for the new disk image: (size + 2000000000) / 1000000, truncated toward zero.
qint64 sizeFigure(qint64 installerSize);

// Major versions from this one on take the short install-media command.
inline constexpr qint64 firstVersionWithoutApplicationPath = 13;

QString createCommand(qint64 installerSize, const QString &volumeName, const QString &imagePath);
QString attachCommand(const QString &imagePath);
QString installMediaCommand(const QString &toolPath, const QString &installerPath,
                            const QString &volumePath, qint64 majorVersion);
QString ejectCommand(const QString &volumePath);
QString convertCommand(const QString &imagePath, const QString &isoPath);
QString deleteCommand(const QString &imagePath);

} // namespace vantorel::commandtexts
