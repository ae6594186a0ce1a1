// The data file codecs on their own: no catalogue, no application, no message
// boxes. What they return is all a caller learns.

#include "files/DataFiles.h"
#include "files/LdtxFormat.h"
#include "files/FilesTestSupport.h"

#include <gtest/gtest.h>

using namespace filestest;

namespace {

// The blocks of a model that no catalogue knows.
EditDataArray SomeBlocks()
{
    return {Block(DeviceCode::DT, 0, 99), Block(DeviceCode::FL, 10, 19, 2, 3), Block(DeviceCode::WR, 7, 7)};
}

} // namespace

TEST(DataFileCodec, LdtxRoundTripAndEveryFaultKind)
{
    testsupport::Scratch scratch;
    const std::string path = scratch.Path("plant.ldtx");
    const EditDataArray blocks = SomeBlocks();
    ASSERT_EQ(WriteLdtx(path, {9, 4321}, blocks), FileError::None);

    LdtxReader reader(path);
    LdtxHeader header;
    ASSERT_TRUE(reader.ReadHeader(header).ok());
    EXPECT_EQ(header.seriesNo, 9);
    EXPECT_EQ(header.modelId, 4321);
    EditDataArray read;
    ASSERT_TRUE(reader.ReadBlocks(read).ok());
    EXPECT_EQ(read, blocks);

    const auto fault = [&](const Bytes& bytes) {
        WriteBytes(path, bytes);
        LdtxReader damaged(path);
        LdtxHeader h;
        LdtxResult result = damaged.ReadHeader(h);
        if (result.ok()) {
            EditDataArray out{Block(DeviceCode::DT, 0, 0)};
            result = damaged.ReadBlocks(out);
            EXPECT_TRUE(result.ok() || out.empty()) << "a failed read hands out no blocks";
        }
        return std::pair{result.fault, result.detail};
    };
    const Bytes good = ReadBytes(path);
    EXPECT_EQ(fault({}), std::pair(LdtxFault::Empty, 0));
    EXPECT_EQ(fault(Bytes(good.begin(), good.begin() + 10)), std::pair(LdtxFault::NotDataFile, 0));
    Bytes flipped = good;
    flipped.back() ^= 1;
    EXPECT_EQ(fault(flipped), std::pair(LdtxFault::Damaged, ldtx::kDamagedCrc));
    EXPECT_EQ(fault(Bytes(good.begin(), good.end() - 1)), std::pair(LdtxFault::Damaged, ldtx::kDamagedSectionPastEnd));

    LdtxReader missing(scratch.Path("missing.ldtx"));
    const LdtxResult result = missing.ReadHeader(header);
    EXPECT_EQ(result.fault, LdtxFault::OpenFailed);
    EXPECT_EQ(result.reason, "No such file or directory");
}

TEST(DataFileCodec, LdtRoundTripKeepsTheFileOnlyWhileItIsGood)
{
    testsupport::Scratch scratch;
    const std::string path = scratch.Path("plant.ldt");
    const EditDataArray blocks{Block(DeviceCode::WR, 0, 9), Block(DeviceCode::DT, 100, 199)};
    platform::DenyWriteFile kept;
    ASSERT_EQ(WriteLdt(kept, path, {16, 4321, true, "caf\xC3\xA9", "line 2"}, blocks), FileError::None);
    EXPECT_TRUE(kept.IsOpen()) << "the written file is kept";

    LdtReader reader(kept, path);
    LdtHeader header;
    ASSERT_EQ(reader.ReadHeader(header), FileError::None);
    EXPECT_EQ(header.format, 16);
    EXPECT_EQ(header.modelId, 4321);
    EXPECT_TRUE(header.magicOk);
    EXPECT_EQ(header.text1, "caf\xC3\xA9");
    EXPECT_EQ(header.text2, "line 2");
    EditDataArray read;
    ASSERT_EQ(reader.ReadBlocks(read), FileError::None);
    EXPECT_EQ(read, blocks);
    EXPECT_TRUE(kept.IsOpen());

    const Bytes before = ReadBytes(path);
    EXPECT_EQ(WriteLdt(kept, path, {0, 4321, true, "", ""}, blocks), FileError::Write) << "no layout for format 0";
    EXPECT_EQ(ReadBytes(path), before) << "and the previous file stays";
    Bytes file = ReadBytes(path);
    coding::PutU16LE(file.data() + 6, 17); // an unknown format code
    WriteBytes(path, file);
    LdtReader unknown(kept, path);
    EXPECT_EQ(unknown.ReadHeader(header), FileError::NotDataFile);
    EXPECT_FALSE(kept.IsOpen()) << "a file that failed is let go";
}
