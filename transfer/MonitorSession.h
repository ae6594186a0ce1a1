#pragma once

// Watching a running unit: the same few words read again and again through
// the libraries' read exports, on whichever thread calls (one at a time). The
// session stays online between reads so that a cycle costs only its requests;
// after a failure the libraries open the link again on the next read, so a
// unit that comes back is watched again without starting over. A read asks
// for the given range only, so a huge block costs no more than a small one.

#include "transfer/CommLibraries.h"
#include "transfer/CommLog.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace transfer {

// Words of one block: addresses start to end of a device (and bank).
struct MonitorRange {
    std::uint8_t device = 0; // device code
    int bank = -1;           // bank of the file register, -1 for none
    std::int32_t start = 0;
    std::int32_t end = -1;
    int wordsPerAddress = 1;

    std::int64_t Addresses() const { return end >= start ? std::int64_t{end} - start + 1 : 0; }
    std::size_t Bytes() const { return static_cast<std::size_t>(Addresses() * wordsPerAddress * 2); }
    bool operator==(const MonitorRange&) const = default;
};

class MonitorSession {
public:
    // languageCode: the libraries' language of their error texts.
    MonitorSession(std::uint16_t connection, std::string appName, int languageCode);
    ~MonitorSession();
    MonitorSession(const MonitorSession&) = delete;
    MonitorSession& operator=(const MonitorSession&) = delete;

    // Goes online and identifies the unit; 0, or the libraries' error code.
    // Reads and writes call it themselves when the session is not open.
    int Open();
    void Close();
    bool IsOpen() const { return m_open; }
    // What Open found: the protocol family and the catalogue model id.
    std::uint8_t Family() const { return m_family; }
    int ModelId() const { return m_modelId; }

    // Reads range into bytes (words low byte first, as blocks hold them);
    // 0, or the error code (bytes then unchanged).
    int Read(const MonitorRange& range, std::vector<std::uint8_t>& bytes);
    // Writes bytes (range.Bytes() of them) into the unit's range.
    int Write(const MonitorRange& range, const std::vector<std::uint8_t>& bytes);

    // From another thread: the request under way ends at once, with the
    // libraries' cancel code; nothing happens between requests.
    void Cancel();

    // Where the libraries report each request of this session; before Open.
    void SetRequestLog(CommLog* log) { m_log = log; }

    // The text of an error code, in the libraries' words.
    std::string ErrorText(int code);
    // Library transfer calls made so far.
    long long Calls() const { return m_calls; }

private:
    int Transfer(const MonitorRange& range, std::uint8_t* buffer, bool writing);
    // Asks once per device and size whether the unit's addresses hold that many words.
    int CheckSize(const MonitorRange& range);

    std::array<std::uint8_t, comm::kSessionBlockSize> m_block{};
    std::uint16_t m_connection;
    std::string m_appName;
    int m_language;
    const CommExports* m_exports = nullptr;
    std::atomic<comm::CancelFn> m_cancel = nullptr;
    std::string m_loadError;
    bool m_initialised = false;
    bool m_open = false;
    std::uint8_t m_family = 255;
    int m_modelId = 0;
    std::vector<std::pair<std::uint8_t, int>> m_checked;
    long long m_calls = 0;
    CommLog* m_log = nullptr;
};

} // namespace transfer
