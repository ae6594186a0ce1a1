#pragma once

// The requests the communication libraries made, newest last, as they report
// them (QelTeskMsg_SetRequestLog): transfers, compare reads and monitor
// cycles alike. Bounded: the oldest entries go once kCapacity are kept.
// Filled from any thread, read by the window's log on its own.

#include "contract/CommContract.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace transfer {

struct CommLogEntry {
    std::uint64_t serial = 0; // counts every entry ever added, from 1
    std::chrono::system_clock::time_point time;
    comm::RequestRecord record;
};

class CommLog {
public:
    static constexpr std::size_t kCapacity = 10000;

    void Add(const comm::RequestRecord& record);
    // The entries added after serial `after` that are still kept.
    std::vector<CommLogEntry> Since(std::uint64_t after) const;
    void Clear();

    // As the libraries call it; context is the log.
    static void Record(void* context, const comm::RequestRecord* record);

private:
    mutable std::mutex m_mutex;
    std::deque<CommLogEntry> m_entries;
    std::uint64_t m_added = 0;
};

// One line of the log, tab-separated: local time with milliseconds,
// connection (with the further connection of a transfer after a dot),
// function, device and addresses ("DT 0-124", or "register 16" for a request
// of no device), words, duration in milliseconds, and "OK" or the code with
// what went wrong.
std::string FormatLogEntry(const CommLogEntry& entry);
// The heading line of the same columns.
std::string LogHeading();

} // namespace transfer
