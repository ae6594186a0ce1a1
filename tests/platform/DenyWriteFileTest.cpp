#include "platform/DenyWriteFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using platform::DenyWriteFile;
namespace fs = std::filesystem;

namespace {

class DenyWriteFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("memorix-lock-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        path = (folder / "data.bin").string();
        std::ofstream(path, std::ios::binary) << "0123456789";
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    std::string path;
};

} // namespace

TEST_F(DenyWriteFileTest, ReadersShareAndKeepWritersOut)
{
    DenyWriteFile reader;
    ASSERT_TRUE(reader.Open(path, DenyWriteFile::Access::Read));

    DenyWriteFile secondReader;
    EXPECT_TRUE(secondReader.Open(path, DenyWriteFile::Access::Read));

    DenyWriteFile writer;
    EXPECT_FALSE(writer.Open(path, DenyWriteFile::Access::CreateReadWrite));
    EXPECT_FALSE(writer.ErrorText().empty());
    EXPECT_EQ(fs::file_size(path), 10u) << "a refused writer must not have emptied the file";

    reader.Close();
    EXPECT_FALSE(writer.Open(path, DenyWriteFile::Access::CreateReadWrite)) << "the second reader still holds it";
    secondReader.Close();
    EXPECT_TRUE(writer.Open(path, DenyWriteFile::Access::CreateReadWrite));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(DenyWriteFileTest, AWriterKeepsEveryoneElseOut)
{
    DenyWriteFile writer;
    ASSERT_TRUE(writer.Open(path, DenyWriteFile::Access::CreateReadWrite));
    DenyWriteFile reader;
    EXPECT_FALSE(reader.Open(path, DenyWriteFile::Access::Read));
    writer.Close();
    EXPECT_TRUE(reader.Open(path, DenyWriteFile::Access::Read));
}

TEST_F(DenyWriteFileTest, ReadsWritesSeeksAndMeasures)
{
    DenyWriteFile file;
    ASSERT_TRUE(file.Open(path, DenyWriteFile::Access::CreateReadWrite));
    ASSERT_TRUE(file.Write("abcdef", 6));
    EXPECT_EQ(file.Length(), 6u);
    ASSERT_TRUE(file.Seek(2));
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 4u) << "a short read at the end of the file";
    EXPECT_EQ(std::string(buffer, 4), "cdef");
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Read(buffer, 1), 0u);
}

TEST_F(DenyWriteFileTest, ReportsMissingFilesAndFolders)
{
    DenyWriteFile file;
    EXPECT_FALSE(file.Open((folder / "missing.bin").string(), DenyWriteFile::Access::Read));
    EXPECT_EQ(file.ErrorText(), "No such file or directory");
    EXPECT_FALSE(file.Open(folder.string(), DenyWriteFile::Access::Read));
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(DenyWriteFileTest, MovingKeepsTheLock)
{
    DenyWriteFile first;
    ASSERT_TRUE(first.Open(path, DenyWriteFile::Access::Read));
    DenyWriteFile moved = std::move(first);
    EXPECT_FALSE(first.IsOpen());
    DenyWriteFile writer;
    EXPECT_FALSE(writer.Open(path, DenyWriteFile::Access::CreateReadWrite));
    moved.Close();
    EXPECT_TRUE(writer.Open(path, DenyWriteFile::Access::CreateReadWrite));
}
