#include "support/CommSession.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

namespace commtest {

int ReadRegister(int port, int reference)
{
    std::ostringstream cmd;
    cmd << "mbpoll -m tcp -p " << port << " -a 1 -0 -1 -t 4 -r " << reference << " -c 1 127.0.0.1 2>&1";
    int value = -1;
    if (FILE* pipe = popen(cmd.str().c_str(), "r")) {
        char line[256];
        int ref = 0;
        while (fgets(line, sizeof line, pipe))
            std::sscanf(line, "[%d]: %d", &ref, &value);
        pclose(pipe);
    }
    return value;
}

void UseFreshSettingsFolder()
{
    static std::string folder;
    char name[] = "/tmp/memorix-commlib-settings-XXXXXX";
    if (!mkdtemp(name))
        return;
    if (folder.empty())
        std::atexit([] { std::filesystem::remove_all(folder); });
    else
        std::filesystem::remove_all(folder);
    folder = name;
    setenv("XDG_CONFIG_HOME", name, 1);
}

void SaveTcpProfile(int number, int port, int timeoutMs, int parallel)
{
    commlib::Profile p = commlib::DefaultProfile();
    p.name = "Test " + std::to_string(number);
    p.port = port;
    p.timeoutMs = timeoutMs;
    p.parallel = parallel;
    commlib::ProfileStore::Save(number, p);
}

int CommSession::GoOnline()
{
    char name[comm::kAppNameSize] = "Memorix";
    if (int r = QelTeskUserIF_41(Block(), name))
        return r;
    if (int r = QelTeskUserIF_153(Block(), comm::Language::English))
        return r;
    return QelTeskUserIF_8(nullptr, Block());
}

std::string CommSession::ErrorText(int code)
{
    char text[comm::kErrorTextSize] = {};
    QelTeskUserIF_188(Block(), code, text);
    return text;
}

std::uint32_t CommSession::Wait() const
{
    std::uint32_t wait = 0;
    std::memcpy(&wait, block.data() + comm::kBlockWaitOffset, sizeof wait);
    return wait;
}

std::vector<std::uint8_t> CommSession::Read91(std::uint16_t connection, std::uint32_t device, std::uint32_t start,
                                              std::uint16_t bank, std::uint32_t count, int wordsPerAddress, int& result)
{
    std::vector<std::uint8_t> buffer(std::size_t{count} * wordsPerAddress * 2, 0xEE);
    result = QelTeskMsg_91(Block(), connection, device, start, bank, count, buffer.data());
    return buffer;
}

std::vector<comm::_dev2_7> Descriptors(std::uint32_t device, std::uint32_t start, std::uint32_t count,
                                       int bytesPerAddress)
{
    std::vector<comm::_dev2_7> list(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::memset(&list[i], 0, sizeof list[i]);
        list[i].device = device;
        list[i].address = start + i;
        list[i].bytesPerAddress = static_cast<std::uint8_t>(bytesPerAddress);
    }
    return list;
}

std::vector<std::uint8_t> Pattern(std::size_t n, std::uint32_t seed)
{
    std::vector<std::uint8_t> bytes(n);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        x = x * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(x >> 24);
    }
    return bytes;
}

} // namespace commtest
