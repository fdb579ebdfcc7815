#include "bundlefiles.h"
#include "installerloader.h"

#include <QBuffer>
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

// "a/b=12" is a 12-byte file, "a/b/" a folder, "a/b->target" a symbolic link.
void makeTree(const QString &root, const QStringList &entries)
{
    QDir().mkpath(root);
    for (const QString &entry : entries) {
        const QString path = root + '/' + entry.section("->", 0, 0).section('=', 0, 0);
        if (entry.contains("->"))
            QVERIFY(QDir().mkpath(QFileInfo(path).path()) &&
                    QFile::link(entry.section("->", 1), path));
        else if (entry.endsWith('/'))
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(writeTestFile(path, QByteArray(entry.section('=', 1).toInt(), 'x')));
    }
}

QByteArray encoded(int width, int height, QRgb color, const char *format = "png")
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
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
    for (const auto &[type, png] : renditions)
        body += type + length(png.size()) + png;
    return "icns" + length(body.size()) + body;
}

} // namespace

class InstallerLoaderTest : public QObject
{
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void stringWithNulByte();
    void unreadablePlist_data();
    void unreadablePlist();
    void specialFiles_data();
    void specialFiles();
    void size_data();
    void size();
    void sizeBelowPathLengthLimit();
    void sizeAsOtherUser_data();
    void sizeAsOtherUser();
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
    QTest::addColumn<QStringList>("expected"); // name, version, buildNumber, macOSVersion
    const auto row = [](const char *tag, const QString &folder, const QVariantMap &keys,
                        bool binary, const QStringList &expected) {
        QTest::addRow("%s", tag) << folder << keys << binary << expected;
    };

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

    row("xml", app, all, false, fromAll);
    row("binary", app, all, true, fromAll);
    row("file name", app, {}, false, fallbacks);
    row("file name, trailing slash", app + '/', {}, true, fallbacks);
    row("non-strings", app, wrongTypes, true, fallbacks);
    row("empty strings", app, empty, false, {"", "", "", ""});
    row("non-string display name", app, {{"CFBundleDisplayName", false}, {"CFBundleName", "N"}},
        false, {"N", "Unknown", "Unknown", app});
    row("file name, percent sign", "1% Big Sur.app", {}, false,
        {"1% Big Sur", "Unknown", "Unknown", "1% Big Sur.app"});
    row(".app anywhere, case-sensitive", "x.app", {{"CFBundleDisplayName", "A.app B.APP C.appD"}},
        false, {"A B.APP CD", "Unknown", "Unknown", "x.app"});
}

void InstallerLoaderTest::fields()
{
    QFETCH(QString, folder);
    QFETCH(QVariantMap, keys);
    QFETCH(bool, binary);
    const QByteArray plist = plistData(keys, binary);
    const QString path = m_dir.filePath(QTest::currentDataTag()) + '/' + folder;
    const QUrl url = QUrl::fromLocalFile(makeTestBundle(path, plist));

    const InstallerInfo info = readInstallerInfo(url);
    QCOMPARE(info.path, url);
    QTEST(QStringList({info.name, info.version, info.buildNumber, info.macOSVersion}), "expected");
    QCOMPARE(info.size, plist.size() + 10);
    QVERIFY(!info.icon);
}

// A raw NUL byte inside a string of a crafted Info.plist once aborted the whole process inside
// libplist; the load must go on.
void InstallerLoaderTest::stringWithNulByte()
{
    QByteArray plist = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                       "<key>CFBundleDisplayName</key><string>Inst";
    plist.append('\0').append("all</string></dict></plist>\n");
    const QString path = m_dir.filePath("nul") + "/x.app";
    const InstallerInfo info = readInstallerInfo(QUrl::fromLocalFile(makeTestBundle(path, plist)));
    QVERIFY(info.name.startsWith("Inst"));
}

void InstallerLoaderTest::unreadablePlist_data()
{
    QTest::addColumn<QByteArray>("contents"); // null: no Info.plist at all
    const QByteArray valid = plistData(QVariantMap{{"CFBundleName", "A"}});
    QTest::addRow("missing") << QByteArray();
    QTest::addRow("empty") << QByteArray("");
    QTest::addRow("garbage") << QByteArray("\x00\xff garbage", 10);
    QTest::addRow("truncated xml") << valid.left(valid.size() / 2);
    QTest::addRow("binary header alone") << QByteArray("bplist00");
    QTest::addRow("top-level array") << plistData(QVariantList{"a"});
    QTest::addRow("top-level string, binary") << plistData(QString("a"), true);
    QTest::addRow("over 16 MiB, well-formed") << valid + QByteArray(17 * 1024 * 1024, ' ');
}

void InstallerLoaderTest::unreadablePlist()
{
    QFETCH(QByteArray, contents);
    const QString bundle = makeTestBundle(m_dir.filePath(QTest::currentDataTag()), contents);
    if (contents.isNull())
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

// A pipe, socket or device inside a bundle must fail or be skipped at once, never block the load.
void InstallerLoaderTest::specialFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("target"); // empty: a named pipe; else a link to this
    QTest::addRow("pipe as Info.plist") << "Info.plist"
                                        << "";
    QTest::addRow("pipe as icon") << "Resources/App.icns"
                                  << "";
    QTest::addRow("device as icon") << "Resources/App.icns"
                                    << "/dev/zero";
}

void InstallerLoaderTest::specialFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, target);
    const QString bundle = makeTestBundle(m_dir.filePath(QTest::currentDataTag()),
                                          plistData(QVariantMap{{"CFBundleIconFile", "App"}}));
    const QByteArray path = QFile::encodeName(bundle + "/Contents/" + file);
    QFile::remove(path);
    QCOMPARE(target.isEmpty() ? mkfifo(path.constData(), 0600)
                              : symlink(QFile::encodeName(target).constData(), path.constData()),
             0);
    try {
        const InstallerInfo info = readInstallerInfo(QUrl::fromLocalFile(bundle));
        QVERIFY(!file.endsWith("Info.plist"));
        QVERIFY(!info.icon);
    } catch (const Error &error) {
        QVERIFY(file.endsWith("Info.plist"));
        QCOMPARE(error.localizedDescription(), "Could not read Info.plist");
    }
}

void InstallerLoaderTest::size_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<qint64>("size");
    const auto row = [](const char *tag, const QStringList &entries, qint64 size) {
        QTest::addRow("%s", tag) << entries << size;
    };
    row("files", {"Contents/Info.plist=300", "Contents/Resources/tool=4000"}, 4300);
    row("folders count nothing", {"Contents/A/B/C/", "Contents/E/", "f=5"}, 5);
    row("hidden files", {".DS_Store=100", "Contents/.x=200", "a.b=7"}, 7);
    row("hidden folders", {"Contents/.git/objects/pack=5000", "Contents/.git/HEAD=41", "f=7"}, 7);
    row("nested bundle", {"Contents/SharedSupport/Inner.app/Contents/MacOS/tool=777", "f=1"}, 778);
    // Links count with the length of their target text and are never followed.
    row("symlink loops", {"Contents/self->.", "Contents/up->..", "a->b", "b->a"}, 5);
    row("symlink to a folder", {"usr->/usr", "f=2"}, 6);
    row("symlink to a huge file", {"big->../huge.bin"}, 11);
    row("hidden symlink", {".hidden->/usr", "f=2"}, 2);
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
    QTest::addColumn<QString>("walked");
    QTest::addColumn<QString>("locked");
    QTest::addColumn<int>("mode");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("error");
    QTest::addRow("unreadable folder skipped") << ""
                                               << "Contents/Locked" << 0 << 10LL << 0;
    QTest::addRow("unreadable top folder") << ""
                                           << "" << 0 << 0LL << EACCES;
    // Listed but not searchable: the entries' attributes cannot be read.
    QTest::addRow("unsearchable folder") << ""
                                         << "Contents/Locked" << 0444 << 0LL << EACCES;
    QTest::addRow("vanished") << "/gone"
                              << "" << 0755 << 0LL << ENOENT;
    QTest::addRow("a file") << "/Contents/Locked/secret"
                            << "" << 0755 << 0LL << ENOTDIR;
}

// Root reads any folder, so the walk runs in a child that has become "nobody".
void InstallerLoaderTest::sizeAsOtherUser()
{
    QFETCH(QString, walked);
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
            result[0] = calculateDirectorySize(root + walked);
        } catch (const Error &failure) {
            result[1] = failure.domain() == posixErrorDomain() ? failure.code() : -2;
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

void InstallerLoaderTest::icon_data()
{
    QTest::addColumn<QVariant>("iconFile"); // invalid: no CFBundleIconFile key
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QSize>("size"); // invalid: no icon
    QTest::addColumn<QRgb>("color");
    const auto row = [](const char *tag, const QVariant &iconFile, const QString &fileName,
                        const QByteArray &contents, QSize size = {}, QRgb color = 0) {
        QTest::addRow("%s", tag) << iconFile << fileName << contents << size << color;
    };
    const QByteArray icns = encoded(512, 512, 0xffff0000, "icns");
    const QByteArray renditions = icnsOf({{"icp5", encoded(32, 32, 0xff0000ff)},
                                          {"ic07", encoded(128, 128, 0xff00ff00)},
                                          {"icp4", encoded(16, 16, 0xffffff00)}});
    row("with extension", "App.icns", "App.icns", icns, {256, 256}, 0xffff0000);
    row("without extension", "App", "App.icns", icns, {256, 256}, 0xffff0000);
    row("largest rendition", "App", "App.icns", renditions, {128, 128}, 0xff00ff00);
    row("other format, aspect kept", "Wide.png", "Wide.png", encoded(600, 300, 0xff0000ff),
        {256, 128}, 0xff0000ff);
    row("no key", {}, "App.icns", icns);
    row("missing file", "App", "Other.icns", icns);
    row("not a string", 5, "5.icns", icns);
    row("garbage", "App", "App.icns", QByteArray("icns\0\0", 6));
    row("outside Resources", "../App", "../App.icns", icns);
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
    const QString bundle = makeTestBundle(m_dir.filePath(QTest::currentDataTag()), plistData(keys));
    QVERIFY(writeTestFile(bundle + "/Contents/Resources/" + fileName, contents));

    const InstallerInfo info = readInstallerInfo(QUrl::fromLocalFile(bundle));
    QCOMPARE(info.icon.has_value(), size.isValid());
    if (info.icon) {
        QCOMPARE(info.icon->size(), size);
        QTEST(info.icon->pixel(size.width() / 2, size.height() / 2), "color");
    }
}

QTEST_GUILESS_MAIN(InstallerLoaderTest)
#include "tst_installerloader.moc"
