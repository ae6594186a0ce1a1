#include "commlib/core/ModbusLink.h"

#include "commlib/core/CommErrors.h"

#include <modbus/modbus.h>

#include <cerrno>
#include <cstring>

namespace commlib {
namespace {

void SetTimeouts(modbus_t* context, int timeoutMs)
{
    const auto ms = static_cast<std::uint32_t>(timeoutMs);
    modbus_set_response_timeout(context, ms / 1000, (ms % 1000) * 1000);
    // Between the bytes of one answer a quarter of the timeout, so that an
    // answer cut short fails soon after the timeout rather than long after.
    const std::uint32_t byteMs = ms / 4 > 0 ? ms / 4 : 1;
    modbus_set_byte_timeout(context, byteMs / 1000, (byteMs % 1000) * 1000);
}

} // namespace

ModbusLink::ModbusLink(modbus_t* context, std::string where)
    : m_context(context)
    , m_where(std::move(where))
{
}

ModbusLink::~ModbusLink()
{
    if (m_context) {
        modbus_close(m_context);
        modbus_free(m_context);
    }
}

CommResult ModbusLink::Open(const Profile& profile, std::unique_ptr<ModbusLink>& link)
{
    link.reset();
    modbus_t* context = nullptr;
    if (profile.kind == LinkKind::Tcp) {
        context = modbus_new_tcp_pi(profile.host.c_str(), std::to_string(profile.port).c_str());
    } else {
        context = modbus_new_rtu(profile.serialDevice.c_str(), profile.baud, profile.parity, profile.dataBits,
                                 profile.stopBits);
    }
    const std::string where = DescribeProfile(profile);
    if (!context)
        return CommResult::Fail(Err::BadProfile, where + ": " + modbus_strerror(errno));
    modbus_set_error_recovery(context, MODBUS_ERROR_RECOVERY_NONE);
    modbus_set_slave(context, profile.unit);
    SetTimeouts(context, profile.timeoutMs);
    if (modbus_connect(context) != 0) {
        const std::string reason = modbus_strerror(errno);
        modbus_free(context);
        return CommResult::Fail(Err::ConnectFailed, where + ": " + reason);
    }
    link.reset(new ModbusLink(context, where));
    return {};
}

CommResult ModbusLink::Failure(const char* action, std::uint16_t first, int count)
{
    const int error = errno;
    const std::string what = m_where + ": " + action + " " + std::to_string(count) + " registers at "
                             + std::to_string(first) + ": " + modbus_strerror(error);
    if (error > MODBUS_ENOBASE && error < MODBUS_ENOBASE + MODBUS_EXCEPTION_MAX)
        return CommResult::Fail(Err::ExceptionBase + (error - MODBUS_ENOBASE), what);
    m_broken = true;
    switch (error) {
    case ETIMEDOUT: return CommResult::Fail(Err::Timeout, what);
    case EMBBADCRC:
    case EMBBADDATA:
    case EMBBADEXC:
    case EMBMDATA:
    case EMBBADSLAVE:
    case EMBUNKEXC: return CommResult::Fail(Err::BadResponse, what);
    default: return CommResult::Fail(Err::ConnectionLost, what);
    }
}

CommResult ModbusLink::Read(std::uint16_t first, int count, std::uint16_t* words)
{
    if (count < 1 || count > MODBUS_MAX_READ_REGISTERS || first + count > 0x10000)
        return CommResult::Fail(Err::BadArgument, "read of " + std::to_string(count) + " registers");
    const int got = modbus_read_registers(m_context, first, count, words);
    if (got < 0)
        return Failure("reading", first, count);
    if (got != count) {
        m_broken = true;
        return CommResult::Fail(Err::BadResponse, m_where + ": asked for " + std::to_string(count) + " registers, got "
                                                      + std::to_string(got));
    }
    return {};
}

CommResult ModbusLink::Write(std::uint16_t first, int count, const std::uint16_t* words)
{
    if (count < 1 || count > MODBUS_MAX_WRITE_REGISTERS || first + count > 0x10000)
        return CommResult::Fail(Err::BadArgument, "write of " + std::to_string(count) + " registers");
    const int put = modbus_write_registers(m_context, first, count, words);
    if (put < 0)
        return Failure("writing", first, count);
    if (put != count) {
        m_broken = true;
        return CommResult::Fail(Err::BadResponse, m_where + ": wrote " + std::to_string(count)
                                                      + " registers, the unit confirmed " + std::to_string(put));
    }
    return {};
}

} // namespace commlib
