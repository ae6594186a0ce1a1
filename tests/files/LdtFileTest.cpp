#include "FilesTestSupport.h"

#include "platform/DenyWriteFile.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

using namespace filestest;
using namespace coding;
using platform::DenyWriteFile;

namespace {

class LdtFile : public FilesTest {
protected:
    FileError ReadBack(const Bytes& bytes, EditDataArray& out)
    {
        WriteBytes(path, bytes);
        return ReadLdtFile(*app, path, out);
    }

    // Whether another program could take the file for writing now. (Opening it
    // as a DenyWriteFile writer would empty it; asking for the lock does not.)
    bool OpenForWriting()
    {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        const bool free = fd >= 0 && fcntl(fd, F_OFD_SETLK, &lock) == 0;
        ::close(fd);
        return free;
    }

    std::string path = scratch.Path("data.ldt");
    EditDataArray doc{Block(DeviceCode::WR, 0, 99), Block(DeviceCode::DT, 0, 9, 1, 0, 50)};
};

void AppendWords(Bytes& out, std::initializer_list<std::uint16_t> words)
{
    for (const std::uint16_t w : words)
        AppendU16LE(out, w);
}

void AppendData(Bytes& out, const EditDataArray& blocks, std::size_t absentWords)
{
    for (const CEditData& block : blocks)
        out.insert(out.end(), block.Data.begin(), block.Data.end());
    AppendFill(out, 2 * absentWords + 2, 0);
}

} // namespace

TEST_F(LdtFile, WritesTheSixteenBitLayout)
{
    Choose(2, 32, 1, 0);
    ASSERT_EQ(WriteLdtFile(*app, path, doc), FileError::None);

    Bytes expected = {'L', 'D', 'T', 0, 31, 0, 16, 0, 80, 0, 0, 0};
    AppendFill(expected, 68, 0);
    AppendWords(expected, {16, 90, 0, 310, 0});
    AppendWords(expected, {100, 40, 139, 0, 99, 10, 140, 149, 0, 9});
    for (std::uint16_t i = 150; i <= 154; ++i)
        AppendWords(expected, {1, i, i, 0, 0});
    AppendWords(expected, {1, 155, 155, 69, 0xF954});
    AppendData(expected, doc, 5);
    EXPECT_EQ(ReadBytes(path), expected);
    EXPECT_EQ(expected.size(), 402u);
}

TEST_F(LdtFile, WritesTheBankedLayout)
{
    Choose(2, 34, 1, 3);
    doc.push_back(Block(DeviceCode::FL, 0, 4, 1, 1, 90));
    doc.push_back(Block(DeviceCode::FL, 0, 4, 1, 7, 90)); // no entry for bank 7
    ASSERT_EQ(WriteLdtFile(*app, path, doc), FileError::None);

    Bytes expected = {'L', 'D', 'T', 0, 33, 0, 0, 8, 80, 0, 0, 0};
    AppendFill(expected, 68, 0);
    AppendWords(expected, {2048, 90, 0, 384, 0, 9});
    auto entry = [&](std::uint16_t count, std::uint32_t first, std::uint32_t last, std::uint16_t from,
                     std::uint16_t to) {
        AppendU16LE(expected, count);
        AppendU32LE(expected, first);
        AppendU32LE(expected, last);
        AppendWords(expected, {from, to});
    };
    entry(100, 71, 170, 0, 99);
    entry(10, 171, 180, 0, 9);
    for (std::uint32_t i = 181; i <= 185; ++i)
        entry(1, i, i, 0xFFFF, 0xFFFF);
    entry(5, 186, 190, 0, 4);
    entry(1, 191, 191, 0xFFFF, 0xFFFF);
    AppendU16LE(expected, 1);
    AppendU32LE(expected, 192);
    AppendU32LE(expected, 192);
    AppendWords(expected, {69, 84});
    for (std::size_t i = 0; i < 2; ++i)
        expected.insert(expected.end(), doc[i].Data.begin(), doc[i].Data.end());
    AppendFill(expected, 10, 0);
    expected.insert(expected.end(), doc[2].Data.begin(), doc[2].Data.end());
    AppendFill(expected, 4, 0);
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST_F(LdtFile, ReadsBackEveryLayoutAndKeepsTheFile)
{
    struct Case {
        int model;
        std::uint8_t banks;
        std::uint16_t format;
        const char* name;
    };
    for (const Case& c : {Case{32, 0, 16, "MB-16S"}, Case{33, 0, 32, "MB-32L"}, Case{34, 3, 2048, "MB-64F3"}}) {
        Choose(2, c.model, 1, c.banks);
        EditDataArray blocks{Block(DeviceCode::WL, 5, 6), Block(DeviceCode::FL, 10, 11, 1, 2),
                             Block(DeviceCode::TE, 0, 0), Block(DeviceCode::FL, 1000, 1003)};
        ASSERT_EQ(WriteLdtFile(*app, path, blocks), FileError::None) << c.format;
        EXPECT_FALSE(OpenForWriting()) << "kept open after writing";
        app->ResetPlcState();

        EditDataArray out;
        ASSERT_EQ(ReadLdtFile(*app, path, out), FileError::None) << c.format;
        // Area order, one word per address, the bank the entry stands for.
        EditDataArray want{blocks[1], blocks[2], blocks[0]}; // the first FL block, whatever its bank
        want[0].BankNo = 0;
        if (c.format == 2048)
            want = {blocks[3], blocks[2], blocks[0], blocks[1]}; // bank 0 at FL's entry, bank 2 at its own
        EXPECT_TRUE(SameBlocks(out, want)) << c.format;
        EXPECT_EQ(app->Plc().m_nPLCSeriesNo, 2);
        EXPECT_EQ(app->Plc().m_nPLCId, c.model);
        EXPECT_EQ(app->Plc().m_strPLCName, c.name);
        EXPECT_EQ(app->Plc().m_wLdtFormat, c.format);
        EXPECT_FALSE(OpenForWriting()) << "kept open after reading";
        ReleaseLdtFile(*app);
        EXPECT_TRUE(OpenForWriting());
    }
    EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(LdtFile, ChecksTheHeader)
{
    Choose(2, 32, 1, 0);
    ASSERT_EQ(WriteLdtFile(*app, path, doc), FileError::None);
    const Bytes good = ReadBytes(path);
    app->ResetPlcState();
    EditDataArray out;

    Bytes file = good;
    file[12] = 'H';
    file[13] = 0xE9; // Windows-1252
    file[53] = '2';
    ASSERT_EQ(ReadBack(file, out), FileError::None);
    EXPECT_EQ(app->Plc().m_strLdtText1, "H\xC3\xA9");
    EXPECT_EQ(app->Plc().m_strLdtText2, "2");

    app->ResetPlcState();
    file = good;
    PutU16LE(file.data() + 4, 998);
    EXPECT_EQ(ReadBack(file, out), FileError::UnknownModel);
    PutU16LE(file.data() + 6, 17);
    EXPECT_EQ(ReadBack(file, out), FileError::NotDataFile) << "the format code is checked before the model";
    EXPECT_EQ(ReadBack(Bytes(good.begin(), good.begin() + 79), out), FileError::NotDataFile);

    file = good;
    file[0] = 'l';
    EXPECT_EQ(ReadBack(file, out), FileError::NotDataFile);
    EXPECT_TRUE(SameBlocks(out, doc)) << "the areas are read all the same";
    EXPECT_EQ(app->Plc().m_nPLCId, 0) << "but no model is stored";
    EXPECT_TRUE(OpenForWriting()) << "a file that failed is not kept";

    EXPECT_EQ(ReadLdtFile(*app, scratch.Path("missing.ldt"), out), FileError::Open);
    EXPECT_TRUE(messages.Shown().empty()) << "the reader shows nothing itself";
}

TEST_F(LdtFile, RejectsAreasThatDoNotFit)
{
    Choose(2, 32, 1, 0);
    ASSERT_EQ(WriteLdtFile(*app, path, doc), FileError::None);
    ReleaseLdtFile(*app);
    const Bytes good = ReadBytes(path);
    auto verdict = [&](std::size_t at, std::uint32_t value, int width) {
        Bytes file = good;
        width == 2 ? PutU16LE(file.data() + at, static_cast<std::uint16_t>(value)) : PutU32LE(file.data() + at, value);
        EditDataArray out{Block(DeviceCode::DT, 0, 0)};
        const FileError error = ReadBack(file, out);
        return error == FileError::Damaged && out.empty() ? "damaged" : std::to_string(static_cast<int>(error));
    };
    EXPECT_EQ(verdict(90 + 6, 100, 2), "damaged") << "WR's first address above its last";
    EXPECT_EQ(verdict(90 + 18, 0xFFFF, 2), "damaged") << "DT running past the end of the file";
    EXPECT_EQ(verdict(8, 0xFFFFFFF0, 4), "damaged") << "area record beyond the end";
    EXPECT_EQ(verdict(80 + 2, good.size() - 10, 4), "damaged") << "area table beyond the end";

    Choose(2, 33, 1, 0);
    ASSERT_EQ(WriteLdtFile(*app, path, doc), FileError::None);
    ReleaseLdtFile(*app);
    Bytes wide = ReadBytes(path);
    PutU32LE(wide.data() + 90 + 12, 0x80000000u);
    PutU32LE(wide.data() + 90 + 16, 0x80000000u);
    EditDataArray out;
    EXPECT_EQ(ReadBack(wide, out), FileError::Damaged) << "an address no block can hold";
}

TEST_F(LdtFile, WithoutALayoutNothingIsWritten)
{
    WriteBytes(path, {1, 2, 3});
    Choose(1, 1792, 0, 0);
    EXPECT_EQ(WriteLdtFile(*app, path, doc), FileError::Write);
    EXPECT_EQ(ReadBytes(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(WriteLdtFile(*app, scratch.Path("new.ldt"), doc), FileError::Write);
    EXPECT_FALSE(std::filesystem::exists(scratch.Path("new.ldt")));
    EXPECT_EQ(WriteLdtFile(*app, scratch.Path("missing/new.ldt"), doc), FileError::Open);
}

TEST_F(LdtFile, NamesTheBlocksALayoutLoses)
{
    const EditDataArray flat{Block(DeviceCode::WR, 0, 9, 1, 3), Block(DeviceCode::WR, 20, 29),
                             Block(DeviceCode::CS, 0, 9),       Block(DeviceCode::DT, 0, 9, 2),
                             Block(DeviceCode::TS, 0, 0x10000), Block(DeviceCode::TE, -1, 1)};
    auto lost = [](std::uint16_t format, const EditDataArray& blocks) {
        std::string out;
        for (const CEditData* block : BlocksLostInLdtFile(format, blocks))
            out += std::to_string(block - blocks.data());
        return out;
    };
    EXPECT_EQ(lost(16, flat), "12345") << "second WR, CS, two words per address, beyond 16 bits, negative";
    EXPECT_EQ(lost(32, flat), "1235");
    EXPECT_EQ(lost(0, flat), "012345");

    EditDataArray banked{Block(DeviceCode::WR, 0, 9, 1, 1), Block(DeviceCode::WR, 0, 9)};
    for (std::int16_t bank = 0; bank < 8; ++bank)
        banked.push_back(Block(DeviceCode::FL, 0, 9, 1, bank));
    banked.push_back(Block(DeviceCode::LD, 0xFFFF, 0xFFFF)); // would read back as absent
    EXPECT_EQ(lost(2048, banked), "056789"
                                  "10");
}

TEST_F(LdtFile, ReportsErrorCodesThroughOneTable)
{
    for (const auto& [code, stringId] :
         {std::pair{1, 904}, {3, 903}, {10000, 908}, {10001, 907}, {10002, 901}, {42, 903}}) {
        ReportFileError(*app, static_cast<FileError>(code));
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].stringId, stringId);
        EXPECT_EQ(messages.Shown()[0].text, "#" + std::to_string(stringId));
        EXPECT_EQ(messages.Shown()[0].icon, platform::MsgIcon::Exclamation);
        messages.ClearShown();
    }
    ReportFileError(*app, FileError::None);
    EXPECT_TRUE(messages.Shown().empty());
}
