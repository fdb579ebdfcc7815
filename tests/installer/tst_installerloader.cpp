#include "doublessandbox.h"
#include "installerloader.h"

#include <QtGui>
#include <QtTest>

#include <climits>
#include <thread>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace vantorel;

namespace {

QByteArray image(int width, int height, const char *format = "png")
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return data;
}

// An .icns holding one PNG rendition per entry, in the given order.
QByteArray icnsOf(const QList<QPair<QByteArray, QByteArray>> &renditions)
{
    const auto length = [](qsizetype size) {
        QByteArray bytes(4, 0);
        qToBigEndian(quint32(size + 8), bytes.data());
        return bytes;
    };
    QByteArray body;
    for (const auto &[type, data] : renditions)
        body += type + length(data.size()) + data;
    return "icns" + length(body.size()) + body;
}

} // namespace

class InstallerLoaderTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString bundle(const QString &folder, const QByteArray &plist)
    {
        return makeTestBundle(m_dir.filePath(QTest::currentDataTag()) + '/' + folder, plist);
    }

private slots:
    void load_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("plist"); // null: none; "fifo": a named pipe
        QTest::addColumn<QString>("iconFile"); // written in Contents/Resources
        QTest::addColumn<QByteArray>("icon");
        // name, version, buildNumber, macOSVersion and the icon's size, or the error
        QTest::addColumn<QStringList>("expected");
        const auto key = [](const char *name, const char *value) {
            return "<key>" + QByteArray(name) + "</key><string>" + value + "</string>";
        };
        const auto dict = [](const QByteArray &keys) {
            return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" + keys +
                   "</dict></plist>";
        };
        const QString app = "Install macOS Big Sur.app";
        const QStringList fallbacks{"Install macOS Big Sur", "Unknown", "Unknown", app};
        const QStringList unreadable{"1: Could not read Info.plist"};
        const QByteArray named = dict(key("CFBundleIconFile", "App")),
                         icns = image(512, 512, "icns");
        QTest::addRow("every key")
            << app
            << dict(key("CFBundleDisplayName", "Install macOS Sonoma") +
                    key("CFBundleName", "Other") + key("CFBundleShortVersionString", "19.6.1") +
                    key("DTPlatformBuild", "23G93") + key("DTPlatformVersion", "14.6"))
            << "" << QByteArray()
            << QStringList{"Install macOS Sonoma", "19.6.1", "23G93", "14.6", ""};
        QTest::addRow("file name, trailing slash")
            << app + '/' << dict("") << "" << QByteArray() << fallbacks + QStringList{""};
        QTest::addRow("non-strings") << app
                                     << dict("<key>CFBundleDisplayName</key><integer>5</integer>"
                                             "<key>CFBundleName</key><true/><key>DTPlatformVersion"
                                             "</key><integer>14</integer>")
                                     << "" << QByteArray() << fallbacks + QStringList{""};
        QTest::addRow("bundle name, .app removed anywhere")
            << app << dict(key("CFBundleName", "A.app B.APP C.appD")) << "" << QByteArray()
            << QStringList{"A B.APP CD", "Unknown", "Unknown", app, ""};
        QTest::addRow("icon named without its extension, scaled down")
            << app << named << "App.icns" << icns << fallbacks + QStringList{"256x256"};
        QTest::addRow("largest rendition")
            << app << named << "App.icns"
            << icnsOf({{"icp5", image(32, 32)}, {"ic07", image(128, 128)}, {"icp4", image(16, 16)}})
            << fallbacks + QStringList{"128x128"};
        QTest::addRow("other format, aspect kept")
            << app << dict(key("CFBundleIconFile", "Wide.png")) << "Wide.png" << image(600, 300)
            << fallbacks + QStringList{"256x128"};
        QTest::addRow("icon outside Resources")
            << app << dict(key("CFBundleIconFile", "../App")) << "../App.icns" << icns
            << fallbacks + QStringList{""};
        QTest::addRow("no Info.plist") << app << QByteArray() << "" << QByteArray() << unreadable;
        QTest::addRow("garbage") << app << QByteArray("\x00\xff garbage", 10) << "" << QByteArray()
                                 << unreadable;
        QTest::addRow("not a dictionary")
            << app << QByteArray("<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>")
            << "" << QByteArray() << unreadable;
        QTest::addRow("over 16 MiB")
            << app << named + QByteArray(17 * 1024 * 1024, ' ') << "" << QByteArray() << unreadable;
        // Must fail at once, never block the load.
        QTest::addRow("named pipe")
            << app << QByteArray("fifo") << "" << QByteArray() << unreadable;
    }

    void load()
    {
        QFETCH(QString, folder);
        QFETCH(QByteArray, plist);
        QFETCH(QString, iconFile);
        QFETCH(QByteArray, icon);
        const QString path = bundle(folder, plist), plistPath = path + "/Contents/Info.plist";
        QVERIFY((!plist.isNull() && plist != "fifo") || QFile::remove(plistPath));
        QVERIFY(plist != "fifo" || mkfifo(QFile::encodeName(plistPath).constData(), 0600) == 0);
        QVERIFY(iconFile.isEmpty() ||
                writeTestFile(path + "/Contents/Resources/" + iconFile, icon));
        try {
            const InstallerInfo info = readInstallerInfo(QUrl::fromLocalFile(path));
            QCOMPARE(info.path, QUrl::fromLocalFile(path));
            const QSize size = info.icon ? info.icon->size() : QSize();
            QTEST(
                QStringList(
                    {info.name, info.version, info.buildNumber, info.macOSVersion,
                     size.isValid() ? QString("%1x%2").arg(size.width()).arg(size.height()) : ""}),
                "expected");
            QCOMPARE(info.size, plist.size() + 10 + icon.size()); // and the 10-byte tool
        } catch (const Error &error) {
            QCOMPARE(error.domain(), applicationErrorDomain());
            QTEST(QStringList{QString::number(error.code()) + ": " + error.localizedDescription()},
                  "expected");
        }
    }

    // Files count with their size, links with the length of their target text and are never
    // followed, hidden entries not at all, also below a path longer than PATH_MAX. A folder the
    // user may not read is skipped, not a failure.
    void size()
    {
        const QString root = m_dir.filePath("tree");
        for (const QString entry :
             {"A/B/C/", "A/f=300", "A/B/g=4000", ".DS_Store=100", ".git/HEAD=41", "A/.x=200",
              "self->.", "usr->/usr", "a->b", "A/locked/h=5000"}) {
            const QString path = root + '/' + entry.section("->", 0, 0).section('=', 0, 0);
            QVERIFY(QDir().mkpath(entry.endsWith('/') ? path : QFileInfo(path).path()));
            if (entry.contains("->"))
                QVERIFY(QFile::link(entry.section("->", 1), path));
            else if (entry.contains('='))
                QVERIFY(writeTestFile(path, QByteArray(entry.section('=', 1).toInt(), 'x')));
        }
        // Names of n bytes with n + 1 dividing PATH_MAX + 1 (17 x 241 on Linux, 25 x 41 on macOS)
        // put a folder at exactly PATH_MAX bytes below the top and a '/' at byte PATH_MAX of
        // deeper paths: both bounds of the walk's chunking.
        const int name = PATH_MAX == 4096 ? 240 : 40;
        QCOMPARE(QProcess::execute("perl", {"-e",
                                            "chdir shift; $n = shift; for (1..40) { mkdir 'd' x "
                                            "$n; chdir 'd' x $n } open F, '>f'; print F 1",
                                            root, QString::number(name)}),
                 0);
        QVERIFY(QFile::setPermissions(root + "/A/locked", {}));
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ExeOwner | QFile::ReadGroup |
                                                        QFile::ExeGroup | QFile::ReadOther |
                                                        QFile::ExeOther));
        // Root reads every folder: the walk runs on a thread with the file rights of nobody
        // (Linux keeps them per thread, and the walk's own threads inherit them).
        qint64 total = -1;
        std::thread([&] {
            if (::geteuid() == 0 && ::syscall(SYS_setfsuid, 65534) != 0)
                return;
            try {
                total = calculateDirectorySize(root);
            } catch (const Error &) {
            }
        }).join();
        QCOMPARE(total, 4300 + 1 + 4 + 1 + 1);
        QVERIFY(QFile::setPermissions(root + "/A/locked",
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(QProcess::execute("rm", {"-rf", root}), 0); // QDir cannot remove a deep tree
    }
};

QTEST_GUILESS_MAIN(InstallerLoaderTest)
#include "tst_installerloader.moc"
