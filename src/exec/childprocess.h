#pragma once

#include "commandcancellation.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace vantorel {

// Receives one chunk of a child's output as it arrives.
using OutputSink = std::function<void(const char *data, std::size_t size)>;

struct ChildOutcome
{
    int systemError = 0; // errno when the child could not be started or reaped; 0 otherwise
    int waitStatus = 0;  // as reported by waitpid, when systemError is 0
};

// Runs argv[0] (a path: no search) with argv, standard input inherited. Each output stream goes
// through its own pipe to its sink, or is inherited when the sink is empty. Both pipes are
// drained while the child runs, so no amount of output can stall it. Returns after both pipes
// reached end of file and the child was reaped. Safe to call from several threads at once: the
// parent's pipe ends are close-on-exec, so no child holds another run's pipe open.
//
// An argument with an embedded NUL cannot be passed intact and fails with EINVAL instead of
// being cut short.
//
// With a cancellation, the child leads a process group of its own, so that ending the command
// ends what it started too. Once cancelled, the group is sent SIGTERM, then SIGKILL after
// terminationGrace; if the pipes are still open another terminationGrace later (held by a
// process we may not signal, such as one running as root), they are given up and the child is
// reaped. A command cancelled before it starts is not started: systemError is ECANCELED.
inline constexpr std::chrono::milliseconds terminationGrace{2000};
ChildOutcome runChildProcess(const std::vector<std::string> &argv, const OutputSink &onStdout,
                             const OutputSink &onStderr,
                             const CommandCancellation *cancellation = nullptr);

} // namespace vantorel
