// Reading 64 Ki words of DT from memorix-plcsim over loopback TCP: through
// QelTeskMsg 91, through QelTesktocol7 7, and with a plain libmodbus loop
// over the same registers (window select and 125-register reads).

#include "contract/CommExports.h"
#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "transfer/CTesknetComm.h"
#include "model/DeviceLists.h"
#include "platform/ConsoleMessageBox.h"
#include "resources/IStringTable.h"

#include "bench/BenchSimulator.h"
#include "bench/PlainModbus.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kWords = 64 * 1024;
constexpr std::uint32_t kDt = 9;

// The simulator for the whole run, serving CA-500L on a free port.
struct Simulator {
    static BenchSimulator& Get()
    {
        static BenchSimulator simulator({}, 0);
        return simulator;
    }
};

struct OnlineBlock {
    std::uint8_t block[comm::kSessionBlockSize] = {};
    OnlineBlock()
    {
        char name[comm::kAppNameSize] = "bench";
        QelTeskUserIF_41(block, name);
        QelTeskUserIF_8(nullptr, block);
    }
    ~OnlineBlock() { QelTeskUserIF_14(block); }
};

void ReadThroughMsg91(benchmark::State& state)
{
    if (Simulator::Get().Port() <= 0)
        return state.SkipWithError("the simulator did not start");
    OnlineBlock online;
    std::vector<std::uint8_t> buffer(kWords * 2);
    for (auto _ : state)
        if (QelTeskMsg_91(online.block, 0, kDt, 0, 0xFFFF, kWords, buffer.data()) != 0)
            return state.SkipWithError("QelTeskMsg 91 failed");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWords);
}

void ReadThroughTocol7(benchmark::State& state)
{
    if (Simulator::Get().Port() <= 0)
        return state.SkipWithError("the simulator did not start");
    OnlineBlock online;
    std::vector<comm::_dev2_7> list(kWords);
    for (std::uint32_t i = 0; i < kWords; ++i) {
        std::memset(&list[i], 0, sizeof list[i]);
        list[i].device = kDt;
        list[i].address = i;
        list[i].bytesPerAddress = 2;
    }
    std::vector<std::uint8_t> buffer(kWords * 2);
    for (auto _ : state)
        if (QelTesktocol7_7(online.block, 0, 1, static_cast<int>(kWords), list.data(), buffer.data()) != 0)
            return state.SkipWithError("QelTesktocol7 7 failed");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWords);
}

void ReadWithPlainLibmodbus(benchmark::State& state)
{
    if (Simulator::Get().Port() <= 0)
        return state.SkipWithError("the simulator did not start");
    PlainModbus plain(Simulator::Get().Port());
    if (!plain.Connected())
        return state.SkipWithError("cannot connect");
    std::vector<std::uint16_t> words(kWords);
    for (auto _ : state)
        if (!plain.ReadDevice(kDt, kWords, words.data()))
            return state.SkipWithError("read failed");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWords);
}

class NoStrings final : public IStringTable {
public:
    std::string LoadString(int) const override { return {}; }
};

// The program's transfer session reading DT 0-65535 of CA-500L: each
// iteration is a whole Upload (going online, identifying the unit, reading,
// going offline). The fixed settling wait before a transfer is left out, as
// it is no part of the reading; ReadThroughTransferSessionWithSettle keeps it.
void RunTransferSession(benchmark::State& state, bool settle)
{
    if (Simulator::Get().Port() <= 0)
        return state.SkipWithError("the simulator did not start");
    const char* bin = std::getenv("MEMORIX_BIN_DIR");
    const std::string catalogue =
        bin ? std::string(bin) + "/Memorix.db"
            : (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "Memorix.db").string();
    platform::ConsoleMessageBox messages(nullptr);
    NoStrings strings;
    PlcChoice plc;
    CPlcDatabase db(messages, catalogue);
    CatalogueModel model;
    if (db.DBConnect(true) != 1 || !ReadCatalogueModel(db, 1794, model))
        return state.SkipWithError("the catalogue cannot be read");
    db.DBConnect(false);
    plc.SetModel(model.model, model.devices);
    BuildDeviceLists(model.model, model.devices, strings, plc.m_aDeviceInfo, plc.m_aBankInfo);
    for (stDeviceInfo& device : plc.m_aDeviceInfo) {
        device.Selected = device.Id == 21 ? 1 : 0;
        device.StartAddr = 0;
        device.EndAddr = static_cast<std::int32_t>(kWords) - 1;
    }
    CTesknetComm comm(messages, strings, catalogue, plc, 0);
    if (!settle)
        comm.SetSleep([](std::uint32_t) {});
    for (auto _ : state) {
        EditDataArray blocks;
        if (comm.Upload(blocks) != TransferOutcome::Done || blocks.size() != 1)
            return state.SkipWithError("Upload failed");
        benchmark::DoNotOptimize(blocks.front().Data.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWords);
}

void ReadThroughTransferSession(benchmark::State& state)
{
    RunTransferSession(state, false);
}

void ReadThroughTransferSessionWithSettle(benchmark::State& state)
{
    RunTransferSession(state, true);
}

} // namespace

BENCHMARK(ReadThroughTransferSession)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(ReadThroughTransferSessionWithSettle)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(ReadThroughMsg91)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(ReadThroughTocol7)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(ReadWithPlainLibmodbus)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
