#pragma once

// Splits the bytes of a CSV or text file into lines of UTF-8 text.
//
// - A byte-order mark EF BB BF is skipped and the rest read in the ANSI code
//   page. After FF FE the rest is read as UTF-16 little-endian. Without a mark
//   the whole file is ANSI code page text.
// - A line ends at CR, at LF or at CR LF; the end of the input ends the last
//   line, and nothing follows a final line end. Lines may be of any length.
// - Inside a field that begins with a double quote, up to its closing quote,
//   separators and line ends are text of the field (see CsvField.h).
// - A zero character ends the line's text; the rest of that line is skipped.
// - Only the first maxFields fields of a line are kept (the rest is never
//   used), and a field longer than kMaxFieldBytes, which no value of any
//   radix is, is kept as a single character that no radix reads (so it counts
//   as an invalid field): a line costs little memory however long it is.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CsvLineReader {
public:
    // Fills buffer with up to size bytes; returns how many (0 at the end of
    // the input) or -1 on a read error.
    using ReadFunction = std::function<std::ptrdiff_t(std::uint8_t* buffer, std::size_t size)>;

    // Bytes (or UTF-16 units) of a field's text, quotes included, that are kept.
    static constexpr std::size_t kMaxFieldBytes = 4096;

    CsvLineReader(ReadFunction read, std::optional<char> separator, int maxFields);

    // The next line, without its line end; false at the end of the input or
    // after a read error.
    bool Next(std::string& line);
    bool Failed() const { return m_failed; }

private:
    bool Fill();
    bool NextByte(std::uint8_t& byte);
    bool NextUnit(char32_t& unit);
    void SkipByteOrderMark();
    std::size_t PlainRun() const;
    std::string Decoded() const;
    std::size_t KeptSize() const;
    void CutField(std::size_t fieldStart);

    ReadFunction m_read;
    std::optional<char> m_separator;
    int m_maxFields;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_size = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_started = false;
    bool m_utf16 = false;
    bool m_skipLineFeed = false;
    std::string m_bytes;   // the line's code page bytes
    std::u16string m_wide; // the line's UTF-16 units
};
