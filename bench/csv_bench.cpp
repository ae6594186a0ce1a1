// CSV export and import of a block of 1 Mi words (2 MiB), hexadecimal and
// decimal 16-bit in 8 columns: to and from a file in the temporary folder (the
// export flushed to disk), and to and from memory (text work only).
// Bytes per second count the file's bytes, items per second its cells.

#include "grid/CsvExport.h"
#include "grid/CsvImport.h"
#include "platform/TempFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

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

} // namespace

BENCHMARK_CAPTURE(ExportFile, hex16, codec::RadixFromInt(3))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportFile, dec16, codec::RadixFromInt(2))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportFile, hex16, codec::RadixFromInt(3))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportFile, dec16, codec::RadixFromInt(2))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportMemory, hex16, codec::RadixFromInt(3))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportMemory, dec16, codec::RadixFromInt(2))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportMemory, hex16, codec::RadixFromInt(3))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportMemory, dec16, codec::RadixFromInt(2))->Unit(benchmark::kMillisecond);
