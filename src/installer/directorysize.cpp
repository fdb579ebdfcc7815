#include "installerloader.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel {

namespace {

// Two walkers already keep a 2-core machine's lookups busy; more only pay off with more cores.
constexpr unsigned maxWalkers = 4;

// Shared state of one size walk. Folders are queued by their path relative to the top folder,
// so each walker holds at most one folder open at a time, however deep or wide the tree.
struct Walk
{
    int topFd = -1;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> pending; // folders not yet read, taken last-in first-out
    unsigned reading = 0;             // walkers that may still add folders to pending
    int error = 0;                    // first fatal errno; ends the walk
};

bool isResourceExhaustion(int error)
{
    return error == EMFILE || error == ENFILE || error == ENOMEM;
}

// openat() refuses relative paths of PATH_MAX bytes or more; deeper folders are reached in
// chunks below that limit, never holding more than two descriptors.
int openFolder(int topFd, const std::string &relativePath)
{
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    if (relativePath.empty())
        return ::openat(topFd, ".", flags);
    if (relativePath.size() < PATH_MAX)
        return ::openat(topFd, relativePath.c_str(), flags);

    int fd = topFd;
    std::string_view rest = relativePath;
    std::string chunk;
    while (!rest.empty()) {
        size_t length = rest.size();
        if (length >= PATH_MAX) {
            length = rest.rfind('/', PATH_MAX - 1);
            if (length == std::string_view::npos || length == 0) {
                errno = ENAMETOOLONG;
                length = 0;
            }
        }
        int next = -1;
        if (length > 0) {
            chunk.assign(rest.substr(0, length));
            next = ::openat(fd, chunk.c_str(), flags);
        }
        const int savedErrno = errno;
        if (fd != topFd)
            ::close(fd);
        errno = savedErrno;
        if (next < 0)
            return -1;
        fd = next;
        rest.remove_prefix(std::min(rest.size(), length + 1));
    }
    return fd;
}

// Adds the sizes of one folder's files to total and appends its subfolders to folders.
// Returns 0, or the errno that must end the walk.
int readFolder(int topFd, const std::string &relativePath, std::vector<std::string> &folders,
               qint64 &total)
{
    const int fd = openFolder(topFd, relativePath);
    if (fd < 0) {
        // An unreadable or vanished subfolder is skipped, as the enumerator would; running out
        // of descriptors or memory would silently give a wrong total instead.
        return isResourceExhaustion(errno) || relativePath.empty() ? errno : 0;
    }
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        const int error = errno;
        ::close(fd);
        return error;
    }

    // Summed locally: walkers' totals may share a cache line.
    qint64 sum = 0;
    int error = 0;
    try {
        for (;;) {
            errno = 0;
            const dirent *entry = ::readdir(dir);
            // End of the folder, or an unreadable rest of it, skipped like an unreadable folder.
            if (!entry)
                break;
            const char *name = entry->d_name;
            if (name[0] == '.')
                continue; // hidden, and "." and ".."

            bool isFolder = entry->d_type == DT_DIR;
            struct stat status;
#ifdef __APPLE__
            // Finder's hidden flag hides folders too, so every entry needs its attributes.
            const bool needStatus = true;
#else
            const bool needStatus = !isFolder;
#endif
            if (needStatus) {
                if (::fstatat(fd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
                    error = errno;
                    break;
                }
#ifdef __APPLE__
                if (status.st_flags & UF_HIDDEN)
                    continue;
#endif
                isFolder = S_ISDIR(status.st_mode);
            }
            if (isFolder) {
                std::string &child = folders.emplace_back(relativePath);
                if (!child.empty())
                    child += '/';
                child += name;
            } else if (__builtin_add_overflow(sum, qint64(status.st_size), &sum)) {
                // Sparse files can claim sizes whose sum no 64-bit count holds.
                error = EOVERFLOW;
                break;
            }
        }
    } catch (const std::bad_alloc &) {
        error = ENOMEM;
    }
    ::closedir(dir);
    if (error == 0 && __builtin_add_overflow(total, sum, &total))
        error = EOVERFLOW;
    return error;
}

void walk(Walk &state, qint64 &total) noexcept
{
    std::vector<std::string> found;
    std::string folder;
    std::unique_lock lock(state.mutex);
    for (;;) {
        state.changed.wait(
            lock, [&] { return state.error != 0 || !state.pending.empty() || state.reading == 0; });
        if (state.error != 0 || state.pending.empty())
            break;
        folder = std::move(state.pending.back());
        state.pending.pop_back();
        ++state.reading;
        lock.unlock();

        const int error = readFolder(state.topFd, folder, found, total);

        lock.lock();
        --state.reading;
        if (error != 0 && state.error == 0)
            state.error = error;
        try {
            state.pending.insert(state.pending.end(), std::make_move_iterator(found.begin()),
                                 std::make_move_iterator(found.end()));
        } catch (const std::bad_alloc &) {
            if (state.error == 0)
                state.error = ENOMEM;
        }
        found.clear();
        state.changed.notify_all();
    }
}

} // namespace

qint64 calculateDirectorySize(const QString &directoryPath)
{
    Walk state;
    state.topFd =
        ::open(QFile::encodeName(directoryPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state.topFd < 0)
        throw Error::posix(errno);

    // The calling thread reads the top folder alone, so small trees never start a thread.
    qint64 total = 0;
    state.error = readFolder(state.topFd, std::string(), state.pending, total);

    const unsigned walkers = std::clamp(std::thread::hardware_concurrency(), 1u, maxWalkers);
    std::vector<qint64> helperTotals(walkers - 1, 0);
    std::vector<std::thread> helpers;
    helpers.reserve(helperTotals.size());
    if (state.error == 0 && !state.pending.empty()) {
        for (qint64 &helperTotal : helperTotals) {
            try {
                helpers.emplace_back(walk, std::ref(state), std::ref(helperTotal));
            } catch (const std::system_error &) {
                break; // no thread to spare: the calling thread walks alone
            }
        }
    }
    walk(state, total);
    for (std::thread &helper : helpers)
        helper.join();
    ::close(state.topFd);

    if (state.error != 0)
        throw Error::posix(state.error);
    for (const qint64 helperTotal : helperTotals) {
        if (__builtin_add_overflow(total, helperTotal, &total))
            throw Error::posix(EOVERFLOW);
    }
    return total;
}

} // namespace vantorel
