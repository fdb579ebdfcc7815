// Start-up of the real Vantorel window beside an empty Qt Quick window built the same way: the
// time from starting the process to its first rendered frame, and peak resident memory (VmHWM)
// at that frame and a while later. Not a test: run it on a quiet machine.
//
//   startup_bench [--runs N] [--settle MS] [--app PATH] [--baseline PATH]
//
// Both programs run unchanged, offscreen (unless QT_QPA_PLATFORM says otherwise); the scene
// graph's own render-loop log line marks the first frame. Runs alternate between the two so that
// the machine's load falls on both alike; one run of each is discarded to warm the caches. Beside
// the wall time, the CPU time all of the process's threads had used by the first frame is shown:
// on a shared machine it varies far less.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Sample
{
    double firstFrameMs = 0;
    double cpuMs = 0;
    long peakAtFrameKiB = 0;
    long peakKiB = 0;
};

long peakResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// CPU time of every thread of the process so far, from the scheduler's own accounting.
double cpuMilliseconds(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double total = 0;
    if (DIR *dir = ::opendir(tasks.c_str())) {
        while (const dirent *entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
            double onCpuNs = 0;
            if (schedstat >> onCpuNs)
                total += onCpuNs / 1e6;
        }
        ::closedir(dir);
    }
    return total;
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Reads the child's standard error until `marker` shows up or the deadline passes; with an
// empty marker it only drains until the deadline.
bool waitForLine(int fd, std::string &pending, const char *marker, Clock::time_point deadline)
{
    char buffer[4096];
    for (;;) {
        if (*marker && pending.find(marker) != std::string::npos)
            return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd poller{fd, POLLIN, 0};
        const int ready = ::poll(&poller, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        pending.append(buffer, std::size_t(got));
        // Keep only the unfinished tail: the marker is searched in what arrives.
        if (pending.size() > 65536)
            pending.erase(0, pending.size() - 4096);
    }
}

std::optional<Sample> measure(const std::string &program, int settleMs)
{
    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    const Clock::time_point start = Clock::now();
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(errorPipe[1]);
    if (error != 0) {
        ::close(errorPipe[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(error));
        return std::nullopt;
    }

    std::string output;
    std::optional<Sample> sample;
    if (waitForLine(errorPipe[0], output, "Frame rendered", start + std::chrono::seconds(30))) {
        sample = Sample{millisecondsSince(start), cpuMilliseconds(pid), peakResidentKiB(pid), 0};
        waitForLine(errorPipe[0], output, "", Clock::now() + std::chrono::milliseconds(settleMs));
        sample->peakKiB = peakResidentKiB(pid);
    } else {
        std::fprintf(stderr, "%s rendered no frame:\n%s\n", program.c_str(), output.c_str());
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(errorPipe[0]);
    return sample;
}

template<typename T> double median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? double(values[n / 2]) : (double(values[n / 2 - 1]) + double(values[n / 2])) / 2;
}

std::string besideThisProgram(const char *name)
{
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return name;
    std::string folder(path, std::size_t(length));
    return folder.substr(0, folder.rfind('/') + 1) + name;
}

} // namespace

int main(int argc, char *argv[])
{
    int runs = 7;
    int settleMs = 1000;
    std::string app = besideThisProgram("vantorel");
    std::string baseline = besideThisProgram("emptywindow_bench");
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--settle")
            settleMs = std::max(0, std::atoi(argv[i + 1]));
        else if (option == "--app")
            app = argv[i + 1];
        else if (option == "--baseline")
            baseline = argv[i + 1];
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QT_LOGGING_RULES", "qt.scenegraph.time.renderloop=true", 1);

    struct Series
    {
        std::string name;
        std::string program;
        std::vector<double> frame;
        std::vector<double> cpu;
        std::vector<long> peakAtFrame;
        std::vector<long> peak;
    };
    Series series[2] = {{"vantorel", app, {}, {}, {}, {}},
                        {"empty window", baseline, {}, {}, {}, {}}};
    for (int run = 0; run <= runs; ++run) {
        for (Series &s : series) {
            const std::optional<Sample> sample = measure(s.program, settleMs);
            if (!sample)
                return 1;
            if (run == 0)
                continue; // warms the page cache and the font cache
            s.frame.push_back(sample->firstFrameMs);
            s.cpu.push_back(sample->cpuMs);
            s.peakAtFrame.push_back(sample->peakAtFrameKiB);
            s.peak.push_back(sample->peakKiB);
            std::printf("run %d %-13s first frame %7.1f ms  CPU %7.1f ms  peak RSS at frame "
                        "%6.1f MiB  after %d ms %6.1f MiB\n",
                        run, s.name.c_str(), sample->firstFrameMs, sample->cpuMs,
                        double(sample->peakAtFrameKiB) / 1024, settleMs,
                        double(sample->peakKiB) / 1024);
        }
    }

    std::printf("\nmedian of %d runs (platform %s)\n", runs, std::getenv("QT_QPA_PLATFORM"));
    std::printf("%-14s %16s %16s %22s %22s\n", "", "first frame", "CPU by frame",
                "peak RSS at frame", "peak RSS");
    for (const Series &s : series)
        std::printf("%-14s %13.1f ms %13.1f ms %18.1f MiB %18.1f MiB\n", s.name.c_str(),
                    median(s.frame), median(s.cpu), median(s.peakAtFrame) / 1024,
                    median(s.peak) / 1024);
    const double timeRatio = median(series[0].frame) / median(series[1].frame);
    const double memoryRatio = median(series[0].peak) / median(series[1].peak);
    std::printf("%-14s %15.2fx %15.2fx %20.2fx %20.2fx\n", "ratio", timeRatio,
                median(series[0].cpu) / median(series[1].cpu),
                median(series[0].peakAtFrame) / median(series[1].peakAtFrame), memoryRatio);
    std::printf("goals: time <= 1.30x %s, memory <= 1.25x %s\n",
                timeRatio <= 1.3 ? "met" : "MISSED", memoryRatio <= 1.25 ? "met" : "MISSED");
    return 0;
}
