// The interpreter's statement parser on any script text: no crash and no undefined behaviour,
// ranges inside the text, and a command it accepts comes back unchanged when the command
// builders write it as a literal again.

#include "applescriptparser.h"
#include "commandtexts.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace vantorel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string script(reinterpret_cast<const char *>(data), size);
    std::size_t characters = 0;
    for (const char c : script)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    const auto parsed = parseShellScriptStatement(script);
    if (const auto *error = std::get_if<AppleScriptSyntaxError>(&parsed)) {
        if (error->start > error->end || error->end > characters || error->message.empty())
            std::abort(); // a syntax error has a message and a range inside the script
        return 0;
    }
    const auto &statement = std::get<ShellScriptStatement>(parsed);
    if (statement.start > statement.end || statement.end > characters)
        std::abort(); // the statement's range lies inside the script
    // The builders take QString: only commands in valid UTF-8 reach them unchanged.
    const QString command = QString::fromStdString(statement.command);
    if (command.toStdString() != statement.command)
        return 0;
    const auto again = parseShellScriptStatement(
        commandtexts::doShellScript(command, statement.withAdministratorPrivileges).toStdString());
    const auto *written = std::get_if<ShellScriptStatement>(&again);
    if (!written || written->command != statement.command ||
        written->withAdministratorPrivileges != statement.withAdministratorPrivileges)
        std::abort(); // the builders' literal parses to the same command
    return 0;
}
