#include "autoset/AutoSetRun.h"

#include "autoset/Combinations.h"

#include "contract/AutoSetBlock.h"
#include "contract/CommContract.h"
#include "contract/CommExports.h"
#include "platform/PortLock.h"

#include <array>
#include <cstring>

namespace portavo {
namespace {

using namespace comm::autoset;

void SetFlags(std::uint8_t* block, std::uint16_t bits)
{
    PutU16(block, kFlagsOffset, GetU16(block, kFlagsOffset) | bits);
}

void ClearFlags(std::uint8_t* block, std::uint16_t bits)
{
    PutU16(block, kFlagsOffset, GetU16(block, kFlagsOffset) & static_cast<std::uint16_t>(~bits));
}

std::uint8_t* Settings(std::uint8_t* block)
{
    return block + kSettingsOffset;
}

// Writes the combination at position into the settings record: the baud
// rate and parity as the options allow, the data length always.
void WriteQuickCombination(std::uint8_t* settings, int position, std::uint16_t options)
{
    const Combination& c = kCombinations[position];
    if (TriesBauds(options))
        PutU16(settings, Record::Baud, static_cast<std::uint16_t>(c.baud));
    if (TriesParities(options))
        PutU16(settings, Record::Parity, static_cast<std::uint16_t>(c.parity));
    PutU16(settings, Record::DataLength, static_cast<std::uint16_t>(c.dataLength));
}

// The quick scan: every allowed combination once, without a window. 0 when
// the unit answered; the last combination written stays in the block.
int QuickScan(std::uint8_t* block, std::uint16_t port, std::uint16_t options, int result)
{
    SetFlags(block, kFlagQuickScan);
    int position = 0;
    while (position < kCombinationCount) {
        WriteQuickCombination(Settings(block), position, options);
        QelTeskUserIF_138(port, Settings(block));
        result = ProbeOnce(block);
        if (result == 0)
            break;
        position = NextQuickPosition(position, options);
    }
    ClearFlags(block, kFlagQuickScan);
    return result;
}

} // namespace

int ProbeOnce(std::uint8_t* block)
{
    std::array<std::uint8_t, 256> response{};
    std::uint32_t length = 0;
    return QelTeskUserIF_180(block, kProbeRequest, sizeof kProbeRequest, response.data(), &length);
}

int ApplyAndProbe(std::uint8_t* block, std::uint16_t port, int attempts)
{
    QelTeskUserIF_138(port, Settings(block));
    int result = ProbeOnce(block);
    for (int i = 1; i < attempts && result != 0; ++i)
        result = ProbeOnce(block);
    return result;
}

int RunAutoSet(std::uint8_t* block, const ProgressDialogFn& dialog)
{
    if (!block)
        return kResultNotFound;
    if (QelTeskUserIF_151(block) != 0)
        return 0; // nothing to do
    const std::uint16_t options = GetU16(Settings(block), Record::Options);
    if (options == 0)
        return 0;
    std::uint32_t version = 0;
    QelTeskUserIF_1(&version);

    const std::uint16_t port = GetU16(block, kPortOffset);
    const std::uint8_t* portRecord = QelTeskUserIF_282(port);
    if (!portRecord)
        return kResultUnsupportedKind; // no such port at all
    const std::uint8_t* portSettings = portRecord + comm::UserIF::kPortSettingsOffset;
    const std::int16_t portKind = GetI16(portSettings, Record::Kind);
    if (portKind == kKindNetwork || portKind == kKindNetwork2)
        return kResultUnsupportedKind;
    std::array<std::uint8_t, kSettingsSize> saved{};
    std::memcpy(saved.data(), portSettings, kSettingsSize);

    if (const int prepared = QelTeskUserIF_59(block); prepared != 0)
        return prepared;

    // Held until the end; the system lets it go should this process die.
    platform::PortLock lock(port);
    lock.Acquire();

    SetFlags(block, kFlagAutoSet);
    int result = ProbeOnce(block);
    if (result != 0)
        result = ProbeOnce(block);

    if (result != 0 && GetI16(Settings(block), Record::Kind) == kKindSerial && QelTeskUserIF_151(block) == 0) {
        result = QuickScan(block, port, options, result);
        if (result != 0) {
            std::array<std::uint8_t, kSettingsSize> found{};
            const int answer = dialog ? dialog(block, found.data()) : kDialogFailed;
            if (answer == kDialogFound) {
                result = 0;
                std::memcpy(Settings(block), found.data(), kSettingsSize);
            } else {
                result = kResultNotFound;
            }
        }
    }

    if (result != 0) {
        // The port gets its old settings back; the block keeps what was tried.
        QelTeskUserIF_138(port, saved.data());
        SetFlags(block, kFlagClosing);
        std::array<std::uint8_t, kSettingsSize> scratch{};
        QelTeskUserIF_15(block, 0, scratch.data());
        ClearFlags(block, kFlagClosing);
    }

    ClearFlags(block, kFlagAutoSet);
    lock.Release();
    QelTeskUserIF_61(block);
    return result;
}

} // namespace portavo
