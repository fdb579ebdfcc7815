#include "installerloader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <plist/plist.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace vantorel;

namespace {

plist_t toNode(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return plist_new_string(value.toString().toUtf8().constData());
    case QMetaType::Bool:
        return plist_new_bool(value.toBool());
    case QMetaType::QVariantList: {
        plist_t array = plist_new_array();
        for (const QVariant &item : value.toList())
            plist_array_append_item(array, toNode(item));
        return array;
    }
    case QMetaType::QVariantMap: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            plist_dict_set_item(dict, it.key().toUtf8().constData(), toNode(it.value()));
        return dict;
    }
    default:
        return plist_new_uint(value.toULongLong());
    }
}

QByteArray plistData(const QVariant &root, bool binary = false)
{
    plist_t node = toNode(root);
    char *data = nullptr;
    uint32_t length = 0;
    binary ? plist_to_bin(node, &data, &length) : plist_to_xml(node, &data, &length);
    QByteArray result(data, length);
    free(data);
    plist_free(node);
    return result;
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

// Info.plist plus the 10-byte Contents/Resources/createinstallmedia.
QString makeBundle(const QString &path, const QByteArray &plist)
{
    writeFile(path + "/Contents/Info.plist", plist);
    writeFile(path + "/Contents/Resources/createinstallmedia", "#!/bin/sh\n");
    return path;
}

// "a/b=12" is a 12-byte file, "a/b/" a folder, "a/b->target" a symbolic link.
void makeTree(const QString &root, const QStringList &entries)
{
    QDir().mkpath(root);
    for (const QString &entry : entries) {
        if (entry.contains("->")) {
            const QString link = root + '/' + entry.section("->", 0, 0);
            QDir().mkpath(QFileInfo(link).path());
            QVERIFY(QFile::link(entry.section("->", 1), link));
        } else if (entry.endsWith('/')) {
            QDir().mkpath(root + '/' + entry);
        } else {
            writeFile(root + '/' + entry.section('=', 0, 0),
                      QByteArray(entry.section('=', 1).toInt(), 'x'));
        }
    }
}

QImage filled(int width, int height, QRgb color)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return data;
}

QByteArray bigEndian32(qsizetype value)
{
    QByteArray bytes(4, 0);
    qToBigEndian(quint32(value), bytes.data());
    return bytes;
}

// An .icns holding one PNG rendition per entry, in the given order.
QByteArray icnsOf(const QList<QPair<QByteArray, QImage>> &renditions)
{
    QByteArray body;
    for (const auto &[type, image] : renditions) {
        const QByteArray png = encoded(image, "png");
        body += type + bigEndian32(png.size() + 8) + png;
    }
    return "icns" + bigEndian32(body.size() + 8) + body;
}

} // namespace

class InstallerLoaderTest : public QObject
{
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void unreadablePlist_data();
    void unreadablePlist();
    void bundleVanishedWhileReading();
    void size_data();
    void size();
    void sizeBelowPathLengthLimit();
    void sizeAsOtherUser_data();
    void sizeAsOtherUser();
    void missingFolder_data();
    void missingFolder();
    void icon_data();
    void icon();

private:
    QTemporaryDir m_dir;
};

void InstallerLoaderTest::fields_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QVariantMap>("keys");
    QTest::addColumn<bool>("binary");
    // name, version, buildNumber, macOSVersion
    QTest::addColumn<QStringList>("expected");

    const QVariantMap all{{"CFBundleDisplayName", "Install macOS Sonoma"},
                          {"CFBundleName", "Other"},
                          {"CFBundleShortVersionString", "19.6.1"},
                          {"DTPlatformBuild", "23G93"},
                          {"DTPlatformVersion", "14.6"}};
    const QStringList fromAll{"Install macOS Sonoma", "19.6.1", "23G93", "14.6"};
    const QString app = "Install macOS Big Sur.app";
    const QStringList fallbacks{"Install macOS Big Sur", "Unknown", "Unknown", app};
    const QVariantMap wrongTypes{{"CFBundleDisplayName", 5},
                                 {"CFBundleName", true},
                                 {"CFBundleShortVersionString", QVariantList{"1"}},
                                 {"DTPlatformBuild", QVariantMap{{"a", "b"}}},
                                 {"DTPlatformVersion", 14}};
    const QVariantMap empty{{"CFBundleDisplayName", ""},
                            {"CFBundleShortVersionString", ""},
                            {"DTPlatformBuild", ""},
                            {"DTPlatformVersion", ""}};
    const QVariantMap onlyBundleName{{"CFBundleName", "Ventura"}};
    const QVariantMap wrongDisplayName{{"CFBundleDisplayName", false}, {"CFBundleName", "Named"}};
    const QVariantMap dotApp{{"CFBundleDisplayName", "A.app B.APP C.appD"}};

    QTest::addRow("xml") << app << all << false << fromAll;
    QTest::addRow("binary") << app << all << true << fromAll;
    QTest::addRow("file name") << app << QVariantMap() << false << fallbacks;
    QTest::addRow("file name, trailing slash") << app + '/' << QVariantMap() << true << fallbacks;
    QTest::addRow("non-strings") << app << wrongTypes << true << fallbacks;
    QTest::addRow("empty strings") << app << empty << false << QStringList{"", "", "", ""};
    QTest::addRow("bundle name") << app << onlyBundleName << false
                                 << QStringList{"Ventura", "Unknown", "Unknown", app};
    QTest::addRow("non-string display name")
        << app << wrongDisplayName << false << QStringList{"Named", "Unknown", "Unknown", app};
    QTest::addRow("file name, percent sign")
        << "1% Big Sur.app" << QVariantMap() << false
        << QStringList{"1% Big Sur", "Unknown", "Unknown", "1% Big Sur.app"};
    QTest::addRow(".app anywhere, case-sensitive")
        << "x.app" << dotApp << false << QStringList{"A B.APP CD", "Unknown", "Unknown", "x.app"};
}

void InstallerLoaderTest::fields()
{
    QFETCH(QString, folder);
    QFETCH(QVariantMap, keys);
    QFETCH(bool, binary);
    const QByteArray plist = plistData(keys, binary);
    const QString path = m_dir.filePath(QTest::currentDataTag()) + '/' + folder;
    const QUrl url = QUrl::fromLocalFile(makeBundle(path, plist));

    const InstallerInfo info = readInstallerInfo(url);
    QCOMPARE(info.path, url);
    QTEST(QStringList({info.name, info.version, info.buildNumber, info.macOSVersion}), "expected");
    QCOMPARE(info.size, plist.size() + 10);
    QVERIFY(!info.icon);
}

void InstallerLoaderTest::unreadablePlist_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("present");

    const QByteArray valid = plistData(QVariantMap{{"CFBundleName", "A"}});
    QTest::addRow("missing") << QByteArray() << false;
    QTest::addRow("empty") << QByteArray() << true;
    QTest::addRow("garbage") << QByteArray("\x00\xff garbage", 10) << true;
    QTest::addRow("truncated xml") << valid.left(valid.size() / 2) << true;
    QTest::addRow("binary header alone") << QByteArray("bplist00") << true;
    QTest::addRow("array, xml") << plistData(QVariantList{"a"}) << true;
    QTest::addRow("array, binary") << plistData(QVariantList{"a"}, true) << true;
    QTest::addRow("string") << plistData(QString("a"), true) << true;
    // Over the 16 MiB bound, though well-formed.
    QTest::addRow("too large") << valid + QByteArray(17 * 1024 * 1024, ' ') << true;
}

void InstallerLoaderTest::unreadablePlist()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, present);
    const QString bundle = makeBundle(m_dir.filePath(QTest::currentDataTag()), contents);
    if (!present)
        QVERIFY(QFile::remove(bundle + "/Contents/Info.plist"));

    try {
        readInstallerInfo(QUrl::fromLocalFile(bundle));
        QFAIL("loaded");
    } catch (const Error &error) {
        QCOMPARE(error.domain(), applicationErrorDomain());
        QCOMPARE(error.code(), 1);
        QCOMPARE(error.localizedDescription(), "Could not read Info.plist");
    }
}

// Info.plist is a pipe whose writer removes the bundle before it sends the property list: the
// reader must read the pipe to its end, and the walk of the vanished bundle must fail.
void InstallerLoaderTest::bundleVanishedWhileReading()
{
    const QString bundle = makeBundle(m_dir.filePath("vanishing.app"), QByteArray());
    const QByteArray pipePath = QFile::encodeName(bundle + "/Contents/Info.plist");
    QVERIFY(QFile::remove(pipePath));
    QCOMPARE(mkfifo(pipePath.constData(), 0600), 0);
    const QByteArray plist = plistData(QVariantMap{{"CFBundleName", "A"}});
    ssize_t written = 0;
    std::thread writer([&] {
        const int fd = open(pipePath.constData(), O_WRONLY);
        QDir(bundle).removeRecursively();
        written = write(fd, plist.constData(), size_t(plist.size()));
        close(fd);
    });

    int code = 0;
    try {
        readInstallerInfo(QUrl::fromLocalFile(bundle));
    } catch (const Error &error) {
        code = int(error.code());
        QCOMPARE(error.domain(), posixErrorDomain());
    }
    writer.join();
    QCOMPARE(written, plist.size());
    QCOMPARE(code, ENOENT);
}

void InstallerLoaderTest::size_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<qint64>("size");

    QTest::addRow("files") << QStringList{"Contents/Info.plist=300", "Contents/Resources/tool=4000"}
                           << 4300LL;
    QTest::addRow("folders count nothing")
        << QStringList{"Contents/A/B/C/", "Contents/E/", "f=5"} << 5LL;
    QTest::addRow("hidden files") << QStringList{".DS_Store=100", "Contents/.x=200", "a.b=7"}
                                  << 7LL;
    QTest::addRow("hidden folders")
        << QStringList{"Contents/.git/objects/pack=5000", "Contents/.git/HEAD=41", "f=7"} << 7LL;
    QTest::addRow("nested bundle")
        << QStringList{"Contents/SharedSupport/Inner.app/Contents/MacOS/tool=777", "f=1"} << 778LL;
    // Links count with the length of their target text and are never followed.
    QTest::addRow("symlink loops")
        << QStringList{"Contents/self->.", "Contents/up->..", "a->b", "b->a"} << 5LL;
    QTest::addRow("symlink to a folder") << QStringList{"usr->/usr", "f=2"} << 6LL;
    QTest::addRow("symlink to a huge file") << QStringList{"big->../huge.bin"} << 11LL;
    QTest::addRow("hidden symlink") << QStringList{".hidden->/usr", "f=2"} << 2LL;
}

void InstallerLoaderTest::size()
{
    QFETCH(QStringList, entries);
    QFile huge(m_dir.filePath("huge.bin"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(8LL << 30)); // sparse
    const QString root = m_dir.filePath(QTest::currentDataTag());
    makeTree(root, entries);
    QTEST(calculateDirectorySize(root), "size");
}

// Relative paths past PATH_MAX cannot be opened in one call.
void InstallerLoaderTest::sizeBelowPathLengthLimit()
{
    const QString root = m_dir.filePath("deep");
    QVERIFY(QDir().mkpath(root));
    const QByteArray level(200, 'd');
    int fd = open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY);
    for (int depth = 0; depth < 40; ++depth) { // 8,040 bytes
        QCOMPARE(mkdirat(fd, level.constData(), 0755), 0);
        const int next = openat(fd, level.constData(), O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
    }
    const int file = openat(fd, "file", O_WRONLY | O_CREAT, 0644);
    QCOMPARE(write(file, "123", 3), 3);
    close(file);
    close(fd);
    QCOMPARE(calculateDirectorySize(root), 3);
    QCOMPARE(QProcess::execute("rm", {"-rf", root}), 0); // QDir cannot remove it
}

void InstallerLoaderTest::sizeAsOtherUser_data()
{
    QTest::addColumn<QString>("locked");
    QTest::addColumn<int>("mode");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("error");

    QTest::addRow("unreadable folder skipped") << "Contents/Locked" << 0 << 10LL << 0;
    QTest::addRow("unreadable top folder") << "" << 0 << 0LL << EACCES;
    // Listed but not searchable: the entries' attributes cannot be read.
    QTest::addRow("unsearchable folder") << "Contents/Locked" << 0444 << 0LL << EACCES;
}

// Root reads any folder, so the walk runs in a child that has become "nobody".
void InstallerLoaderTest::sizeAsOtherUser()
{
    QFETCH(QString, locked);
    QFETCH(int, mode);
    QFETCH(int, error);
    const QString root = m_dir.filePath(QTest::currentDataTag());
    makeTree(root, {"Contents/Resources/createinstallmedia=10", "Contents/Locked/secret=5000"});
    QCOMPARE(chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
    const QByteArray lockedPath = QFile::encodeName(root + '/' + locked);
    QCOMPARE(chmod(lockedPath.constData(), mode_t(mode)), 0);

    int channel[2];
    QCOMPARE(pipe(channel), 0);
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t nobody = 65534;
        if (geteuid() == 0 &&
            (setresgid(nobody, nobody, nobody) != 0 || setresuid(nobody, nobody, nobody) != 0))
            _exit(2);
        qint64 result[2] = {0, 0};
        try {
            result[0] = calculateDirectorySize(root);
        } catch (const Error &failure) {
            result[1] = failure.code();
        }
        _exit(write(channel[1], result, sizeof result) == sizeof result ? 0 : 1);
    }
    close(channel[1]);
    qint64 result[2] = {-1, -1};
    const ssize_t received = read(channel[0], result, sizeof result);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    chmod(lockedPath.constData(), 0755);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
        QSKIP("cannot switch to the user nobody");
    QCOMPARE(received, qint64(sizeof result));
    QTEST(result[0], "size");
    QCOMPARE(result[1], qint64(error));
}

void InstallerLoaderTest::missingFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("error");
    QTest::addRow("vanished") << "gone" << ENOENT;
    QTest::addRow("a file") << "file" << ENOTDIR;
}

void InstallerLoaderTest::missingFolder()
{
    QFETCH(QString, path);
    writeFile(m_dir.filePath("file"), "x");
    try {
        calculateDirectorySize(m_dir.filePath(path));
        QFAIL("walked");
    } catch (const Error &error) {
        QCOMPARE(error.domain(), posixErrorDomain());
        QTEST(int(error.code()), "error");
    }
}

void InstallerLoaderTest::icon_data()
{
    QTest::addColumn<QVariant>("iconFile");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRgb>("color");

    const QByteArray icns = encoded(filled(512, 512, 0xffff0000), "icns");
    QTest::addRow("with extension")
        << QVariant("App.icns") << "App.icns" << icns << QSize(256, 256) << 0xffff0000;
    QTest::addRow("without extension")
        << QVariant("App") << "App.icns" << icns << QSize(256, 256) << 0xffff0000;
    const QByteArray renditions = icnsOf({{"icp5", filled(32, 32, 0xff0000ff)},
                                          {"ic07", filled(128, 128, 0xff00ff00)},
                                          {"icp4", filled(16, 16, 0xffffff00)}});
    QTest::addRow("largest rendition")
        << QVariant("App") << "App.icns" << renditions << QSize(128, 128) << 0xff00ff00;
    QTest::addRow("other format, aspect kept")
        << QVariant("Wide.png") << "Wide.png" << encoded(filled(600, 300, 0xff0000ff), "png")
        << QSize(256, 128) << 0xff0000ff;
    QTest::addRow("no key") << QVariant() << "App.icns" << icns << QSize() << QRgb();
    QTest::addRow("missing file") << QVariant("App") << "Other.icns" << icns << QSize() << QRgb();
    QTest::addRow("not a string") << QVariant(5) << "5.icns" << icns << QSize() << QRgb();
    QTest::addRow("garbage") << QVariant("App") << "App.icns" << QByteArray("icns\0\0", 6)
                             << QSize() << QRgb();
    QTest::addRow("outside Resources")
        << QVariant("../App") << "../App.icns" << icns << QSize() << QRgb();
}

void InstallerLoaderTest::icon()
{
    QFETCH(QVariant, iconFile);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    QFETCH(QSize, size);
    QVariantMap keys;
    if (iconFile.isValid())
        keys.insert("CFBundleIconFile", iconFile);
    const QString bundle = makeBundle(m_dir.filePath(QTest::currentDataTag()), plistData(keys));
    writeFile(bundle + "/Contents/Resources/" + fileName, contents);

    const InstallerInfo info = readInstallerInfo(QUrl::fromLocalFile(bundle));
    QCOMPARE(info.icon.has_value(), size.isValid());
    if (info.icon) {
        QCOMPARE(info.icon->size(), size);
        QTEST(info.icon->pixel(size.width() / 2, size.height() / 2), "color");
    }
}

QTEST_GUILESS_MAIN(InstallerLoaderTest)
#include "tst_installerloader.moc"
