#include "app/CMemorixApp.h"
#include "undo/CUndoMap.h"
#include "model/IBlockStore.h"
#include "undo/IShownBlock.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/MemorySettingsStore.h"
#include "support/FakeStringTable.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;
constexpr std::uint8_t DT = DeviceCode::DT, WR = DeviceCode::WR, FL = DeviceCode::FL;

// Blocks of 8 bytes; WriteBlockBytes as the document's contract says.
struct FakeDoc final : IBlockStore {
    const CEditData* FindBlock(std::uint8_t code, std::int16_t bank) const override
    {
        for (const CEditData& block : blocks)
            if (block.Id == code && block.BankNo == bank)
                return &block;
        return nullptr;
    }
    void WriteBlockBytes(std::int32_t offset, const std::uint8_t* bytes, std::int32_t count, std::uint8_t code,
                         std::int16_t bank) override
    {
        auto* block = const_cast<CEditData*>(FindBlock(code, bank));
        const auto size = block ? static_cast<std::int32_t>(block->Data.size()) : 0;
        for (std::int32_t i = 0; offset >= 0 && i < count && offset + i < size; ++i, modified = true)
            block->Data[static_cast<std::size_t>(offset + i)] = bytes[i];
    }
    void Add(std::uint8_t code, std::int16_t bank = 0)
    {
        blocks.push_back({code, 0, 3, 1, std::vector<std::uint8_t>(8), bank});
    }
    int Value(std::uint8_t code, std::int16_t bank = 0) const { return FindBlock(code, bank)->Data.at(7); }

    EditDataArray blocks;
    bool modified = false;
};

struct FakeShown final : IShownBlock {
    std::uint8_t GetSelectedDeviceCode() const override { return code; }
    std::uint16_t GetSelectedBank() const override { return bank; }
    std::uint8_t code = DeviceCode::None;
    std::uint16_t bank = 0;
};

stDeviceInfo Device(std::uint8_t code, int selected = 1)
{
    stDeviceInfo d;
    d.Id = code;
    d.Selected = selected;
    return d;
}
_SBankInfo Bank(std::int16_t no, int selected = 1)
{
    _SBankInfo b;
    b.BankNo = no;
    b.Selected = selected;
    return b;
}

class UndoMapTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("TMPDIR", scratch.dir.c_str(), 1); }

    int Files() const
    {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(scratch.dir))
            count += entry.path().filename().string().starts_with("QZ4");
        return count;
    }
    void Show(std::uint8_t code, std::int16_t bank = 0)
    {
        shown.code = code, shown.bank = static_cast<std::uint16_t>(bank);
    }
    // Sets the whole block to value and records it, as the grid does after an edit.
    bool Edit(std::uint8_t code, std::int16_t bank, std::uint8_t value)
    {
        Show(code, bank);
        const std::vector<std::uint8_t> bytes(8, value);
        doc.WriteBlockBytes(0, bytes.data(), 8, code, bank);
        return undo.RecordChange(doc, shown);
    }
    // A DT block of 0s with its starting snapshot, then edits to 1, 2, ... count.
    void EditDT(int count)
    {
        std::erase_if(doc.blocks, [](const CEditData& block) { return block.Id == DT; });
        doc.Add(DT);
        undo.ResetHistory({Device(DT)}, {}, 0, doc);
        for (int value = 1; value <= count; ++value)
            ASSERT_TRUE(Edit(DT, 0, static_cast<std::uint8_t>(value)));
    }
    std::string FileOf(int index) const { return undo.Find({DT, 0})->GetSnapshot(index).GetPath(); }

    testsupport::Scratch scratch;
    FakeDoc doc;
    FakeShown shown;
    CUndoMap undo;
};

TEST_F(UndoMapTest, SnapshotFileIsThePackedLittleEndianRecord)
{
    doc.blocks.push_back({DT, 0x01020304, -2, 2, {0xAA, 0xBB, 0xCC, 0xDD}, 0x0506});
    Show(DT, 0x0506);
    ASSERT_TRUE(undo.RecordChange(doc, shown));
    const fs::path path = undo.Find({DT, 0x0506})->GetSnapshot(0).GetPath();
    EXPECT_EQ(path.parent_path(), fs::path(scratch.dir));
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{21, 6, 5, 4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 2,
                                                0,  0, 0, 4, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0xDD}));
}

TEST_F(UndoMapTest, ThirtyOneEditsUndoThirtyStepsBackToTheFirstEdit)
{
    EditDT(31);
    EXPECT_EQ(Files(), 31); // the starting snapshot has been dropped
    doc.modified = false;
    for (int value = 30; value >= 1; --value) {
        ASSERT_TRUE(undo.Undo(doc, shown));
        EXPECT_EQ(doc.Value(DT), value);
    }
    EXPECT_TRUE(doc.modified);
    EXPECT_FALSE(undo.CanUndo(shown) || undo.Undo(doc, shown));
    EXPECT_EQ(doc.Value(DT), 1);
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(undo.Redo(doc, shown));
    EXPECT_EQ(doc.Value(DT), 31);
    EXPECT_FALSE(undo.CanRedo(shown) || undo.Redo(doc, shown));
}

TEST_F(UndoMapTest, EditAfterUndoDropsRedoAndDeletesTheUndoneFiles)
{
    EditDT(3);
    undo.Undo(doc, shown), undo.Undo(doc, shown);
    EXPECT_TRUE(undo.CanRedo(shown));
    ASSERT_TRUE(Edit(DT, 0, 9));
    EXPECT_FALSE(undo.CanRedo(shown));
    EXPECT_EQ(Files(), 3);
    ASSERT_TRUE(undo.Undo(doc, shown));
    EXPECT_EQ(doc.Value(DT), 1);
}

TEST_F(UndoMapTest, EachBlockUndoesOnlyItsOwnChanges)
{
    doc.Add(DT), doc.Add(WR), doc.Add(FL, 0), doc.Add(FL, 1);
    undo.ResetHistory({Device(DT), Device(WR), Device(FL)}, {Bank(0), Bank(1)}, 2, doc);
    Edit(DT, 0, 1), Edit(WR, 0, 5), Edit(FL, 1, 7), Edit(FL, 0, 8), Edit(DT, 0, 2);
    Show(DT);
    ASSERT_TRUE(undo.Undo(doc, shown));
    Show(FL, 1);
    ASSERT_TRUE(undo.Undo(doc, shown));
    EXPECT_FALSE(undo.CanUndo(shown));
    EXPECT_EQ(doc.Value(DT), 1);
    EXPECT_EQ(doc.Value(WR), 5);
    EXPECT_EQ(doc.Value(FL, 0), 8);
    EXPECT_EQ(doc.Value(FL, 1), 0);
}

TEST_F(UndoMapTest, ResetFollowsTheApplicationsSelectionAndDeletesOldFiles)
{
    platform::ConsoleMessageBox messages{nullptr};
    testsupport::FakeStringTable strings;
    platform::MemorySettingsStore settings;
    CMemorixApp app(AppServices{messages, strings, settings, testsupport::BuiltCatalogue()});
    // The second DT entry replaces the first's history, file included.
    app.Plc().m_aDeviceInfo = {Device(DT), Device(WR, 0), Device(FL), Device(DT)};
    app.Plc().m_aBankInfo = {Bank(0), Bank(1, 0), Bank(2)};
    app.Plc().m_FLBankNum = 3;
    doc.Add(DT), doc.Add(WR), doc.Add(FL, 0), doc.Add(FL, 1), doc.Add(FL, 2);
    undo.ResetHistory(app.Plc(), doc);
    EXPECT_EQ(undo.GetCount(), 3u);
    EXPECT_TRUE(undo.Find({DT, 0}) && undo.Find({FL, 0}) && undo.Find({FL, 2}));
    EXPECT_EQ(Files(), 3);

    Edit(DT, 0, 1), Edit(FL, 2, 1);
    undo.ResetHistory(app.Plc(), doc);
    EXPECT_FALSE(undo.CanUndo(shown));
    EXPECT_EQ(Files(), 3);

    // The banked FL's own entry unselected: no bank histories, and the first
    // change starts one that cannot be undone.
    app.Plc().m_aDeviceInfo = {Device(DT), Device(FL, 0)};
    undo.ResetHistory(app.Plc(), doc);
    EXPECT_EQ(undo.Find({FL, 0}), nullptr);
    ASSERT_TRUE(Edit(FL, 0, 4));
    EXPECT_FALSE(undo.CanUndo(shown));

    undo.Clear();
    EXPECT_EQ(Files(), 0);
    {
        CUndoMap other;
        other.ResetHistory(app.Plc(), doc);
        EXPECT_EQ(Files(), 1);
    }
    EXPECT_EQ(Files(), 0);
}

TEST_F(UndoMapTest, NothingIsRecordedWithoutABlockOrAWholeFile)
{
    EXPECT_FALSE(undo.RecordChange(doc, shown)); // no device shown
    EXPECT_FALSE(undo.CanUndo(shown) || undo.Undo(doc, shown) || undo.Redo(doc, shown));

    EditDT(2);
    undo.Undo(doc, shown);
    // Files may grow to 10 bytes only: the snapshot's write fails half-way.
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit saved = limit;
    limit.rlim_cur = 10;
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_FALSE(Edit(DT, 0, 3));
    setrlimit(RLIMIT_FSIZE, &saved);
    // The edit stands; undo is unavailable rather than jumping from 3 past 1
    // to 0, and no file is left behind.
    EXPECT_EQ(doc.Value(DT), 3);
    EXPECT_FALSE(undo.CanUndo(shown) || undo.CanRedo(shown) || undo.Undo(doc, shown));
    EXPECT_EQ(doc.Value(DT), 3);
    EXPECT_EQ(Files(), 0);
    // With room again, the next edits are recorded and undone as usual.
    ASSERT_TRUE(Edit(DT, 0, 4));
    ASSERT_TRUE(Edit(DT, 0, 5));
    ASSERT_TRUE(undo.Undo(doc, shown));
    EXPECT_EQ(doc.Value(DT), 4);
}

TEST_F(UndoMapTest, MissingSnapshotFileMovesThePositionAndKeepsTheBlock)
{
    EditDT(2);
    fs::remove(FileOf(1));
    doc.modified = false;
    EXPECT_FALSE(undo.Undo(doc, shown));
    EXPECT_EQ(doc.Value(DT), 2);
    EXPECT_FALSE(doc.modified);
    ASSERT_TRUE(undo.Undo(doc, shown));
    EXPECT_EQ(doc.Value(DT), 0);
    EXPECT_FALSE(undo.Redo(doc, shown));
    ASSERT_TRUE(undo.Redo(doc, shown));
    EXPECT_EQ(doc.Value(DT), 2);
}

TEST_F(UndoMapTest, DamagedSnapshotFileIsNeitherTrustedNorWrittenBack)
{
    // Each damages the starting snapshot: a 19-byte header and 8 data bytes.
    const auto patch = [](const char* bytes, int count, long offset) {
        return [=](const std::string& path) {
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(offset), file.write(bytes, count);
        };
    };
    const std::vector<std::function<void(const std::string&)>> damages{
        [](const std::string& path) { fs::resize_file(path, 23); }, // cut in the data
        [](const std::string& path) { fs::resize_file(path, 10); }, // cut in the header
        patch("\xFF\xFF\xFF\xFF", 4, 15),                           // a count far past the end
        patch("\x02\x00\x00\x00", 4, 15),                           // a count short of the end
        patch("\x12", 1, 0),                                        // names the WR block
    };
    doc.Add(WR);
    Edit(WR, 0, 5);
    for (std::size_t i = 0; i < damages.size(); ++i) {
        SCOPED_TRACE(i);
        EditDT(1);
        damages[i](FileOf(0));
        doc.modified = false;
        EXPECT_FALSE(undo.Undo(doc, shown));
        EXPECT_EQ(doc.Value(DT), 1);
        EXPECT_EQ(doc.Value(WR), 5);
        EXPECT_FALSE(doc.modified);
    }
}

} // namespace
