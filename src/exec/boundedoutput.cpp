#include "boundedoutput.h"

#include <cstring>

namespace vantorel {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the sequence a lead byte announces; 0 for bytes that cannot start one.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC0 && lead < 0xE0)
        return 2;
    if (lead >= 0xE0 && lead < 0xF0)
        return 3;
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    return 0;
}

// Drops a multi-byte sequence that the cut left unfinished at the end.
std::size_t completePrefixLength(const std::string &text)
{
    std::size_t continuations = 0;
    std::size_t end = text.size();
    while (continuations < 3 && continuations < end &&
           isContinuation(static_cast<unsigned char>(text[end - 1 - continuations])))
        ++continuations;
    if (continuations == end)
        return end;
    const std::size_t lead = end - 1 - continuations;
    const std::size_t length = sequenceLength(static_cast<unsigned char>(text[lead]));
    return length > continuations + 1 ? lead : end;
}

} // namespace

void Utf8Validator::feed(const char *data, std::size_t size)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    std::size_t i = 0;
    while (i < size && !m_failed) {
        if (m_pending == 0) {
            // Error output is mostly ASCII: step over it eight bytes at a time.
            while (size - i >= 8) {
                uint64_t word;
                std::memcpy(&word, bytes + i, sizeof word);
                if (word & 0x8080808080808080ULL)
                    break;
                i += 8;
            }
            if (i == size)
                break;
            const unsigned char byte = bytes[i++];
            if (byte < 0x80)
                continue;
            m_lower = 0x80;
            m_upper = 0xBF;
            if (byte >= 0xC2 && byte <= 0xDF) {
                m_pending = 1;
            } else if (byte >= 0xE0 && byte <= 0xEF) {
                m_pending = 2;
                if (byte == 0xE0)
                    m_lower = 0xA0; // overlong
                else if (byte == 0xED)
                    m_upper = 0x9F; // surrogates
            } else if (byte >= 0xF0 && byte <= 0xF4) {
                m_pending = 3;
                if (byte == 0xF0)
                    m_lower = 0x90; // overlong
                else if (byte == 0xF4)
                    m_upper = 0x8F; // beyond U+10FFFF
            } else {
                m_failed = true;
            }
        } else {
            const unsigned char byte = bytes[i++];
            if (byte < m_lower || byte > m_upper) {
                m_failed = true;
            } else {
                --m_pending;
                m_lower = 0x80;
                m_upper = 0xBF;
            }
        }
    }
}

BoundedOutput::BoundedOutput(std::size_t limit)
    : m_limit(limit)
{}

void BoundedOutput::append(const char *data, std::size_t size)
{
    m_validator.feed(data, size);
    m_total += size;
    const std::size_t tailSize = m_limit - m_limit / 2;
    if (!m_truncated) {
        m_head.append(data, size);
        if (m_head.size() <= m_limit)
            return;
        m_truncated = true;
        m_tail.assign(m_head, m_limit / 2);
        m_head.resize(m_limit / 2);
        m_head.shrink_to_fit();
    } else {
        m_tail.append(data, size);
    }
    // Trim in bulk so that each byte is moved a bounded number of times.
    if (m_tail.size() > 2 * tailSize)
        m_tail.erase(0, m_tail.size() - tailSize);
}

std::string BoundedOutput::text() const
{
    if (!m_truncated)
        return m_head;

    const std::size_t headSize = completePrefixLength(m_head);
    const std::size_t tailSize = m_limit - m_limit / 2;
    std::size_t tailStart = m_tail.size() - tailSize;
    for (int skipped = 0; skipped < 3 && tailStart < m_tail.size() &&
                          isContinuation(static_cast<unsigned char>(m_tail[tailStart]));
         ++skipped)
        ++tailStart;
    const std::size_t kept = headSize + (m_tail.size() - tailStart);

    std::string result;
    result.reserve(kept + 64);
    result.append(m_head, 0, headSize);
    const std::size_t omitted = m_total - kept;
    result += "\n[" + std::to_string(omitted) + (omitted == 1 ? " byte" : " bytes") +
              " of error output left out]\n";
    result.append(m_tail, tailStart);
    return result;
}

} // namespace vantorel
