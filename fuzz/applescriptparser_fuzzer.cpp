// The interpreter's statement parser on any script text: no crash and no undefined behaviour,
// ranges inside the text, and a command it accepts comes back unchanged when it is written as a
// string literal again, by hand or by the command builders.

#include "applescriptparser.h"
#include "commandtexts.h"
#include "fuzzcheck.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

using namespace vantorel;
using vantorel::fuzz::check;
using vantorel::fuzz::printable;

namespace {

std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// Only backslash and double quote must be escaped; the other escapes are optional spellings.
std::string literalBody(const std::string &command, bool escapeControls)
{
    std::string body;
    for (const char c : command) {
        if (c == '\\' || c == '"')
            body += '\\';
        if (escapeControls && (c == '\n' || c == '\r' || c == '\t')) {
            body += '\\';
            body += c == '\n' ? 'n' : c == '\r' ? 'r' : 't';
            continue;
        }
        body += c;
    }
    return body;
}

void expectSameStatement(const std::string &script, const ShellScriptStatement &original,
                         const char *how)
{
    const auto parsed = parseShellScriptStatement(script);
    const auto *statement = std::get_if<ShellScriptStatement>(&parsed);
    check(statement != nullptr, how, "script: " + printable(script));
    check(statement->command == original.command, how,
          "expected: " + printable(original.command) + "\ngot: " + printable(statement->command));
    check(statement->withAdministratorPrivileges == original.withAdministratorPrivileges, how,
          "privilege clause changed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view script(reinterpret_cast<const char *>(data), size);
    const auto parsed = parseShellScriptStatement(script);
    const std::size_t characters = characterCount(script);

    if (const auto *error = std::get_if<AppleScriptSyntaxError>(&parsed)) {
        check(error->start <= error->end && error->end <= characters,
              "error range inside the script",
              std::to_string(error->start) + ":" + std::to_string(error->end) + " of " +
                  std::to_string(characters));
        check(!error->message.empty(), "syntax errors carry a message");
        return 0;
    }

    const auto &statement = std::get<ShellScriptStatement>(parsed);
    check(statement.start <= statement.end && statement.end <= characters,
          "statement range inside the script");

    const std::string clause =
        statement.withAdministratorPrivileges ? " with administrator privileges" : "";
    expectSameStatement("do shell script \"" + literalBody(statement.command, false) + "\"" +
                            clause,
                        statement, "re-quoted command parses to itself");
    expectSameStatement("DO Shell SCRIPT \"" + literalBody(statement.command, true) + "\"" + clause,
                        statement, "re-quoted command with escaped controls parses to itself");

    // The builders take QString: only commands that are valid UTF-8 survive that unchanged.
    const QByteArray bytes(statement.command.data(), qsizetype(statement.command.size()));
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() == bytes) {
        const QByteArray built =
            commandtexts::doShellScript(text, statement.withAdministratorPrivileges).toUtf8();
        expectSameStatement(built.toStdString(), statement,
                            "the builders' literal parses to the command");
    }
    return 0;
}
