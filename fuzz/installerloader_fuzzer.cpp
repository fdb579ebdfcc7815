// Installer loading on mutated Info.plist bytes and bundle trees: readInstallerInfo returns or
// throws vantorel::Error, and nothing else: no crash, no undefined behaviour, no leaked memory or
// descriptor. Where the tree stays put, the result is also checked against an independent
// reading: the load fails exactly when the property list is not a dictionary, and the size is
// the sum over the tree.
//
// Input: header lines up to a line "%%", then the Info.plist bytes, optionally followed by a
// line "%%icon" and the bytes of Contents/Resources/AppIcon.icns. Header lines (PATH is relative
// to the bundle):
//   n NAME          the bundle folder's name
//   d PATH          a folder, with its parents
//   f PATH SIZE     a file of SIZE bytes (sparse)
//   l PATH TARGET   a symbolic link (loops and dangling links welcome)
//   u PATH          the folder made unreadable (mode 000; root reads it all the same)
//   D COUNT NAME    COUNT folders named NAME nested below the bundle, deeper than one path can
//                   reach, with a one-byte file at the bottom
//   r               another thread removes the bundle while it is read
//   t               the bundle's URL ends in "/"

#include "error.h"
#include "fuzzcheck.h"
#include "installerloader.h"

#include <QFile>
#include <QImage>
#include <QUrl>
#include <QtGlobal>

#include <plist/plist.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vantorel;
using vantorel::fuzz::check;
using vantorel::fuzz::printable;

namespace {

constexpr std::size_t maxOperations = 64;
constexpr int maxNesting = 300;
constexpr char area[] = "bundles";

std::string rootPath;
int rootFd = -1;

struct Tree
{
    std::string name = "Install macOS Fuzz.app";
    std::vector<std::string> lines;
    std::string plist;
    std::string icon;
    bool hasIcon = false;
    bool removeDuringRead = false;
    bool trailingSlash = false;
    bool unreadableFolders = false;
};

Tree parse(std::string_view input)
{
    Tree tree;
    const std::size_t separator = input.find("%%\n");
    std::string_view header =
        separator == std::string_view::npos ? std::string_view() : input.substr(0, separator);
    std::string_view body =
        separator == std::string_view::npos ? input : input.substr(separator + 3);
    const std::size_t iconMark = body.find("\n%%icon\n");
    if (iconMark != std::string_view::npos) {
        tree.icon = body.substr(iconMark + 8);
        tree.hasIcon = true;
        body = body.substr(0, iconMark + 1);
    }
    tree.plist = body;
    while (!header.empty() && tree.lines.size() < maxOperations) {
        const std::size_t end = header.find('\n');
        tree.lines.emplace_back(header.substr(0, end));
        header = end == std::string_view::npos ? std::string_view() : header.substr(end + 1);
    }
    return tree;
}

// Relative path components, or nothing when the path would leave the bundle.
bool components(std::string_view path, std::vector<std::string> &parts)
{
    parts.clear();
    if (path.empty() || path.size() > 1024 || path.find('\0') != std::string_view::npos)
        return false;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == ".." || part.size() > NAME_MAX)
            return false;
        parts.emplace_back(part);
    }
    return !parts.empty();
}

// Opens the folder holding the last component, making the ones before it; -1 on failure.
int openParent(int bundleFd, const std::vector<std::string> &parts)
{
    int fd = ::dup(bundleFd);
    for (std::size_t i = 0; fd >= 0 && i + 1 < parts.size(); ++i) {
        ::mkdirat(fd, parts[i].c_str(), 0755);
        const int next =
            ::openat(fd, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    return fd;
}

void createFile(int folderFd, const char *name, off_t size)
{
    const int fd = ::openat(folderFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    // Too large for this file system: the file stays empty.
    if (size > 0 && ::ftruncate(fd, size) != 0)
        errno = 0;
    ::close(fd);
}

void writeFile(int folderFd, const char *name, const std::string &bytes)
{
    const int fd = ::openat(folderFd, name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    check(fd >= 0, "fixture file written", name);
    check(::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()), "fixture file written",
          name);
    ::close(fd);
}

void nest(int bundleFd, std::string_view arguments)
{
    int count = 0;
    const auto [end, error] =
        std::from_chars(arguments.data(), arguments.data() + arguments.size(), count);
    if (error != std::errc() || end == arguments.data() + arguments.size() || *end != ' ')
        return;
    const std::string name(end + 1, arguments.data() + arguments.size());
    if (name.empty() || name == "." || name == ".." || name.size() > NAME_MAX ||
        name.find_first_of(std::string_view("/\0", 2)) != std::string::npos)
        return;
    int fd = ::dup(bundleFd);
    for (int level = 0; fd >= 0 && level < std::min(count, maxNesting); ++level) {
        ::mkdirat(fd, name.c_str(), 0755);
        const int next =
            ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    if (fd >= 0) {
        createFile(fd, "leaf", 1);
        ::close(fd);
    }
}

void apply(Tree &tree, int bundleFd, const std::string &line)
{
    if (line.size() == 1) {
        tree.removeDuringRead |= line[0] == 'r';
        tree.trailingSlash |= line[0] == 't';
        return;
    }
    if (line.size() < 3 || line[1] != ' ')
        return;
    const std::string_view arguments = std::string_view(line).substr(2);
    if (line[0] == 'D')
        return nest(bundleFd, arguments);

    // Paths and the link target are split at the last space, so paths may hold spaces.
    std::string_view path = arguments;
    std::string_view second;
    if (line[0] == 'f' || line[0] == 'l') {
        const std::size_t space = arguments.rfind(' ');
        if (space == std::string_view::npos)
            return;
        path = arguments.substr(0, space);
        second = arguments.substr(space + 1);
    }
    std::vector<std::string> parts;
    if (!components(path, parts))
        return;
    const int parentFd = openParent(bundleFd, parts);
    if (parentFd < 0)
        return;
    const char *name = parts.back().c_str();
    switch (line[0]) {
    case 'd':
        ::mkdirat(parentFd, name, 0755);
        break;
    case 'f': {
        unsigned long long size = 0;
        std::from_chars(second.data(), second.data() + second.size(), size);
        createFile(parentFd, name, off_t(std::min<unsigned long long>(size, LLONG_MAX)));
        break;
    }
    case 'l':
        if (second.find('\0') == std::string_view::npos)
            ::symlinkat(std::string(second).c_str(), parentFd, name);
        break;
    case 'u': {
        struct stat status;
        if (::fstatat(parentFd, name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(status.st_mode)) {
            ::fchmodat(parentFd, name, 0, 0);
            tree.unreadableFolders = true;
        }
        break;
    }
    default:
        break;
    }
    ::close(parentFd);
}

// Removes a tree of any depth below parentFd, unreadable folders included.
void removeTree(int parentFd, const char *name)
{
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(parentFd, name, flags);
    if (fd < 0 && errno == EACCES && ::fchmodat(parentFd, name, 0700, 0) == 0)
        fd = ::openat(parentFd, name, flags);
    if (fd < 0) {
        ::unlinkat(parentFd, name, 0);
        return;
    }
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view entryName = entry->d_name;
        if (entryName != "." && entryName != "..")
            names.emplace_back(entryName);
    }
    for (const std::string &entry : names)
        removeTree(::dirfd(dir), entry.c_str());
    ::closedir(dir);
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

// The size the loader should report: every non-hidden entry that is not a folder, links by
// their own length, unreadable folders skipped. False when the sum leaves 64 bits.
bool expectedSize(int folderFd, qint64 &total)
{
    DIR *dir = ::fdopendir(folderFd);
    if (!dir) {
        ::close(folderFd);
        return true;
    }
    bool fits = true;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        struct stat status;
        if (::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (!S_ISDIR(status.st_mode)) {
            fits &= !__builtin_add_overflow(total, qint64(status.st_size), &total);
            continue;
        }
        const int child =
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child >= 0)
            fits &= expectedSize(child, total);
    }
    ::closedir(dir);
    return fits;
}

bool isDictionary(const std::string &bytes)
{
    if (bytes.empty())
        return false;
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), uint32_t(bytes.size()), &root);
    const bool dictionary = root && plist_get_node_type(root) == PLIST_DICT;
    if (root)
        plist_free(root);
    return dictionary;
}

int openDescriptors()
{
    DIR *dir = ::opendir("/proc/self/fd");
    check(dir != nullptr, "/proc/self/fd readable");
    int count = 0;
    while (::readdir(dir))
        ++count;
    ::closedir(dir);
    return count;
}

void removeRoot()
{
    removeTree(AT_FDCWD, rootPath.c_str());
}

// One plain load, so that one-time set-up (image plugins, caches) is not taken for a leak.
void warmUp()
{
    const std::string bundle = rootPath + "/Warm.app";
    const std::string resources = bundle + "/Contents/Resources";
    for (const std::string &folder : {bundle, bundle + "/Contents", resources})
        check(::mkdir(folder.c_str(), 0755) == 0, "warm-up bundle created");
    writeFile(AT_FDCWD, (bundle + "/Contents/Info.plist").c_str(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
              "<key>CFBundleIconFile</key><string>AppIcon</string></dict></plist>\n");
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    check(icon.save(QString::fromStdString(resources + "/AppIcon.icns"), "PNG"),
          "warm-up icon written");
    readInstallerInfo(QUrl::fromLocalFile(QString::fromStdString(bundle)));
    removeTree(rootFd, "Warm.app");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Image readers complain about every broken icon; the fuzzer's own output matters.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const char *tmp = std::getenv("TMPDIR");
    rootPath = std::string(tmp && *tmp ? tmp : "/tmp") + "/vantorel-fuzz-XXXXXX";
    check(::mkdtemp(rootPath.data()) != nullptr, "temporary folder created");
    rootFd = ::open(rootPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    check(rootFd >= 0, "temporary folder opened");
    std::atexit(removeRoot);
    warmUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Tree tree = parse(std::string_view(reinterpret_cast<const char *>(data), size));
    for (const std::string &line : tree.lines) {
        if (line.size() > 2 && line[0] == 'n' && line[1] == ' ') {
            // The application sees names as UTF-8; other bytes could not be handed to it.
            QByteArray name =
                QFile::encodeName(QFile::decodeName(QByteArray(line.substr(2).c_str())));
            name.replace('/', '_');
            if (!name.isEmpty() && name != "." && name != ".." && name.size() <= NAME_MAX)
                tree.name = name.toStdString();
        }
    }

    check(::mkdirat(rootFd, area, 0755) == 0, "bundle area created");
    const int areaFd = ::openat(rootFd, area, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    check(areaFd >= 0 && ::mkdirat(areaFd, tree.name.c_str(), 0755) == 0, "bundle created",
          printable(tree.name));
    const int bundleFd = ::openat(areaFd, tree.name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    check(bundleFd >= 0 && ::mkdirat(bundleFd, "Contents", 0755) == 0, "Contents created");
    {
        const int contentsFd = ::openat(bundleFd, "Contents", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        writeFile(contentsFd, "Info.plist", tree.plist);
        if (tree.hasIcon) {
            check(::mkdirat(contentsFd, "Resources", 0755) == 0, "Resources created");
            const int resourcesFd =
                ::openat(contentsFd, "Resources", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            writeFile(resourcesFd, "AppIcon.icns", tree.icon);
            ::close(resourcesFd);
        }
        ::close(contentsFd);
    }
    for (const std::string &line : tree.lines)
        apply(tree, bundleFd, line);

    // The independent reading only holds while the tree stays put and is readable throughout.
    const bool predictable =
        !tree.removeDuringRead && (!tree.unreadableFolders || ::geteuid() == 0);
    qint64 expected = 0;
    const bool sizeFits = expectedSize(::dup(bundleFd), expected);
    ::close(bundleFd);

    std::string bundlePath = rootPath + "/" + area + "/" + tree.name;
    if (tree.trailingSlash)
        bundlePath += '/';
    const QUrl url = QUrl::fromLocalFile(QFile::decodeName(QByteArray(bundlePath.c_str())));

    const int descriptorsBefore = openDescriptors();
    std::thread remover;
    if (tree.removeDuringRead)
        remover = std::thread([areaFd, &tree] { removeTree(areaFd, tree.name.c_str()); });
    std::optional<InstallerInfo> info;
    std::optional<Error> failure;
    try {
        info = readInstallerInfo(url);
    } catch (const Error &error) {
        failure = error;
    }
    if (remover.joinable())
        remover.join();
    check(openDescriptors() == descriptorsBefore, "no descriptor left open");

    if (info)
        check(info->size >= 0, "a size is never negative", std::to_string(info->size));
    if (predictable) {
        const bool dictionary = isDictionary(tree.plist);
        if (failure) {
            const bool plistFailure =
                failure->domain() == applicationErrorDomain() && failure->code() == 1;
            check(plistFailure ? !dictionary : !sizeFits,
                  "a steady bundle fails only for its property list or a size beyond 64 bits",
                  failure->localizedDescription().toStdString());
        } else {
            check(dictionary, "a property list that is no dictionary fails the load");
            if (sizeFits)
                check(info->size == expected, "the size is the sum over the tree",
                      std::to_string(info->size) + " != " + std::to_string(expected));
        }
    }

    removeTree(rootFd, area);
    ::close(areaFd);
    return 0;
}
