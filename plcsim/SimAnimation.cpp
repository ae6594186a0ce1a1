#include "plcsim/SimAnimation.h"

#include <cmath>
#include <numbers>

namespace {

// Protocol device codes, as SimModelSource maps them.
constexpr std::uint32_t kDataRegister = 9;
constexpr std::uint32_t kInternalRelay = 31;

} // namespace

SimAnimation::SimAnimation(SimMemory& memory, Clock::time_point start)
    : m_memory(memory)
    , m_start(start)
{
    Advance(start);
}

void SimAnimation::Advance(Clock::time_point now)
{
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_start);
    if (elapsed.count() < 0)
        return;
    if (auto* dt = m_memory.Plane(kDataRegister, 0); dt && dt->size() >= 2) {
        const std::int64_t steps = elapsed / kCountStep;
        (*dt)[0] = static_cast<std::uint16_t>((*dt)[0] + (steps - m_counted));
        m_counted = steps;
        const double phase =
            2 * std::numbers::pi * double(elapsed.count() % kSinePeriod.count()) / double(kSinePeriod.count());
        const auto sine = static_cast<std::int16_t>(std::lround(kSineAmplitude * std::sin(phase)));
        (*dt)[1] = static_cast<std::uint16_t>(sine);
    }
    if (auto* wr = m_memory.Plane(kInternalRelay, 0); wr && !wr->empty())
        (*wr)[0] = static_cast<std::uint16_t>(1u << ((elapsed / kWalkStep) % 16));
}
