// The ISO check on real images: xorriso writes a blessed HFS+ volume holding an installer behind
// an Apple partition map, parted a GUID partition table; the same verdict must come from
// `vantorel --verify`, alone, for several files and as JSON.

#include "doublessandbox.h"
#include "isoverification.h"

#include <QtTest>

using namespace vantorel;

class IsoVerificationTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    static void run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        QVERIFY2(process.waitForFinished() && process.exitCode() == 0,
                 qPrintable(program + ": " + process.readAllStandardError()));
    }
    void write(const QString &name, const QByteArray &data)
    {
        QVERIFY(writeTestFile(path(name), data));
    }

private slots:
    void initTestCase()
    {
        // `vantorel --verify` must not need a window: there is no platform to open one on.
        qputenv("QT_QPA_PLATFORM", "none");
        // The installer (binary Info.plist) between two bundles without its tool, which lose.
        const QString sonoma = "/Install macOS Sonoma.app/Contents/";
        write("tree" + sonoma + "Resources/createinstallmedia", "#!/bin/sh\n");
        write("sonoma.xml", platformPlist("14.6", "23G80"));
        run("plistutil",
            {"-i", path("sonoma.xml"), "-o", path("tree" + sonoma + "Info.plist"), "-f", "bin"});
        for (const char *decoy : {"Another Installer.app", "Pages.app"})
            write(QString("tree/") + decoy + "/Contents/Info.plist",
                  platformPlist("13.0", "22A380"));
        write("unknown" + sonoma + "Info.plist",
              "<plist><dict><key>DTPlatformVersion</key><string>14.6</string></dict></plist>");
        write("oversize" + sonoma + "Info.plist",
              platformPlist("14.6", "23G80")
                  .replace("<dict>", "<dict>" + QByteArray(1024 * 1024, ' ')));
        for (const char *tree : {"tree", "unknown", "oversize"})
            write(QString(tree) + "/System/Library/CoreServices/boot.efi", "boot");
        write("tree/System/Library/CoreServices/empty.efi", "");
        // Enough files at the root that the installer's records lie beyond the first leaf node.
        for (int file = 0; file < 50; ++file)
            write(QString("tree/file%1").arg(file), "");
        const auto xorriso = [this](const QString &iso, const QString &tree, const QString &boot) {
            const QString core = "/System/Library/CoreServices";
            const QStringList bless{"-hfs-bless-by", "p", core, "-hfs-bless-by", "i", core + boot};
            run("xorriso", QStringList{"-as", "mkisofs", "-hfsplus", "-V", "Caf\u00e9 Install",
                                       "-o", path(iso), path(tree)} +
                               (boot.isEmpty() ? QStringList() : bless));
        };
        xorriso("apm.iso", "tree", "/boot.efi");
        xorriso("unblessed.iso", "tree", "");
        xorriso("empty-boot.iso", "tree", "/empty.efi");
        xorriso("unknown.iso", "unknown", "/boot.efi");
        xorriso("oversize.iso", "oversize", "/boot.efi");
        QFile apm(path("apm.iso"));
        QVERIFY(apm.open(QIODevice::ReadOnly));
        const QByteArray image = apm.readAll();
        const auto be32 = [&image](qint64 at) {
            return qFromBigEndian<quint32>(image.data() + at);
        };
        // The Apple_HFS entry (third in the map) gives the volume's first block and length.
        const qint64 offset = be32(3 * 512 + 8) * 512, header = offset + 1024;
        const QByteArray volume = image.mid(offset, be32(3 * 512 + 12) * 512);
        write("bare.img", volume);
        write("classic.img", QByteArray(volume).replace(1024, 2, "BD"));
        write("apm-hfsx.iso", QByteArray(image)
                                  .replace(3 * 512 + 48, 10, "Apple_HFSX")
                                  .replace(header, 4, QByteArray("HX\0\5", 4)));
        // Finder info words 0 and 1.
        const auto patched = [&image](qint64 at, quint32 value) {
            QByteArray copy = image;
            qToBigEndian(value, copy.data() + at);
            return copy;
        };
        write("system-file.iso", patched(header + 80, be32(header + 84)));
        write("nothing.iso", patched(header + 84, 0xFFFFFF));
        write("only-folder.iso", patched(header + 84, 0));
        write("only-file.iso", patched(header + 80, 0));
        write("truncated.iso", image.left(offset + 1024 + 512));
        write("empty.iso", {});
        QByteArray noise(64 * 1024, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        write("random.iso", noise);
        // The volume behind a GUID partition table, at sector 2048.
        write("gpt.img", QByteArray(2048 * 512, 0) + volume + QByteArray(1024 * 1024, 0));
        run("parted", {"-s", path("gpt.img"), "mklabel", "gpt", "mkpart", "Install", "hfs+",
                       "2048s", QString::number(2047 + volume.size() / 512) + "s"});
    }

    void verify_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("inRun"); // the line in a run that put 14.6 (23G80) on it
        const auto row = [](const char *tag, const char *file, const QString &line, int exitCode,
                            const QString &inRun = {}) {
            QTest::addRow("%s", tag)
                << file << line << exitCode << (inRun.isEmpty() ? line : inRun);
        };
        const QString volume = "Verified: bootable HFS+ volume \u201C"
                               "Caf\u00e9 Install\u201D",
                      verified = volume + " with macOS 14.6 (23G80).";
        const QString none = "Not verified: no HFS+ volume found.";
        const QString unbootable = "Not verified: the volume is not marked bootable.";
        const QString noBootFile = "Not verified: the blessed boot file is missing.";
        // Each layout holds the installer with a binary Info.plist, beside two bundles that lack
        // its createinstallmedia.
        row("Apple partition map", "apm.iso", verified, 0);
        row("bare volume", "bare.img", verified, 0);
        row("GUID partition table", "gpt.img", verified, 0);
        row("HFSX volume in an Apple partition map", "apm-hfsx.iso", verified, 0);
        row("installer without a build", "unknown.iso", volume + " with macOS 14.6 (Unknown).", 0,
            "Not verified: the volume holds macOS 14.6 (Unknown), not 14.6 (23G80).");
        row("Info.plist over 1 MiB", "oversize.iso", volume + '.', 0,
            "Not verified: no macOS installer on the volume.");
        row("not blessed", "unblessed.iso", unbootable, 1);
        row("only the system folder blessed", "only-folder.iso", unbootable, 1);
        row("only the boot file blessed", "only-file.iso", unbootable, 1);
        row("blessed boot file ID names nothing", "nothing.iso", noBootFile, 1);
        row("blessed folder ID names a file", "system-file.iso", noBootFile, 1);
        row("blessed boot file empty", "empty-boot.iso", noBootFile, 1);
        row("truncated", "truncated.iso", "Not verified: the file is shorter than its volume.", 1);
        row("zero length", "empty.iso", none, 1);
        row("random bytes", "random.iso", none, 1);
        row("classic HFS", "classic.img", none, 1);
        row("missing file", "gone.iso",
            "Not verified: the file could not be read: No such file or directory.", 2);
    }

    void verify()
    {
        QFETCH(QString, file);
        QFETCH(QString, line);
        QFETCH(int, exitCode);
        QFETCH(QString, inRun);
        QCOMPARE(verifyImageFile(path(file)).line(), line);
        QCOMPARE(verifyImageFile(path(file), {{"14.6", "23G80"}}).line(), inRun);

        // From a terminal: the same line and the exit status.
        QProcess vantorel;
        vantorel.start(VANTOREL_PATH, {"--verify", path(file)});
        QVERIFY(vantorel.waitForFinished());
        QCOMPARE(QString::fromUtf8(vantorel.readAllStandardOutput()), line + '\n');
        QCOMPARE(vantorel.exitCode(), exitCode);
    }

    void command_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after --verify
        QTest::addColumn<QStringList>("output");    // lines; JSON ones compared as objects
        QTest::addColumn<int>("exitCode");
        const QString apm = path("apm.iso"), gone = path("gone.iso");
        const QString unblessed = path("unblessed.iso"), unknown = path("unknown.iso");
        QTest::addRow("several files: the highest status")
            << QStringList{apm, gone, unblessed}
            << QStringList{apm + ": Verified: bootable HFS+ volume \u201C"
                                 "Caf\u00e9 Install\u201D with macOS 14.6 (23G80).",
                           gone + ": Not verified: the file could not be read: No such file or "
                                  "directory.",
                           unblessed + ": Not verified: the volume is not marked bootable."}
            << 2;
        const QString object = R"({"file":"%1","outcome":"%2","volume":%3,"installer":%4,)"
                               R"("macOSVersion":%5,"build":%6,"reason":%7})";
        const QString sonoma = "\"Install macOS Sonoma.app\"", cafe = "\"Caf\u00e9 Install\"";
        QTest::addRow("JSON")
            << QStringList{"--json", apm, unknown, unblessed, gone}
            << QStringList{object.arg(apm, "verified", cafe, sonoma, "\"14.6\"", "\"23G80\"",
                                      "null"),
                           object.arg(unknown, "verified", cafe, sonoma, "\"14.6\"", "null",
                                      "null"),
                           object.arg(unblessed, "not verified", cafe, sonoma, "\"14.6\"",
                                      "\"23G80\"", "\"the volume is not marked bootable\""),
                           object.arg(gone, "unreadable", "null", "null", "null", "null",
                                      "\"the file could not be read: No such file or directory\"")}
            << 2;
        QTest::addRow("unknown option") << QStringList{"--all", apm} << QStringList{} << 2;
        QTest::addRow("no file") << QStringList{"--json"} << QStringList{} << 2;
    }

    void command()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, output);
        QFETCH(int, exitCode);
        QProcess vantorel;
        vantorel.start(VANTOREL_PATH, QStringList{"--verify"} + arguments);
        QVERIFY(vantorel.waitForFinished());
        // JSON lines as Qt writes them (keys in order), each whole object on its line.
        const auto normal = [](QStringList lines) {
            for (QString &line : lines)
                if (const auto json = QJsonDocument::fromJson(line.toUtf8()); json.isObject())
                    line = json.toJson(QJsonDocument::Compact);
            return lines;
        };
        QCOMPARE(normal(QString::fromUtf8(vantorel.readAllStandardOutput()).split('\n')),
                 normal(output + QStringList{""}));
        QCOMPARE(vantorel.exitCode(), exitCode);
        QCOMPARE(vantorel.readAllStandardError().startsWith("usage: "), output.isEmpty());
    }
};

QTEST_GUILESS_MAIN(IsoVerificationTest)
#include "tst_isoverification.moc"
