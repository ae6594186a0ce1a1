// The communication libraries' handling of Modbus answers: a link opened to a
// fake unit on a local socket reads or writes registers, and the unit answers
// with the input's bytes and then closes its end. In the identity mode the
// first answer is the unit's identity registers, taken as a link that opens
// takes them; a range and the same addresses one descriptor each are then
// moved with buffers sized as the program sizes them, by its own words per
// address, after asking whether the unit's agree.
#include "FuzzSupport.h"

#include "commlib/core/DefaultMap.h"
#include "commlib/core/Identity.h"
#include "commlib/core/ModbusLink.h"
#include "commlib/core/Session.h"
#include "commlib/core/Transfer.h"

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

// What the libraries do with the identity answer when a link opens, then the
// program's side of a transfer: its buffer holds count addresses of
// callerWords words, never what the unit says.
void IdentityAndTransfer(std::unique_ptr<commlib::ModbusLink> link, bool write, std::uint8_t devicePick,
                         std::uint32_t callerWords, std::uint32_t start, std::uint32_t count)
{
    std::array<std::uint16_t, commlib::kIdentityWords> words{};
    if (!link->Read(commlib::kIdentityBase, commlib::kIdentityWords, words.data()).Ok())
        return;
    const std::optional<commlib::Identity> identity = commlib::DecodeIdentity(words.data(), commlib::kIdentityWords);
    if (!identity || !commlib::IdentityProblem(*identity).empty())
        return;
    commlib::Session session;
    session.link = std::move(link);
    session.map = std::make_unique<commlib::DefaultMap>(identity->devices);
    session.identity = *identity;
    const std::uint32_t device = identity->devices.empty()
                                     ? comm::ProtocolDevice::DT
                                     : identity->devices[devicePick % identity->devices.size()].code;
    if (!commlib::CheckWordsPerAddress(session, device, callerWords).Ok())
        return;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(count) * callerWords * 2);
    (void)commlib::TransferRange(session, device, start, commlib::kNoBank, count, buffer.data(), write);
    if (!session.link || session.link->Broken())
        return;
    std::vector<comm::_dev2_7> descriptors(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        descriptors[i] = {};
        descriptors[i].device = device;
        descriptors[i].address = start + i;
        descriptors[i].bytesPerAddress = static_cast<std::uint8_t>(callerWords * 2);
    }
    (void)commlib::TransferByAddress(session, static_cast<int>(count), descriptors.data(), buffer.data(), write);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FakeUnit unit;
    fuzzsupport::Choices choices(data, size);
    const std::uint8_t how = choices.Next();
    const bool write = how & 1;
    const int count = 1 + choices.Next() % 125;
    const std::uint16_t first = static_cast<std::uint16_t>(choices.Next() << 8 | choices.Next());
    // Two more choices in the identity mode only, so that the other seeds keep their meaning.
    const bool identityMode = how & 4;
    const std::uint8_t devicePick = identityMode ? choices.Next() : 0;
    const std::uint32_t callerWords = 1 + (identityMode ? choices.Next() : 0) % commlib::kMaxWordsPerAddress;

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

    if (identityMode) {
        IdentityAndTransfer(std::move(link), write, devicePick, callerWords, first % 300,
                            1 + static_cast<std::uint32_t>(count) * 2);
        close(answer);
        return 0;
    }

    std::array<std::uint16_t, 125> words{};
    const commlib::CommResult result =
        write ? link->Write(first, std::min(count, 123), words.data()) : link->Read(first, count, words.data());
    close(answer);
    (void)result;
    return 0;
}
