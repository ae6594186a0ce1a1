#include "platform/AtomicFileWriter.h"
#include "platform/DenyWriteFile.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
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

TEST_F(DenyWriteFileTest, OnlyRegularFilesAreOpenedAndNoneIsWaitedOn)
{
    const std::string pipe = (folder / "pipe").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const struct {
        std::string path;
        DenyWriteFile::Access access;
        const char* says;
    } rows[] = {
        {pipe, DenyWriteFile::Access::Read, "It is a named pipe (FIFO), not a file"},
        {pipe, DenyWriteFile::Access::CreateReadWrite, "It is a named pipe (FIFO), not a file"},
        {pipe, DenyWriteFile::Access::Modify, "It is a named pipe (FIFO), not a file"},
        {"/dev/zero", DenyWriteFile::Access::Read, "It is a device, not a file"},
        {folder.string(), DenyWriteFile::Access::Read, "It is a folder, not a file"},
    };
    for (const auto& row : rows) {
        DenyWriteFile file;
        EXPECT_FALSE(file.Open(row.path, row.access)) << row.path;
        EXPECT_EQ(file.ErrorText(), row.says) << row.path;
    }
}

// A change holds the file from reading to saving: this process still reads it
// and replaces it, while a second change waits, and after the first one's save
// works on the new file, not on the one that was replaced under it.
TEST_F(DenyWriteFileTest, AChangeHoldsTheFileAndTheNextOneWaitsForTheNewVersion)
{
    DenyWriteFile first;
    ASSERT_TRUE(first.Open(path, DenyWriteFile::Access::Modify));
    DenyWriteFile reader;
    EXPECT_TRUE(reader.Open(path, DenyWriteFile::Access::Read)) << "the holder's own process reads it";
    reader.Close();

    DenyWriteFile::SetModifyWait(50);
    DenyWriteFile second;
    EXPECT_FALSE(second.Open(path, DenyWriteFile::Access::Modify));
    EXPECT_EQ(second.ErrorText(), "The file is in use by another program");

    DenyWriteFile::SetModifyWait(5000);
    std::string seen;
    std::thread waiter([&] {
        if (second.Open(path, DenyWriteFile::Access::Modify)) {
            char buffer[32] = {};
            seen.assign(buffer, second.Read(buffer, sizeof buffer));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    platform::AtomicFileWriter save;
    ASSERT_TRUE(save.Begin(path)) << save.ErrorText();
    ASSERT_TRUE(save.Write("new", 3));
    ASSERT_TRUE(save.Commit()) << save.ErrorText();
    first.Close();
    waiter.join();
    EXPECT_EQ(seen, "new");
}
