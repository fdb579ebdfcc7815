#include "childprocess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace vantorel {

namespace {

class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {}
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd); // not retried on EINTR: the descriptor is gone either way on Linux
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

// The parent's ends must never reach a child: another thread's child holding our write end
// would keep this run waiting for end of file until that child exits.
int makePipe(FileDescriptor &readEnd, FileDescriptor &writeEnd)
{
    int fds[2];
#ifdef __linux__
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return errno;
#else
    // No pipe2 here; POSIX_SPAWN_CLOEXEC_DEFAULT below keeps the window harmless for our children.
    if (::pipe(fds) != 0)
        return errno;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
#endif
    readEnd.reset(fds[0]);
    writeEnd.reset(fds[1]);
    // With the parent's own stdio closed, a pipe could land on 0..2, where dup2 onto itself
    // would keep close-on-exec set and the child would lose the stream.
    for (FileDescriptor *end : {&readEnd, &writeEnd}) {
        if (end->get() <= STDERR_FILENO) {
            const int moved = ::fcntl(end->get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
            if (moved < 0)
                return errno;
            end->reset(moved);
        }
    }
    if (::fcntl(readEnd.get(), F_SETFL, O_NONBLOCK) != 0)
        return errno;
    return 0;
}

class SpawnSetup
{
public:
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawnattr_init(&m_attributes);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attributes);
    }

    int prepare(int stdoutFd, int stderrFd, bool ownProcessGroup)
    {
        int error = 0;
        if (stdoutFd >= 0 &&
            (error = posix_spawn_file_actions_adddup2(&m_actions, stdoutFd, STDOUT_FILENO)) != 0)
            return error;
        if (stderrFd >= 0 &&
            (error = posix_spawn_file_actions_adddup2(&m_actions, stderrFd, STDERR_FILENO)) != 0)
            return error;

        // The child starts with a clean signal state whatever the calling thread blocks or the
        // application ignores (an ignored SIGPIPE would otherwise be inherited by every tool).
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int signal : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGCHLD})
            sigaddset(&defaults, signal);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (ownProcessGroup) {
            flags |= POSIX_SPAWN_SETPGROUP;
            if ((error = posix_spawnattr_setpgroup(&m_attributes, 0)) != 0)
                return error;
        }
#ifdef POSIX_SPAWN_CLOEXEC_DEFAULT
        flags |= POSIX_SPAWN_CLOEXEC_DEFAULT;
        for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            if ((fd == STDOUT_FILENO && stdoutFd >= 0) || (fd == STDERR_FILENO && stderrFd >= 0))
                continue;
            if ((error = posix_spawn_file_actions_addinherit_np(&m_actions, fd)) != 0)
                return error;
        }
#endif
        if ((error = posix_spawnattr_setsigmask(&m_attributes, &none)) != 0 ||
            (error = posix_spawnattr_setsigdefault(&m_attributes, &defaults)) != 0 ||
            (error = posix_spawnattr_setflags(&m_attributes, flags)) != 0)
            return error;
        return 0;
    }

    const posix_spawn_file_actions_t *actions() const
    {
        return &m_actions;
    }
    const posix_spawnattr_t *attributes() const
    {
        return &m_attributes;
    }

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attributes;
};

int reap(pid_t pid, int &waitStatus)
{
    while (::waitpid(pid, &waitStatus, 0) < 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

struct Stream
{
    FileDescriptor readEnd;
    const OutputSink *sink = nullptr;
};

// Reads both pipes until end of file on each; a failing poll() gives up the pipes rather than
// spinning, and the child then sees a broken pipe. A cancellation is carried out here, on the
// thread that owns the child, so no signal can reach a process that has been reaped.
void drain(Stream (&streams)[2], pid_t child, const CommandCancellation *cancellation)
{
    using Clock = std::chrono::steady_clock;
    constexpr std::size_t bufferSize = 64 * 1024;
    const std::unique_ptr<char[]> buffer(new char[bufferSize]);
    const int wakeFd = cancellation ? cancellation->readableWhenCancelled() : -1;
    int signalsSent = 0; // SIGTERM, then SIGKILL
    Clock::time_point nextStep;
    const auto giveUpPipes = [&streams] {
        for (Stream &stream : streams)
            stream.readEnd.reset();
    };
    for (;;) {
        if (cancellation && signalsSent == 0 && cancellation->isCancelled()) {
            ::kill(-child, SIGTERM);
            signalsSent = 1;
            nextStep = Clock::now() + terminationGrace;
        }
        pollfd fds[3];
        nfds_t count = 0;
        Stream *polled[2];
        for (Stream &stream : streams) {
            if (stream.readEnd.isOpen()) {
                fds[count] = pollfd{stream.readEnd.get(), POLLIN, 0};
                polled[count++] = &stream;
            }
        }
        if (count == 0)
            return;
        const nfds_t streamCount = count;
        int timeout = -1;
        if (signalsSent > 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(nextStep - Clock::now());
            timeout = int(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
        } else if (wakeFd >= 0) {
            fds[count++] = pollfd{wakeFd, POLLIN, 0};
        } else if (cancellation) {
            timeout = 100; // no descriptor to wake us: look again shortly
        }
        const int ready = ::poll(fds, count, timeout);
        if (ready < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            giveUpPipes();
            return;
        }
        if (ready == 0 && signalsSent > 0) {
            if (signalsSent == 1) {
                ::kill(-child, SIGKILL);
                signalsSent = 2;
                nextStep = Clock::now() + terminationGrace;
                continue;
            }
            giveUpPipes();
            return;
        }
        for (nfds_t i = 0; i < streamCount; ++i) {
            if (fds[i].revents == 0)
                continue;
            const ssize_t got = ::read(fds[i].fd, buffer.get(), bufferSize);
            if (got > 0)
                (*polled[i]->sink)(buffer.get(), static_cast<std::size_t>(got));
            else if (got == 0 || (errno != EINTR && errno != EAGAIN))
                polled[i]->readEnd.reset();
        }
    }
}

} // namespace

ChildOutcome runChildProcess(const std::vector<std::string> &argv, const OutputSink &onStdout,
                             const OutputSink &onStderr, const CommandCancellation *cancellation)
{
    ChildOutcome outcome;
    if (argv.empty()) {
        outcome.systemError = EINVAL;
        return outcome;
    }
    if (cancellation && cancellation->isCancelled()) {
        outcome.systemError = ECANCELED;
        return outcome;
    }
    std::vector<char *> arguments;
    arguments.reserve(argv.size() + 1);
    for (const std::string &argument : argv) {
        if (argument.find('\0') != std::string::npos) {
            outcome.systemError = EINVAL;
            return outcome;
        }
        arguments.push_back(const_cast<char *>(argument.c_str()));
    }
    arguments.push_back(nullptr);

    Stream streams[2];
    FileDescriptor writeEnds[2];
    const OutputSink *sinks[2] = {&onStdout, &onStderr};
    for (int i = 0; i < 2; ++i) {
        if (!*sinks[i])
            continue;
        streams[i].sink = sinks[i];
        if ((outcome.systemError = makePipe(streams[i].readEnd, writeEnds[i])) != 0)
            return outcome;
    }

    SpawnSetup setup;
    if ((outcome.systemError =
             setup.prepare(writeEnds[0].get(), writeEnds[1].get(), cancellation != nullptr)) != 0)
        return outcome;
    pid_t pid = -1;
    outcome.systemError = ::posix_spawn(&pid, arguments[0], setup.actions(), setup.attributes(),
                                        arguments.data(), environ);
    // Only the child may hold the write ends, or end of file would never come.
    writeEnds[0].reset();
    writeEnds[1].reset();
    if (outcome.systemError != 0)
        return outcome;

    try {
        drain(streams, pid, cancellation);
    } catch (...) {
        // A sink failed (out of memory): let go of the child without leaving a zombie.
        for (Stream &stream : streams)
            stream.readEnd.reset();
        int ignored = 0;
        reap(pid, ignored);
        throw;
    }
    outcome.systemError = reap(pid, outcome.waitStatus);
    return outcome;
}

} // namespace vantorel
