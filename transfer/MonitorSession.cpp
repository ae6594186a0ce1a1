#include "transfer/MonitorSession.h"

#include "transfer/BlockTransfer.h"
#include "transfer/FixedText.h"
#include "platform/CodePage.h"
#include "platform/Coding.h"

#include <algorithm>
#include <cstring>

namespace transfer {
namespace {

// The bank argument of a range request for a device without banks.
constexpr std::uint16_t kNoBank = 65535;

} // namespace

MonitorSession::MonitorSession(std::uint16_t connection, std::string appName, int languageCode)
    : m_connection(connection)
    , m_appName(std::move(appName))
    , m_language(languageCode)
{
}

MonitorSession::~MonitorSession()
{
    Close();
}

int MonitorSession::Open()
{
    if (m_open)
        return 0;
    if (!m_exports) {
        m_exports = LoadCommExports(m_loadError);
        if (!m_exports)
            return kLibrariesNotSetUp;
        m_cancel.store(m_exports->cancel);
    }
    if (!m_initialised) {
        std::vector<char> name = ZeroedText(platform::AnsiCodePage().FromUtf8(m_appName), comm::kAppNameSize);
        if (m_exports->initialise(m_block.data(), name.data()) != 0)
            return kLibrariesNotSetUp;
        m_initialised = true;
        if (m_log && m_exports->setRequestLog)
            m_exports->setRequestLog(m_block.data(), &CommLog::Record, m_log);
    }
    m_exports->setLanguage(m_block.data(), m_language);
    if (const int result = m_exports->goOnline(nullptr, m_block.data()); result != 0)
        return result;
    const std::vector<char> connName = ZeroedText({}, comm::kConnectionNameSize);
    const std::vector<char> appName = ZeroedText(platform::AnsiCodePage().FromUtf8(m_appName), comm::kAppNameSize);
    std::uint8_t out28[28] = {};
    std::uint8_t out48[48] = {};
    int result = m_exports->identify(m_block.data(), m_connection, out28, out48, connName.data(), appName.data());
    if (result == 0) {
        m_family = m_block[comm::kBlockProtocolOffset];
        if (m_family == comm::kFamilyProtocol7) {
            std::uint8_t type[48] = {};
            result = m_exports->readType(m_block.data(), m_connection, type, 0);
            m_modelId = coding::GetU16LE(type + 2) << 8 | coding::GetU16LE(type + 4);
        } else {
            std::uint8_t model[28] = {};
            result = m_exports->modelId(m_block.data(), m_connection, model);
            m_modelId = model[0] | model[1] << 8;
        }
    }
    if (result != 0) {
        m_exports->goOffline(m_block.data());
        return result;
    }
    m_checked.clear();
    m_open = true;
    return 0;
}

void MonitorSession::Cancel()
{
    if (const comm::CancelFn cancel = m_cancel.load())
        cancel(m_block.data());
}

void MonitorSession::Close()
{
    if (m_open)
        m_exports->goOffline(m_block.data());
    m_open = false;
}

int MonitorSession::CheckSize(const MonitorRange& range)
{
    const std::pair<std::uint8_t, int> key{range.device, range.wordsPerAddress};
    if (std::find(m_checked.begin(), m_checked.end(), key) != m_checked.end())
        return 0;
    const int result = m_exports->checkWords(m_block.data(), m_connection, ProtocolDeviceCode(range.device),
                                             static_cast<std::uint32_t>(std::max(range.wordsPerAddress, 0)));
    if (result == 0)
        m_checked.push_back(key);
    return result;
}

int MonitorSession::Transfer(const MonitorRange& range, std::uint8_t* buffer, bool writing)
{
    if (const int opened = Open(); opened != 0)
        return opened;
    const std::uint32_t device = ProtocolDeviceCode(range.device);
    if (device == 0 || range.Addresses() <= 0)
        return 0;
    if (const int size = CheckSize(range); size != 0)
        return size;
    ++m_calls;
    if (m_family == comm::kFamilyProtocol7) {
        std::vector<comm::_dev2_7> descriptors(static_cast<std::size_t>(range.Addresses()));
        for (std::size_t j = 0; j < descriptors.size(); ++j) {
            comm::_dev2_7& d = descriptors[j];
            std::memset(&d, 0, sizeof d);
            d.device = device;
            d.address = static_cast<std::uint32_t>(range.start + static_cast<std::int64_t>(j));
            d.bytesPerAddress = static_cast<std::uint8_t>(range.wordsPerAddress * 2);
        }
        const auto call = writing ? m_exports->writeByAddress : m_exports->readByAddress;
        return call(m_block.data(), m_connection, 1, static_cast<int>(descriptors.size()), descriptors.data(), buffer);
    }
    const auto call = writing ? m_exports->writeRange : m_exports->readRange;
    const std::uint16_t bank = range.bank >= 0 ? static_cast<std::uint16_t>(range.bank) : kNoBank;
    return call(m_block.data(), m_connection, device, static_cast<std::uint32_t>(range.start), bank,
                static_cast<std::uint32_t>(range.Addresses()), buffer);
}

int MonitorSession::Read(const MonitorRange& range, std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> buffer(range.Bytes(), 0);
    const int result = Transfer(range, buffer.data(), false);
    if (result == 0)
        bytes = std::move(buffer);
    return result;
}

int MonitorSession::Write(const MonitorRange& range, const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> buffer(range.Bytes(), 0);
    std::memcpy(buffer.data(), bytes.data(), std::min(buffer.size(), bytes.size()));
    return Transfer(range, buffer.data(), true);
}

std::string MonitorSession::ErrorText(int code)
{
    if (code == kLibrariesNotSetUp || !m_exports || !m_initialised)
        return m_loadError.empty() ? "[" + std::to_string(code) + "]" : m_loadError + " [" + std::to_string(code) + "]";
    std::vector<char> buffer(comm::kErrorTextSize, '\0');
    m_exports->errorText(m_block.data(), code, buffer.data());
    return platform::AnsiCodePage().ToUtf8(TextOf(buffer.data(), buffer.size()));
}

} // namespace transfer
