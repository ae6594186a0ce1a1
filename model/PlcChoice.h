#pragma once

// The PLC the user works with: the catalogue model, its word devices with the
// chosen ranges, the file-register banks, and what a legacy data file needs of
// it. A plain value: the application keeps one, and a dialog or command works
// on a copy that it hands back only when the user's choice is complete.

#include "model/DeviceModel.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct PlcChoice {
    int m_nPLCSeriesNo = 0;
    int m_nPLCId = 0;
    std::string m_strPLCName;
    int m_Is16bitCPUFlg = 0;
    std::uint8_t m_FLBankNum = 0;
    // Whether the seven legacy devices of the model overflow the 16-bit layout.
    bool m_bLargeDeviceMemory = false;
    DeviceInfoArray m_aDeviceInfo;
    BankInfoArray m_aBankInfo;
    std::string m_strLdtText1;
    std::string m_strLdtText2;
    std::uint16_t m_wLdtFormat = 0;

    // Makes a catalogue model the chosen PLC: series, id, name, CPU flag, bank
    // count and the memory size the legacy format depends on. The lists, the
    // legacy texts and the format code are left as they are.
    void SetModel(const stPLC& model, const std::vector<stDeviceInst>& devices);
    // Only the CPU flag, the bank count and the memory size of SetModel.
    void SetModelTraits(const stPLC& model, const std::vector<stDeviceInst>& devices);
    // The model as a data file or a unit names it, without its catalogue rows.
    void SetIdentity(int seriesNo, int modelId, std::string name);
    void SetName(std::string name) { m_strPLCName = std::move(name); }
    void SetBankCount(std::uint8_t count) { m_FLBankNum = count; }
    // The devices and banks with the user's ranges and selections.
    void SetDeviceLists(DeviceInfoArray devices, BankInfoArray banks);
    // Marks the shown device (and bank) as the lists' current entry.
    void MarkCurrent(std::uint8_t deviceCode, std::int16_t bankNo);
    // What a legacy data file said of itself.
    void SetLegacyHeader(std::string text1, std::string text2, std::uint16_t format);

    // The bank count of a device: the model's for FL, 0 for every other device.
    std::uint8_t GetFLBankNum(std::uint8_t deviceCode) const;
    static bool IsFLBankDevice(std::uint8_t deviceCode, int bankCount);
    bool IsBankedDevice(std::uint8_t deviceCode) const { return IsFLBankDevice(deviceCode, m_FLBankNum); }

    // The legacy format code of this PLC: 0 (no legacy file), 16, 32 or 2048.
    std::uint16_t CalcLdtFormat() const;
    // Empties both legacy texts and stores the format code.
    std::uint16_t RefreshLdtFormat();
    // Stores the format code and keeps the texts.
    void UpdateLdtFormat() { m_wLdtFormat = CalcLdtFormat(); }

    bool operator==(const PlcChoice&) const = default;
};

// Whether the seven devices of the legacy layout, with these catalogue rows,
// need more addresses than the 16-bit layout holds.
bool IsLargeDeviceMemory(const std::vector<stDeviceInst>& devices);
