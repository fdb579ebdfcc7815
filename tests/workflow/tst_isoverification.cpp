// The ISO check on real images: xorriso writes a blessed HFS+ volume behind an Apple partition
// map, parted a GUID partition table; the same verdict must come from `vantorel --verify`.

#include "isoverification.h"
#include "testfiles.h"

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
        write("tree/System/Library/CoreServices/boot.efi", "boot");
        const QStringList xorriso{"-as", "mkisofs", "-hfsplus", "-V", "Caf\u00e9 Install"};
        const QStringList bless{"-hfs-bless-by", "p", "/System/Library/CoreServices",
                                "-hfs-bless-by", "i", "/System/Library/CoreServices/boot.efi"};
        run("xorriso", xorriso + bless + QStringList{"-o", path("apm.iso"), path("tree")});
        run("xorriso", xorriso + QStringList{"-o", path("unblessed.iso"), path("tree")});
        QFile apm(path("apm.iso"));
        QVERIFY(apm.open(QIODevice::ReadOnly));
        const QByteArray image = apm.readAll();
        // The Apple_HFS entry (third in the map) gives the volume's first block and length.
        const char *entry = image.constData() + 3 * 512;
        const qint64 offset = qFromBigEndian<quint32>(entry + 8) * 512;
        const QByteArray volume = image.mid(offset, qFromBigEndian<quint32>(entry + 12) * 512);
        write("bare.img", volume);
        write("hfsx.img", QByteArray(volume).replace(1024, 4, QByteArray("HX\0\5", 4)));
        write("classic.img", QByteArray(volume).replace(1024, 2, "BD"));
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
        const QString verified = "Verified: bootable HFS+ volume \u201C"
                                 "Caf\u00e9 Install\u201D.";
        const QString none = "Not verified: no HFS+ volume found.";
        QTest::addRow("Apple partition map") << "apm.iso" << verified << 0;
        QTest::addRow("bare volume") << "bare.img" << verified << 0;
        QTest::addRow("GUID partition table") << "gpt.img" << verified << 0;
        QTest::addRow("HFSX volume") << "hfsx.img" << verified << 0;
        QTest::addRow("not blessed") << "unblessed.iso"
                                     << "Not verified: the volume is not marked bootable." << 1;
        QTest::addRow("truncated") << "truncated.iso"
                                   << "Not verified: the file is shorter than its volume." << 1;
        QTest::addRow("zero length") << "empty.iso" << none << 1;
        QTest::addRow("random bytes") << "random.iso" << none << 1;
        QTest::addRow("classic HFS") << "classic.img" << none << 1;
        QTest::addRow("missing file")
            << "gone.iso"
            << "Not verified: the file could not be read: No such file or directory." << 2;
    }

    void verify()
    {
        QFETCH(QString, file);
        QFETCH(QString, line);
        QFETCH(int, exitCode);
        QCOMPARE(verifyImageFile(path(file)).line(), line);

        // From a terminal: the same line and the exit status.
        QProcess vantorel;
        vantorel.start(VANTOREL_PATH, {"--verify", path(file)});
        QVERIFY(vantorel.waitForFinished());
        QCOMPARE(QString::fromUtf8(vantorel.readAllStandardOutput()), line + '\n');
        QCOMPARE(vantorel.exitCode(), exitCode);
    }
};

QTEST_GUILESS_MAIN(IsoVerificationTest)
#include "tst_isoverification.moc"
