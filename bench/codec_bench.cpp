// Throughput of the value codec per radix and unit, in cells per second:
// formatting (grid drawing, clipboard copy, CSV export) and ParseCellText
// (paste, CSV import).

#include "codec/ValueCodec.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

struct Layout {
    const char* name;
    codec::Radix radix;
    codec::Unit unit;
};

constexpr Layout kLayouts[] = {
    {"bin8", codec::RADIX_BIN, codec::UNIT_8BIT},         {"bin16", codec::RADIX_BIN, codec::UNIT_16BIT},
    {"bin64", codec::RADIX_BIN, codec::UNIT_64BIT},       {"oct16", codec::RADIX_OCT, codec::UNIT_16BIT},
    {"oct64", codec::RADIX_OCT, codec::UNIT_64BIT},       {"dec8", codec::RADIX_DEC, codec::UNIT_8BIT},
    {"dec16", codec::RADIX_DEC, codec::UNIT_16BIT},       {"dec32", codec::RADIX_DEC, codec::UNIT_32BIT},
    {"dec64", codec::RADIX_DEC, codec::UNIT_64BIT},       {"hex8", codec::RADIX_HEX, codec::UNIT_8BIT},
    {"hex16", codec::RADIX_HEX, codec::UNIT_16BIT},       {"hex32", codec::RADIX_HEX, codec::UNIT_32BIT},
    {"hex64", codec::RADIX_HEX, codec::UNIT_64BIT},       {"float32", codec::RADIX_FLOAT, codec::UNIT_32BIT},
    {"double64", codec::RADIX_DOUBLE, codec::UNIT_64BIT},
};

constexpr int kCells = 4096;

// Cell bytes of kCells cells with values of every magnitude (reals: finite
// values of every exponent).
std::vector<std::uint8_t> MakeCells(const Layout& layout)
{
    const int size = codec::GetCellBytes(layout.unit);
    std::mt19937_64 random(42);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(kCells * size));
    for (int i = 0; i < kCells; ++i) {
        std::uint64_t value = random() >> (random() % 64);
        if (layout.radix == codec::RADIX_FLOAT)
            value = std::bit_cast<std::uint32_t>(static_cast<float>(
                std::ldexp(1.0 + (random() % 1000) / 1000.0, static_cast<int>(random() % 250) - 125)));
        else if (layout.radix == codec::RADIX_DOUBLE)
            value = std::bit_cast<std::uint64_t>(
                std::ldexp(1.0 + (random() % 1000) / 1000.0, static_cast<int>(random() % 2000) - 1000));
        for (int b = 0; b < size; ++b)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * b)));
    }
    return bytes;
}

void FormatCells(benchmark::State& state, Layout layout)
{
    const std::vector<std::uint8_t> bytes = MakeCells(layout);
    const std::span<const std::uint8_t> all(bytes);
    const auto size = static_cast<std::size_t>(codec::GetCellBytes(layout.unit));
    for (auto _ : state) {
        for (std::size_t offset = 0; offset < bytes.size(); offset += size)
            benchmark::DoNotOptimize(codec::FormatCellValue(all.subspan(offset, size), layout.radix, layout.unit));
    }
    state.SetItemsProcessed(state.iterations() * kCells);
}

void ParseCells(benchmark::State& state, Layout layout)
{
    const std::vector<std::uint8_t> bytes = MakeCells(layout);
    const std::span<const std::uint8_t> all(bytes);
    const auto size = static_cast<std::size_t>(codec::GetCellBytes(layout.unit));
    std::vector<std::string> texts;
    for (std::size_t offset = 0; offset < bytes.size(); offset += size)
        texts.push_back(codec::FormatCellValue(all.subspan(offset, size), layout.radix, layout.unit));
    std::vector<std::uint8_t> cell;
    for (auto _ : state) {
        for (const std::string& text : texts) {
            codec::ParseCellText(text, layout.radix, layout.unit, cell);
            benchmark::DoNotOptimize(cell.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kCells);
}

const bool registered = [] {
    for (const Layout& layout : kLayouts) {
        benchmark::RegisterBenchmark((std::string("BM_FormatCellValue/") + layout.name).c_str(), FormatCells, layout);
        benchmark::RegisterBenchmark((std::string("BM_ParseCellText/") + layout.name).c_str(), ParseCells, layout);
    }
    return true;
}();

} // namespace
