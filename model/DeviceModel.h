#pragma once

// The records that describe a PLC model's word-device memory and the user's
// choice of it. Plain values: copying a record copies its strings and bytes.

#include <cstdint>
#include <string>
#include <vector>

// Device codes as the catalogue stores them (MDevice.Id).
namespace DeviceCode {
inline constexpr std::uint8_t CS = 12;
inline constexpr std::uint8_t CE = 13;
inline constexpr std::uint8_t WR = 18;
inline constexpr std::uint8_t WL = 19;
inline constexpr std::uint8_t DT = 21;
inline constexpr std::uint8_t LD = 22;
inline constexpr std::uint8_t TS = 27;
inline constexpr std::uint8_t TE = 28;
inline constexpr std::uint8_t FL = 49; // the file register, the only device that can be banked
inline constexpr std::uint8_t None = 0xFF;
} // namespace DeviceCode

// A row of MPLCSeries.
struct stPLCSeries {
    std::int32_t PLCSeriesNo = 0;
    std::string SeriesName;

    bool operator==(const stPLCSeries&) const = default;
};

// A row of MPLC.
struct stPLC {
    std::int32_t Id = 0;
    std::string FullName;
    std::int32_t PLCSeriesNo = 0;
    std::int32_t DispOrder = 0;
    std::uint8_t DefaultPatternNo = 0;
    std::int32_t DataRegSize1 = 0;
    std::int32_t DataRegSize2 = 0;
    std::int32_t DataRegSize3 = 0;
    std::int32_t DataRegSize4 = 0;
    std::int32_t DataRegSize5 = 0;
    std::int32_t DefaultDataRegSize = 0; // the DataRegSize that DefaultPatternNo picks
    std::int32_t Is16bitCPUFlg = 0;
    std::uint8_t FLBankNum = 0;

    bool operator==(const stPLC&) const = default;
};

// A row of MDevice.
struct stDeviceInst {
    std::int32_t PlcId = 0;
    std::uint8_t Id = 0;
    std::int32_t DispOrder = 0;
    std::string Name;
    std::int32_t MinValue = 0;
    std::int32_t MaxValue = 0;
    std::int32_t DataSize = 0; // words per address

    bool operator==(const stDeviceInst&) const = default;
};

// One device of the current model with the range the user chose for it.
struct stDeviceInfo {
    std::int32_t PlcId = 0;
    std::uint8_t Id = 0;
    std::int32_t DispOrder = 0;
    std::string Name;
    std::int32_t StartAddr = 0;
    std::int32_t EndAddr = 0;
    std::int32_t MinValue = 0;
    std::int32_t MaxValue = 0;
    std::int32_t DataSize = 0;
    std::int32_t Selected = 0;
    std::int32_t DefaultEnd = 0;
    std::int32_t Current = 0;

    bool operator==(const stDeviceInfo&) const = default;
};

// One bank of the banked file register.
struct _SBankInfo {
    std::int32_t PlcId = 0;
    std::uint8_t Id = DeviceCode::FL;
    std::int16_t BankNo = 0;
    std::string Name;
    std::int32_t StartAddr = 0;
    std::int32_t EndAddr = 0;
    std::int32_t MinValue = 0;
    std::int32_t MaxValue = 0;
    std::int32_t DataSize = 0;
    std::int32_t Selected = 0;
    std::int32_t DefaultEnd = 0;
    std::int32_t Current = 0;

    bool operator==(const _SBankInfo&) const = default;
};

// One block of device memory: the words of StartAddr..EndAddr, DataSize words
// per address, each word low byte first. Identified by (Id, BankNo).
struct CEditData {
    std::uint8_t Id = 0;
    std::int32_t StartAddr = 0;
    std::int32_t EndAddr = 0;
    std::int32_t DataSize = 0;
    std::vector<std::uint8_t> Data;
    std::int16_t BankNo = 0;

    bool operator==(const CEditData&) const = default;
};

using DeviceInfoArray = std::vector<stDeviceInfo>;
using BankInfoArray = std::vector<_SBankInfo>;
using EditDataArray = std::vector<CEditData>;
