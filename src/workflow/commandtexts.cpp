#include "commandtexts.h"

namespace vantorel::commandtexts {

QString shellQuoted(const QString &value)
{
    QString escaped = value;
    escaped.replace(u'\'', QLatin1String("'\\''"));
    return u'\'' + escaped + u'\'';
}

QString appleScriptEscaped(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

QString doShellScript(const QString &shellCommand, bool withAdministratorPrivileges)
{
    return QLatin1String("do shell script \"") + appleScriptEscaped(shellCommand) + u'"' +
           (withAdministratorPrivileges ? QLatin1String(" with administrator privileges")
                                        : QLatin1String(" "));
}

qint64 sizeFigure(qint64 installerSize)
{
    // Split so that no sum can overflow: 2000000000 is a whole number of megabytes, and a
    // negative size keeps the sum negative or small, where truncation rounds toward zero.
    if (installerSize >= 0)
        return installerSize / 1000000 + 2000;
    return (installerSize + 2000000000) / 1000000;
}

QString createCommand(qint64 installerSize, const QString &volumeName, const QString &imagePath)
{
    return doShellScript(QLatin1String("hdiutil create -size ") +
                             QString::number(sizeFigure(installerSize)) +
                             QLatin1String("m -fs 'HFS+J' -volname ") + shellQuoted(volumeName) +
                             u' ' + shellQuoted(imagePath),
                         false);
}

QString attachCommand(const QString &imagePath)
{
    return doShellScript(QLatin1String("hdiutil attach ") + shellQuoted(imagePath), false);
}

QString installMediaCommand(const QString &toolPath, const QString &installerPath,
                            const QString &volumePath, qint64 majorVersion)
{
    QString command = shellQuoted(toolPath);
    // Installers before Ventura want to be told where they are.
    if (majorVersion < firstVersionWithoutApplicationPath)
        command += QLatin1String(" --applicationpath ") + shellQuoted(installerPath);
    command +=
        QLatin1String(" --volume ") + shellQuoted(volumePath) + QLatin1String(" --nointeraction");
    return doShellScript(command, true);
}

QString ejectCommand(const QString &volumePath)
{
    return doShellScript(QLatin1String("hdiutil eject ") + shellQuoted(volumePath) +
                             QLatin1String(" -force"),
                         false);
}

QString convertCommand(const QString &imagePath, const QString &isoPath)
{
    return doShellScript(QLatin1String("hdiutil convert ") + shellQuoted(imagePath) +
                             QLatin1String(" -format UDTO -o ") + shellQuoted(isoPath),
                         false);
}

QString deleteCommand(const QString &imagePath)
{
    return doShellScript(QLatin1String("rm ") + shellQuoted(imagePath), false);
}

} // namespace vantorel::commandtexts
