#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vantorel {

// Checks UTF-8 strictly as it streams in: no overlong forms, no surrogates, nothing beyond
// U+10FFFF, and no sequence left unfinished at the end.
class Utf8Validator
{
public:
    void feed(const char *data, std::size_t size);
    bool isValid() const { return !m_failed && m_pending == 0; }

private:
    bool m_failed = false;
    int m_pending = 0;      // continuation bytes still expected
    uint8_t m_lower = 0x80; // allowed range of the next continuation byte
    uint8_t m_upper = 0xBF;
};

// Collects a child's error output without letting it grow without bound: the text is kept
// whole up to `limit` bytes; beyond that only its first and last halves are kept, with one line
// between them saying how many bytes were left out. Cuts fall on UTF-8 character boundaries so
// that valid text stays valid. Validity is judged on everything appended, not just what is kept.
class BoundedOutput
{
public:
    static constexpr std::size_t defaultLimit = 1024 * 1024;

    explicit BoundedOutput(std::size_t limit = defaultLimit);

    void append(const char *data, std::size_t size);

    std::string text() const;
    bool isValidUtf8() const { return m_validator.isValid(); }
    std::size_t totalSize() const { return m_total; }

private:
    std::size_t m_limit;
    std::size_t m_total = 0;
    bool m_truncated = false;
    std::string m_head; // everything until the limit is passed, then the first half
    std::string m_tail; // the last half (plus slack, trimmed in bulk)
    Utf8Validator m_validator;
};

} // namespace vantorel
