// CSV export and import of a block of 1 Mi words (2 MiB), hexadecimal and
// decimal 16-bit in 8 columns: to and from a file in the temporary folder (the
// export flushed to disk), and to and from memory (text work only).
// Bytes per second count the file's bytes, items per second its cells.
// The baseline of the hexadecimal export is od writing the same words as
// 16-bit hexadecimal, 8 to a line: into a file that is then flushed as well
// (argument 1), and into /dev/null against the export into memory (0).

#include "csv/CsvExport.h"
#include "csv/CsvImport.h"
#include "platform/TempFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kWords = 1 << 20;

const CEditData& TestBlock()
{
    static const CEditData block = [] {
        CEditData data;
        data.Id = 21;
        data.DataSize = 1;
        data.EndAddr = kWords - 1;
        std::mt19937 random(5);
        data.Data.resize(2 * kWords);
        for (std::uint8_t& byte : data.Data)
            byte = static_cast<std::uint8_t>(random());
        return data;
    }();
    return block;
}

struct TempFolder {
    std::string dir = platform::TempFolder() + "/memorix-bench-XXXXXX";
    TempFolder() { mkdtemp(dir.data()); }
    ~TempFolder() { std::filesystem::remove_all(dir); }
};

std::string CsvText(const GridLayout& layout)
{
    std::string text;
    WriteCsv(layout, ',', [&text](std::string_view bytes) {
        text += bytes;
        return true;
    });
    return text;
}

void Report(benchmark::State& state, const GridLayout& layout, std::size_t fileBytes)
{
    const auto cells = static_cast<std::int64_t>(layout.Rows()) * layout.Columns();
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fileBytes));
    state.SetItemsProcessed(state.iterations() * cells);
}

void ExportFile(benchmark::State& state, codec::Radix radix)
{
    const GridLayout layout(TestBlock(), {radix, codec::UNIT_16BIT, 8});
    TempFolder folder;
    const std::string path = folder.dir + "/block.csv";
    for (auto _ : state) {
        if (!ExportCsv(layout, path, 1))
            state.SkipWithError("export failed");
    }
    Report(state, layout, std::filesystem::file_size(path));
}

void ImportFile(benchmark::State& state, codec::Radix radix)
{
    const GridLayout layout(TestBlock(), {radix, codec::UNIT_16BIT, 8});
    TempFolder folder;
    const std::string path = folder.dir + "/block.csv";
    if (!ExportCsv(layout, path, 1))
        state.SkipWithError("export failed");
    for (auto _ : state) {
        auto bytes = ImportCsv(layout, path);
        if (!bytes || *bytes != TestBlock().Data)
            state.SkipWithError("import did not give the block back");
        benchmark::DoNotOptimize(bytes);
    }
    Report(state, layout, std::filesystem::file_size(path));
}

void ExportMemory(benchmark::State& state, codec::Radix radix)
{
    const GridLayout layout(TestBlock(), {radix, codec::UNIT_16BIT, 8});
    std::size_t size = 0;
    for (auto _ : state) {
        std::string text = CsvText(layout);
        size = text.size();
        benchmark::DoNotOptimize(text);
    }
    Report(state, layout, size);
}

void ImportMemory(benchmark::State& state, codec::Radix radix)
{
    const GridLayout layout(TestBlock(), {radix, codec::UNIT_16BIT, 8});
    const std::string text = CsvText(layout);
    for (auto _ : state) {
        std::size_t pos = 0;
        auto bytes = ReadCsv(layout, ',', [&](std::uint8_t* buffer, std::size_t size) -> std::ptrdiff_t {
            const std::size_t count = std::min(size, text.size() - pos);
            std::copy_n(text.data() + pos, count, buffer);
            pos += count;
            return static_cast<std::ptrdiff_t>(count);
        });
        benchmark::DoNotOptimize(bytes);
    }
    Report(state, layout, text.size());
}

void OdHex16(benchmark::State& state)
{
    TempFolder folder;
    const std::string raw = folder.dir + "/block.bin";
    const bool toFile = state.range(0) != 0;
    const std::string out = toFile ? folder.dir + "/block.od" : "/dev/null";
    {
        const int fd = ::open(raw.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        benchmark::DoNotOptimize(::write(fd, TestBlock().Data.data(), TestBlock().Data.size()));
        ::close(fd);
    }
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        char* argv[] = {const_cast<char*>("od"),
                        const_cast<char*>("-An"),
                        const_cast<char*>("-v"),
                        const_cast<char*>("-tx2"),
                        const_cast<char*>("-w16"),
                        const_cast<char*>(raw.c_str()),
                        nullptr};
        pid_t pid = 0;
        int status = 0;
        if (posix_spawnp(&pid, "od", &actions, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid
            || status != 0)
            state.SkipWithError("od failed");
        posix_spawn_file_actions_destroy(&actions);
        if (toFile) {
            const int fd = ::open(out.c_str(), O_RDONLY | O_CLOEXEC);
            ::fsync(fd);
            ::close(fd);
        }
    }
}

} // namespace

BENCHMARK(OdHex16)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ExportFile, hex16, codec::RadixFromInt(3))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ExportFile, dec16, codec::RadixFromInt(2))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportFile, hex16, codec::RadixFromInt(3))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportFile, dec16, codec::RadixFromInt(2))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportMemory, hex16, codec::RadixFromInt(3))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ExportMemory, dec16, codec::RadixFromInt(2))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportMemory, hex16, codec::RadixFromInt(3))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportMemory, dec16, codec::RadixFromInt(2))->Unit(benchmark::kMillisecond);
