#pragma once

#include "installerinfo.h"
#include "installerviewmodel.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <optional>
#include <utility>
#include <vector>

#include <unistd.h>

namespace vantorel {

// A throwaway machine for whole runs against the test doubles of the macOS tools: a temporary
// root holding bin/ (the hdiutil double, and the pkexec double unless running as root, first on
// PATH), Desktop/, Volumes/, Applications/ and work/, which becomes the current folder so that a
// command that escaped its quoting leaves its files there. The doubles' logs and volumes root
// are set through the environment. Everything it changes in the process (environment, current
// folder) is put back when it goes. One at a time per process.
class DoublesSandbox
{
    // First: the public folders below are made from it.
    QTemporaryDir m_root;

public:
    explicit DoublesSandbox(const QString &doublesFolder)
        : m_doublesFolder(doublesFolder)
        , bin(m_root.filePath(QStringLiteral("bin")))
        , desktop(m_root.filePath(QStringLiteral("Desktop")))
        , volumes(m_root.filePath(QStringLiteral("Volumes")))
        , apps(m_root.filePath(QStringLiteral("Applications")))
        , work(m_root.filePath(QStringLiteral("work")))
        , hdiutilLog(m_root.filePath(QStringLiteral("hdiutil.log")))
        , installerLog(m_root.filePath(QStringLiteral("createinstallmedia.log")))
    {
        m_valid = m_root.isValid();
        for (const QString &folder : {bin, desktop, volumes, apps, work})
            m_valid = m_valid && QDir().mkpath(folder);
        // Copies, so the doubles run even where a checkout lost their executable bits.
        QStringList doubles{QStringLiteral("hdiutil")};
        if (::geteuid() != 0)
            doubles << QStringLiteral("pkexec");
        for (const QString &name : std::as_const(doubles))
            m_valid = m_valid && installDouble(name, bin + u'/' + name);

        const QByteArray path = qgetenv("PATH");
        setVariable("PATH", QFile::encodeName(bin) + ':' + path);
        setVariable("VANTOREL_TEST_HDIUTIL_LOG", QFile::encodeName(hdiutilLog));
        setVariable("VANTOREL_TEST_INSTALLER_LOG", QFile::encodeName(installerLog));
        setVariable("VANTOREL_TEST_VOLUMES_ROOT", QFile::encodeName(volumes));
        setVariable("VANTOREL_TEST_FAIL", std::nullopt);
        setVariable("VANTOREL_TEST_RECORD_ONLY", std::nullopt);
        setVariable("VANTOREL_TEST_DELAY", std::nullopt);
        setVariable("VANTOREL_TEST_PIECES", std::nullopt);
        m_originalCurrent = QDir::currentPath();
        m_valid = m_valid && QDir::setCurrent(work);
    }

    ~DoublesSandbox()
    {
        QDir::setCurrent(m_originalCurrent);
        for (auto it = m_savedVariables.crbegin(); it != m_savedVariables.crend(); ++it) {
            if (it->second)
                qputenv(it->first, *it->second);
            else
                qunsetenv(it->first);
        }
    }

    DoublesSandbox(const DoublesSandbox &) = delete;
    DoublesSandbox &operator=(const DoublesSandbox &) = delete;

    bool isValid() const { return m_valid; }
    QString filePath(const QString &relative) const { return m_root.filePath(relative); }

    // Sets (or, with nullopt, unsets) an environment variable until the sandbox goes.
    void setVariable(const char *name, const std::optional<QByteArray> &value)
    {
        m_savedVariables.emplace_back(name, qEnvironmentVariableIsSet(name)
                                                ? std::optional<QByteArray>(qgetenv(name))
                                                : std::nullopt);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }

    InstallerViewModel::Environment environment(const QString &interpreterPath) const
    {
        return {interpreterPath, desktop, volumes};
    }

    // A bundle in Applications/ whose createinstallmedia is the recording double. Names that
    // cannot be a file name get a bundle named "Fixture.app". Null path when it cannot be made.
    InstallerInfo makeInstaller(const QString &name, const QString &macOSVersion) const
    {
        const bool usable = !name.isEmpty() && !name.contains(u'/') && !name.startsWith(u'.');
        const QString bundle =
            apps + u'/' + (usable ? name : QStringLiteral("Fixture")) + QStringLiteral(".app");
        InstallerInfo installer;
        if (QDir().mkpath(bundle + QStringLiteral("/Contents/Resources")) &&
            installDouble(QStringLiteral("createinstallmedia"),
                          bundle + QStringLiteral("/Contents/Resources/createinstallmedia")))
            installer.path = QUrl::fromLocalFile(bundle);
        installer.name = name;
        installer.version = QStringLiteral("1.0");
        installer.macOSVersion = macOSVersion;
        installer.buildNumber = QStringLiteral("23G80");
        installer.size = 13500000000;
        return installer;
    }

    // Copies one of the doubles (by file name) to target, executable.
    bool installDouble(const QString &name, const QString &target) const
    {
        return writeFile(target, readFile(m_doublesFolder + u'/' + name), true);
    }

    static bool writeFile(const QString &path, const QByteArray &contents, bool executable = false)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            return false;
        return !executable ||
               file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeGroup);
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Records written by the doubles: a count, then $0 and that many arguments, all NUL-ended.
    static QList<QStringList> readRecords(const QString &path)
    {
        const QList<QByteArray> fields = readFile(path).split('\0');
        QList<QStringList> records;
        for (qsizetype at = 0; at + 1 < fields.size();) {
            const int count = fields[at].toInt();
            QStringList record;
            for (int k = 1; k <= count + 1 && at + k < fields.size(); ++k)
                record << QString::fromUtf8(fields[at + k]);
            records << record;
            at += count + 2;
        }
        return records;
    }

private:
    QString m_doublesFolder;
    QString m_originalCurrent;
    std::vector<std::pair<const char *, std::optional<QByteArray>>> m_savedVariables;
    bool m_valid = false;

public:
    const QString bin, desktop, volumes, apps, work;
    const QString hdiutilLog, installerLog;
};

} // namespace vantorel
