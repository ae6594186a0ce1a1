// memorix-cli as a user runs it: the real executable beside the catalogue and
// the language library, settings redirected to a scratch folder.

#include "support/RunProcess.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

using testsupport::ProcessResult;

namespace {

class Cli : public ::testing::Test {
protected:
    ProcessResult Run(const std::vector<std::string>& args, std::vector<std::string> env = {})
    {
        env.push_back("XDG_CONFIG_HOME=" + scratch.Path("user"));
        env.push_back("XDG_CONFIG_DIRS=" + scratch.Path("system"));
        const char* bin = std::getenv("MEMORIX_BIN_DIR");
        return testsupport::RunProcess(std::string(bin ? bin : ".") + "/memorix-cli", args, env);
    }

    testsupport::Scratch scratch;
};

} // namespace

// The manual page describes every command the help lists, with the same synopsis.
TEST_F(Cli, HelpAndVersionSucceedAndTheManualPageHasEveryCommand)
{
    ProcessResult r = Run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* command : {"catalogue", "format", "parse"})
        EXPECT_NE(r.out.find(command), std::string::npos) << command;
    const char* source = std::getenv("MEMORIX_SOURCE_DIR");
    std::ifstream file(std::string(source ? source : "..") + "/desktop/memorix-cli.1");
    ASSERT_TRUE(file) << "the manual page";
    std::string page;
    for (std::string line; std::getline(file, line);) {
        for (std::size_t at; (at = line.find("\\-")) != std::string::npos;)
            line.erase(at, 1);
        page += line + '\n';
    }
    std::istringstream help(r.out);
    int commands = 0;
    for (std::string line; std::getline(help, line);) {
        if (line.size() < 3 || line.compare(0, 2, "  ") != 0 || !std::islower(static_cast<unsigned char>(line[2])))
            continue;
        ++commands;
        EXPECT_NE(page.find(".B " + line.substr(2) + "\n"), std::string::npos) << line;
    }
    EXPECT_GE(commands, 19);
    r = Run({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("memorix-cli ", 0), 0u);
}

TEST_F(Cli, EachCommandsHelpPrintsItsUsageAndOptions)
{
    struct Row {
        std::vector<std::string> args;
        const char* usage;  // the start of standard output
        const char* option; // an option the help lists, or ""
    };
    for (const Row& row : std::vector<Row>{
             {{"dump", "--help"}, "usage: memorix-cli dump FILE", "--device VALUE"},
             {{"set", "plant.ldtx", "-h"}, "usage: memorix-cli set", "--radix VALUE"},
             {{"plc-read", "--connection", "0", "--help"}, "usage: memorix-cli plc-read", "--select VALUE"},
             {{"catalogue", "--help"}, "usage: memorix-cli catalogue", "--model VALUE"},
         }) {
        const ProcessResult r = Run(row.args);
        EXPECT_EQ(r.exitCode, 0) << row.args.front();
        EXPECT_EQ(r.out.rfind(row.usage, 0), 0u) << r.out;
        EXPECT_NE(r.out.find(row.option), std::string::npos) << r.out;
        EXPECT_EQ(r.err, "") << row.args.front();
    }
    // After "--" a word is an argument, not a request for help.
    const ProcessResult value = Run({"parse", "--radix", "dec", "--", "--help"});
    EXPECT_NE(value.exitCode, 0);
}

TEST_F(Cli, UsageErrorsExitTwoWithTheUsageOnStandardError)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"frobnicate"},
             {"format", "--radix", "sexagesimal", "00"},
             {"format", "--unit", "12", "00"},
             {"format", "--radix", "hex", "--unit", "16", "123"},
             {"format", "--radix", "hex", "--unit", "16", "12"},
             {"format", "--radix", "float", "--unit", "64", "0000000000000000"},
             {"parse", "--radix"},
             {"parse", "--radix", "hex", "1", "2"},
             {"catalogue", "--model", "many"},
             {"catalogue", "--colour"},
         }) {
        const ProcessResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_TRUE(r.out.empty()) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("usage"), std::string::npos) << ::testing::PrintToString(args);
    }
}

TEST_F(Cli, CatalogueListsEnabledSeriesWithTheirModelsInOrder)
{
    const ProcessResult r = Run({"catalogue"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("series\t2")), "series\t1\tCompact Series A\n"
                                                        "model\t1796\tCA-50\t0\t0\t12288\n"
                                                        "model\t1792\tCA-100\t0\t0\t32768\n"
                                                        "model\t1793\tCA-200\t0\t0\t65536\n"
                                                        "model\t1794\tCA-500L\t0\t0\t458752\n");
    EXPECT_NE(r.out.find("model\t34\tMB-64F3\t1\t3\t"), std::string::npos);
    EXPECT_EQ(r.out.find("Legacy Series"), std::string::npos) << "a series of disabled models";
    EXPECT_EQ(r.out.find("CA-90"), std::string::npos) << "a disabled model";
}

TEST_F(Cli, CatalogueListsTheDevicesOfOneModel)
{
    ProcessResult r = Run({"catalogue", "--model", "1792"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n', r.out.find('\n') + 1) + 1), "device\t18\tWR\t0\t511\t1\n"
                                                                           "device\t19\tWL\t0\t255\t1\n");
    EXPECT_NE(r.out.find("device\t27\tTS\t0\t1023\t2\n"), std::string::npos);

    r = Run({"catalogue", "--model", "1795"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("1795"), std::string::npos);
}

TEST_F(Cli, AMissingCatalogueIsAFailureWithTheOpenError)
{
    const ProcessResult r = Run({"catalogue"}, {"MEMORIX_CATALOGUE=" + scratch.Path("none.db")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Database open err"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST_F(Cli, FormatShowsOneCell)
{
    const struct {
        std::vector<std::string> args;
        const char* text;
    } cases[] = {
        {{"format", "--radix", "dec", "--unit", "16", "FFFF"}, "-1\n"},
        {{"format", "--radix", "hex", "--unit", "16", "3412"}, "1234\n"},
        {{"format", "--radix", "bin", "--unit", "8", "05"}, "00000101\n"},
        {{"format", "--radix", "1", "--unit", "64", "FFFFFFFFFFFFFFFF"}, "1777777777777777777777\n"},
        {{"format", "--radix", "hex", "--unit", "32", "01000200"}, "00020001\n"},
        {{"format", "--radix", "float", "0000C03F"}, "1.5\n"},
        {{"format", "--radix", "double", "000000000000F03F"}, "1.0\n"},
        {{"format", "1234"}, "3412\n"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, 0) << ::testing::PrintToString(c.args) << r.err;
        EXPECT_EQ(r.out, c.text) << ::testing::PrintToString(c.args);
    }
}

TEST_F(Cli, ParsePrintsTheCellBytesOrWhyNot)
{
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* out;
        const char* err;
    } cases[] = {
        {{"parse", "--radix", "hex", "--unit", "32", "1a2b"}, 0, "2B1A0000\n", ""},
        {{"parse", "--radix", "dec", "--unit", "16", "--", "-1"}, 0, "FFFF\n", ""},
        {{"parse", "--radix", "dec", "--unit", "16", "-1"}, 0, "FFFF\n", ""},
        {{"parse", "--radix", "dec", "--unit", "8", "-1"}, 1, "", "INVALID\n"},
        {{"parse", "--radix", "dec", "--unit", "16", "32768"}, 1, "", "INVALID\n"},
        {{"parse", "--radix", "hex", "0x10"}, 1, "", "INVALID\n"},
        {{"parse", "--radix", "float", "1.5"}, 0, "0000C03F\n", ""},
        {{"parse", "--radix", "float", "3.5e38"}, 1, "", "OUT_OF_RANGE\n"},
        {{"parse", "--radix", "float", "1.5 "}, 1, "", "BAD_TEXT\n"},
        {{"parse", "--radix", "double", "1e309"}, 1, "", "OUT_OF_RANGE\n"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.out, c.out) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.err, c.err) << ::testing::PrintToString(c.args);
    }
}
