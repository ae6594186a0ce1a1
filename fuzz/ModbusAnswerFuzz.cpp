// The communication libraries' handling of Modbus answers: a link opened to a
// fake unit on a local socket reads or writes registers, and the unit answers
// with the input's bytes and then closes its end.
#include "FuzzSupport.h"

#include "commlib/core/ModbusLink.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>

namespace {

struct FakeUnit {
    FakeUnit()
    {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0
            || listen(listener, 16) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            std::abort();
        port = ntohs(address.sin_port);
    }
    int listener = -1;
    int port = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FakeUnit unit;
    fuzzsupport::Choices choices(data, size);
    const std::uint8_t how = choices.Next();
    const bool write = how & 1;
    const int count = 1 + choices.Next() % 125;
    const std::uint16_t first = static_cast<std::uint16_t>(choices.Next() << 8 | choices.Next());

    commlib::Profile profile;
    profile.port = unit.port;
    profile.timeoutMs = 20;
    std::unique_ptr<commlib::ModbusLink> link;
    if (!commlib::ModbusLink::Open(profile, link).Ok() || !link)
        std::abort();
    const int answer = accept(unit.listener, nullptr, nullptr);
    if (answer < 0)
        std::abort();
    std::string bytes(choices.Rest());
    if ((how & 2) && bytes.size() >= 7) {
        // The header the link expects, so that the rest reaches its checks.
        bytes[0] = 0;
        bytes[1] = 1;
        bytes[2] = bytes[3] = 0;
        bytes[6] = 1;
    }
    if (!bytes.empty() && send(answer, bytes.data(), bytes.size(), MSG_NOSIGNAL) < 0)
        std::abort();
    shutdown(answer, SHUT_WR);

    std::array<std::uint16_t, 125> words{};
    const commlib::CommResult result =
        write ? link->Write(first, std::min(count, 123), words.data()) : link->Read(first, count, words.data());
    close(answer);
    (void)result;
    return 0;
}
