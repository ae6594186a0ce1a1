#include "grid/GridFind.h"

#include "codec/ValueCodec.h"

#include <algorithm>
#include <cstring>

namespace {

// The first aligned match at or after offset, or npos.
std::size_t ForwardIn(const std::vector<std::uint8_t>& data, const FindPattern& pattern, std::size_t offset)
{
    const std::size_t size = pattern.bytes.size();
    if (size == 0 || data.size() < size)
        return std::string_view::npos;
    const std::size_t align = pattern.alignment == 0 ? 1 : pattern.alignment;
    offset = (offset + align - 1) / align * align;
    while (offset + size <= data.size()) {
        const void* hit = memmem(data.data() + offset, data.size() - offset, pattern.bytes.data(), size);
        if (!hit)
            return std::string_view::npos;
        const auto at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data.data());
        if (at % align == 0)
            return at;
        offset = (at / align + 1) * align;
    }
    return std::string_view::npos;
}

// The last aligned match that starts before `before`, or npos.
std::size_t BackwardIn(const std::vector<std::uint8_t>& data, const FindPattern& pattern, std::size_t before)
{
    const std::size_t size = pattern.bytes.size();
    if (size == 0 || data.size() < size)
        return std::string_view::npos;
    const std::size_t align = pattern.alignment == 0 ? 1 : pattern.alignment;
    std::size_t at = std::min(before, data.size() - size + 1);
    if (at == 0)
        return std::string_view::npos;
    at = (at - 1) / align * align;
    for (;; at -= align) {
        if (data[at] == pattern.bytes[0] && std::memcmp(data.data() + at, pattern.bytes.data(), size) == 0)
            return at;
        if (at < align)
            return std::string_view::npos;
    }
}

} // namespace

std::optional<FindPattern> ValuePattern(std::string_view text, codec::Radix radix, codec::Unit unit)
{
    FindPattern pattern;
    if (!codec::ParseCellText(text, radix, unit, pattern.bytes))
        return std::nullopt;
    std::uint64_t real = 0;
    if ((radix == codec::RADIX_FLOAT || radix == codec::RADIX_DOUBLE)
        && codec::ParseRealText(text, radix, real) != codec::PARSE_OK)
        return std::nullopt;
    pattern.alignment = pattern.bytes.size();
    return pattern;
}

std::optional<FindResult> FindNext(const EditDataArray& blocks, const FindPattern& pattern, FindPosition from,
                                   bool forward, bool allBlocks)
{
    if (blocks.empty() || from.block >= blocks.size())
        return std::nullopt;
    const std::size_t count = allBlocks ? blocks.size() : 1;
    // Each block once from the position on, then the first block's part
    // before (or after) the position again, after the wrap.
    for (std::size_t step = 0; step <= count; ++step) {
        const std::size_t index =
            allBlocks ? (forward ? (from.block + step) % count : (from.block + count - step % count) % count)
                      : from.block;
        const std::vector<std::uint8_t>& data = blocks[index].Data;
        const bool wrapped = step == count || (allBlocks && (forward ? index < from.block : index > from.block));
        std::size_t at;
        if (step == 0)
            at = forward ? ForwardIn(data, pattern, from.offset >= data.size() ? 0 : from.offset + 1)
                         : BackwardIn(data, pattern, std::min(from.offset, data.size()));
        else
            at = forward ? ForwardIn(data, pattern, 0) : BackwardIn(data, pattern, data.size());
        if (step == count && at != std::string_view::npos && (forward ? at > from.offset : at < from.offset))
            at = std::string_view::npos; // past the start: nothing but the start itself
        if (at != std::string_view::npos)
            return FindResult{{index, at}, wrapped};
    }
    return std::nullopt;
}

std::vector<std::size_t> FindAllInBlock(const CEditData& block, const FindPattern& pattern)
{
    std::vector<std::size_t> found;
    for (std::size_t at = ForwardIn(block.Data, pattern, 0); at != std::string_view::npos;
         at = ForwardIn(block.Data, pattern, at + 1))
        found.push_back(at);
    return found;
}

std::size_t FoundCells::Count() const
{
    std::size_t count = 0;
    for (const Matches& matches : blocks)
        count += matches.offsets.size();
    return count;
}

bool FoundCells::Overlaps(const CEditData& block, std::size_t offset, std::size_t size) const
{
    for (const Matches& matches : blocks) {
        if (matches.deviceCode != block.Id || matches.bank != block.BankNo)
            continue;
        // The last match that starts before the end of the bytes.
        const auto after = std::lower_bound(matches.offsets.begin(), matches.offsets.end(), offset + size);
        return after != matches.offsets.begin() && *std::prev(after) + length > offset;
    }
    return false;
}

FoundCells FindAll(const EditDataArray& blocks, const FindPattern& pattern, const CEditData* only)
{
    FoundCells found;
    found.length = pattern.bytes.size();
    for (const CEditData& block : blocks) {
        if (only && (only->Id != block.Id || only->BankNo != block.BankNo))
            continue;
        std::vector<std::size_t> offsets = FindAllInBlock(block, pattern);
        if (!offsets.empty())
            found.blocks.push_back({block.Id, block.BankNo, std::move(offsets)});
    }
    return found;
}
