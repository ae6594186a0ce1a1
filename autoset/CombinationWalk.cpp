#include "autoset/CombinationWalk.h"

#include "autoset/AutoSetRun.h"
#include "autoset/Combinations.h"

#include "contract/AutoSetBlock.h"

#include <cstring>

namespace portavo {

using namespace comm::autoset;

CombinationWalk::CombinationWalk(std::uint8_t* block)
    : m_block(block)
    , m_options(GetU16(block + kSettingsOffset, Record::Options))
{
}

void CombinationWalk::Write()
{
    std::uint8_t* s = m_block + kSettingsOffset;
    const Combination& c = kCombinations[m_position];
    if (TriesBauds(m_options))
        PutU16(s, Record::Baud, static_cast<std::uint16_t>(c.baud));
    // Unlike the quick scan, the full scan leaves the data length alone
    // unless asked to try it.
    if (m_options & kOptionDataLength)
        PutU16(s, Record::DataLength, static_cast<std::uint16_t>(c.dataLength));
    if (TriesParities(m_options))
        PutU16(s, Record::Parity, static_cast<std::uint16_t>(c.parity));
}

bool CombinationWalk::Probe()
{
    // A second probe: a unit may miss the first request after the line changed.
    return ApplyAndProbe(m_block, GetU16(m_block, kPortOffset), 2) == 0;
}

bool CombinationWalk::Next()
{
    ++m_failures;
    m_position = NextDialogPosition(m_position, m_options);
    if (m_position >= kCombinationCount)
        return false;
    Write();
    return true;
}

int CombinationWalk::Range() const
{
    return DialogRange(m_options);
}

int WalkWithoutWindow(std::uint8_t* block, std::uint8_t* settings)
{
    CombinationWalk walk(block);
    walk.Write();
    while (!walk.Probe()) {
        if (!walk.Next())
            return kDialogFailed;
    }
    std::memcpy(settings, block + kSettingsOffset, kSettingsSize);
    return kDialogFound;
}

} // namespace portavo
