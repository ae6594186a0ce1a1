// Damaged files of both formats, every byte of them: the readers must fail
// with a report or read something consistent, and never crash or allocate
// without bound (the suite runs under the sanitizers too).

#include "FilesTestSupport.h"

using namespace filestest;

namespace {

bool Consistent(const EditDataArray& blocks)
{
    for (const CEditData& block : blocks) {
        if (block.EndAddr < block.StartAddr || block.DataSize <= 0
            || block.Data.size()
                   != static_cast<std::uint64_t>(block.EndAddr - block.StartAddr + 1) * block.DataSize * 2)
            return false;
    }
    return true;
}

class LdtCorruptFile : public FilesTest {};

} // namespace

TEST_F(LdtCorruptFile, LdtxCorruptFilesAreRejectedOrHarmless)
{
    Choose(2, 32, 1, 0);
    const std::string path = scratch.Path("data.ldtx");
    const EditDataArray doc{Block(DeviceCode::WR, 0, 3), Block(DeviceCode::FL, 0, 1, 1, 1)};
    ASSERT_EQ(WriteLdtxFile(*app, path, doc), FileError::None);
    const Bytes good = ReadBytes(path);

    for (std::size_t size = 0; size < good.size(); ++size) {
        WriteBytes(path, Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)));
        EditDataArray out;
        ASSERT_FALSE(ReadLdtxFile(*app, path, out)) << "cut to " << size;
        ASSERT_EQ(messages.Shown().size(), 1u) << "cut to " << size;
        messages.ClearShown();
    }

    for (std::size_t at = 0; at < good.size(); ++at) {
        Bytes file = good;
        file[at] ^= 0xFF;
        WriteBytes(path, file);
        EditDataArray out;
        const bool ok = ReadLdtxFile(*app, path, out);
        // Unchecked: the series number, the text areas and filler, the section attribute. A changed
        // section type makes the device data a section of an unknown kind, which is skipped.
        const bool unchecked = (at >= 8 && at < 10) || (at >= 22 && at < 512) || (at >= 514 && at < 516);
        const bool unknownType = at >= 512 && at < 514;
        ASSERT_EQ(ok, unchecked || unknownType) << "byte " << at;
        ASSERT_EQ(messages.Shown().size(), ok ? 0u : 1u) << "byte " << at;
        messages.ClearShown();
        if (ok) {
            ASSERT_TRUE(unknownType ? out.empty() : SameBlocks(out, doc)) << "byte " << at;
        }
    }
}

TEST_F(LdtCorruptFile, LdtCorruptFilesAreRejectedOrConsistent)
{
    const std::string path = scratch.Path("data.ldt");
    const EditDataArray doc{Block(DeviceCode::WR, 0, 3), Block(DeviceCode::DT, 0, 1)};
    for (const auto& [model, banks] : {std::pair{32, 0}, std::pair{34, 3}}) {
        Choose(2, model, 1, static_cast<std::uint8_t>(banks));
        ASSERT_EQ(WriteLdtFile(*app, path, doc), FileError::None);
        ReleaseLdtFile(*app);
        const Bytes good = ReadBytes(path);
        const std::size_t dataEnd = good.size() - 2 * (banks ? 7 : 5) - 2; // after DT's words

        for (std::size_t size = 0; size < good.size(); ++size) {
            WriteBytes(path, Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)));
            EditDataArray out;
            const FileError error = ReadLdtFile(*app, path, out);
            // The placeholder words of absent areas are skipped, not read.
            ASSERT_EQ(error == FileError::None, size >= dataEnd) << "cut to " << size;
            ASSERT_TRUE(error != FileError::None || SameBlocks(out, doc)) << "cut to " << size;
        }

        // No checksum here: many changes read as other values, but never as nonsense.
        for (std::size_t at = 0; at < good.size(); ++at) {
            Bytes file = good;
            file[at] ^= 0xFF;
            WriteBytes(path, file);
            EditDataArray out;
            const FileError error = ReadLdtFile(*app, path, out);
            ASSERT_TRUE(error == FileError::None || error == FileError::NotDataFile || error == FileError::UnknownModel
                        || error == FileError::Damaged)
                << "byte " << at << ": " << static_cast<int>(error);
            ASSERT_TRUE(Consistent(out)) << "byte " << at;
            ASSERT_LE(out.size(), 9u);
            if (error == FileError::Damaged) {
                ASSERT_TRUE(out.empty());
            }
        }
    }
    EXPECT_TRUE(messages.Shown().empty());
}

// A section larger than the reader takes in at once: its later block headers,
// bytes and CRC are read where they lie, and damage there is found as well.
TEST_F(LdtCorruptFile, LdtxLargeSectionsAreCheckedThroughout)
{
    const std::string path = scratch.Path("large.ldtx");
    const EditDataArray doc{Block(DeviceCode::FL, 0, 99999, 1, 0, 3), Block(DeviceCode::WR, 0, 3),
                            Block(DeviceCode::DT, 0, 49999, 2, 0, 5)};
    ASSERT_EQ(WriteLdtx(path, {2, 32}, doc), FileError::None);
    const Bytes good = ReadBytes(path);
    const auto read = [&path](EditDataArray& out) {
        LdtxReader reader(path);
        LdtxHeader header;
        EXPECT_TRUE(reader.ReadHeader(header).ok());
        return reader.ReadBlocks(out);
    };
    EditDataArray out;
    ASSERT_TRUE(read(out).ok());
    EXPECT_TRUE(SameBlocks(out, doc));

    // The second block's header (after the first block's 200000 bytes), a byte
    // of the last block, the stored CRC.
    const std::size_t end = good.size();
    for (const std::size_t at : {std::size_t{512 + 20 + 4 + 3 * 8 + 24 + 200000 + 4}, end - 1000, end - 1}) {
        Bytes file = good;
        file[at] ^= 0x5A;
        WriteBytes(path, file);
        out.clear();
        const LdtxResult result = read(out);
        EXPECT_EQ(result.fault, LdtxFault::Damaged) << "byte " << at;
        EXPECT_TRUE(out.empty()) << "byte " << at;
    }
    WriteBytes(path, Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(end - 3)));
    out.clear();
    EXPECT_EQ(read(out).fault, LdtxFault::Damaged);
    EXPECT_TRUE(out.empty());
}
