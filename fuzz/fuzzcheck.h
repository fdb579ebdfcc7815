#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vantorel::fuzz {

// A property that does not hold is a finding like a crash: libFuzzer saves the input when the
// process aborts.
inline void check(bool holds, const char *property, const std::string &details = {})
{
    if (holds)
        return;
    std::fprintf(stderr, "property violated: %s\n%s\n", property, details.c_str());
    std::abort();
}

// Bytes with the unprintable ones escaped, for failure reports.
inline std::string printable(const std::string &bytes)
{
    std::string text;
    for (const unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            text += char(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            text += escaped;
        }
    }
    return text;
}

} // namespace vantorel::fuzz
