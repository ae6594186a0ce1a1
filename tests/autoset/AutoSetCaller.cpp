#include "AutoSetCaller.h"

#include "contract/CommExports.h"
#include "commlib/core/ProfileStore.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace autosettest {
namespace {

std::string FreshFolder(const char* pattern)
{
    std::string name = std::string("/tmp/") + pattern + "-XXXXXX";
    if (!mkdtemp(name.data()))
        return "/tmp";
    static std::vector<std::string> folders;
    if (folders.empty())
        std::atexit([] {
            for (const auto& f : folders)
                std::filesystem::remove_all(f);
        });
    folders.push_back(name);
    return name;
}

} // namespace

int RateOfCode(int code)
{
    return code == 3 ? 9600 : code == 4 ? 19200 : code == 7 ? 115200 : 38400;
}

char ParityLetter(int code)
{
    return "NOE"[code];
}

SerialUnit::SerialUnit(int baud, char parity)
    : m_sim(std::make_unique<commtest::SimulatorProcess>(std::vector<std::string>{
        "--model", "1792", "--rtu", "pty", "--baud", std::to_string(baud), "--parity", std::string(1, parity)}))
{
    const std::string& line = m_sim->FirstLine();
    const auto at = line.find("serving ");
    if (at != std::string::npos) {
        const auto start = at + 8;
        m_device = line.substr(start, line.find(' ', start) - start);
    }
}

void UseFreshFolders()
{
    setenv("XDG_CONFIG_HOME", FreshFolder("memorix-autoset-settings").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", FreshFolder("memorix-autoset-run").c_str(), 1);
}

void SaveSerialProfile(int port, const std::string& device, int timeoutMs)
{
    commlib::Profile p = commlib::DefaultProfile();
    p.name = "Line " + std::to_string(port);
    p.kind = commlib::LinkKind::Rtu;
    p.serialDevice = device;
    p.baud = 9600;
    p.parity = 'N';
    p.dataBits = 8;
    p.stopBits = 1;
    p.unit = 1;
    p.timeoutMs = timeoutMs;
    commlib::ProfileStore::Save(port, p);
}

Caller::Caller(int port, std::uint16_t options)
{
    using namespace comm::autoset;
    char name[comm::kAppNameSize] = "autoset test";
    QelTeskUserIF_41(Block(), name);
    PutU16(Block(), kPortOffset, static_cast<std::uint16_t>(port));
    std::strcpy(reinterpret_cast<char*>(Block() + comm::kBlockTitleOffset), "Line settings of the test unit");
    PutU16(Block(), kLanguageOffset, 0);
    PutU16(Block(), kVersionOffset, 0xFFFF);
    if (const std::uint8_t* record = QelTeskUserIF_282(static_cast<std::uint16_t>(port)))
        std::memcpy(Settings(), record + comm::UserIF::kPortSettingsOffset, kSettingsSize);
    Set(Record::Options, options);
}

std::array<std::uint8_t, 200> PortSettings(int port)
{
    std::array<std::uint8_t, 200> settings{};
    if (const std::uint8_t* record = QelTeskUserIF_282(static_cast<std::uint16_t>(port)))
        std::memcpy(settings.data(), record + comm::UserIF::kPortSettingsOffset, settings.size());
    return settings;
}

} // namespace autosettest
