#pragma once

#include <optional>

namespace vantorel {

// "vantorel --verify FILE": checks an ISO image and prints the verdict line to standard output.
// Returns the exit status (0 verified, 1 not verified, 2 unreadable or wrong usage) when the
// arguments ask for it, nothing otherwise. Creates no application object and no window.
std::optional<int> runVerifyCommand(int argc, char *argv[]);

} // namespace vantorel
