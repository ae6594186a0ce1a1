#include "platform/TempFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;

TEST(TempFile, CreatesDistinctEmptyFilesWithThePrefix)
{
    const std::string folder = platform::TempFolder();
    ASSERT_TRUE(fs::is_directory(folder));
    std::set<std::string> names;
    for (int i = 0; i < 5; ++i) {
        const std::string path = platform::CreateTempFileName(folder, "QZ4");
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(fs::path(path).parent_path(), fs::path(folder));
        EXPECT_EQ(fs::path(path).filename().string().rfind("QZ4", 0), 0u);
        EXPECT_EQ(fs::file_size(path), 0u);
        names.insert(path);
    }
    EXPECT_EQ(names.size(), 5u);
    for (const std::string& path : names)
        fs::remove(path);
}

TEST(TempFile, FailsWithAnEmptyNameInAMissingFolder)
{
    EXPECT_EQ(platform::CreateTempFileName("/nonexistent/memorix-folder", "QZ4"), "");
}

TEST(TempFile, FolderFollowsTmpdir)
{
    const fs::path folder = fs::temp_directory_path() / "memorix-tmpdir-test";
    fs::create_directories(folder);
    setenv("TMPDIR", folder.c_str(), 1);
    EXPECT_EQ(fs::path(platform::TempFolder()), folder);
    unsetenv("TMPDIR");
    fs::remove_all(folder);
}
