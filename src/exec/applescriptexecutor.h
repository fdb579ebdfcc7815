#pragma once

#include "commandcancellation.h"
#include "error.h"

#include <QString>
#include <functional>
#include <optional>

namespace vantorel {

// Runs one AppleScript text through the script interpreter. Stateless: never instantiated.
//
// Both forms block the calling thread for the whole life of the child process, so they must
// never run on the GUI thread.
class AppleScriptExecutor
{
public:
    AppleScriptExecutor() = delete;

    using Completion = std::function<void(bool success, const std::optional<Error> &error)>;

    // Calls completion exactly once, on the calling thread, before returning: (true, none) on
    // exit status 0, otherwise (false, error).
    //
    // With a cancellation, the interpreter runs in a process group of its own, which cancel()
    // ends (see runChildProcess); the command then fails like any other.
    static void executeAppleScript(const QString &script, const Completion &completion,
                                   const QString &interpreterPath = defaultInterpreterPath(),
                                   const CommandCancellation *cancellation = nullptr);

    // Returns true on success and throws Error on every failure; it never returns false.
    static bool executeAppleScript(const QString &script,
                                   const QString &interpreterPath = defaultInterpreterPath(),
                                   const CommandCancellation *cancellation = nullptr);

    // "/usr/bin/osascript" on macOS; elsewhere the project's vantorel-osascript beside the
    // application's executable.
    static QString defaultInterpreterPath();
};

} // namespace vantorel
