// Find against memmem over the same bytes: a 16-bit value at the end of a
// 4 Mi-word block, and a 32-bit decimal value at the end of a full CA-500L
// document (every device with its whole range).

#include "grid/GridFind.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

namespace {

CEditData Filled(std::uint8_t code, std::int32_t words, int perAddress = 1)
{
    std::mt19937 random(static_cast<unsigned>(code));
    CEditData block{code, 0, words / perAddress - 1, perAddress, {}, 0};
    block.Data.resize(static_cast<std::size_t>(words) * 2);
    // Values that never hold the pattern's first byte, so that every match
    // candidate is a real one: the worst case for the search is the end.
    for (auto& byte : block.Data)
        byte = static_cast<std::uint8_t>(random() % 0x40);
    return block;
}

void Place(CEditData& block, const std::vector<std::uint8_t>& value)
{
    std::copy(value.begin(), value.end(), block.Data.end() - static_cast<std::ptrdiff_t>(value.size()));
}

const EditDataArray& LargeBlock()
{
    static const EditDataArray blocks = [] {
        EditDataArray made{Filled(DeviceCode::DT, 4 << 20)};
        Place(made[0], ValuePattern("ABCD", codec::RADIX_HEX, codec::UNIT_16BIT)->bytes);
        return made;
    }();
    return blocks;
}

const EditDataArray& FullDocument()
{
    static const EditDataArray blocks = [] {
        EditDataArray made{
            Filled(DeviceCode::WR, 2048),    Filled(DeviceCode::WL, 1024),    Filled(DeviceCode::DT, 524288),
            Filled(DeviceCode::LD, 32768),   Filled(DeviceCode::FL, 262144),  Filled(DeviceCode::TS, 8192, 2),
            Filled(DeviceCode::TE, 8192, 2), Filled(DeviceCode::CS, 8192, 2), Filled(DeviceCode::CE, 8192, 2)};
        Place(made.back(), ValuePattern("-123456789", codec::RADIX_DEC, codec::UNIT_32BIT)->bytes);
        return made;
    }();
    return blocks;
}

void BM_FindValue16AtEnd(benchmark::State& state)
{
    const EditDataArray& blocks = LargeBlock();
    const FindPattern pattern = *ValuePattern("ABCD", codec::RADIX_HEX, codec::UNIT_16BIT);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindNext(blocks, pattern, {0, blocks[0].Data.size()}, true, false));
}
BENCHMARK(BM_FindValue16AtEnd)->Unit(benchmark::kMicrosecond);

void BM_MemmemLargeBlock(benchmark::State& state)
{
    const EditDataArray& blocks = LargeBlock();
    const FindPattern pattern = *ValuePattern("ABCD", codec::RADIX_HEX, codec::UNIT_16BIT);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            memmem(blocks[0].Data.data(), blocks[0].Data.size(), pattern.bytes.data(), pattern.bytes.size()));
}
BENCHMARK(BM_MemmemLargeBlock)->Unit(benchmark::kMicrosecond);

void BM_FindDecimal32EveryBlock(benchmark::State& state)
{
    const EditDataArray& blocks = FullDocument();
    const FindPattern pattern = *ValuePattern("-123456789", codec::RADIX_DEC, codec::UNIT_32BIT);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindNext(blocks, pattern, {0, blocks[0].Data.size()}, true, true));
}
BENCHMARK(BM_FindDecimal32EveryBlock)->Unit(benchmark::kMicrosecond);

void BM_MemmemFullDocument(benchmark::State& state)
{
    const EditDataArray& blocks = FullDocument();
    const FindPattern pattern = *ValuePattern("-123456789", codec::RADIX_DEC, codec::UNIT_32BIT);
    for (auto _ : state)
        for (const CEditData& block : blocks)
            benchmark::DoNotOptimize(
                memmem(block.Data.data(), block.Data.size(), pattern.bytes.data(), pattern.bytes.size()));
}
BENCHMARK(BM_MemmemFullDocument)->Unit(benchmark::kMicrosecond);

} // namespace
