#pragma once

#include <optional>

namespace vantorel {

// "vantorel --verify [--json] FILE...": checks ISO images and prints one verdict per file to
// standard output, the line (after "FILE: " when there are several files) or, with --json, one
// compact JSON object a line. Returns the exit status (the highest of the files': 0 verified,
// 1 not verified, 2 unreadable; 2 for wrong usage) when the arguments ask for it, nothing
// otherwise. Creates no application object and no window.
std::optional<int> runVerifyCommand(int argc, char *argv[]);

} // namespace vantorel
