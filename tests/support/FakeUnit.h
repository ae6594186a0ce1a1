#pragma once

// A Modbus TCP unit served from a thread of the test: 65536 holding registers
// that read and write as plain memory, the identity registers filled with what
// the test says the unit is. It knows nothing of windows, so a test uses it for
// small ranges of the device the window shows first.

#include "commlib/core/Identity.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

namespace commtest {

class FakeUnit {
public:
    explicit FakeUnit(const commlib::Identity& identity);
    ~FakeUnit();
    FakeUnit(const FakeUnit&) = delete;
    FakeUnit& operator=(const FakeUnit&) = delete;

    bool Started() const { return m_port > 0; }
    int Port() const { return m_port; }
    std::uint16_t Register(int address) const;
    // Write requests answered so far (the window select included).
    int Writes() const { return m_writes; }

private:
    void Serve();

    void* m_context = nullptr; // modbus_t
    void* m_mapping = nullptr; // modbus_mapping_t
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_writes{0};
    mutable std::mutex m_lock;
    std::thread m_thread;
};

} // namespace commtest
