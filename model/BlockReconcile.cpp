#include "model/BlockReconcile.h"

#include "model/RangeRules.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Copies count bytes, cut to both buffers; never reads or writes outside them.
// Returns the count copied.
std::int64_t CopyBounded(std::vector<std::uint8_t>& to, std::int64_t toOffset, const std::vector<std::uint8_t>& from,
                         std::int64_t fromOffset, std::int64_t count)
{
    if (toOffset < 0 || fromOffset < 0 || count <= 0)
        return 0;
    const auto toSize = static_cast<std::int64_t>(to.size());
    const auto fromSize = static_cast<std::int64_t>(from.size());
    if (toOffset >= toSize || fromOffset >= fromSize)
        return 0;
    count = std::min({count, toSize - toOffset, fromSize - fromOffset});
    std::memcpy(to.data() + toOffset, from.data() + fromOffset, static_cast<std::size_t>(count));
    return count;
}

// What the entry's new block gets from the previous block of the same device
// or bank, whose range, converted to the new words per address, is range.
// wholeFromRemainder: an unchanged range copies the whole previous block from
// the remainder's offset (a device); otherwise from the start (a bank).
void CarryWords(CEditData& added, const CEditData& previous, const ConvertedRange& range, bool wholeFromRemainder,
                bool& modified)
{
    const std::int32_t start = added.StartAddr;
    const std::int32_t end = added.EndAddr;
    const std::int64_t bytesPerAddress = static_cast<std::int64_t>(added.DataSize) * 2;
    if (range.StartAddr == start && range.EndAddr == end) {
        if (wholeFromRemainder)
            CopyBounded(added.Data, 2 * static_cast<std::int64_t>(range.Remainder), previous.Data, 0,
                        static_cast<std::int64_t>(previous.Data.size()));
        else
            CopyBounded(added.Data, 0, previous.Data, 0,
                        (static_cast<std::int64_t>(end) - start + 1) * bytesPerAddress);
        return;
    }
    if (range.StartAddr > end || start > range.EndAddr)
        return;
    const std::int64_t lo = std::max(start, range.StartAddr);
    const std::int64_t hi = std::min(end, range.EndAddr);
    const std::int64_t from = (lo - range.StartAddr) * bytesPerAddress;
    const auto previousSize = static_cast<std::int64_t>(previous.Data.size());
    if (from < 0 || from >= previousSize)
        return;
    const std::int64_t count =
        std::min({(hi - lo + 1) * bytesPerAddress, previousSize - from, std::int64_t{INT32_MAX}});
    if (CopyBounded(added.Data, (lo - start) * bytesPerAddress, previous.Data, from, count) > 0)
        modified = true;
}

} // namespace

CEditData MakeBlankBlock(std::uint8_t deviceCode, std::int16_t bankNo, std::int32_t start, std::int32_t end,
                         std::int32_t dataSize)
{
    CEditData block;
    block.Id = deviceCode;
    block.BankNo = bankNo;
    block.StartAddr = start;
    block.EndAddr = end;
    block.DataSize = dataSize;
    const std::int64_t bytes = (static_cast<std::int64_t>(end) - start + 1) * dataSize * 2;
    block.Data.assign(bytes > 0 ? static_cast<std::size_t>(bytes) : 0, 0);
    return block;
}

ReconciledBlocks ReconcileBlockList(const EditDataArray& old, const PlcChoice& plc)
{
    ReconciledBlocks result;
    const auto place = [&](const CEditData* previous, bool selected, CEditData fresh, const ConvertedRange& range,
                           bool wholeFromRemainder) {
        if (previous || selected)
            result.changed = true;
        if (!selected) {
            result.modified |= previous != nullptr;
            return;
        }
        result.blocks.push_back(std::move(fresh));
        if (previous)
            CarryWords(result.blocks.back(), *previous, range, wholeFromRemainder, result.modified);
        else
            result.modified = true;
    };

    for (const stDeviceInfo& device : plc.m_aDeviceInfo) {
        if (plc.IsBankedDevice(device.Id))
            continue;
        const auto found = std::find_if(old.begin(), old.end(), [&](const CEditData& b) { return b.Id == device.Id; });
        const CEditData* previous = found == old.end() ? nullptr : &*found;
        const ConvertedRange range =
            previous ? ConvertDeviceRange(previous->StartAddr, previous->EndAddr, previous->DataSize, device.DataSize)
                     : ConvertedRange{};
        place(previous, device.Selected != 0,
              MakeBlankBlock(device.Id, 0, device.StartAddr, device.EndAddr, device.DataSize), range, true);
    }
    for (const _SBankInfo& bank : plc.m_aBankInfo) {
        const auto found = std::find_if(old.begin(), old.end(),
                                        [&](const CEditData& b) { return b.Id == bank.Id && b.BankNo == bank.BankNo; });
        const CEditData* previous = found == old.end() ? nullptr : &*found;
        const ConvertedRange range =
            previous ? ScaleBankRange(previous->StartAddr, previous->EndAddr, previous->DataSize, bank.DataSize)
                     : ConvertedRange{};
        place(previous, bank.Selected != 0,
              MakeBlankBlock(bank.Id, bank.BankNo, bank.StartAddr, bank.EndAddr, bank.DataSize), range, false);
    }
    return result;
}
