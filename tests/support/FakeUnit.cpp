#include "support/FakeUnit.h"

#include <arpa/inet.h>
#include <cerrno>
#include <modbus.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace commtest {

FakeUnit::FakeUnit(const commlib::Identity& identity)
{
    modbus_t* ctx = modbus_new_tcp("127.0.0.1", 0);
    modbus_mapping_t* mapping = modbus_mapping_new(0, 0, 0x10000, 0);
    m_context = ctx;
    m_mapping = mapping;
    if (!ctx || !mapping)
        return;
    const std::vector<std::uint16_t> words = commlib::EncodeIdentity(identity);
    for (std::size_t i = 0; i < words.size(); ++i)
        mapping->tab_registers[commlib::kIdentityBase + i] = words[i];
    // Connections are served one at a time, but a connect made while others
    // wait (a transfer's further connections, a session just closed and not
    // yet seen to go) is queued as a real unit's would be, not dropped: a
    // dropped connect is only tried again after a second, longer than a
    // test's timeout.
    constexpr int kWaitingConnections = 16;
    m_listener = modbus_tcp_listen(ctx, kWaitingConnections);
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (m_listener < 0 || getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    modbus_set_indication_timeout(ctx, 0, 100000);
    m_thread = std::thread([this] { Serve(); });
}

FakeUnit::~FakeUnit()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener >= 0)
        close(m_listener);
    if (m_mapping)
        modbus_mapping_free(static_cast<modbus_mapping_t*>(m_mapping));
    if (m_context) {
        modbus_close(static_cast<modbus_t*>(m_context));
        modbus_free(static_cast<modbus_t*>(m_context));
    }
}

std::uint16_t FakeUnit::Register(int address) const
{
    std::lock_guard lock(m_lock);
    return static_cast<modbus_mapping_t*>(m_mapping)->tab_registers[address & 0xFFFF];
}

// One connection at a time, as the libraries open them one after the other.
void FakeUnit::Serve()
{
    auto* ctx = static_cast<modbus_t*>(m_context);
    auto* mapping = static_cast<modbus_mapping_t*>(m_mapping);
    std::vector<std::uint8_t> query(MODBUS_TCP_MAX_ADU_LENGTH);
    while (!m_stop) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0)
            continue;
        int socket = m_listener;
        if (modbus_tcp_accept(ctx, &socket) < 0)
            continue;
        while (!m_stop) {
            const int size = modbus_receive(ctx, query.data());
            if (size < 0 && errno == ETIMEDOUT)
                continue;
            if (size < 0)
                break;
            if (size == 0)
                continue;
            const int function = query[modbus_get_header_length(ctx)];
            std::lock_guard lock(m_lock);
            if (function == MODBUS_FC_WRITE_MULTIPLE_REGISTERS || function == MODBUS_FC_WRITE_SINGLE_REGISTER)
                ++m_writes;
            modbus_reply(ctx, query.data(), size, mapping);
        }
        close(modbus_get_socket(ctx));
        modbus_set_socket(ctx, -1);
    }
}

} // namespace commtest
