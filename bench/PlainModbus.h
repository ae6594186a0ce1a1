#pragma once

// A plain libmodbus client of memorix-plcsim, the baseline the libraries are
// measured against: one connection that stays open, window selects and
// reads of at most 125 registers, one request after the other.

#include "commlib/core/DefaultMap.h"

#include <modbus/modbus.h>

#include <algorithm>
#include <cstdint>

class PlainModbus {
public:
    static constexpr int kMaxRegisters = 125; // per read request

    explicit PlainModbus(int port)
        : m_ctx(modbus_new_tcp("127.0.0.1", port))
    {
        if (m_ctx && modbus_connect(m_ctx) != 0) {
            modbus_free(m_ctx);
            m_ctx = nullptr;
        }
    }
    ~PlainModbus()
    {
        if (m_ctx) {
            modbus_close(m_ctx);
            modbus_free(m_ctx);
        }
    }
    PlainModbus(const PlainModbus&) = delete;
    PlainModbus& operator=(const PlainModbus&) = delete;

    bool Connected() const { return m_ctx != nullptr; }

    // Makes the registers from 0 stand for the words of device from
    // window * commlib::kWindowWords on.
    void SelectWindow(std::uint16_t device, std::uint16_t window)
    {
        const std::uint16_t select[3] = {device, 0, window};
        modbus_write_registers(m_ctx, commlib::kWindowSelect, 3, select);
    }

    // count registers of the selected window from first.
    bool ReadRegisters(int first, int count, std::uint16_t* out)
    {
        for (int done = 0; done < count;) {
            const int n = std::min(kMaxRegisters, count - done);
            if (modbus_read_registers(m_ctx, first + done, n, out + done) != n)
                return false;
            done += n;
        }
        return true;
    }

    // The first `words` words of device, window by window.
    bool ReadDevice(std::uint16_t device, std::uint32_t words, std::uint16_t* out)
    {
        for (std::uint32_t done = 0; done < words;) {
            SelectWindow(device, static_cast<std::uint16_t>(done / commlib::kWindowWords));
            const auto n = std::min<std::uint32_t>(commlib::kWindowWords, words - done);
            if (!ReadRegisters(0, static_cast<int>(n), out + done))
                return false;
            done += n;
        }
        return true;
    }

private:
    modbus_t* m_ctx = nullptr;
};
