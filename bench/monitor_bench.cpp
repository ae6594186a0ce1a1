// One monitor cycle of 1,000 words (DT 0-999 of CA-500L) from memorix-plcsim
// over loopback TCP, through the program's monitor session, against a plain
// libmodbus read of the same registers on a connection that stays open.

#include "model/DeviceModel.h"
#include "transfer/MonitorSession.h"

#include "bench/BenchSimulator.h"
#include "bench/PlainModbus.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr std::int32_t kWords = 1000;
constexpr std::uint16_t kDt = 9;

// The simulator for the whole run, serving CA-500L on a free port, its memory moving.
struct Simulator {
    static BenchSimulator& Get()
    {
        static BenchSimulator simulator({"--animate"}, 0);
        return simulator;
    }
};

void MonitorCycleOf1000Words(benchmark::State& state)
{
    if (Simulator::Get().Port() <= 0)
        return state.SkipWithError("the simulator did not start");
    transfer::MonitorSession session(0, "bench", 0);
    transfer::MonitorRange range;
    range.device = DeviceCode::DT;
    range.start = 0;
    range.end = kWords - 1;
    std::vector<std::uint8_t> bytes;
    if (session.Read(range, bytes) != 0)
        return state.SkipWithError("the monitor session cannot read");
    for (auto _ : state)
        if (session.Read(range, bytes) != 0)
            return state.SkipWithError("a cycle failed");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWords);
}

void PlainLibmodbusReadOf1000Words(benchmark::State& state)
{
    if (Simulator::Get().Port() <= 0)
        return state.SkipWithError("the simulator did not start");
    PlainModbus plain(Simulator::Get().Port());
    if (!plain.Connected())
        return state.SkipWithError("cannot connect");
    plain.SelectWindow(kDt, 0);
    std::vector<std::uint16_t> words(kWords);
    for (auto _ : state)
        if (!plain.ReadRegisters(0, kWords, words.data()))
            return state.SkipWithError("read failed");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kWords);
}

} // namespace

BENCHMARK(MonitorCycleOf1000Words)->Unit(benchmark::kMicrosecond)->MinTime(1.0)->UseRealTime();
BENCHMARK(PlainLibmodbusReadOf1000Words)->Unit(benchmark::kMicrosecond)->MinTime(1.0)->UseRealTime();
