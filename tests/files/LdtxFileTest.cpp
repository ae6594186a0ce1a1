#include "FilesTestSupport.h"

#include "files/Crc16.h"
#include "platform/AtomicFileWriter.h"
#include "platform/DenyWriteFile.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace filestest;
using namespace coding;

namespace {

constexpr std::size_t kSection = 532; // where the writer puts the device data section

class LdtxFile : public FilesTest {
protected:
    void SetUp() override { Choose(2, 32, 1, 0); }

    bool ReadBack(const Bytes& bytes, EditDataArray& out)
    {
        WriteBytes(path, bytes);
        return ReadLdtxFile(*app, path, out);
    }

    // Reads the bytes and returns the message shown ("" on success).
    std::string Verdict(const Bytes& bytes)
    {
        EditDataArray out;
        const bool ok = ReadBack(bytes, out);
        const std::string shown = Shown();
        return ok ? shown : shown.empty() ? "failed without a message" : shown;
    }

    // Recomputes the CRC after a test changed the section on purpose.
    static void FixCrc(Bytes& file)
    {
        const std::uint64_t length = GetU64LE(file.data() + 512 + 12);
        PutU16LE(file.data() + kSection + length - 2, crc16::Value(file.data() + kSection, length - 2));
    }

    std::string path = scratch.Path("data.ldtx");
    EditDataArray doc{Block(DeviceCode::WR, 0, 9), Block(DeviceCode::TS, 0, 3, 2),
                      Block(DeviceCode::FL, 100, 104, 1, 2)};
};

} // namespace

TEST_F(LdtxFile, WritesTheExactLayout)
{
    ASSERT_EQ(WriteLdtxFile(*app, path, doc), FileError::None);
    const Bytes file = ReadBytes(path);

    Bytes expected = {0, 0, 0, 0, 0xFD, 0xFF, 0x01, 0x00, 2, 0, 32, 0};
    AppendU64LE(expected, 512);
    AppendU16LE(expected, 1);
    AppendFill(expected, 320, 0);
    AppendFill(expected, 170, 0xFF);
    AppendU16LE(expected, 501);
    AppendU16LE(expected, 16);
    AppendU64LE(expected, kSection);
    const std::uint64_t sectionLength = 4 + 3 * 8 + (24 + 20) + (24 + 16) + (24 + 10) + 2;
    AppendU64LE(expected, sectionLength);
    AppendU32LE(expected, 3);
    for (const std::uint64_t offset : {28, 72, 112})
        AppendU64LE(expected, offset);
    for (const CEditData& block : doc) {
        AppendU8(expected, block.Id);
        AppendU32LE(expected, static_cast<std::uint32_t>(block.StartAddr));
        AppendU32LE(expected, static_cast<std::uint32_t>(block.EndAddr));
        AppendU32LE(expected, static_cast<std::uint32_t>(block.DataSize));
        AppendU8(expected, static_cast<std::uint8_t>(block.BankNo));
        AppendFill(expected, 10, 0);
        expected.insert(expected.end(), block.Data.begin(), block.Data.end());
    }
    AppendU16LE(expected, crc16::ExtendBitwise(0xFFFF, expected.data() + kSection, expected.size() - kSection));
    EXPECT_EQ(file.size(), kSection + sectionLength);
    EXPECT_EQ(file, expected);

    // Without blocks the section is the count and the CRC; without sections, the header alone.
    ASSERT_EQ(WriteLdtxFile(*app, path, {}), FileError::None);
    EXPECT_EQ(ReadBytes(path).size(), kSection + 6);
    EXPECT_EQ(GetU64LE(ReadBytes(path).data() + 512 + 12), 6u);
    ASSERT_EQ(WriteLdtxFile(*app, path, doc, 0), FileError::None);
    EXPECT_EQ(ReadBytes(path).size(), 512u);
}

TEST_F(LdtxFile, ReadsBackBlocksAndModel)
{
    for (const auto& [series, model, name] : {std::tuple{2, 32, "MB-16S"}, std::tuple{1, 1792, "CA-100"}}) {
        Choose(series, model, 0, 0);
        for (const EditDataArray& blocks : {doc, EditDataArray{}}) {
            ASSERT_EQ(WriteLdtxFile(*app, path, blocks), FileError::None);
            app->ResetPlcState();
            EditDataArray out{Block(DeviceCode::DT, 0, 0)};
            ASSERT_TRUE(ReadLdtxFile(*app, path, out)) << Shown();
            EXPECT_TRUE(SameBlocks(out, blocks));
            EXPECT_EQ(app->Plc().m_nPLCSeriesNo, series);
            EXPECT_EQ(app->Plc().m_nPLCId, model);
            EXPECT_EQ(app->Plc().m_strPLCName, name);
        }
    }
    EXPECT_EQ(Shown(), "");
}

TEST_F(LdtxFile, ChecksTheHeaderAndModel)
{
    ASSERT_EQ(WriteLdtxFile(*app, path, doc), FileError::None);
    const Bytes good = ReadBytes(path);
    app->ResetPlcState();
    auto with = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        Bytes file = good;
        std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
        return file;
    };
    EXPECT_EQ(Verdict(with(6, {0x00, 0xFF})), "") << "an older version";
    EXPECT_EQ(Verdict(with(6, {0x01, 0x01})), "903|#903") << "a newer version";
    EXPECT_EQ(Verdict(with(3, {0x01})), "903|#903");
    EXPECT_EQ(Verdict(with(4, {0xFE})), "903|#903");
    EXPECT_EQ(Verdict(Bytes(good.begin(), good.begin() + 511)), "903|#903");

    app->ResetPlcState();
    EXPECT_EQ(Verdict(with(10, {0xE7, 0x03})), "904|#904") << "model 999";
    EXPECT_EQ(app->Plc().m_nPLCId, 0) << "an unknown model is not stored";
    EXPECT_EQ(Verdict(with(10, {0x00, 0x06})), "904|#904") << "model 1536 is disabled";
}

TEST_F(LdtxFile, ReportsDamageWithItsCode)
{
    ASSERT_EQ(WriteLdtxFile(*app, path, doc), FileError::None);
    const Bytes good = ReadBytes(path);
    Bytes file = good;
    file[kSection + 60] ^= 1;
    EXPECT_EQ(Verdict(file), "901|#901 (2)") << "one changed data byte";
    file = good;
    PutU64LE(file.data() + 512 + 12, good.size() - kSection + 1);
    EXPECT_EQ(Verdict(file), "901|#901 (4)") << "a section past the end of the file";
    file = good;
    PutU64LE(file.data() + 512 + 4, ~0ull);
    EXPECT_EQ(Verdict(file), "901|#901 (4)") << "offset + length overflowing";
    file = good;
    PutU16LE(file.data() + 20, 0xFFFF);
    EXPECT_EQ(Verdict(file), "901|#901 (254)") << "more entries than the file holds";
    ASSERT_EQ(WriteLdtxFile(*app, path, {Block(DeviceCode::DT, 0, 599)}), FileError::None);
    const Bytes big = ReadBytes(path);
    file.assign(big.begin(), big.begin() + 512); // its device data named twice: more than the file holds
    PutU16LE(file.data() + 20, 2);
    for (int i = 0; i < 2; ++i) {
        file.insert(file.end(), big.begin() + 512, big.begin() + kSection);
        PutU64LE(file.data() + file.size() - 16, kSection + 20);
    }
    file.insert(file.end(), big.begin() + kSection, big.end());
    EXPECT_EQ(Verdict(file), "901|#901 (8)");

    // Contents that pass the CRC but do not fit the section.
    auto patched = [&](std::size_t at, auto write) {
        Bytes bytes = good;
        write(bytes.data() + kSection + at);
        FixCrc(bytes);
        return Verdict(bytes);
    };
    const auto u32 = [](std::uint32_t v) { return [v](std::uint8_t* p) { PutU32LE(p, v); }; };
    const auto u64 = [](std::uint64_t v) { return [v](std::uint8_t* p) { PutU64LE(p, v); }; };
    EXPECT_EQ(patched(0, u32(0xFFFFFFFF)), "901|#901 (5)") << "block count";
    EXPECT_EQ(patched(4, u64(0)), "901|#901 (5)") << "an offset into the offset table";
    EXPECT_EQ(patched(4, u64(1ull << 62)), "901|#901 (5)");
    EXPECT_EQ(patched(20, u64(good.size() - kSection - 10)), "901|#901 (6)") << "a header over the CRC";
    EXPECT_EQ(patched(28 + 5, u32(0x7FFFFFFF)), "901|#901 (6)") << "an end address far beyond the section";
    EXPECT_EQ(patched(28 + 1, u32(0x80000000)), "901|#901 (6)");
    EXPECT_EQ(patched(28 + 9, u32(0x7FFFFFFF)), "901|#901 (6)") << "a huge words-per-address";
    EXPECT_EQ(patched(28 + 5, u32(0xFFFFFFFF)), "901|#901 (7)") << "end below start";
    EXPECT_EQ(patched(28 + 9, u32(0)), "901|#901 (7)");
    EXPECT_EQ(patched(28 + 9, u32(0xFFFFFFFF)), "901|#901 (7)");
    EXPECT_EQ(patched(12, u64(28)), "901|#901 (7)") << "two blocks sharing the larger one's bytes";
}

TEST_F(LdtxFile, ReportsOpenProblemsWithThePath)
{
    WriteBytes(path, {});
    EditDataArray out;
    EXPECT_FALSE(ReadLdtxFile(*app, path, out));
    EXPECT_EQ(Shown(), "902|" + path + "\n\n#902");
    EXPECT_FALSE(ReadLdtxFile(*app, scratch.Path("missing.ldtx"), out));
    EXPECT_EQ(Shown(), "0|" + scratch.Path("missing.ldtx") + "\n\nNo such file or directory");

    ASSERT_EQ(WriteLdtxFile(*app, path, doc), FileError::None);
    platform::DenyWriteFile writer;
    ASSERT_TRUE(writer.Open(path, platform::DenyWriteFile::Access::CreateReadWrite));
    EXPECT_FALSE(ReadLdtxFile(*app, path, out));
    EXPECT_EQ(Shown(), "0|" + path + "\n\nThe file is in use by another program");
}

TEST_F(LdtxFile, AFailedSaveKeepsThePreviousFile)
{
    ASSERT_EQ(WriteLdtxFile(*app, path, doc), FileError::None);
    const Bytes before = ReadBytes(path);
    {
        platform::DenyWriteFile reader;
        ASSERT_TRUE(reader.Open(path, platform::DenyWriteFile::Access::Read));
        EXPECT_EQ(WriteLdtxFile(*app, path, {}), FileError::Write) << "in use by someone else";
    }
    EditDataArray inconsistent = doc;
    inconsistent[1].Data.pop_back();
    EXPECT_EQ(WriteLdtxFile(*app, path, inconsistent), FileError::Write) << "could not be read back";
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(WriteLdtxFile(*app, scratch.Path("missing/data.ldtx"), doc), FileError::Write);
    EXPECT_EQ(Shown(), "") << "the writer shows nothing itself";
}

// A save that dies half way, as on a crash or power cut, must leave the
// previous file as it was, in both formats.
TEST_F(LdtxFile, ASaveKilledHalfWayKeepsThePreviousFile)
{
    const std::string legacy = scratch.Path("data.ldt");
    EditDataArray big;
    for (std::uint8_t id : {DeviceCode::WR, DeviceCode::DT, DeviceCode::FL, DeviceCode::LD})
        big.push_back(Block(id, 0, 512 * 1024 - 1, 1, 0, id)); // 1 MiB each
    ASSERT_EQ(WriteLdtxFile(*app, path, doc), FileError::None);
    ASSERT_EQ(WriteLdtFile(*app, legacy, {Block(DeviceCode::WR, 0, 9)}), FileError::None);
    ReleaseLdtFile(*app);
    const Bytes before = ReadBytes(path);
    const Bytes legacyBefore = ReadBytes(legacy);

    for (const bool modern : {true, false}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            platform::AtomicFileWriter::SetFaultHook([](std::uint64_t written) {
                if (written > 1536 * 1024)
                    raise(SIGKILL);
            });
            if (modern)
                WriteLdtxFile(*app, path, big);
            else
                WriteLdtFile(*app, legacy, big);
            _exit(0); // not reached: the save is killed first
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    }
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(ReadBytes(legacy), legacyBefore);
    EditDataArray out;
    EXPECT_TRUE(ReadLdtxFile(*app, path, out));
    EXPECT_TRUE(SameBlocks(out, doc));
}
