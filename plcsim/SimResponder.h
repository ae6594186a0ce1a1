#pragma once

// Answers one Modbus request against the simulated memory through the
// default register map: the window at 0, the identity registers at 0xFF00,
// the window select at 0xFFF0. Anything outside the model's memory gets
// exception 2; every function other than 3, 6 and 16 gets exception 1.
//
// It sees only the request's PDU (function code and data) and gives back the
// answer's PDU: framing, sending and any delay are the transport's, so that
// a TCP server can keep many connections going at once.

#include "plcsim/SimAnimation.h"
#include "plcsim/SimFaults.h"
#include "plcsim/SimMemory.h"

#include <array>
#include <cstdint>
#include <vector>

// What one connection (or one serial line) has selected so far.
struct SimLineState {
    std::array<std::uint16_t, 3> window{9, 0, 0}; // DT, bank 0, segment 0
    long requests = 0;
    long connection = 0; // 1 for the first TCP connection accepted, 2 for the next; 0 on a serial line
};

enum class SimAction {
    Answer,    // send bytes as the answer's PDU
    SendRaw,   // send bytes as they are, with no framing
    Ignore,    // send nothing
    Drop,      // close the connection
    Malformed, // the request's length disagrees with its own fields: close the connection
};

struct SimReply {
    SimAction action = SimAction::Ignore;
    std::vector<std::uint8_t> bytes;
    int delayMs = 0; // hold the answer back this long
};

class SimResponder {
public:
    SimResponder(SimMemory& memory, const SimFaults& faults)
        : m_memory(memory)
        , m_faults(faults)
    {
    }

    // pdu: the function code and what follows it, length bytes.
    SimReply Handle(const std::uint8_t* pdu, int length, SimLineState& state);

    // Memory that moves by itself, brought up to date before each request.
    void Animate(SimAnimation* animation) { m_animation = animation; }

private:
    std::vector<std::uint8_t> Reply(const std::uint8_t* pdu, int length, SimLineState& state);
    bool ValidWindow(const std::array<std::uint16_t, 3>& window);

    SimMemory& m_memory;
    SimFaults m_faults;
    SimAnimation* m_animation = nullptr;
};
