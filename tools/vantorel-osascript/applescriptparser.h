#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace vantorel {

// The one statement the Linux script interpreter understands:
//   do shell script "<string literal>" [with administrator privileges]
// Keywords are matched without regard to case, as AppleScript does.
struct ShellScriptStatement
{
    std::string command; // the literal with its escapes resolved (UTF-8)
    bool withAdministratorPrivileges = false;
    std::size_t start = 0; // character range of the statement in the script text
    std::size_t end = 0;
};

struct AppleScriptSyntaxError
{
    std::size_t start = 0; // character range of the offending part
    std::size_t end = 0;
    std::string message; // e.g. "Expected end of line but found identifier."
};

// Ranges count characters (Unicode code points), not bytes.
std::variant<ShellScriptStatement, AppleScriptSyntaxError>
parseShellScriptStatement(std::string_view script);

} // namespace vantorel
