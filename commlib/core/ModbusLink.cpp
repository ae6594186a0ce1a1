#include "commlib/core/ModbusLink.h"

#include "commlib/core/CommErrors.h"

#include <modbus/modbus.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <utility>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace commlib {
namespace {

constexpr std::uint8_t kReadHolding = 0x03;
constexpr std::uint8_t kWriteMultiple = 0x10;
constexpr std::uint8_t kExceptionBit = 0x80;
// The largest MBAP length: the unit id and the longest PDU.
constexpr int kMaxMbapLength = 254;

std::uint16_t Crc16(const std::uint8_t* bytes, std::size_t n)
{
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

void PutBig16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

unsigned Big16(const std::uint8_t* bytes)
{
    return (unsigned{bytes[0]} << 8) | bytes[1];
}

int PollMs(std::chrono::steady_clock::duration remaining)
{
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
    return ms < 1 ? 1 : static_cast<int>(ms);
}

} // namespace

ModbusLink::ModbusLink(modbus_t* context, const Profile& profile, std::string where)
    : m_context(context)
    , m_fd(modbus_get_socket(context))
    , m_rtu(profile.kind == LinkKind::Rtu)
    , m_unit(static_cast<std::uint8_t>(profile.unit))
    , m_timeoutMs(profile.timeoutMs > 0 ? profile.timeoutMs : 1)
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
    // libmodbus bounds the TCP connect by the response timeout.
    const auto ms = static_cast<std::uint32_t>(profile.timeoutMs);
    modbus_set_response_timeout(context, ms / 1000, (ms % 1000) * 1000);
    if (modbus_connect(context) != 0) {
        const std::string reason = modbus_strerror(errno);
        modbus_free(context);
        return CommResult::Fail(Err::ConnectFailed, where + ": " + reason);
    }
    link.reset(new ModbusLink(context, profile, where));
    // Whatever the line holds from before (an answer to another program, a
    // unit's noise at power-up) would be taken for the first answer.
    if (link->m_rtu)
        tcflush(link->m_fd, TCIFLUSH);
    return {};
}

CommResult ModbusLink::Failure(const char* action, std::uint16_t first, int count, int error, const std::string& note)
{
    std::string what = m_where + ": " + action + " " + std::to_string(count) + " registers at " + std::to_string(first)
                       + ": " + modbus_strerror(error);
    if (!note.empty())
        what += " (" + note + ")";
    if (error > MODBUS_ENOBASE && error < MODBUS_ENOBASE + MODBUS_EXCEPTION_MAX)
        return CommResult::Fail(Err::ExceptionBase + (error - MODBUS_ENOBASE), what);
    m_broken = true;
    switch (error) {
    case ETIMEDOUT:
        if (m_rtu)
            DiscardLateInput();
        return CommResult::Fail(Err::Timeout, what);
    case EMBBADCRC:
    case EMBBADDATA:
    case EMBBADEXC:
    case EMBMDATA:
    case EMBBADSLAVE:
    case EMBUNKEXC:
        if (m_rtu)
            tcflush(m_fd, TCIFLUSH);
        return CommResult::Fail(Err::BadResponse, what);
    default: return CommResult::Fail(Err::ConnectionLost, what);
    }
}

// After a timeout the unit may still answer; on a serial line that answer
// would be taken for the answer to the next request. Listen for up to one
// more timeout and throw away what comes, stopping once the line has gone
// quiet after it.
void ModbusLink::DiscardLateInput()
{
    const auto quiet = std::chrono::milliseconds(50);
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_timeoutMs);
    bool heard = false;
    std::uint8_t sink[256];
    for (;;) {
        const auto now = Clock::now();
        if (now >= deadline)
            break;
        const auto wait = heard ? std::min<Clock::duration>(quiet, deadline - now) : deadline - now;
        pollfd p{m_fd, POLLIN, 0};
        const int ready = poll(&p, 1, PollMs(wait));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t n = ::read(m_fd, sink, sizeof sink);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            break;
        heard = true;
    }
    tcflush(m_fd, TCIFLUSH);
}

ModbusLink::Io ModbusLink::SendAll(const std::vector<std::uint8_t>& bytes, Clock::time_point deadline)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = m_rtu ? ::write(m_fd, bytes.data() + sent, bytes.size() - sent)
                                : ::send(m_fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            errno = errno ? errno : ECONNRESET;
            return Io::Lost;
        }
        const auto now = Clock::now();
        if (now >= deadline)
            return Io::TimedOut;
        pollfd p{m_fd, POLLOUT, 0};
        if (poll(&p, 1, PollMs(deadline - now)) < 0 && errno != EINTR)
            return Io::Lost;
    }
    return Io::Done;
}

ModbusLink::Io ModbusLink::ReceiveExactly(std::uint8_t* bytes, std::size_t n, Clock::time_point deadline)
{
    std::size_t got = 0;
    while (got < n) {
        const auto now = Clock::now();
        if (now >= deadline)
            return Io::TimedOut;
        pollfd p{m_fd, POLLIN, 0};
        const int ready = poll(&p, 1, PollMs(deadline - now));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return Io::Lost;
        }
        if (ready == 0)
            continue;
        const ssize_t r = ::read(m_fd, bytes + got, n - got);
        if (r > 0) {
            got += static_cast<std::size_t>(r);
        } else if (r == 0) {
            errno = ECONNRESET; // the peer closed the connection
            return Io::Lost;
        } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            return Io::Lost;
        }
    }
    return Io::Done;
}

int ModbusLink::Receive(std::uint8_t* bytes, std::size_t n, Clock::time_point deadline)
{
    switch (ReceiveExactly(bytes, n, deadline)) {
    case Io::Done: return 0;
    case Io::TimedOut: return ETIMEDOUT;
    case Io::Lost: break;
    }
    return errno ? errno : ECONNRESET;
}

int ModbusLink::ReceiveTcp(Clock::time_point deadline, std::vector<std::uint8_t>& answer, std::string& problem)
{
    std::uint8_t header[7];
    if (int error = Receive(header, sizeof header, deadline))
        return error;
    const unsigned transaction = Big16(header), protocol = Big16(header + 2), length = Big16(header + 4);
    // The header alone decides where the answer ends; one that is not ours
    // leaves nothing to go by, so nothing more is read.
    if (protocol != 0)
        problem = "protocol id " + std::to_string(protocol);
    else if (length < 2 || length > kMaxMbapLength)
        problem = "length " + std::to_string(length);
    else if (transaction != m_transaction)
        problem = "an answer to request " + std::to_string(transaction) + ", not " + std::to_string(m_transaction);
    else if (header[6] != m_unit)
        problem = "an answer from unit " + std::to_string(header[6]);
    if (!problem.empty())
        return EMBBADDATA;
    answer.resize(length - 1);
    return Receive(answer.data(), answer.size(), deadline);
}

int ModbusLink::ReceiveRtu(Clock::time_point deadline, std::uint8_t function, int count,
                           std::vector<std::uint8_t>& answer, std::string& problem)
{
    // A serial frame has no length: the function code and, for a read, the
    // byte count tell how much follows.
    std::uint8_t frame[3 + 2 * MODBUS_MAX_READ_REGISTERS + 2];
    std::size_t size = 2;
    if (int error = Receive(frame, size, deadline))
        return error;
    std::size_t rest = 0;
    if (frame[1] == (function | kExceptionBit)) {
        rest = 1;
    } else if (frame[1] == function && function == kReadHolding) {
        if (int error = Receive(frame + size, 1, deadline))
            return error;
        size += 1;
        if (frame[2] != 2 * count) {
            problem = "byte count " + std::to_string(frame[2]);
            return EMBBADDATA;
        }
        rest = frame[2];
    } else if (frame[1] == function) {
        rest = 4;
    } else {
        problem = "function " + std::to_string(frame[1]);
        return EMBBADDATA;
    }
    if (int error = Receive(frame + size, rest + 2, deadline))
        return error;
    size += rest;
    if (Crc16(frame, size) != (frame[size] | (unsigned{frame[size + 1]} << 8)))
        return EMBBADCRC;
    if (frame[0] != m_unit) {
        problem = "an answer from unit " + std::to_string(frame[0]);
        return EMBBADDATA;
    }
    answer.assign(frame + 1, frame + size);
    return 0;
}

namespace {

const char* FunctionName(std::uint8_t function)
{
    switch (function) {
    case 0x03: return "Read holding registers";
    case 0x04: return "Read input registers";
    case 0x06: return "Write single register";
    case 0x10: return "Write multiple registers";
    case 0x2B: return "Read device identification";
    default: return "Other function";
    }
}

template <std::size_t N>
void CopyText(char (&into)[N], const std::string& text)
{
    const std::size_t size = std::min(text.size(), N - 1);
    std::memcpy(into, text.data(), size);
    into[size] = '\0';
}

} // namespace

CommResult ModbusLink::Exchange(const char* action, std::uint16_t first, int count,
                                const std::vector<std::uint8_t>& request, std::vector<std::uint8_t>& answer)
{
    const std::optional<DeviceNote> note = std::exchange(m_note, std::nullopt);
    if (!m_reporter)
        return ExchangeOnce(action, first, count, request, answer);
    const auto started = Clock::now();
    CommResult result = ExchangeOnce(action, first, count, request, answer);
    comm::RequestRecord record;
    record.device = note ? note->device : 0;
    record.address = note ? note->address : first;
    record.lastAddress = note ? note->lastAddress : first + static_cast<std::uint32_t>(std::max(count, 1) - 1);
    record.words = static_cast<std::uint32_t>(count);
    record.micros = static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started).count());
    record.result = result.code;
    CopyText(record.function, FunctionName(request.empty() ? 0 : request[0]));
    CopyText(record.detail, result.detail);
    m_reporter(record);
    return result;
}

CommResult ModbusLink::ExchangeOnce(const char* action, std::uint16_t first, int count,
                                    const std::vector<std::uint8_t>& request, std::vector<std::uint8_t>& answer)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_timeoutMs);
    std::vector<std::uint8_t> adu;
    if (m_rtu) {
        adu.push_back(m_unit);
        adu.insert(adu.end(), request.begin(), request.end());
        const std::uint16_t crc = Crc16(adu.data(), adu.size());
        adu.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        adu.push_back(static_cast<std::uint8_t>(crc >> 8));
    } else {
        ++m_transaction;
        PutBig16(adu, m_transaction);
        PutBig16(adu, 0);
        PutBig16(adu, static_cast<unsigned>(request.size() + 1));
        adu.push_back(m_unit);
        adu.insert(adu.end(), request.begin(), request.end());
    }
    switch (SendAll(adu, deadline)) {
    case Io::Done: break;
    case Io::TimedOut: return Failure(action, first, count, ETIMEDOUT);
    case Io::Lost: return Failure(action, first, count, errno ? errno : ECONNRESET);
    }

    std::string problem;
    const int error =
        m_rtu ? ReceiveRtu(deadline, request[0], count, answer, problem) : ReceiveTcp(deadline, answer, problem);
    if (error)
        return Failure(action, first, count, error, problem);
    ++m_answers;
    if (answer.empty() || (answer[0] & ~kExceptionBit) != request[0])
        return Failure(action, first, count, EMBBADDATA, "function " + std::to_string(answer.empty() ? 0 : answer[0]));
    if (answer[0] & kExceptionBit) {
        if (answer.size() != 2)
            return Failure(action, first, count, EMBBADDATA,
                           "an exception of " + std::to_string(answer.size()) + " bytes");
        const int code = answer[1];
        return Failure(action, first, count,
                       code > 0 && code < MODBUS_EXCEPTION_MAX ? MODBUS_ENOBASE + code : EMBUNKEXC);
    }
    return {};
}

CommResult ModbusLink::Read(std::uint16_t first, int count, std::uint16_t* words)
{
    if (count < 1 || count > MODBUS_MAX_READ_REGISTERS || first + count > 0x10000)
        return CommResult::Fail(Err::BadArgument, "read of " + std::to_string(count) + " registers");
    std::vector<std::uint8_t> request{kReadHolding}, answer;
    PutBig16(request, first);
    PutBig16(request, static_cast<unsigned>(count));
    if (CommResult r = Exchange("reading", first, count, request, answer); !r.Ok())
        return r;
    const std::size_t bytes = 2 * static_cast<std::size_t>(count);
    if (answer.size() < 2 || answer[1] != bytes) {
        m_broken = true;
        return CommResult::Fail(Err::BadResponse, m_where + ": asked for " + std::to_string(count) + " registers, got "
                                                      + std::to_string(answer.size() < 2 ? 0 : answer[1] / 2));
    }
    if (answer.size() != 2 + bytes)
        return Failure("reading", first, count, EMBBADDATA,
                       "a length of " + std::to_string(answer.size() + 1) + " for " + std::to_string(bytes) + " bytes");
    for (int i = 0; i < count; ++i)
        words[i] = static_cast<std::uint16_t>(Big16(answer.data() + 2 + 2 * i));
    return {};
}

CommResult ModbusLink::Write(std::uint16_t first, int count, const std::uint16_t* words)
{
    if (count < 1 || count > MODBUS_MAX_WRITE_REGISTERS || first + count > 0x10000)
        return CommResult::Fail(Err::BadArgument, "write of " + std::to_string(count) + " registers");
    std::vector<std::uint8_t> request{kWriteMultiple}, answer;
    PutBig16(request, first);
    PutBig16(request, static_cast<unsigned>(count));
    request.push_back(static_cast<std::uint8_t>(2 * count));
    for (int i = 0; i < count; ++i)
        PutBig16(request, words[i]);
    if (CommResult r = Exchange("writing", first, count, request, answer); !r.Ok())
        return r;
    if (answer.size() != 5 || Big16(answer.data() + 1) != first)
        return Failure("writing", first, count, EMBBADDATA, "a confirmation of another write");
    const unsigned put = Big16(answer.data() + 3);
    if (put != static_cast<unsigned>(count)) {
        m_broken = true;
        return CommResult::Fail(Err::BadResponse, m_where + ": wrote " + std::to_string(count)
                                                      + " registers, the unit confirmed " + std::to_string(put));
    }
    return {};
}

} // namespace commlib
