#include "applescriptparser.h"

#include <optional>

namespace vantorel {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isWordCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Byte length of the UTF-8 character starting at `at`, at least 1 even for stray bytes.
std::size_t characterLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t available = 1;
    while (available < length && at + available < text.size() &&
           (static_cast<unsigned char>(text[at + available]) & 0xC0) == 0x80)
        ++available;
    return available;
}

enum class TokenKind { End, Word, Number, String, Other };

struct Token
{
    TokenKind kind = TokenKind::End;
    std::size_t start = 0; // byte offsets
    std::size_t end = 0;
    std::string value; // the decoded literal for strings
};

// Byte offsets become error ranges in characters only at the end.
struct ByteError
{
    std::size_t start;
    std::size_t end;
    std::string message;
};

class Lexer
{
public:
    explicit Lexer(std::string_view script)
        : m_script(script)
    {}

    // Returns the next token, or nullopt with m_error set when a string literal is malformed.
    std::optional<Token> next()
    {
        while (m_at < m_script.size() && isSpace(m_script[m_at]))
            ++m_at;
        Token token;
        token.start = m_at;
        if (m_at == m_script.size()) {
            token.end = m_at;
            return token;
        }
        const char first = m_script[m_at];
        if (first == '"')
            return stringLiteral();
        if (isWordCharacter(first)) {
            token.kind = isDigit(first) ? TokenKind::Number : TokenKind::Word;
            while (m_at < m_script.size() &&
                   (isWordCharacter(m_script[m_at]) ||
                    (token.kind == TokenKind::Number && m_script[m_at] == '.')))
                ++m_at;
        } else {
            token.kind = TokenKind::Other;
            m_at += characterLength(m_script, m_at);
        }
        token.end = m_at;
        return token;
    }

    std::string_view text(const Token &token) const
    {
        return m_script.substr(token.start, token.end - token.start);
    }

    ByteError error() const { return m_error; }

private:
    std::optional<Token> stringLiteral()
    {
        Token token;
        token.kind = TokenKind::String;
        token.start = m_at++;
        while (m_at < m_script.size()) {
            const char c = m_script[m_at];
            if (c == '"') {
                token.end = ++m_at;
                return token;
            }
            if (c != '\\') {
                token.value += c;
                ++m_at;
                continue;
            }
            if (m_at + 1 == m_script.size())
                break;
            const char escaped = m_script[m_at + 1];
            switch (escaped) {
            case '"':
            case '\\':
                token.value += escaped;
                break;
            case 'n':
                token.value += '\n';
                break;
            case 'r':
                token.value += '\r';
                break;
            case 't':
                token.value += '\t';
                break;
            default: {
                const std::size_t length = characterLength(m_script, m_at + 1);
                m_error = {m_at, m_at + 1 + length,
                           "Unknown escape sequence “\\" +
                               std::string(m_script.substr(m_at + 1, length)) + "” in string."};
                return std::nullopt;
            }
            }
            m_at += 2;
        }
        m_error = {token.start, m_script.size(), "Expected “\"” but found end of script."};
        return std::nullopt;
    }

    std::string_view m_script;
    std::size_t m_at = 0;
    ByteError m_error{0, 0, {}};
};

bool isKeyword(const Lexer &lexer, const Token &token, std::string_view keyword)
{
    if (token.kind != TokenKind::Word)
        return false;
    const std::string_view text = lexer.text(token);
    if (text.size() != keyword.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != keyword[i])
            return false;
    }
    return true;
}

std::string describe(const Lexer &lexer, const Token &token)
{
    switch (token.kind) {
    case TokenKind::End:
        return "end of script";
    case TokenKind::Word:
        return "identifier";
    case TokenKind::Number:
        return "number";
    case TokenKind::String:
        return "string";
    case TokenKind::Other:
        break;
    }
    return "“" + std::string(lexer.text(token)) + "”";
}

std::variant<ShellScriptStatement, ByteError> parseBytes(std::string_view script)
{
    Lexer lexer(script);
    auto unexpected = [&lexer](const Token &token, std::string_view expected) {
        return ByteError{token.start, token.end,
                         "Expected " + std::string(expected) + " but found " +
                             describe(lexer, token) + "."};
    };

    ShellScriptStatement statement;
    for (std::string_view keyword : {"do", "shell", "script"}) {
        const std::optional<Token> token = lexer.next();
        if (!token)
            return lexer.error();
        if (!isKeyword(lexer, *token, keyword))
            return unexpected(*token, "“do shell script”");
        if (keyword == "do")
            statement.start = token->start;
    }

    std::optional<Token> token = lexer.next();
    if (!token)
        return lexer.error();
    if (token->kind != TokenKind::String)
        return unexpected(*token, "string");
    statement.command = std::move(token->value);
    statement.end = token->end;

    if (!(token = lexer.next()))
        return lexer.error();
    if (isKeyword(lexer, *token, "with")) {
        for (std::string_view keyword : {"administrator", "privileges"}) {
            if (!(token = lexer.next()))
                return lexer.error();
            if (!isKeyword(lexer, *token, keyword))
                return unexpected(*token, "“administrator privileges”");
        }
        statement.withAdministratorPrivileges = true;
        statement.end = token->end;
        if (!(token = lexer.next()))
            return lexer.error();
    }
    if (token->kind != TokenKind::End)
        return unexpected(*token, "end of line");
    return statement;
}

std::size_t characterOffset(std::string_view script, std::size_t byteOffset)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < byteOffset && i < script.size(); ++i) {
        if ((static_cast<unsigned char>(script[i]) & 0xC0) != 0x80)
            ++characters;
    }
    return characters;
}

} // namespace

std::variant<ShellScriptStatement, AppleScriptSyntaxError>
parseShellScriptStatement(std::string_view script)
{
    auto parsed = parseBytes(script);
    if (auto *error = std::get_if<ByteError>(&parsed)) {
        return AppleScriptSyntaxError{characterOffset(script, error->start),
                                      characterOffset(script, error->end),
                                      std::move(error->message)};
    }
    auto &statement = std::get<ShellScriptStatement>(parsed);
    statement.start = characterOffset(script, statement.start);
    statement.end = characterOffset(script, statement.end);
    return std::move(statement);
}

} // namespace vantorel
