#include "plcsim/SimResponder.h"

#include "commlib/core/DefaultMap.h"

#include <modbus/modbus.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include <unistd.h>

namespace {

std::uint16_t Word(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// A mapping of registers [start, start + count) onto words.
modbus_mapping_t Registers(std::uint16_t start, std::uint32_t count, std::uint16_t* words)
{
    modbus_mapping_t m{};
    m.start_registers = start;
    m.nb_registers = static_cast<int>(count);
    m.tab_registers = words;
    return m;
}

} // namespace

bool SimResponder::ValidWindow(const std::array<std::uint16_t, 3>& w)
{
    const auto* plane = m_memory.Plane(w[0], w[1]);
    return plane && std::size_t{w[2]} * commlib::kWindowWords < plane->size();
}

SimAnswer SimResponder::Handle(modbus_t* context, const std::uint8_t* request, int length, SimLineState& state)
{
    ++state.requests;
    if (m_faults.dropAfter > 0 && state.requests > m_faults.dropAfter)
        return SimAnswer::Drop;
    if (state.requests > m_faults.faultsAfter) {
        if (m_faults.silent)
            return SimAnswer::Ignored;
        if (m_faults.delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(m_faults.delayMs));
        if (m_faults.garbage) {
            static std::mt19937 random(12345);
            std::uint8_t junk[13];
            for (auto& b : junk)
                b = static_cast<std::uint8_t>(random());
            if (write(modbus_get_socket(context), junk, sizeof junk) < 0)
                return SimAnswer::Drop;
            return SimAnswer::Answered;
        }
        if (m_faults.exception > 0) {
            modbus_reply_exception(context, request, static_cast<unsigned>(m_faults.exception));
            return SimAnswer::Answered;
        }
    }
    Reply(context, request, length, state);
    return SimAnswer::Answered;
}

void SimResponder::Reply(modbus_t* context, const std::uint8_t* request, int length, SimLineState& state)
{
    const int header = modbus_get_header_length(context);
    if (length < header + 5) {
        modbus_reply_exception(context, request, MODBUS_EXCEPTION_ILLEGAL_DATA_VALUE);
        return;
    }
    const std::uint8_t* pdu = request + header;
    const std::uint8_t function = pdu[0];
    const std::uint32_t address = Word(pdu + 1);
    std::uint32_t count = 1;
    if (function == MODBUS_FC_READ_HOLDING_REGISTERS || function == MODBUS_FC_WRITE_MULTIPLE_REGISTERS)
        count = Word(pdu + 3);
    else if (function != MODBUS_FC_WRITE_SINGLE_REGISTER) {
        modbus_reply_exception(context, request, MODBUS_EXCEPTION_ILLEGAL_FUNCTION);
        return;
    }
    if (count == 0 || (function == MODBUS_FC_WRITE_MULTIPLE_REGISTERS && length < header + 6 + int(count) * 2)) {
        modbus_reply_exception(context, request, MODBUS_EXCEPTION_ILLEGAL_DATA_VALUE);
        return;
    }
    const std::uint32_t end = address + count;

    // The window onto the selected device, bank and segment.
    if (end <= commlib::kWindowWords) {
        std::vector<std::uint16_t>* plane = m_memory.Plane(state.window[0], state.window[1]);
        const std::size_t first = std::size_t{state.window[2]} * commlib::kWindowWords;
        const std::size_t size =
            plane && plane->size() > first ? std::min<std::size_t>(plane->size() - first, commlib::kWindowWords) : 0;
        if (size == 0 || end > size) {
            modbus_reply_exception(context, request, MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS);
            return;
        }
        modbus_mapping_t m = Registers(commlib::kWindowBase, static_cast<std::uint32_t>(size), plane->data() + first);
        modbus_reply(context, request, length, &m);
        return;
    }

    // The identity registers, read-only.
    if (address >= commlib::kIdentityBase && end <= commlib::kIdentityBase + commlib::kIdentityWords) {
        if (function != MODBUS_FC_READ_HOLDING_REGISTERS) {
            modbus_reply_exception(context, request, MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS);
            return;
        }
        auto& words = m_memory.IdentityWords();
        modbus_mapping_t m = Registers(commlib::kIdentityBase, static_cast<std::uint32_t>(words.size()), words.data());
        modbus_reply(context, request, length, &m);
        return;
    }

    // The window select: a write takes effect only when it names memory the model has.
    if (address >= commlib::kWindowSelect && end <= commlib::kWindowSelect + commlib::kWindowSelectWords) {
        std::array<std::uint16_t, 3> window = state.window;
        const std::size_t at = address - commlib::kWindowSelect;
        if (function == MODBUS_FC_WRITE_SINGLE_REGISTER)
            window[at] = Word(pdu + 3);
        else if (function == MODBUS_FC_WRITE_MULTIPLE_REGISTERS)
            for (std::uint32_t i = 0; i < count; ++i)
                window[at + i] = Word(pdu + 6 + 2 * i);
        if (!ValidWindow(window)) {
            modbus_reply_exception(context, request, MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS);
            return;
        }
        std::array<std::uint16_t, 3> registers = state.window;
        modbus_mapping_t m = Registers(commlib::kWindowSelect, 3, registers.data());
        modbus_reply(context, request, length, &m);
        state.window = window;
        return;
    }

    modbus_reply_exception(context, request, MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS);
}
