#include "transfer/CommLog.h"

#include "model/DeviceNames.h"
#include "transfer/BlockTransfer.h"

#include <cstdio>
#include <ctime>

namespace transfer {

void CommLog::Add(const comm::RequestRecord& record)
{
    std::lock_guard lock(m_mutex);
    if (m_entries.size() == kCapacity)
        m_entries.pop_front();
    m_entries.push_back({++m_added, std::chrono::system_clock::now(), record});
}

std::vector<CommLogEntry> CommLog::Since(std::uint64_t after) const
{
    std::lock_guard lock(m_mutex);
    std::vector<CommLogEntry> entries;
    for (auto it = m_entries.rbegin(); it != m_entries.rend() && it->serial > after; ++it)
        entries.push_back(*it);
    return {entries.rbegin(), entries.rend()};
}

void CommLog::Clear()
{
    std::lock_guard lock(m_mutex);
    m_entries.clear();
}

void CommLog::Record(void* context, const comm::RequestRecord* record)
{
    if (context && record)
        static_cast<CommLog*>(context)->Add(*record);
}

std::string LogHeading()
{
    return "Time\tConnection\tFunction\tAddresses\tWords\tms\tResult";
}

std::string FormatLogEntry(const CommLogEntry& entry)
{
    const comm::RequestRecord& r = entry.record;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(entry.time);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(entry.time.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char time[40];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis));

    std::string line = std::string(time) + '\t' + std::to_string(r.connection);
    if (r.lane != 0)
        line += "." + std::to_string(r.lane);
    line += '\t';
    line += r.function;
    line += '\t';
    const std::uint8_t code = DeviceCodeOfProtocolDevice(r.device);
    line += r.device != 0 && code != 0 ? std::string(DeviceTwoLetterName(code)) + " " : std::string("register ");
    line += std::to_string(r.address);
    if (r.lastAddress > r.address)
        line += "-" + std::to_string(r.lastAddress);
    char duration[24];
    std::snprintf(duration, sizeof duration, "%.1f", r.micros / 1000.0);
    line += '\t' + std::to_string(r.words) + '\t' + duration + '\t';
    line += r.result == 0 ? std::string("OK") : std::to_string(r.result) + " " + r.detail;
    return line;
}

} // namespace transfer
