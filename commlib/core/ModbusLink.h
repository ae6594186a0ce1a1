#pragma once

// One open Modbus connection (TCP or RTU) through libmodbus. Every request
// is bounded by the profile's timeout; every answer is checked and a failure
// becomes one of our error codes with a detail.

#include "commlib/core/CommResult.h"
#include "commlib/core/Profile.h"

#include <cstdint>
#include <memory>

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

private:
    explicit ModbusLink(modbus_t* context, std::string where);
    CommResult Failure(const char* action, std::uint16_t first, int count);

    modbus_t* m_context = nullptr;
    std::string m_where;
    bool m_broken = false;
};

} // namespace commlib
