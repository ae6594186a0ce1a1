// Saving and importing when things go wrong around the program: a full disk,
// a folder it may not write, the process killed half-way. The user's files
// must come through byte for byte, and the user must be told why.

#include "support/RunProcess.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

using testsupport::ProcessResult;

namespace {

class FaultsUnderLoad : public ::testing::Test {
protected:
    std::string Cli() const
    {
        const char* bin = std::getenv("MEMORIX_BIN_DIR");
        return std::string(bin ? bin : ".") + "/memorix-cli";
    }
    std::vector<std::string> Environment() const
    {
        return {"XDG_CONFIG_HOME=" + scratch.Path("user"), "XDG_CONFIG_DIRS=" + scratch.Path("system"),
                "TMPDIR=" + scratch.dir};
    }
    ProcessResult Run(const std::vector<std::string>& args)
    {
        return testsupport::RunProcess(Cli(), args, Environment());
    }
    // Runs the command through the shell's line `prefix "$@"`, e.g. with a file size limit.
    ProcessResult RunWith(const std::string& prefix, const std::vector<std::string>& args)
    {
        std::vector<std::string> shellArgs{"-c", prefix + " \"$@\"", "memorix-cli", Cli()};
        shellArgs.insert(shellArgs.end(), args.begin(), args.end());
        return testsupport::RunProcess("/bin/sh", shellArgs, Environment());
    }
    std::string File(const std::string& name) const { return scratch.Path(name); }
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(scratch.dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    testsupport::Scratch scratch;
};

// A full disk stands for a file size limit of 16 KiB: writes beyond it fail
// as they would on a full file system.
constexpr const char* kDiskFull = "trap '' XFSZ; ulimit -f 16; exec";

} // namespace

TEST_F(FaultsUnderLoad, AFullDiskLeavesEveryFileAsItWasAndSaysWhy)
{
    ASSERT_EQ(
        Run({"new", File("plant.ldtx"), "--model", "1792", "--select", "DT:0-32767", "--select", "WR:0-9"}).exitCode,
        0);
    ASSERT_EQ(Run({"set", File("plant.ldtx"), "--device", "DT", "--cell", "5", "1234"}).exitCode, 0);
    ASSERT_EQ(Run({"export", File("plant.ldtx"), File("dt.csv"), "--device", "DT"}).exitCode, 0);
    const std::string data = testsupport::ReadWholeFile(File("plant.ldtx"));
    const std::string csv = testsupport::ReadWholeFile(File("dt.csv"));
    const std::set<std::string> names = Names();

    ProcessResult r = RunWith(kDiskFull, {"set", File("plant.ldtx"), "--device", "DT", "--cell", "6", "5678"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("disk space"), std::string::npos) << r.err;
    r = RunWith(kDiskFull, {"import", File("plant.ldtx"), File("dt.csv"), "--device", "WR"});
    EXPECT_EQ(r.exitCode, 1);
    r = RunWith(kDiskFull, {"export", File("plant.ldtx"), File("dt.csv"), "--device", "DT", "--radix", "dec"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("dt.csv"), std::string::npos) << r.err;

    EXPECT_EQ(testsupport::ReadWholeFile(File("plant.ldtx")), data);
    EXPECT_EQ(testsupport::ReadWholeFile(File("dt.csv")), csv);
    EXPECT_EQ(Names(), names) << "no temporary file is left behind";
    EXPECT_EQ(Run({"info", File("plant.ldtx")}).exitCode, 0);
}

TEST_F(FaultsUnderLoad, AFolderThatCannotBeWrittenLeavesTheFileAndSaysWhy)
{
    const std::string folder = File("locked");
    std::filesystem::create_directory(folder);
    ASSERT_EQ(Run({"new", folder + "/plant.ldtx", "--model", "1792", "--select", "DT:0-99"}).exitCode, 0);
    const std::string data = testsupport::ReadWholeFile(folder + "/plant.ldtx");
    // The superuser may write any folder with write permission taken away, but
    // not an immutable one.
    const bool root = geteuid() == 0;
    if (root) {
        if (std::system(("chattr +i '" + folder + "' 2>/dev/null").c_str()) != 0)
            GTEST_SKIP() << "the folder cannot be made immutable here";
    } else {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    const ProcessResult r = Run({"set", folder + "/plant.ldtx", "--device", "DT", "--cell", "1", "7"});
    if (root)
        std::system(("chattr -i '" + folder + "'").c_str());
    else
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("may write to the folder"), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::ReadWholeFile(folder + "/plant.ldtx"), data);
}

// An import killed at any moment: the data file is the old one or the new
// one, whole, and the next run works. (The CSV file is only read.)
TEST_F(FaultsUnderLoad, AnImportKilledHalfWayLeavesTheOldFileOrTheNewOne)
{
    ASSERT_EQ(Run({"new", File("plant.ldtx"), "--model", "1792", "--select", "DT:0-32767"}).exitCode, 0);
    {
        std::ofstream csv(File("in.csv"), std::ios::binary);
        for (int i = 0; i < 32768; ++i)
            csv << std::hex << (i * 7 & 0xFFFF) << ((i % 8) == 7 ? "\r\n" : ",");
    }
    const std::string before = testsupport::ReadWholeFile(File("plant.ldtx"));
    const std::string csv = testsupport::ReadWholeFile(File("in.csv"));
    std::filesystem::copy_file(File("plant.ldtx"), File("full.ldtx"));
    ASSERT_EQ(Run({"import", File("full.ldtx"), File("in.csv"), "--device", "DT"}).exitCode, 0);
    const std::string after = testsupport::ReadWholeFile(File("full.ldtx"));
    ASSERT_NE(before, after);
    const std::set<std::string> names = Names();

    int old = 0, complete = 0;
    for (const char* delay : {"0", "0.005", "0.01", "0.02", "0.04", "0.08", "0.16", "0.3"}) {
        SCOPED_TRACE(delay);
        const ProcessResult r =
            RunWith(std::string("\"$@\" & pid=$!; sleep ") + delay + "; kill -9 $pid; wait $pid; exit 0; :",
                    {"import", File("plant.ldtx"), File("in.csv"), "--device", "DT"});
        EXPECT_EQ(r.exitCode, 0);
        const std::string now = testsupport::ReadWholeFile(File("plant.ldtx"));
        ASSERT_TRUE(now == before || now == after);
        EXPECT_EQ(testsupport::ReadWholeFile(File("in.csv")), csv);
        (now == before ? old : complete)++;
        EXPECT_EQ(Run({"info", File("plant.ldtx")}).exitCode, 0);
        // A save killed half-way may leave its hidden temporary file, nothing else.
        for (const std::string& name : Names()) {
            if (names.count(name))
                continue;
            EXPECT_TRUE(name.starts_with(".plant.ldtx.")) << name;
            std::filesystem::remove(File(name));
        }
        std::ofstream(File("plant.ldtx"), std::ios::binary) << before;
    }
    EXPECT_GT(old + complete, 0);
}
