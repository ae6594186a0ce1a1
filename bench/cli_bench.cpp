// memorix-cli as a user runs it, whole processes: diff of two 4 Mi-word files
// with 1,000 differing words, against cmp -l on the same two files. Both write
// their lines into a file, as a user keeps them: cmp answers as cmp -s does
// when its output is /dev/null, stopping at the first difference.

#include "files/DataFiles.h"
#include "platform/ProgramFolder.h"
#include "platform/TempFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr std::int32_t kWords = 4 << 20;
constexpr int kDifferences = 1000;

// The file the programs write their lines into, made empty by each run.
const std::string& OutputPath()
{
    static const std::string path =
        platform::TempFolder() + "/memorix-cli-bench-out-" + std::to_string(getpid()) + ".txt";
    return path;
}

// Two files of four 1 Mi-word FL banks; the second with kDifferences words
// changed, spread over the banks.
struct Files {
    std::string a = platform::TempFolder() + "/memorix-cli-bench-a-" + std::to_string(getpid()) + ".ldtx";
    std::string b = platform::TempFolder() + "/memorix-cli-bench-b-" + std::to_string(getpid()) + ".ldtx";
    bool ok = false;

    Files()
    {
        std::mt19937 random(1);
        EditDataArray blocks;
        const std::int32_t words = kWords / 4;
        for (std::int16_t bank = 0; bank < 4; ++bank) {
            CEditData block{DeviceCode::FL, 0, words - 1, 1, {}, bank};
            block.Data.resize(static_cast<std::size_t>(words) * 2);
            for (auto& byte : block.Data)
                byte = static_cast<std::uint8_t>(random());
            blocks.push_back(std::move(block));
        }
        ok = WriteLdtx(a, {2, 34}, blocks) == FileError::None;
        for (int k = 0; k < kDifferences; ++k) {
            CEditData& block = blocks[static_cast<std::size_t>(k % 4)];
            block.Data[static_cast<std::size_t>(k) * 2003 % block.Data.size() & ~std::size_t{1}] ^= 0xFF;
        }
        ok = ok && WriteLdtx(b, {2, 34}, blocks) == FileError::None;
    }
    ~Files()
    {
        if (std::getenv("MEMORIX_BENCH_KEEP_FILES"))
            return;
        std::remove(a.c_str());
        std::remove(b.c_str());
        std::remove(OutputPath().c_str());
    }
};

const Files& TheFiles()
{
    static const Files files;
    return files;
}

// The lines the last run wrote.
long OutputLines()
{
    long lines = 0;
    if (std::FILE* file = std::fopen(OutputPath().c_str(), "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;)
            lines += c == '\n';
        std::fclose(file);
    }
    return lines;
}

// Runs a program with its output into OutputPath() and its errors thrown
// away; its exit status.
int Run(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, OutputPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_DiffProcess(benchmark::State& state)
{
    const Files& files = TheFiles();
    const std::string cli = platform::ProgramFolder() + "/memorix-cli";
    for (auto _ : state)
        if (!files.ok || Run({cli, "diff", files.a, files.b}) != 1)
            return state.SkipWithError("memorix-cli diff did not find the differences");
    if (OutputLines() != kDifferences)
        state.SkipWithError("memorix-cli diff did not list every difference");
}
BENCHMARK(BM_DiffProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CmpProcess(benchmark::State& state)
{
    const Files& files = TheFiles();
    for (auto _ : state)
        if (!files.ok || Run({"cmp", "-l", files.a, files.b}) != 1)
            return state.SkipWithError("cmp found no difference");
    if (OutputLines() < kDifferences)
        state.SkipWithError("cmp -l did not list every difference");
}
BENCHMARK(BM_CmpProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
