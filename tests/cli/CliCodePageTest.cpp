// The text column of memorix-cli in a double-byte code page: chosen by
// --code-page, by the user's CodePage setting, or by neither.

#include "support/RunProcess.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using testsupport::ProcessResult;

namespace {

class CliCodePage : public ::testing::Test {
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

TEST_F(CliCodePage, ShiftJisBytesShowAsJapaneseText)
{
    // "日本語" and a half-width "ｱ" in byte cells, as a Japanese Windows program writes them.
    ASSERT_EQ(Run({"new", File("j.ldtx"), "--model", "1792", "--select", "DT:0-3"}).exitCode, 0);
    const char* bytes[] = {"93", "FA", "96", "7B", "8C", "EA", "B1", "93"};
    for (int cell = 0; cell < 8; ++cell) {
        const ProcessResult set = Run({"set", File("j.ldtx"), "--device", "DT", "--cell", std::to_string(cell),
                                       "--radix", "hex", "--unit", "8", bytes[cell]});
        ASSERT_EQ(set.exitCode, 0) << set.err;
    }
    const std::vector<std::string> dump = {"dump", File("j.ldtx"), "--device", "DT", "--unit", "8", "--columns", "8"};

    std::vector<std::string> japanese = dump;
    japanese.insert(japanese.end(), {"--code-page", "932"});
    ProcessResult shown = Run(japanese);
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    // The last byte is a lead byte without its trail byte: '.'.
    EXPECT_NE(shown.out.find("\t日本語ｱ.\n"), std::string::npos) << shown.out;

    shown = Run(dump);
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out.find("日本語"), std::string::npos) << "Windows-1252 without a setting";

    // The user's setting chooses the page when the option does not.
    std::filesystem::create_directories(File("user/Varnholt"));
    std::ofstream(File("user/Varnholt/Memorix.conf")) << "[Config]\nCodePage=932\n";
    shown = Run(dump);
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("\t日本語ｱ.\n"), std::string::npos) << shown.out;

    std::vector<std::string> unknown = dump;
    unknown.insert(unknown.end(), {"--code-page", "437"});
    shown = Run(unknown);
    EXPECT_EQ(shown.exitCode, 2);
    EXPECT_NE(shown.err.find("unknown code page '437'"), std::string::npos) << shown.err;
}
