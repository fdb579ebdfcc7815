// Pushes a large volume of output through AppleScriptExecutor and compares the wall time with the
// same child writing to /dev/null; also prints the runner's peak memory growth. Not a test: run
// it on a quiet machine.
//
//   applescriptexecutor_bench [--bytes N] [--runs N]
//
// Two children: this program itself in child mode (writes N bytes to standard output and N to
// standard error, interleaved, then exits 3), and vantorel-osascript running two `head -c N
// /dev/zero` at once, one of them into standard error.

#include "applescriptexecutor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

using namespace vantorel;

namespace {

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

// Child mode: "-e N".
int writeOutput(long long total)
{
    std::vector<char> chunk(64 * 1024, 'x');
    for (std::size_t i = 79; i < chunk.size(); i += 80)
        chunk[i] = '\n';
    for (long long done = 0; done < total;) {
        const std::size_t size =
            std::size_t(std::min<long long>(total - done, (long long)chunk.size()));
        if (!writeAll(STDOUT_FILENO, chunk.data(), size) ||
            !writeAll(STDERR_FILENO, chunk.data(), size))
            return 1;
        done += (long long)size;
    }
    return 3;
}

// Peak resident size. On Linux the peak can be reset, so each measurement starts afresh.
void resetPeak()
{
    const int fd = ::open("/proc/self/clear_refs", O_WRONLY | O_CLOEXEC);
    if (fd >= 0) {
        writeAll(fd, "5", 1);
        ::close(fd);
    }
}

long long peakBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').front().toLongLong() * 1024;
        }
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
#ifdef __APPLE__
    return usage.ru_maxrss;
#else
    return usage.ru_maxrss * 1024LL;
#endif
}

long long residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').front().toLongLong() * 1024;
        }
    }
    return peakBytes();
}

// The same child with both outputs sent to /dev/null, without the runner.
double timeToDevNull(const std::vector<std::string> &argv)
{
    std::vector<char *> arguments;
    for (const std::string &argument : argv)
        arguments.push_back(const_cast<char *>(argument.c_str()));
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = -1;
    int status = 0;
    if (posix_spawn(&pid, arguments[0], &actions, nullptr, arguments.data(), environ) != 0 ||
        ::waitpid(pid, &status, 0) < 0) {
        std::perror("spawn");
        std::exit(1);
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    posix_spawn_file_actions_destroy(&actions);
    return seconds;
}

// The floor for any runner that reads through pipes: both outputs drained by a bare read loop
// that looks at nothing.
double timeThroughBarePipes(const std::vector<std::string> &argv)
{
    std::vector<char *> arguments;
    for (const std::string &argument : argv)
        arguments.push_back(const_cast<char *>(argument.c_str()));
    arguments.push_back(nullptr);
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = -1;
    if (posix_spawn(&pid, arguments[0], &actions, nullptr, arguments.data(), environ) != 0) {
        std::perror("spawn");
        std::exit(1);
    }
    ::close(out[1]);
    ::close(err[1]);
    std::vector<char> buffer(64 * 1024);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    for (int open = 2; open > 0;) {
        ::poll(fds, 2, -1);
        for (pollfd &fd : fds) {
            if (fd.fd >= 0 && fd.revents != 0 && ::read(fd.fd, buffer.data(), buffer.size()) <= 0) {
                ::close(fd.fd);
                fd.fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return double(timer.nsecsElapsed()) / 1e9;
}

struct Figures
{
    double runner = 1e9;
    double barePipes = 1e9;
    double devNull = 1e9;
    long long growth = 0;
};

void report(const char *name, long long bytes, const Figures &figures)
{
    const double mib = double(bytes) / (1024.0 * 1024.0);
    std::printf("%s\n", name);
    std::printf("  through the runner:      %8.3f s  (%.0f MiB/s per stream)\n", figures.runner,
                mib / figures.runner);
    std::printf("  to /dev/null:            %8.3f s  ratio %.2fx (goal <= 1.20x)\n",
                figures.devNull, figures.runner / figures.devNull);
    std::printf("  through bare pipes:      %8.3f s  ratio %.2fx\n", figures.barePipes,
                figures.runner / figures.barePipes);
    std::printf("  runner's peak growth:    %8.2f MiB (goal < 16 MiB)\n",
                double(figures.growth) / (1024.0 * 1024.0));
}

Figures measure(const QString &script, const QString &interpreter,
                const std::vector<std::string> &reference, int runs, int expectedCode)
{
    Figures figures;
    for (int run = 0; run < runs; ++run) {
        resetPeak();
        const long long before = std::max(peakBytes(), residentBytes());
        QElapsedTimer timer;
        timer.start();
        int code = 0;
        AppleScriptExecutor::executeAppleScript(
            script,
            [&code](bool, const std::optional<Error> &error) {
                code = error ? int(error->code()) : 0;
            },
            interpreter);
        figures.runner = std::min(figures.runner, double(timer.nsecsElapsed()) / 1e9);
        figures.growth = std::max(figures.growth, peakBytes() - before);
        if (code != expectedCode) {
            std::fprintf(stderr, "unexpected outcome %d\n", code);
            std::exit(1);
        }
        figures.barePipes = std::min(figures.barePipes, timeThroughBarePipes(reference));
        figures.devNull = std::min(figures.devNull, timeToDevNull(reference));
    }
    return figures;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "-e") == 0)
        return writeOutput(std::atoll(argv[2]));

    QCoreApplication app(argc, argv);
    long long bytes = 1LL << 30;
    int runs = 3;
    const QStringList arguments = app.arguments();
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QStringLiteral("--bytes"))
            bytes = arguments[i + 1].toLongLong();
        else if (arguments[i] == QStringLiteral("--runs"))
            runs = arguments[i + 1].toInt();
    }
    const QString self = QCoreApplication::applicationFilePath();
    const QString size = QString::number(bytes);

    // Warm up: the first run pays for lazily loaded code and allocator arenas.
    AppleScriptExecutor::executeAppleScript(
        QStringLiteral("1048576"), [](bool, const std::optional<Error> &) {}, self);

    std::printf("%lld bytes to standard output and %lld to standard error, best of %d runs\n\n",
                bytes, bytes, runs);
    report("Child writing both streams itself", bytes,
           measure(size, self, {self.toStdString(), "-e", size.toStdString()}, runs, 3));

    const QString command =
        QStringLiteral("head -c %1 /dev/zero & head -c %1 /dev/zero >&2; wait").arg(size);
    const QString osascript = AppleScriptExecutor::defaultInterpreterPath();
    std::printf("\n");
    report("vantorel-osascript running two head -c N /dev/zero", bytes,
           measure(QStringLiteral("do shell script \"%1\"").arg(command), osascript,
                   {"/bin/sh", "-c", command.toStdString()}, runs, 0));
    return 0;
}
