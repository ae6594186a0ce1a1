#pragma once

// One open Modbus connection (TCP or RTU). libmodbus opens the socket or the
// serial line; the requests and answers are framed here, so that one
// deadline (the profile's timeout) bounds a whole request and its answer
// however the bytes trickle in, and every field of an answer is checked
// against the request. A failure becomes one of our error codes with a detail.

#include "commlib/core/CommResult.h"
#include "commlib/core/Profile.h"
#include "contract/CommContract.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

typedef struct _modbus modbus_t;

namespace commlib {

class ModbusLink {
public:
    ~ModbusLink();
    ModbusLink(const ModbusLink&) = delete;
    ModbusLink& operator=(const ModbusLink&) = delete;

    static CommResult Open(const Profile& profile, std::unique_ptr<ModbusLink>& link);

    // At most 125 registers.
    CommResult Read(std::uint16_t first, int count, std::uint16_t* words);
    // At most 123 registers.
    CommResult Write(std::uint16_t first, int count, const std::uint16_t* words);

    // A transport failure leaves the stream in an unknown state: the caller
    // drops the link and opens a new one for the next call.
    bool Broken() const { return m_broken; }
    // Answers of the unit so far, exceptions included.
    long Answers() const { return m_answers; }

    // Where each request goes once its answer came or it failed.
    void SetReporter(std::function<void(comm::RequestRecord&)> reporter) { m_reporter = std::move(reporter); }
    // The device and first address the next request moves, for its report.
    void NoteDevice(std::uint32_t device, std::uint32_t address, std::uint32_t lastAddress)
    {
        m_note = {device, address, lastAddress};
    }

private:
    using Clock = std::chrono::steady_clock;
    enum class Io { Done, TimedOut, Lost };

    ModbusLink(modbus_t* context, const Profile& profile, std::string where);
    // Sends the request PDU and receives the answer PDU (function code first),
    // both within one timeout. The result carries the failure when there is no
    // well-formed answer of this unit to this request.
    CommResult Exchange(const char* action, std::uint16_t first, int count, const std::vector<std::uint8_t>& request,
                        std::vector<std::uint8_t>& answer);
    CommResult ExchangeOnce(const char* action, std::uint16_t first, int count,
                            const std::vector<std::uint8_t>& request, std::vector<std::uint8_t>& answer);
    // The answer PDU of one request, or the errno of the failure (problem
    // says what was wrong with an answer that is not ours).
    int ReceiveTcp(Clock::time_point deadline, std::vector<std::uint8_t>& answer, std::string& problem);
    int ReceiveRtu(Clock::time_point deadline, std::uint8_t function, int count, std::vector<std::uint8_t>& answer,
                   std::string& problem);
    // 0 once n bytes have come, else the errno of the failure.
    int Receive(std::uint8_t* bytes, std::size_t n, Clock::time_point deadline);
    Io SendAll(const std::vector<std::uint8_t>& bytes, Clock::time_point deadline);
    Io ReceiveExactly(std::uint8_t* bytes, std::size_t n, Clock::time_point deadline);
    void DiscardLateInput();
    CommResult Failure(const char* action, std::uint16_t first, int count, int error, const std::string& note = {});

    modbus_t* m_context = nullptr;
    int m_fd = -1;
    bool m_rtu = false;
    std::uint8_t m_unit = 1;
    int m_timeoutMs = 1000;
    std::uint16_t m_transaction = 0;
    std::string m_where;
    bool m_broken = false;
    long m_answers = 0;
    std::function<void(comm::RequestRecord&)> m_reporter;
    struct DeviceNote {
        std::uint32_t device;
        std::uint32_t address;
        std::uint32_t lastAddress;
    };
    std::optional<DeviceNote> m_note;
};

} // namespace commlib
