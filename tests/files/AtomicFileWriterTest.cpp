#include "platform/AtomicFileWriter.h"
#include "platform/DenyWriteFile.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using platform::AtomicFileWriter;
using platform::DenyWriteFile;
namespace fs = std::filesystem;

namespace {

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t FilesIn(const std::string& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

bool Save(const std::string& path, const std::string& text)
{
    AtomicFileWriter writer;
    return writer.Begin(path) && writer.Write(text.data(), text.size()) && writer.Commit();
}

} // namespace

TEST(AtomicFile, CommitReplacesTheWholeFileAndKeepsItsPermissions)
{
    testsupport::Scratch scratch;
    const std::string path = scratch.Path("data.bin");
    umask(022);
    ASSERT_TRUE(Save(path, "first version, rather long"));
    EXPECT_EQ(ModeOf(path), 0644u) << "a new file follows the umask";

    chmod(path.c_str(), 0640);
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Begin(path));
    EXPECT_EQ(fs::path(writer.TempPath()).parent_path(), fs::path(path).parent_path())
        << "same folder, same file system";
    ASSERT_TRUE(writer.Write("xxxx", 4) && writer.Seek(0) && writer.Write("new", 3));
    EXPECT_EQ(writer.BytesWritten(), 7u);
    EXPECT_EQ(Contents(path), "first version, rather long") << "nothing changes before the commit";
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(Contents(path), "newx");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(FilesIn(scratch.dir), 1u);

    // A symbolic link stays a link; the file it points to is replaced.
    const std::string link = scratch.Path("link.bin");
    fs::create_symlink(path, link);
    ASSERT_TRUE(Save(link, "through the link"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Contents(path), "through the link");
}

TEST(AtomicFile, AnUnfinishedSaveLeavesTheOldFileAndNoTemporaryFile)
{
    testsupport::Scratch scratch;
    const std::string path = scratch.Path("data.bin");
    ASSERT_TRUE(Save(path, "old"));
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.Begin(path));
        ASSERT_TRUE(writer.Write("new contents", 12));
        EXPECT_EQ(FilesIn(scratch.dir), 2u);
    } // dropped without Commit
    EXPECT_EQ(Contents(path), "old");
    EXPECT_EQ(FilesIn(scratch.dir), 1u);

    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Begin(path));
    writer.Abort();
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(Contents(path), "old");
    EXPECT_EQ(FilesIn(scratch.dir), 1u);

    EXPECT_FALSE(writer.Begin(scratch.Path("missing/data.bin")));
    EXPECT_EQ(writer.ErrorText(), "No such file or directory");
    EXPECT_FALSE(writer.Begin(scratch.dir)) << "a folder is not replaced";
}

TEST(AtomicFile, ALockedTargetIsRefused)
{
    testsupport::Scratch scratch;
    const std::string path = scratch.Path("data.bin");
    ASSERT_TRUE(Save(path, "old"));

    DenyWriteFile reader; // another holder, as a second program would be
    ASSERT_TRUE(reader.Open(path, DenyWriteFile::Access::Read));
    AtomicFileWriter writer;
    EXPECT_FALSE(writer.Begin(path));
    EXPECT_EQ(writer.ErrorText(), "The file is in use by another program");
    EXPECT_EQ(FilesIn(scratch.dir), 1u);
    reader.Close();

    // A lock taken while the new version is being written still counts.
    ASSERT_TRUE(writer.Begin(path));
    ASSERT_TRUE(writer.Write("new", 3));
    ASSERT_TRUE(reader.Open(path, DenyWriteFile::Access::Read));
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(Contents(path), "old");
    EXPECT_EQ(FilesIn(scratch.dir), 1u);
}
