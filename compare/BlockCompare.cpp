#include "compare/BlockCompare.h"

#include <algorithm>
#include <cstring>

namespace compare {

namespace {

constexpr std::int64_t kWordBytes = 2;
// Equal stretches are skipped with memcmp in steps of this many bytes; only a
// step that differs is looked at word by word.
constexpr std::size_t kStepBytes = 4096;

std::int64_t WordCount(const CEditData& block)
{
    return static_cast<std::int64_t>(block.Data.size()) / kWordBytes;
}

bool Matches(const CEditData& block, std::uint8_t deviceCode, std::int16_t bank)
{
    return block.Id == deviceCode && block.BankNo == bank;
}

} // namespace

void AppendDifferingWords(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, std::int64_t base,
                          std::vector<std::int64_t>& out)
{
    const std::size_t size = std::min(a.size(), b.size()) / kWordBytes * kWordBytes;
    for (std::size_t at = 0; at < size; at += kStepBytes) {
        const std::size_t step = std::min(kStepBytes, size - at);
        if (std::memcmp(a.data() + at, b.data() + at, step) == 0)
            continue;
        for (std::size_t k = at; k < at + step; k += kWordBytes)
            if (a[k] != b[k] || a[k + 1] != b[k + 1])
                out.push_back(base + static_cast<std::int64_t>(k) / kWordBytes);
    }
}

Comparison::Comparison(const EditDataArray& ours, EditDataArray theirs, bool modelsDiffer)
    : m_theirs(std::move(theirs))
    , m_modelsDiffer(modelsDiffer)
{
    std::vector<bool> matched(m_theirs.size(), false);
    for (const CEditData& block : ours) {
        m_blocks.push_back(CompareBlock(block));
        if (m_blocks.back().theirs)
            matched[*m_blocks.back().theirs] = true;
    }
    for (std::size_t k = 0; k < m_theirs.size(); ++k) {
        if (matched[k])
            continue;
        BlockResult only;
        only.deviceCode = m_theirs[k].Id;
        only.bank = m_theirs[k].BankNo;
        only.theirs = k;
        only.notComparedWords = WordCount(m_theirs[k]);
        m_blocks.push_back(std::move(only));
    }
}

BlockResult Comparison::CompareBlock(const CEditData& ours) const
{
    BlockResult result;
    result.deviceCode = ours.Id;
    result.bank = ours.BankNo;
    result.ours = true;
    const std::int64_t ourWords = WordCount(ours);
    result.notComparedWords = ourWords;
    const auto other = std::find_if(m_theirs.begin(), m_theirs.end(),
                                    [&](const CEditData& block) { return Matches(block, ours.Id, ours.BankNo); });
    if (other == m_theirs.end())
        return result;
    result.theirs = static_cast<std::size_t>(other - m_theirs.begin());
    const std::int64_t theirWords = WordCount(*other);
    result.notComparedWords += theirWords;
    // Words of blocks that store a different number of words per address do
    // not stand for the same values, so none of them is compared.
    if (ours.DataSize != other->DataSize || ours.DataSize <= 0)
        return result;

    const std::int64_t first = std::max(ours.StartAddr, other->StartAddr);
    const std::int64_t last = std::min(ours.EndAddr, other->EndAddr);
    if (first > last)
        return result;
    const std::int64_t perAddress = ours.DataSize;
    result.firstWord = std::min((first - ours.StartAddr) * perAddress, ourWords);
    const std::int64_t theirFirst = std::min((first - other->StartAddr) * perAddress, theirWords);
    const std::int64_t count =
        std::min({(last - first + 1) * perAddress, ourWords - result.firstWord, theirWords - theirFirst});
    result.endWord = result.firstWord + count;
    result.theirShift = result.firstWord - theirFirst;
    result.comparedWords = count;
    result.notComparedWords -= 2 * count;

    const std::span<const std::uint8_t> a(ours.Data.data() + result.firstWord * kWordBytes,
                                          static_cast<std::size_t>(count * kWordBytes));
    const std::span<const std::uint8_t> b(other->Data.data() + theirFirst * kWordBytes,
                                          static_cast<std::size_t>(count * kWordBytes));
    AppendDifferingWords(a, b, result.firstWord, result.differingWords);
    return result;
}

std::int64_t Comparison::DifferingWords() const
{
    std::int64_t total = 0;
    for (const BlockResult& block : m_blocks)
        total += block.DifferingWords();
    return total;
}

int Comparison::BlocksWithDifferences() const
{
    return static_cast<int>(std::count_if(m_blocks.begin(), m_blocks.end(),
                                          [](const BlockResult& block) { return !block.differingWords.empty(); }));
}

const BlockResult* Comparison::Find(std::uint8_t deviceCode, std::int16_t bank) const
{
    for (const BlockResult& block : m_blocks)
        if (block.ours && block.deviceCode == deviceCode && block.bank == bank)
            return &block;
    return nullptr;
}

void Comparison::Recompare(const CEditData& ours)
{
    for (BlockResult& block : m_blocks)
        if (block.ours && block.deviceCode == ours.Id && block.bank == ours.BankNo)
            block = CompareBlock(ours);
}

CellMark Comparison::MarkOf(std::uint8_t deviceCode, std::int16_t bank, std::int64_t firstWord, int words) const
{
    const BlockResult* block = Find(deviceCode, bank);
    if (!block || firstWord < block->firstWord || firstWord + words > block->endWord)
        return CellMark::NotCompared;
    const auto at = std::lower_bound(block->differingWords.begin(), block->differingWords.end(), firstWord);
    return at != block->differingWords.end() && *at < firstWord + words ? CellMark::Differs : CellMark::Same;
}

std::span<const std::uint8_t> Comparison::TheirBytes(std::uint8_t deviceCode, std::int16_t bank, std::int64_t firstWord,
                                                     int words) const
{
    const BlockResult* block = Find(deviceCode, bank);
    if (!block || !block->theirs || firstWord < block->firstWord || firstWord + words > block->endWord)
        return {};
    const CEditData& other = m_theirs[*block->theirs];
    const std::int64_t theirWord = firstWord - block->theirShift;
    return std::span<const std::uint8_t>(other.Data.data() + theirWord * kWordBytes,
                                         static_cast<std::size_t>(words * kWordBytes));
}

std::optional<Comparison::Position> Comparison::NextDifference(Position from, bool forward) const
{
    if (forward) {
        for (std::size_t k = from.block; k < m_blocks.size(); ++k) {
            const auto& words = m_blocks[k].differingWords;
            const auto at = k == from.block ? std::upper_bound(words.begin(), words.end(), from.word) : words.begin();
            if (at != words.end())
                return Position{k, *at};
        }
        return std::nullopt;
    }
    for (std::size_t k = std::min(from.block + 1, m_blocks.size()); k-- > 0;) {
        const auto& words = m_blocks[k].differingWords;
        const auto at = k == from.block ? std::lower_bound(words.begin(), words.end(), from.word) : words.end();
        if (at != words.begin())
            return Position{k, *std::prev(at)};
    }
    return std::nullopt;
}

} // namespace compare
