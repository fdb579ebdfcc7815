#pragma once

#include "installerinfo.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

namespace vantorel {

// An installer bundle: the Info.plist given and a 10-byte Contents/Resources/createinstallmedia.
inline QString makeTestBundle(const QString &path, const QByteArray &plist)
{
    writeTestFile(path + "/Contents/Info.plist", plist);
    writeTestFile(path + "/Contents/Resources/createinstallmedia", "#!/bin/sh\n");
    return path;
}

inline QByteArray plistNamed(const QByteArray &name)
{
    return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleDisplayName</key>"
           "<string>" +
           name + "</string></dict></plist>";
}

// An installer's Info.plist as far as the ISO check reads it.
inline QByteArray platformPlist(const QByteArray &version, const QByteArray &build)
{
    return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>DTPlatformVersion</key>"
           "<string>" +
           version + "</string><key>DTPlatformBuild</key><string>" + build +
           "</string></dict></plist>";
}

// A throwaway machine for whole runs against the test doubles of the macOS tools: a temporary
// root holding bin/ (the hdiutil, pkexec and rm doubles, first on PATH), Desktop/, Volumes/,
// Applications/ and work/, which becomes the current folder so that a command that escaped its
// quoting leaves its files there. Every double records its calls, in order, in one log.
class DoublesSandbox
{
    QTemporaryDir m_root; // first: the folders below are made from it
    const QString m_doubles, m_current = QDir::currentPath();
    const QByteArray m_path = qgetenv("PATH");

public:
    const QString root = m_root.path(), bin = root + "/bin", desktop = root + "/Desktop",
                  volumes = root + "/Volumes", apps = root + "/Applications", work = root + "/work",
                  log = root + "/calls.log";

    explicit DoublesSandbox(const QString &doublesFolder)
        : m_doubles(doublesFolder)
    {
        for (const QString &folder : {desktop, volumes, apps, work})
            QDir().mkpath(folder);
        for (const char *name : {"hdiutil", "pkexec", "rm"})
            installDouble(name, bin + '/' + name);
        qputenv("PATH", QFile::encodeName(bin) + ':' + m_path);
        qputenv("VANTOREL_TEST_HDIUTIL_LOG", QFile::encodeName(log));
        qputenv("VANTOREL_TEST_INSTALLER_LOG", QFile::encodeName(log));
        qputenv("VANTOREL_TEST_VOLUMES_ROOT", QFile::encodeName(volumes));
        for (const char *name :
             {"VANTOREL_TEST_FAIL", "VANTOREL_TEST_RECORD_ONLY", "VANTOREL_TEST_DELAY",
              "VANTOREL_TEST_PIECES", "VANTOREL_TEST_PIECE_PAUSE", "VANTOREL_TEST_SLOW",
              "VANTOREL_TEST_SLOW_ONCE", "VANTOREL_TEST_UNREACHABLE"})
            qunsetenv(name);
        QDir::setCurrent(work);
    }

    ~DoublesSandbox()
    {
        QDir::setCurrent(m_current);
        qputenv("PATH", m_path);
    }

    bool isValid() const { return QFile::exists(bin + "/rm") && QDir::currentPath() == work; }

    // A bundle in Applications/ whose createinstallmedia is the recording double and whose
    // Info.plist gives the record's version and build; names that cannot be a file name get a
    // bundle named "Fixture.app".
    InstallerInfo makeInstaller(const QString &name, const QString &macOSVersion) const
    {
        const bool usable = !name.isEmpty() && !name.contains('/') && !name.startsWith('.');
        const QString bundle = apps + '/' + (usable ? name : "Fixture") + ".app";
        InstallerInfo installer;
        if (installDouble("createinstallmedia", bundle + "/Contents/Resources/createinstallmedia"))
            installer.path = QUrl::fromLocalFile(bundle);
        installer.name = name;
        installer.macOSVersion = macOSVersion;
        installer.buildNumber = "23G80";
        writeTestFile(bundle + "/Contents/Info.plist",
                      platformPlist(macOSVersion.toUtf8(), "23G80"));
        installer.size = 13500000000;
        return installer;
    }

    bool installDouble(const QString &name, const QString &target) const
    {
        return writeTestFile(target, readFile(m_doubles + '/' + name), true);
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The doubles' records: a count, then $0 and that many arguments, all NUL-ended.
    static QList<QStringList> readRecords(const QString &path)
    {
        const QList<QByteArray> fields = readFile(path).split('\0');
        QList<QStringList> records;
        for (qsizetype at = 0; at + 1 < fields.size(); at += records.last().size() + 1) {
            records.append(QStringList());
            for (int k = 1; k <= fields[at].toInt() + 1 && at + k < fields.size(); ++k)
                records.last() << QString::fromUtf8(fields[at + k]);
        }
        return records;
    }
};

} // namespace vantorel
