// vantorel-osascript: stands in for /usr/bin/osascript where there is none. It runs exactly one
// `do shell script "..." [with administrator privileges]` statement and reports like the real
// tool: exit 0 on success; otherwise exit 1 and one "START:END: ... error: TEXT (N)" line.

#include "applescriptparser.h"
#include "boundedoutput.h"
#include "childprocess.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <variant>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantorel;

namespace {

// Room for our own prefix and suffix, so that the runner, which keeps 1 MiB, gets the line whole.
constexpr std::size_t errorTextLimit = BoundedOutput::defaultLimit - 4096;

// Written by the elevated shell before the command, so that a 126 or 127 from pkexec itself
// (authorisation refused or dismissed) is not confused with the same status from the command.
constexpr char startMarker = '\x06';
// Runs the command as `/bin/sh -c` would, once the marker is out.
constexpr const char *elevatedWrapper = "printf '\\006' && exec /bin/sh -c \"$1\"";

// -10004 is AppleScript's "A privilege violation occurred."; -128 is "User canceled.".
constexpr long privilegeViolation = -10004;
constexpr long userCanceled = -128;

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void writeLine(const std::string &line)
{
    writeAll(STDERR_FILENO, line.data(), line.size());
}

int executionError(const ShellScriptStatement &statement, const std::string &text, long number)
{
    writeLine(std::to_string(statement.start) + ":" + std::to_string(statement.end) +
              ": execution error: " + text + " (" + std::to_string(number) + ")\n");
    return 1;
}

std::string withoutFinalNewline(std::string text)
{
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// Only absolute PATH entries: a relative one would make the elevation tool depend on the
// current directory.
std::string findOnPath(const std::string &name)
{
    const char *path = std::getenv("PATH");
    const std::string entries = path ? path : "/usr/bin:/bin";
    std::size_t begin = 0;
    while (begin <= entries.size()) {
        std::size_t end = entries.find(':', begin);
        if (end == std::string::npos)
            end = entries.size();
        const std::string directory = entries.substr(begin, end - begin);
        begin = end + 1;
        if (directory.empty() || directory.front() != '/')
            continue;
        const std::string candidate = directory + "/" + name;
        struct stat info;
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

int run(const ShellScriptStatement &statement)
{
    std::vector<std::string> argv{"/bin/sh", "-c", statement.command};
    const bool elevate = statement.withAdministratorPrivileges && ::geteuid() != 0;
    if (elevate) {
        const std::string pkexec = findOnPath("pkexec");
        if (pkexec.empty()) {
            return executionError(statement,
                                  "Administrator privileges are not available: pkexec was not "
                                  "found.",
                                  privilegeViolation);
        }
        argv = {pkexec, "/bin/sh", "-c", elevatedWrapper, "sh", statement.command};
    }

    BoundedOutput errorOutput(errorTextLimit);
    bool started = !elevate;
    bool forwarding = true;
    OutputSink onStdout;
    if (elevate) {
        onStdout = [&](const char *data, std::size_t size) {
            if (!started && data[0] == startMarker) {
                started = true;
                ++data;
                --size;
            }
            // A closed reader does not end the command early: keep draining, stop writing.
            if (forwarding && size > 0)
                forwarding = writeAll(STDOUT_FILENO, data, size);
        };
    }
    const ChildOutcome outcome =
        runChildProcess(argv, onStdout, [&errorOutput](const char *data, std::size_t size) {
            errorOutput.append(data, size);
        });
    if (outcome.systemError != 0) {
        return executionError(statement,
                              "Could not start " + argv[0] + ": " +
                                  std::strerror(outcome.systemError) + ".",
                              outcome.systemError);
    }

    const std::string errorText = withoutFinalNewline(errorOutput.text());
    if (WIFEXITED(outcome.waitStatus)) {
        const int status = WEXITSTATUS(outcome.waitStatus);
        if (!started && (status == 126 || status == 127))
            return executionError(statement, "User canceled.", userCanceled);
        if (status == 0)
            return 0;
        return executionError(
            statement, errorText.empty() ? "The command exited with a non-zero status." : errorText,
            status);
    }
    const int signalNumber = WIFSIGNALED(outcome.waitStatus) ? WTERMSIG(outcome.waitStatus) : 0;
    return executionError(statement,
                          errorText.empty() ? "The command was terminated by signal " +
                                                  std::to_string(signalNumber) + "."
                                            : errorText,
                          128 + signalNumber);
}

} // namespace

int main(int argc, char *argv[])
{
    // Writing to a reader that went away must not kill us before the command has finished.
    std::signal(SIGPIPE, SIG_IGN);

    if (argc != 3 || std::strcmp(argv[1], "-e") != 0) {
        writeLine("usage: vantorel-osascript -e SCRIPT\n");
        return 2;
    }
    const auto parsed = parseShellScriptStatement(argv[2]);
    if (const auto *error = std::get_if<AppleScriptSyntaxError>(&parsed)) {
        writeLine(std::to_string(error->start) + ":" + std::to_string(error->end) +
                  ": syntax error: " + error->message + " (-2741)\n");
        return 1;
    }
    return run(std::get<ShellScriptStatement>(parsed));
}
