// memorix-cli's file commands, run as a user would, on files in a scratch folder.

#include "support/RunProcess.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using testsupport::ProcessResult;

namespace {

class CliFiles : public ::testing::Test {
protected:
    ProcessResult Run(const std::vector<std::string>& args)
    {
        const char* bin = std::getenv("MEMORIX_BIN_DIR");
        return testsupport::RunProcess(std::string(bin ? bin : ".") + "/memorix-cli", args,
                                       {"XDG_CONFIG_HOME=" + scratch.Path("user"),
                                        "XDG_CONFIG_DIRS=" + scratch.Path("system"), "TMPDIR=" + scratch.dir});
    }
    std::string File(const std::string& name) const { return scratch.Path(name); }

    testsupport::Scratch scratch;
};

} // namespace

TEST_F(CliFiles, LegacyRoundTripGivesTheSameFile)
{
    ASSERT_EQ(Run({"new", File("a.ldtx"), "--model", "32", "--select", "WR:0-99", "--select", "DT:0-9"}).exitCode, 0);
    ASSERT_EQ(Run({"set", File("a.ldtx"), "--device", "DT", "--cell", "9", "ABCD"}).exitCode, 0);
    ASSERT_EQ(Run({"convert", File("a.ldtx"), File("a.ldt")}).exitCode, 0);
    ASSERT_EQ(Run({"convert", File("a.ldt"), File("b.ldtx")}).exitCode, 0);
    EXPECT_EQ(testsupport::ReadWholeFile(File("a.ldtx")), testsupport::ReadWholeFile(File("b.ldtx")));

    const ProcessResult info = Run({"info", File("a.ldt")});
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.out, "model\t2\t32\tMB-16S\t16\n"
                        "block\t18\t0\t0\t99\t1\n"
                        "block\t21\t0\t0\t9\t1\n");
}

TEST_F(CliFiles, NewWithoutSelectionTakesEveryDeviceAndBank)
{
    ASSERT_EQ(Run({"new", File("f.ldtx"), "--model", "34"}).exitCode, 0);
    const ProcessResult info = Run({"info", File("f.ldtx")});
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.out.substr(0, info.out.find('\n') + 1), "model\t2\t34\tMB-64F3\t2048\n");
    EXPECT_NE(info.out.find("block\t21\t0\t0\t16383\t1\n"), std::string::npos) << "DT ends at its default size";
    EXPECT_NE(info.out.find("block\t49\t2\t0\t32767\t1\n"), std::string::npos) << "bank 2";
    EXPECT_EQ(info.out.find("block\t49\t3\t"), std::string::npos);
}

TEST_F(CliFiles, SetAndDumpShowTheGridAsTheViewDoes)
{
    ASSERT_EQ(Run({"new", File("d.ldtx"), "--model", "1792", "--select", "DT#0:16-25"}).exitCode, 2)
        << "DT has no banks";
    ASSERT_EQ(Run({"new", File("d.ldtx"), "--model", "1792", "--select", "dt:16-25"}).exitCode, 0);
    ASSERT_EQ(Run({"set", File("d.ldtx"), "--device", "21", "--cell", "1", "--radix", "dec", "--", "-2"}).exitCode, 0);
    const ProcessResult dump = Run({"dump", File("d.ldtx"), "--device", "DT", "--columns", "4"});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_EQ(dump.out, "\t+0\t+1\t+2\t+3\t+0+1+2+3\n"
                        "DT    16\t0000\tFFFE\t0000\t0000\t\n"
                        "DT    20\t0000\t0000\t0000\t0000\t\n"
                        "DT    24\t0000\t0000\t\t\t\n");

    // A rejected text leaves the file byte for byte as it was.
    const std::string before = testsupport::ReadWholeFile(File("d.ldtx"));
    for (const char* text : {"12G4", "10000"}) {
        const ProcessResult bad = Run({"set", File("d.ldtx"), "--device", "DT", "--cell", "1", text});
        EXPECT_EQ(bad.exitCode, 1) << text;
        EXPECT_NE(bad.err.find("nothing was written"), std::string::npos) << bad.err;
    }
    EXPECT_EQ(Run({"set", File("d.ldtx"), "--device", "DT", "--cell", "0", "--unit", "32", "--radix", "float", "1e39"})
                  .exitCode,
              1);
    EXPECT_EQ(testsupport::ReadWholeFile(File("d.ldtx")), before);
    EXPECT_EQ(Run({"set", File("d.ldtx"), "--device", "DT", "--cell", "10", "1"}).exitCode, 1) << "past the end";
}

TEST_F(CliFiles, ExportAndImportMoveABlockThroughCsv)
{
    ASSERT_EQ(Run({"new", File("e.ldtx"), "--model", "1792", "--select", "WR:0-5"}).exitCode, 0);
    std::ofstream(File("in.csv"), std::ios::binary) << "1,2,3\r\n4,,6\r\n";
    ASSERT_EQ(Run({"import", File("e.ldtx"), File("in.csv"), "--device", "WR", "--columns", "3"}).exitCode, 0);
    ASSERT_EQ(
        Run({"export", File("e.ldtx"), File("out.txt"), "--device", "WR", "--radix", "dec", "--columns", "3"}).exitCode,
        0);
    EXPECT_EQ(testsupport::ReadWholeFile(File("out.txt")), "1\t2\t3\r\n4\t0\t6\r\n");
    EXPECT_EQ(Run({"import", File("e.ldtx"), File("missing.csv"), "--device", "WR"}).exitCode, 1);
}

// A spreadsheet's CSV: quoted fields are read as their content; fields that
// are no number are counted on standard error, and --strict writes nothing.
TEST_F(CliFiles, ImportReadsQuotedFieldsAndTellsOfInvalidOnes)
{
    ASSERT_EQ(Run({"new", File("q.ldtx"), "--model", "1792", "--select", "WR:0-5"}).exitCode, 0);
    std::ofstream(File("sheet.csv"), std::ios::binary) << "\"12\",\"-3\",7\r\n\"4\"\"\",x,\"\"\r\n";
    const std::string before = testsupport::ReadWholeFile(File("q.ldtx"));
    ProcessResult r = Run({"import", File("q.ldtx"), File("sheet.csv"), "--device", "WR", "--radix", "dec", "--columns",
                           "3", "--strict"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("2 fields were not valid (line:field 2:1, 2:2); nothing was written"), std::string::npos)
        << r.err;
    EXPECT_EQ(testsupport::ReadWholeFile(File("q.ldtx")), before);

    r = Run({"import", File("q.ldtx"), File("sheet.csv"), "--device", "WR", "--radix", "dec", "--columns", "3"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("2 fields were not valid and became 0 (line:field 2:1, 2:2)"), std::string::npos) << r.err;
    ASSERT_EQ(
        Run({"export", File("q.ldtx"), File("out.csv"), "--device", "WR", "--radix", "dec", "--columns", "3"}).exitCode,
        0);
    EXPECT_EQ(testsupport::ReadWholeFile(File("out.csv")), "12,-3,7\r\n0,0,0\r\n");

    std::ofstream(File("good.csv"), std::ios::binary) << "1,2,3\r\n";
    r = Run({"import", File("q.ldtx"), File("good.csv"), "--device", "WR", "--columns", "3", "--strict"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
}

TEST_F(CliFiles, SavingToALegacyFileThatCannotHoldEverythingAsksFirst)
{
    ASSERT_EQ(Run({"new", File("c.ldtx"), "--model", "33", "--select", "WR", "--select", "CS"}).exitCode, 0);
    ProcessResult r = Run({"convert", File("c.ldtx"), File("c.ldt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("CS 0-255"), std::string::npos) << r.err;
    EXPECT_TRUE(testsupport::ReadWholeFile(File("c.ldt")).empty());
    r = Run({"convert", File("c.ldtx"), File("c.ldt"), "--yes"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(testsupport::ReadWholeFile(File("c.ldt")).empty());
}

TEST_F(CliFiles, FailuresSayWhyAndExitOne)
{
    ProcessResult r = Run({"info", File("missing.ldtx")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;

    std::ofstream(File("junk.ldtx"), std::ios::binary) << std::string(700, 'x');
    r = Run({"info", File("junk.ldtx")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("not a Memorix data file"), std::string::npos) << r.err;

    r = Run({"new", File("n.ldtx"), "--model", "1795"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("catalog"), std::string::npos) << r.err;

    EXPECT_EQ(Run({"new", File("n.txt"), "--model", "1792"}).exitCode, 2);
    EXPECT_EQ(Run({"new", File("n.ldtx"), "--model", "1792", "--select", "XY"}).exitCode, 2);
    EXPECT_EQ(Run({"new", File("n.ldtx"), "--model", "1792", "--select", "WR:0-99999"}).exitCode, 2);
    EXPECT_EQ(Run({"dump", File("missing.ldtx")}).exitCode, 2) << "--device is required";
}

TEST_F(CliFiles, DiffListsDifferingCellsAndExitsAsCmpDoes)
{
    ASSERT_EQ(Run({"new", File("a.ldtx"), "--model", "32", "--select", "DT:0-99", "--select", "WR:0-9"}).exitCode, 0);
    ASSERT_EQ(Run({"convert", File("a.ldtx"), File("b.ldt")}).exitCode, 0);
    const ProcessResult same = Run({"diff", File("a.ldtx"), File("b.ldt")});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "");
    ASSERT_EQ(Run({"set", File("b.ldt"), "--device", "DT", "--cell", "5", "--radix", "dec", "1234"}).exitCode, 0);
    ASSERT_EQ(Run({"set", File("b.ldt"), "--device", "DT", "--cell", "98", "FFFF"}).exitCode, 0);

    struct Case {
        std::vector<std::string> options;
        std::string out;
    };
    const std::vector<Case> cases = {
        {{}, "DT\t5\t0000\t04D2\nDT\t98\t0000\tFFFF\n"},
        // A 32-bit cell differs when either of its words does; one byte cell per differing byte.
        {{"--unit", "32", "--radix", "dec"}, "DT\t4\t0\t80871424\nDT\t98\t0\t65535\n"},
        {{"--unit", "8", "--device", "DT"}, "DT\t5\t00\tD2\nDT\t5\t00\t04\nDT\t98\t00\tFF\nDT\t98\t00\tFF\n"},
        {{"--device", "WR"}, ""},
        {{"--summary"}, "WR\t0\t10\t0\t0\nDT\t0\t100\t2\t0\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"diff", File("a.ldtx"), File("b.ldt")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.out, c.out) << testing::PrintToString(c.options);
        EXPECT_EQ(result.exitCode, c.out.empty() ? 0 : 1) << testing::PrintToString(c.options);
    }

    // Another model: blocks match by device; what only one side holds is not compared.
    ASSERT_EQ(Run({"new", File("c.ldtx"), "--model", "1794", "--select", "DT:50-149"}).exitCode, 0);
    const ProcessResult models = Run({"diff", File("a.ldtx"), File("c.ldtx"), "--summary"});
    EXPECT_EQ(models.exitCode, 0);
    EXPECT_EQ(models.out, "WR\t0\t0\t0\t10\nDT\t0\t50\t0\t100\n");
    EXPECT_NE(models.err.find("the models differ (MB-16S and CA-500L)"), std::string::npos) << models.err;

    for (const std::vector<std::string>& trouble :
         std::vector<std::vector<std::string>>{{"diff", File("a.ldtx"), File("missing.ldtx")},
                                               {"diff", File("a.ldtx"), File("a.csv")},
                                               {"diff", File("a.ldtx")},
                                               {"diff", File("a.ldtx"), File("b.ldt"), "--device", "XY"}})
        EXPECT_EQ(Run(trouble).exitCode, 2) << trouble.back();
}

TEST_F(CliFiles, FillWritesARangeAndFindListsEveryMatch)
{
    ASSERT_EQ(Run({"new", File("f.ldtx"), "--model", "34", "--select", "DT:0-99", "--select", "FL#1:0-9"}).exitCode, 0);
    EXPECT_EQ(Run({"fill", File("f.ldtx"), "--device", "DT", "--range", "10-13", "--radix", "dec", "77"}).exitCode, 0);
    EXPECT_EQ(Run({"set", File("f.ldtx"), "--device", "FL#1", "--cell", "3", "--radix", "dec", "77"}).exitCode, 0);
    EXPECT_EQ(Run({"fill", File("f.ldtx"), "--device", "DT", "--range", "20-23", "--unit", "32", "12345678"}).exitCode,
              0);

    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out;
    };
    const std::vector<Case> cases = {
        {{"--radix", "dec", "77"}, 0, "DT\t10\nDT\t11\nDT\t12\nDT\t13\nFL#1\t3\n"},
        {{"--radix", "dec", "--device", "FL#1", "77"}, 0, "FL#1\t3\n"},
        {{"--unit", "32", "12345678"}, 0, "DT\t20\nDT\t22\n"},
        {{"--unit", "32", "56781234"}, 1, ""}, // the words in the other order: no cell holds it
        {{"--radix", "dec", "78"}, 1, ""},
        {{"12G4"}, 2, ""},
        {{"--device", "XY", "1"}, 2, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"find", File("f.ldtx")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.exitCode, c.exitCode) << testing::PrintToString(c.args) << result.err;
        EXPECT_EQ(result.out, c.out) << testing::PrintToString(c.args);
    }

    // A value that is none, or a range without a whole cell, writes nothing.
    const std::string before = testsupport::ReadWholeFile(File("f.ldtx"));
    EXPECT_EQ(Run({"fill", File("f.ldtx"), "--device", "DT", "--range", "0-3", "1G"}).exitCode, 1);
    EXPECT_EQ(Run({"fill", File("f.ldtx"), "--device", "DT", "--range", "20-20", "--unit", "32", "1"}).exitCode, 1);
    EXPECT_EQ(Run({"fill", File("f.ldtx"), "--device", "DT", "--range", "90-100", "1"}).exitCode, 1);
    EXPECT_EQ(Run({"fill", File("f.ldtx"), "--device", "DT", "1"}).exitCode, 2);
    EXPECT_EQ(testsupport::ReadWholeFile(File("f.ldtx")), before);
}

namespace {

// Runs a shell script with the CLI as $0's first argument ("$cli") and the scratch folder as the working folder.
ProcessResult Shell(const testsupport::Scratch& scratch, const std::string& script)
{
    const char* bin = std::getenv("MEMORIX_BIN_DIR");
    return testsupport::RunProcess("/bin/sh",
                                   {"-c", "cd \"$1\" && cli=\"$2\" && " + script, "sh", scratch.dir,
                                    std::string(bin ? bin : ".") + "/memorix-cli"},
                                   {"XDG_CONFIG_HOME=" + scratch.Path("user"),
                                    "XDG_CONFIG_DIRS=" + scratch.Path("system"), "TMPDIR=" + scratch.dir});
}

} // namespace

// Two programs change the same file at the same moment, over and over: each
// one that says it succeeded finds its value in the file afterwards, and one
// that did not succeed says the file is in use.
TEST_F(CliFiles, TwoProgramsChangingOneFileTakeTurnsAndLoseNothing)
{
    ASSERT_EQ(Run({"new", File("p.ldtx"), "--model", "1792", "--select", "DT:0-1"}).exitCode, 0);
    const ProcessResult r = Shell(scratch, R"sh(
        i=1
        while [ $i -le 60 ]; do
            "$cli" set p.ldtx --device DT --cell 0 --radix dec $i >/dev/null 2>a.err & a=$!
            "$cli" set p.ldtx --device DT --cell 1 --radix dec $i >/dev/null 2>b.err & b=$!
            wait $a; ra=$?; wait $b; rb=$?
            cells=$("$cli" dump p.ldtx --device DT --radix dec --columns 2 | tail -n 1 | cut -f 2,3 | tr '\t' ' ')
            echo "$i $ra $rb $cells $(cat a.err b.err | tr '\n' ' ')"
            i=$((i + 1))
        done)sh");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::istringstream rounds(r.out);
    int count = 0;
    for (std::string line; std::getline(rounds, line); ++count) {
        std::istringstream fields(line);
        int round = 0, statusA = 0, statusB = 0, cell0 = 0, cell1 = 0;
        fields >> round >> statusA >> statusB >> cell0 >> cell1;
        if (statusA == 0) {
            EXPECT_EQ(cell0, round) << "the first writer's change was lost: " << line;
        }
        if (statusB == 0) {
            EXPECT_EQ(cell1, round) << "the second writer's change was lost: " << line;
        }
        if (statusA != 0 || statusB != 0) {
            EXPECT_NE(line.find("in use by another program"), std::string::npos) << line;
        }
    }
    EXPECT_EQ(count, 60);
}

// What is no file is refused at once with what it is, and a CSV line of any
// length costs little memory: its overlong field counts as one invalid field.
TEST_F(CliFiles, PipesDevicesAndEndlessLinesAreRefusedOrSkipped)
{
    ASSERT_EQ(Run({"new", File("p.ldtx"), "--model", "1792", "--select", "DT:0-9"}).exitCode, 0);
    const ProcessResult made = Shell(scratch, "mkfifo pipe.ldtx pipe.ldt pipe.csv && ln -s /dev/zero zero.csv");
    ASSERT_EQ(made.exitCode, 0) << made.err;

    struct Row {
        std::vector<std::string> args;
        const char* says;
    };
    const Row rows[] = {
        {{"info", "pipe.ldtx"}, "named pipe (FIFO)"},
        {{"info", "pipe.ldt"}, "named pipe (FIFO)"},
        {{"set", "pipe.ldtx", "--device", "DT", "--cell", "0", "1"}, "named pipe (FIFO)"},
        {{"import", "p.ldtx", "pipe.csv", "--device", "DT"}, "named pipe (FIFO)"},
        {{"import", "p.ldtx", "zero.csv", "--device", "DT"}, "a device"},
        {{"import", "p.ldtx", ".", "--device", "DT"}, "a folder"},
    };
    for (const Row& row : rows) {
        std::string script = "timeout 20 \"$cli\"";
        for (const std::string& arg : row.args)
            script += " '" + arg + "'";
        const ProcessResult r = Shell(scratch, script);
        EXPECT_EQ(r.exitCode, 1) << script << " (124: it waited on the pipe)";
        EXPECT_NE(r.err.find(row.says), std::string::npos) << script << ": " << r.err;
    }
    const ProcessResult sim = Shell(scratch, "timeout 20 \"$(dirname \"$cli\")/memorix-plcsim\" --load pipe.ldtx");
    EXPECT_EQ(sim.exitCode, 1) << "124: the simulator waited on the pipe";
    EXPECT_NE(sim.err.find("named pipe (FIFO)"), std::string::npos) << sim.err;

    // 64 MiB on one line, under an address space limit far below that. (A
    // sanitizer reserves terabytes of address space; there the line is read
    // without the limit.)
#if defined(__SANITIZE_ADDRESS__)
    const std::string limit = ":";
#else
    const std::string limit = "ulimit -v 300000";
#endif
    const ProcessResult r = Shell(scratch, R"sh(
        { printf '1,'; head -c 67108864 /dev/zero | tr '\0' 7; printf ',3\r\n4\r\n'; } >long.csv
        )sh" + limit + R"sh(
        "$cli" import p.ldtx long.csv --device DT --radix dec --columns 4 &&
        "$cli" dump p.ldtx --device DT --radix dec --columns 4)sh");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("1 field was not valid and became 0 (line:field 1:2)"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("DT     0\t1\t0\t3\t0\nDT     4\t4\t"), std::string::npos) << r.out;
}

// A save through a symbolic link writes the file at its end, creating it if
// need be; a save that cannot be made says why and leaves what was there.
TEST_F(CliFiles, SavesFollowLinksAndAFailedSaveSaysWhy)
{
    ASSERT_EQ(Run({"new", File("p.ldtx"), "--model", "1792", "--select", "DT:0-9"}).exitCode, 0);
    const std::string data = testsupport::ReadWholeFile(File("p.ldtx"));
    const ProcessResult made = Shell(scratch, "mkdir sub && ln -s sub/made.ldtx dangling.ldtx && ln -s p.ldtx live.ldtx"
                                              " && ln -s loop2.ldtx loop1.ldtx && ln -s loop1.ldtx loop2.ldtx"
                                              " && ln -s /dev/null null.ldtx && mkfifo pipe.ldtx"
                                              " && cp p.ldtx fixed.ldtx && chmod 444 fixed.ldtx");
    ASSERT_EQ(made.exitCode, 0) << made.err;

    ASSERT_EQ(Run({"convert", File("p.ldtx"), File("dangling.ldtx")}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(File("dangling.ldtx"))) << "the link stays a link";
    EXPECT_EQ(testsupport::ReadWholeFile(File("sub/made.ldtx")), data);
    ASSERT_EQ(Run({"set", File("live.ldtx"), "--device", "DT", "--cell", "0", "ABCD"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(File("live.ldtx")));
    EXPECT_NE(testsupport::ReadWholeFile(File("p.ldtx")), data);

    // The superuser writes files whatever their permission bits, but not immutable ones.
    const bool root = geteuid() == 0;
    const bool immutable = root && std::system(("chattr +i '" + File("fixed.ldtx") + "' 2>/dev/null").c_str()) == 0;
    struct Row {
        const char* target;
        const char* says;
        bool skip;
    };
    const Row rows[] = {
        {"loop1.ldtx", "loop of symbolic links", false},
        {"null.ldtx", "It is a device, not a file", false},
        {"pipe.ldtx", "It is a named pipe (FIFO), not a file", false},
        {"fixed.ldtx", "read-only", root && !immutable},
    };
    for (const Row& row : rows) {
        if (row.skip)
            continue;
        const ProcessResult r = Run({"convert", File("p.ldtx"), File(row.target)});
        EXPECT_EQ(r.exitCode, 1) << row.target;
        EXPECT_NE(r.err.find(row.says), std::string::npos) << row.target << ": " << r.err;
        EXPECT_EQ(r.err.find("disk space"), std::string::npos) << row.target << ": " << r.err;
    }
    if (!root || immutable) {
        const ProcessResult r = Run({"set", File("fixed.ldtx"), "--device", "DT", "--cell", "0", "1"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("read-only"), std::string::npos) << r.err;
        EXPECT_EQ(testsupport::ReadWholeFile(File("fixed.ldtx")), data);
    }
    if (immutable)
        std::system(("chattr -i '" + File("fixed.ldtx") + "'").c_str());
    EXPECT_EQ(testsupport::ReadWholeFile(File("fixed.ldtx")), data);
}
