#include "csv/CsvLineReader.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;

// A character no radix reads as a value, standing for a field cut short.
constexpr char kCutField = '\x01';

} // namespace

CsvLineReader::CsvLineReader(ReadFunction read, std::optional<char> separator, int maxFields)
    : m_read(std::move(read))
    , m_separator(separator)
    , m_maxFields(maxFields)
    , m_buffer(kBufferBytes)
{
}

bool CsvLineReader::Fill()
{
    if (m_atEnd)
        return false;
    // Keep unread bytes; the mark check needs up to three at once.
    std::copy(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_pos),
              m_buffer.begin() + static_cast<std::ptrdiff_t>(m_size), m_buffer.begin());
    m_size -= m_pos;
    m_pos = 0;
    const std::ptrdiff_t count = m_read(m_buffer.data() + m_size, m_buffer.size() - m_size);
    if (count <= 0) {
        m_atEnd = true;
        m_failed = count < 0;
        return false;
    }
    m_size += static_cast<std::size_t>(count);
    return true;
}

bool CsvLineReader::NextByte(std::uint8_t& byte)
{
    if (m_pos == m_size && !Fill())
        return false;
    byte = m_buffer[m_pos++];
    return true;
}

bool CsvLineReader::NextUnit(char32_t& unit)
{
    std::uint8_t low = 0, high = 0;
    if (!NextByte(low))
        return false;
    if (!m_utf16) {
        unit = low;
        return true;
    }
    if (!NextByte(high))
        return false; // an odd last byte is no character
    unit = static_cast<char32_t>(low | (high << 8));
    return true;
}

void CsvLineReader::SkipByteOrderMark()
{
    while (m_size - m_pos < 3 && Fill()) {
    }
    const std::uint8_t* head = m_buffer.data() + m_pos;
    const std::size_t available = m_size - m_pos;
    if (available >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
        m_pos += 3;
    } else if (available >= 2 && head[0] == 0xFF && head[1] == 0xFE) {
        m_pos += 2;
        m_utf16 = true;
    }
}

std::size_t CsvLineReader::PlainRun() const
{
    std::size_t end = m_pos;
    const int separator = m_separator ? static_cast<unsigned char>(*m_separator) : -1;
    while (end < m_size) {
        const std::uint8_t byte = m_buffer[end];
        if (byte == '\r' || byte == '\n' || byte == 0 || byte == '"' || byte == separator)
            break;
        ++end;
    }
    return end - m_pos;
}

std::string CsvLineReader::Decoded() const
{
    if (!m_utf16) {
        // Every ANSI code page holds ASCII as it is.
        const bool ascii =
            std::all_of(m_bytes.begin(), m_bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        return ascii ? m_bytes : platform::AnsiCodePage().ToUtf8(m_bytes);
    }
    std::string text;
    text.reserve(m_wide.size());
    for (std::size_t i = 0; i < m_wide.size(); ++i) {
        const char32_t unit = m_wide[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < m_wide.size() && m_wide[i + 1] >= 0xDC00
            && m_wide[i + 1] <= 0xDFFF) {
            platform::AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (m_wide[++i] - 0xDC00));
        } else {
            platform::AppendUtf8(text, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
        }
    }
    return text;
}

std::size_t CsvLineReader::KeptSize() const
{
    return m_utf16 ? m_wide.size() : m_bytes.size();
}

void CsvLineReader::CutField(std::size_t fieldStart)
{
    if (m_utf16) {
        m_wide.resize(fieldStart);
        m_wide += static_cast<char16_t>(kCutField);
    } else {
        m_bytes.resize(fieldStart);
        m_bytes += kCutField;
    }
}

bool CsvLineReader::Next(std::string& line)
{
    if (!m_started) {
        m_started = true;
        SkipByteOrderMark();
    }
    m_bytes.clear();
    m_wide.clear();
    bool inLine = false;   // something after the previous line end
    bool textDone = false; // a zero character or enough fields
    int separators = 0;
    bool fieldStart = true;     // nothing of the current field read yet
    bool quoted = false;        // the current field began with a quote
    bool inQuotes = false;      // separators and line ends are text here
    std::size_t fieldBegin = 0; // where the current field's text begins in the kept text
    bool fieldCut = false;      // the current field is too long to be a value: the rest is dropped
    char32_t unit = 0;
    while (true) {
        if (!m_utf16 && !m_skipLineFeed) {
            // Take the bytes up to the next one that means something in one go.
            const std::size_t run = PlainRun();
            if (run > 0) {
                inLine = true;
                fieldStart = false;
                if (!textDone && !fieldCut) {
                    const std::size_t room = kMaxFieldBytes + 1 - (m_bytes.size() - fieldBegin);
                    m_bytes.append(reinterpret_cast<const char*>(m_buffer.data() + m_pos), std::min(run, room));
                    if (run >= room) {
                        CutField(fieldBegin);
                        fieldCut = true;
                    }
                }
                m_pos += run;
                continue;
            }
        }
        if (!NextUnit(unit)) {
            if (m_failed || !inLine)
                return false;
            break;
        }
        if (std::exchange(m_skipLineFeed, false) && unit == '\n')
            continue;
        if ((unit == '\r' || unit == '\n') && !inQuotes) {
            m_skipLineFeed = unit == '\r';
            break;
        }
        inLine = true;
        const bool separator = m_separator && unit == static_cast<unsigned char>(*m_separator) && !inQuotes;
        if (unit == '"' && (fieldStart || quoted)) {
            quoted = true;
            inQuotes = !inQuotes;
        }
        fieldStart = separator;
        if (separator)
            quoted = false;
        if (textDone)
            continue;
        if (unit == 0) {
            textDone = true;
            continue;
        }
        if (fieldCut && !separator)
            continue;
        if (m_utf16)
            m_wide += static_cast<char16_t>(unit);
        else
            m_bytes += static_cast<char>(unit);
        if (separator) {
            fieldBegin = KeptSize();
            fieldCut = false;
            if (++separators >= m_maxFields)
                textDone = true;
        } else if (KeptSize() - fieldBegin > kMaxFieldBytes) {
            CutField(fieldBegin);
            fieldCut = true;
        }
    }
    line = Decoded();
    return true;
}
