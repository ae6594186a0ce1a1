#include "ui/view/ChangeMarks.h"

#include <algorithm>

void ChangeMarks::Note(const CEditData& block, std::size_t byteOffset, std::span<const std::uint8_t> before,
                       std::span<const std::uint8_t> after, Clock::time_point now)
{
    const std::size_t bytes = std::min(before.size(), after.size()) & ~std::size_t{1};
    for (std::size_t at = 0; at < bytes; at += 2)
        if (before[at] != after[at] || before[at + 1] != after[at + 1])
            m_marks[{{block.Id, block.BankNo}, byteOffset + at}] = now;
}

double ChangeMarks::Strength(const CEditData& block, std::size_t offset, std::size_t size, Clock::time_point now) const
{
    if (m_marks.empty())
        return 0;
    const std::pair<std::uint8_t, std::int16_t> key{block.Id, block.BankNo};
    auto it = m_marks.lower_bound({key, offset & ~std::size_t{1}});
    Clock::time_point newest{};
    bool any = false;
    for (; it != m_marks.end() && it->first.first == key && it->first.second < offset + size; ++it) {
        newest = any ? std::max(newest, it->second) : it->second;
        any = true;
    }
    if (!any)
        return 0;
    const double age = std::chrono::duration<double>(now - newest) / kLife;
    return age >= 1 ? 0 : 1 - std::max(age, 0.0);
}

bool ChangeMarks::Prune(Clock::time_point now)
{
    std::erase_if(m_marks, [&](const auto& mark) { return now - mark.second >= kLife; });
    return !m_marks.empty();
}
