// Data file speed: the section CRC against zlib's CRC-32 on the same bytes,
// and saving and opening an 8 MiB document against writing and reading the
// same bytes raw. The save replaces the file safely (temporary file, fsync,
// rename), so the raw write is measured with and without its own fsync.

#include "app/CMemorixApp.h"
#include "catalogue/CPlcDatabase.h"
#include "document/ReadDataFile.h"
#include "files/Crc16.h"
#include "files/DataFiles.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/MemorySettingsStore.h"
#include "platform/ProgramFolder.h"
#include "platform/TempFile.h"
#include "resources/IStringTable.h"

#include <benchmark/benchmark.h>
#ifdef MEMORIX_HAVE_ZLIB
#include <zlib.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kCrcBytes = 1 << 20;
constexpr std::int32_t kDocumentWords = 4 << 20;

std::vector<std::uint8_t> RandomBytes(std::size_t size)
{
    std::mt19937 random(1);
    std::vector<std::uint8_t> bytes(size);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

void BM_Crc16(benchmark::State& state)
{
    const auto bytes = RandomBytes(kCrcBytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(crc16::Value(bytes.data(), bytes.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kCrcBytes);
}
BENCHMARK(BM_Crc16);

void BM_Crc16Bitwise(benchmark::State& state)
{
    const auto bytes = RandomBytes(kCrcBytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(crc16::ExtendBitwise(crc16::kInit, bytes.data(), bytes.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kCrcBytes);
}
BENCHMARK(BM_Crc16Bitwise);

#ifdef MEMORIX_HAVE_ZLIB
void BM_ZlibCrc32(benchmark::State& state)
{
    const auto bytes = RandomBytes(kCrcBytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kCrcBytes);
}
BENCHMARK(BM_ZlibCrc32);
#endif

class NoStrings final : public IStringTable {
public:
    std::string LoadString(int) const override { return {}; }
};

// An application with a 16-bit model chosen and a document of four 1 Mi-word blocks.
struct Document {
    platform::ConsoleMessageBox messages{nullptr};
    NoStrings strings;
    platform::MemorySettingsStore settings;
    CMemorixApp app{AppServices{messages, strings, settings, platform::ProgramFolder() + "/Memorix.db"}};
    EditDataArray blocks;
    std::string path = platform::TempFolder() + "/memorix-bench-" + std::to_string(getpid()) + ".ldtx";

    Document()
    {
        app.Plc().m_nPLCSeriesNo = 2;
        app.Plc().m_nPLCId = 34;
        const auto bytes = RandomBytes(static_cast<std::size_t>(kDocumentWords) * 2);
        const std::int32_t words = kDocumentWords / 4;
        for (std::int16_t bank = 0; bank < 4; ++bank) {
            CEditData block{DeviceCode::FL, 0, words - 1, 1, {}, bank};
            const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(bank) * words * 2;
            block.Data.assign(from, from + words * 2);
            blocks.push_back(std::move(block));
        }
    }
    ~Document() { std::remove(path.c_str()); }
};

void WriteRaw(const std::string& path, const EditDataArray& blocks, bool sync)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    for (const CEditData& block : blocks)
        benchmark::DoNotOptimize(::write(fd, block.Data.data(), block.Data.size()));
    if (sync)
        ::fsync(fd);
    ::close(fd);
}

void BM_SaveLdtx(benchmark::State& state)
{
    Document doc;
    for (auto _ : state) {
        if (WriteLdtx(doc.path, {2, 34}, doc.blocks) != FileError::None)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kDocumentWords * 2);
}
BENCHMARK(BM_SaveLdtx)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteRawSynced(benchmark::State& state)
{
    Document doc;
    for (auto _ : state)
        WriteRaw(doc.path, doc.blocks, true);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kDocumentWords * 2);
}
BENCHMARK(BM_WriteRawSynced)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteRaw(benchmark::State& state)
{
    Document doc;
    for (auto _ : state)
        WriteRaw(doc.path, doc.blocks, false);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kDocumentWords * 2);
}
BENCHMARK(BM_WriteRaw)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenLdtx(benchmark::State& state)
{
    Document doc;
    if (WriteLdtx(doc.path, {2, 34}, doc.blocks) != FileError::None)
        state.SkipWithError("save failed");
    EditDataArray read;
    for (auto _ : state) {
        CPlcDatabase db(doc.messages, doc.app.CataloguePath());
        if (!ReadLdtxFile(doc.app.Context(), db, doc.path, read))
            state.SkipWithError("open failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kDocumentWords * 2);
}
BENCHMARK(BM_OpenLdtx)->Unit(benchmark::kMillisecond)->UseRealTime();

// What an open costs besides the data: header, catalogue look-ups, section table.
void BM_OpenEmptyLdtx(benchmark::State& state)
{
    Document doc;
    if (WriteLdtx(doc.path, {2, 34}, {}) != FileError::None)
        state.SkipWithError("save failed");
    EditDataArray read;
    for (auto _ : state) {
        CPlcDatabase db(doc.messages, doc.app.CataloguePath());
        if (!ReadLdtxFile(doc.app.Context(), db, doc.path, read))
            state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenEmptyLdtx)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadRaw(benchmark::State& state)
{
    Document doc;
    WriteRaw(doc.path, doc.blocks, false);
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kDocumentWords) * 2); // a reader needs new memory too
        const int fd = ::open(doc.path.c_str(), O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(::read(fd, bytes.data(), bytes.size()));
        ::close(fd);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kDocumentWords * 2);
}
BENCHMARK(BM_ReadRaw)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline of an open: the file's bytes read raw and their CRC-16 taken,
// in one pass of cache-sized pieces.
void BM_ReadRawCrc(benchmark::State& state)
{
    Document doc;
    if (WriteLdtx(doc.path, {2, 34}, doc.blocks) != FileError::None)
        state.SkipWithError("save failed");
    constexpr std::size_t kPiece = 256 * 1024;
    for (auto _ : state) {
        const int fd = ::open(doc.path.c_str(), O_RDONLY | O_CLOEXEC);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)));
        ::lseek(fd, 0, SEEK_SET);
        std::uint16_t crc = crc16::kInit;
        for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
            const std::size_t piece = std::min(kPiece, bytes.size() - at);
            benchmark::DoNotOptimize(::read(fd, bytes.data() + at, piece));
            crc = crc16::Extend(crc, bytes.data() + at, piece);
        }
        ::close(fd);
        benchmark::DoNotOptimize(crc);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kDocumentWords * 2);
}
BENCHMARK(BM_ReadRawCrc)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
