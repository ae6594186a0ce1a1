#pragma once

// Memory that changes by itself, so that watching a running PLC has
// something to show: a counter in DT 0, a sine in DT 1 and one bit walking
// through WR 0. The words follow the clock only when a request comes in, so
// every answer sees memory that no other request is changing meanwhile.

#include "plcsim/SimMemory.h"

#include <chrono>
#include <cstdint>

class SimAnimation {
public:
    using Clock = std::chrono::steady_clock;

    explicit SimAnimation(SimMemory& memory, Clock::time_point start = Clock::now());

    // Brings the animated words up to time now.
    void Advance(Clock::time_point now = Clock::now());

    static constexpr auto kCountStep = std::chrono::milliseconds(100);
    static constexpr auto kSinePeriod = std::chrono::milliseconds(10000);
    static constexpr auto kWalkStep = std::chrono::milliseconds(250);
    static constexpr int kSineAmplitude = 1000;

private:
    SimMemory& m_memory;
    Clock::time_point m_start;
    // Steps of the counter already added: the counter goes on from whatever a
    // client wrote into DT 0 instead of jumping back.
    std::int64_t m_counted = 0;
};
