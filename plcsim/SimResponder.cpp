#include "plcsim/SimResponder.h"

#include "commlib/core/DefaultMap.h"

#include <algorithm>
#include <random>

namespace {

constexpr std::uint8_t kReadHolding = 0x03;
constexpr std::uint8_t kWriteSingle = 0x06;
constexpr std::uint8_t kWriteMultiple = 0x10;

constexpr std::uint8_t kIllegalFunction = 1;
constexpr std::uint8_t kIllegalAddress = 2;
constexpr std::uint8_t kIllegalValue = 3;

// The most registers one request may read or write.
constexpr std::uint32_t kMaxRead = 125;
constexpr std::uint32_t kMaxWrite = 123;

std::uint16_t Word(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t word)
{
    out.push_back(static_cast<std::uint8_t>(word >> 8));
    out.push_back(static_cast<std::uint8_t>(word & 0xFF));
}

std::vector<std::uint8_t> Exception(std::uint8_t function, std::uint8_t code)
{
    return {static_cast<std::uint8_t>(function | 0x80), code};
}

// The answer to a read of count registers from words.
std::vector<std::uint8_t> ReadAnswer(const std::uint16_t* words, std::uint32_t count)
{
    std::vector<std::uint8_t> answer{kReadHolding, static_cast<std::uint8_t>(count * 2)};
    for (std::uint32_t i = 0; i < count; ++i)
        PutWord(answer, words[i]);
    return answer;
}

// A write is answered with the request's first five bytes: function,
// address, and the value (single) or the register count (multiple).
std::vector<std::uint8_t> WriteAnswer(const std::uint8_t* pdu)
{
    return std::vector<std::uint8_t>(pdu, pdu + 5);
}

// Whether the request's length agrees with what its fields say. Only the
// functions we serve can be checked; the others are refused as a whole.
bool WellFormed(const std::uint8_t* pdu, int length)
{
    if (length < 1)
        return false;
    switch (pdu[0]) {
    case kReadHolding:
    case kWriteSingle: return length == 5;
    case kWriteMultiple: return length >= 6 && pdu[5] == length - 6;
    default: return true;
    }
}

} // namespace

bool SimResponder::ValidWindow(const std::array<std::uint16_t, 3>& w)
{
    const auto* plane = m_memory.Plane(w[0], w[1]);
    return plane && std::size_t{w[2]} * commlib::kWindowWords < plane->size();
}

SimReply SimResponder::Handle(const std::uint8_t* pdu, int length, SimLineState& state)
{
    if (!WellFormed(pdu, length))
        return {SimAction::Malformed, {}, 0};
    ++state.requests;
    if (m_animation)
        m_animation->Advance();
    if (m_faults.onConnection != 0 && state.connection != m_faults.onConnection)
        return {SimAction::Answer, Reply(pdu, length, state), 0};
    if (m_faults.dropAfter > 0 && state.requests > m_faults.dropAfter)
        return {SimAction::Drop, {}, 0};
    if (state.requests > m_faults.faultsAfter) {
        if (m_faults.silent)
            return {SimAction::Ignore, {}, 0};
        if (m_faults.garbage) {
            static std::mt19937 random(12345);
            std::vector<std::uint8_t> junk(13);
            for (auto& b : junk)
                b = static_cast<std::uint8_t>(random());
            return {SimAction::SendRaw, std::move(junk), m_faults.delayMs};
        }
        if (m_faults.exception > 0)
            return {SimAction::Answer, Exception(pdu[0], static_cast<std::uint8_t>(m_faults.exception)),
                    m_faults.delayMs};
        return {SimAction::Answer, Reply(pdu, length, state), m_faults.delayMs};
    }
    return {SimAction::Answer, Reply(pdu, length, state), 0};
}

std::vector<std::uint8_t> SimResponder::Reply(const std::uint8_t* pdu, int length, SimLineState& state)
{
    const std::uint8_t function = pdu[0];
    if (function != kReadHolding && function != kWriteSingle && function != kWriteMultiple)
        return Exception(function, kIllegalFunction);
    (void)length; // WellFormed has matched it to the function
    const std::uint32_t address = Word(pdu + 1);
    std::uint32_t count = 1;
    if (function == kReadHolding) {
        count = Word(pdu + 3);
        if (count == 0 || count > kMaxRead)
            return Exception(function, kIllegalValue);
    } else if (function == kWriteMultiple) {
        count = Word(pdu + 3);
        if (count == 0 || count > kMaxWrite || pdu[5] != count * 2)
            return Exception(function, kIllegalValue);
    }
    const std::uint32_t end = address + count;
    // The values a write brings, in register order.
    std::vector<std::uint16_t> values;
    if (function == kWriteSingle)
        values.push_back(Word(pdu + 3));
    else if (function == kWriteMultiple)
        for (std::uint32_t i = 0; i < count; ++i)
            values.push_back(Word(pdu + 6 + 2 * i));

    // The window onto the selected device, bank and segment.
    if (end <= commlib::kWindowWords) {
        std::vector<std::uint16_t>* plane = m_memory.Plane(state.window[0], state.window[1]);
        const std::size_t first = std::size_t{state.window[2]} * commlib::kWindowWords;
        const std::size_t size =
            plane && plane->size() > first ? std::min<std::size_t>(plane->size() - first, commlib::kWindowWords) : 0;
        if (size == 0 || end > size)
            return Exception(function, kIllegalAddress);
        std::uint16_t* words = plane->data() + first + address;
        if (function == kReadHolding)
            return ReadAnswer(words, count);
        std::copy(values.begin(), values.end(), words);
        return WriteAnswer(pdu);
    }

    // The identity registers, read-only.
    if (address >= commlib::kIdentityBase && end <= commlib::kIdentityBase + commlib::kIdentityWords) {
        if (function != kReadHolding)
            return Exception(function, kIllegalAddress);
        return ReadAnswer(m_memory.IdentityWords().data() + (address - commlib::kIdentityBase), count);
    }

    // The window select: a write takes effect only when it names memory the model has.
    if (address >= commlib::kWindowSelect && end <= commlib::kWindowSelect + commlib::kWindowSelectWords) {
        const std::size_t at = address - commlib::kWindowSelect;
        if (function == kReadHolding)
            return ReadAnswer(state.window.data() + at, count);
        std::array<std::uint16_t, 3> window = state.window;
        std::copy(values.begin(), values.end(), window.begin() + static_cast<std::ptrdiff_t>(at));
        if (!ValidWindow(window))
            return Exception(function, kIllegalAddress);
        state.window = window;
        return WriteAnswer(pdu);
    }

    return Exception(function, kIllegalAddress);
}
