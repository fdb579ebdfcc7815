// The interpreter's statement parser on any script text: no crash and no undefined behaviour,
// ranges inside the text, and a command it accepts comes back unchanged when it is written as a
// string literal again, by hand (with the optional escapes) and by the command builders.

#include "applescriptparser.h"
#include "commandtexts.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <variant>

using namespace vantorel;

namespace {

// A property that does not hold is a finding like a crash: libFuzzer keeps the input.
void check(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", property);
        std::abort();
    }
}

void checkParsesTo(const std::string &script, const ShellScriptStatement &original)
{
    const auto parsed = parseShellScriptStatement(script);
    const auto *statement = std::get_if<ShellScriptStatement>(&parsed);
    check(statement && statement->command == original.command &&
              statement->withAdministratorPrivileges == original.withAdministratorPrivileges,
          "a command written back as a literal parses to itself");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string script(reinterpret_cast<const char *>(data), size);
    std::size_t characters = 0;
    for (const char c : script)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    const auto parsed = parseShellScriptStatement(script);
    if (const auto *error = std::get_if<AppleScriptSyntaxError>(&parsed)) {
        check(error->start <= error->end && error->end <= characters && !error->message.empty(),
              "a syntax error has a message and a range inside the script");
        return 0;
    }
    const auto &statement = std::get<ShellScriptStatement>(parsed);
    check(statement.start <= statement.end && statement.end <= characters,
          "the statement's range lies inside the script");

    // Only backslash and double quote must be escaped; \n, \r and \t are optional spellings.
    std::string plain, escaped;
    for (const char c : statement.command) {
        const std::string literal =
            c == '\\' || c == '"' ? std::string{'\\', c} : std::string(1, c);
        plain += literal;
        escaped += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : literal;
    }
    const std::string clause =
        statement.withAdministratorPrivileges ? " with administrator privileges" : "";
    checkParsesTo("do shell script \"" + plain + "\"" + clause, statement);
    checkParsesTo("DO Shell SCRIPT \"" + escaped + "\"" + clause, statement);
    // The builders take QString: only commands in valid UTF-8 reach them unchanged.
    const QString text = QString::fromStdString(statement.command);
    if (text.toStdString() == statement.command)
        checkParsesTo(
            commandtexts::doShellScript(text, statement.withAdministratorPrivileges).toStdString(),
            statement);
    return 0;
}
