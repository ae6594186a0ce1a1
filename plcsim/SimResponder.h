#pragma once

// Answers one Modbus request against the simulated memory through the
// default register map: the window at 0, the identity registers at 0xFF00,
// the window select at 0xFFF0. Anything outside the model's memory gets
// exception 2; functions other than 3, 6 and 16 get exception 1.

#include "plcsim/SimFaults.h"
#include "plcsim/SimMemory.h"

#include <array>
#include <cstdint>

typedef struct _modbus modbus_t;

// What one connection (or one serial line) has selected so far.
struct SimLineState {
    std::array<std::uint16_t, 3> window{9, 0, 0}; // DT, bank 0, segment 0
    long requests = 0;
};

enum class SimAnswer { Answered, Ignored, Drop };

class SimResponder {
public:
    SimResponder(SimMemory& memory, const SimFaults& faults)
        : m_memory(memory)
        , m_faults(faults)
    {
    }

    // The request as modbus_receive delivered it, with its header.
    SimAnswer Handle(modbus_t* context, const std::uint8_t* request, int length, SimLineState& state);

private:
    void Reply(modbus_t* context, const std::uint8_t* request, int length, SimLineState& state);
    bool ValidWindow(const std::array<std::uint16_t, 3>& window);

    SimMemory& m_memory;
    SimFaults m_faults;
};
