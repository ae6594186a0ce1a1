// The blocks a read asks for, and the bytes a block takes: what every request
// and every progress share is computed from.

#include "transfer/BlockTransfer.h"

#include "model/DeviceNames.h"
#include "model/PlcChoice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace DeviceCode;

stDeviceInfo Device(std::uint8_t code, int start, int end, bool selected, int dataSize = 1)
{
    stDeviceInfo device;
    device.Id = code;
    device.StartAddr = start;
    device.EndAddr = end;
    device.DataSize = dataSize;
    device.Selected = selected ? 1 : 0;
    return device;
}

_SBankInfo Bank(std::int16_t bankNo, int start, int end, bool selected)
{
    _SBankInfo bank;
    bank.BankNo = bankNo;
    bank.StartAddr = start;
    bank.EndAddr = end;
    bank.DataSize = 1;
    bank.Selected = selected ? 1 : 0;
    return bank;
}

// "FL bank 3 100-32767 x1": a device block must carry bank 0 and no data.
std::string Describe(const BlockRequest& request)
{
    const CEditData& block = request.block;
    std::string text(DeviceTwoLetterName(block.Id));
    if (request.banked || block.BankNo != 0)
        text += (request.banked ? " bank " : " unbanked ") + std::to_string(block.BankNo);
    text += " " + std::to_string(block.StartAddr) + "-" + std::to_string(block.EndAddr);
    text += " x" + std::to_string(block.DataSize);
    if (!block.Data.empty())
        text += " with data";
    return text;
}

struct ReadRow {
    const char* what;
    std::uint8_t bankCount;
    bool withBanks;
    DeviceInfoArray devices;
    BankInfoArray banks;
    std::vector<std::string> expected;
};

TEST(BlockTransfer, AReadAsksForTheSelectedDevicesAndBanksInListOrder)
{
    const DeviceInfoArray mixed = {Device(WR, 0, 9, true), Device(DT, 0, 99, false), Device(LD, 5, 6, true, 2),
                                   Device(FL, 0, 32767, true)};
    const BankInfoArray banks = {Bank(0, 0, 32767, true), Bank(1, 0, 32767, false), Bank(3, 100, 32767, true)};
    const std::vector<ReadRow> rows = {
        {"nothing selected asks for nothing", 4, true, {Device(WR, 0, 9, false)}, {Bank(0, 0, 9, false)}, {}},
        {"by range, the selected banks stand in for a banked FL",
         4,
         true,
         mixed,
         banks,
         {"WR 0-9 x1", "LD 5-6 x2", "FL bank 0 0-32767 x1", "FL bank 3 100-32767 x1"}},
        {"banks alone, the FL device unselected",
         4,
         true,
         {Device(FL, 0, 32767, false)},
         banks,
         {"FL bank 0 0-32767 x1", "FL bank 3 100-32767 x1"}},
        {"by address, FL is a device and banks are not read",
         4,
         false,
         mixed,
         banks,
         {"WR 0-9 x1", "LD 5-6 x2", "FL 0-32767 x1"}},
        {"a model without banks reads FL as a device", 0, true, mixed, {}, {"WR 0-9 x1", "LD 5-6 x2", "FL 0-32767 x1"}},
    };
    for (const ReadRow& row : rows) {
        PlcChoice plc;
        plc.m_FLBankNum = row.bankCount;
        plc.m_aDeviceInfo = row.devices;
        plc.m_aBankInfo = row.banks;
        std::vector<std::string> described;
        for (const BlockRequest& request : BlocksToRead(plc, row.withBanks))
            described.push_back(Describe(request));
        EXPECT_EQ(described, row.expected) << row.what;
    }
}

TEST(BlockTransfer, ABlockTakesTwoBytesPerWordAndNothingForAnEmptyRange)
{
    struct Row {
        const char* what;
        int start;
        int end;
        int dataSize;
        std::size_t expected;
    };
    constexpr int kMax = std::numeric_limits<std::int32_t>::max();
    const std::vector<Row> rows = {
        {"one address", 5, 5, 1, 2},
        {"two words per address", 0, 9, 2, 40},
        {"a whole FL bank", 0, 32767, 1, 65536},
        {"end before start", 10, 9, 1, 0},
        {"no words per address", 0, 9, 0, 0},
        {"more addresses than an int holds bytes", 0, kMax, 2, std::size_t{1} << 33},
    };
    for (const Row& row : rows) {
        CEditData block;
        block.StartAddr = row.start;
        block.EndAddr = row.end;
        block.DataSize = row.dataSize;
        EXPECT_EQ(ByteCount(block), row.expected) << row.what;
    }
}

} // namespace
