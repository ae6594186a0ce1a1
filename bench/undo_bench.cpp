// The cost of one undo step on a 2 MiB block: recording the snapshot after a
// change (the whole block written to a temporary file) and restoring it.

#include "undo/CUndoMap.h"
#include "model/IBlockStore.h"
#include "undo/IShownBlock.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBlockBytes = 2u << 20;

class BenchDoc final : public IBlockStore {
public:
    BenchDoc()
    {
        m_block = {DeviceCode::DT,
                   0,
                   static_cast<std::int32_t>(kBlockBytes / 2) - 1,
                   1,
                   std::vector<std::uint8_t>(kBlockBytes, 0x5A),
                   0};
    }
    const CEditData* FindBlock(std::uint8_t code, std::int16_t bank) const override
    {
        return code == m_block.Id && bank == m_block.BankNo ? &m_block : nullptr;
    }
    void WriteBlockBytes(std::int32_t offset, const std::uint8_t* bytes, std::int32_t count, std::uint8_t code,
                         std::int16_t bank) override
    {
        if (!FindBlock(code, bank) || offset < 0 || static_cast<std::size_t>(offset) >= m_block.Data.size())
            return;
        const std::size_t n =
            std::min(static_cast<std::size_t>(count), m_block.Data.size() - static_cast<std::size_t>(offset));
        std::copy(bytes, bytes + n, m_block.Data.begin() + offset);
    }

private:
    CEditData m_block;
};

struct BenchShown final : IShownBlock {
    std::uint8_t GetSelectedDeviceCode() const override { return DeviceCode::DT; }
    std::uint16_t GetSelectedBank() const override { return 0; }
};

// Snapshot files go to a folder of the benchmark's own, removed afterwards.
class TempFolderScope {
public:
    TempFolderScope()
    {
        if (const char* previous = std::getenv("TMPDIR"))
            m_previous = previous;
        std::string pattern = (std::filesystem::temp_directory_path() / "memorix-undo-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
        if (!m_path.empty())
            setenv("TMPDIR", m_path.c_str(), 1);
    }
    ~TempFolderScope()
    {
        if (m_path.empty())
            return;
        std::filesystem::remove_all(m_path);
        if (m_previous)
            setenv("TMPDIR", m_previous->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

private:
    std::string m_path;
    std::optional<std::string> m_previous;
};

void BM_RecordChange2MiB(benchmark::State& state)
{
    TempFolderScope folder;
    BenchDoc doc;
    BenchShown shown;
    CUndoMap undo;
    for (auto _ : state) {
        if (!undo.RecordChange(doc, shown))
            state.SkipWithError("snapshot failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlockBytes));
}
BENCHMARK(BM_RecordChange2MiB)->Unit(benchmark::kMillisecond);

void BM_Undo2MiB(benchmark::State& state)
{
    TempFolderScope folder;
    BenchDoc doc;
    BenchShown shown;
    CUndoMap undo;
    undo.RecordChange(doc, shown);
    undo.RecordChange(doc, shown);
    for (auto _ : state) {
        if (!undo.Undo(doc, shown))
            state.SkipWithError("undo failed");
        state.PauseTiming();
        undo.Redo(doc, shown);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlockBytes));
}
BENCHMARK(BM_Undo2MiB)->Unit(benchmark::kMillisecond);

} // namespace
