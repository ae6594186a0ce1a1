// Reading the whole DT of CA-500L (524,288 words) from memorix-plcsim over
// loopback TCP, as the program reads it (QelTesktocol7 7 with one descriptor
// per address, requests in flight on the profile's default connections), and
// with a plain sequential libmodbus loop of window selects and 125-register
// reads; with answers delayed by 5 ms, as over a slow link, and without.
// A delayed sequential read takes about 20 s, so each delayed case runs once.

#include "contract/CommExports.h"

#include "bench/BenchSimulator.h"
#include "bench/PlainModbus.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kDtWords = 524288;
constexpr std::uint32_t kDt = 9;

// One simulator of CA-500L per answer delay, kept for the whole run, with
// connection profile number delay pointing at it.
struct Simulator {
    static const BenchSimulator& WithDelay(int delayMs)
    {
        static std::map<int, std::unique_ptr<BenchSimulator>> running;
        auto& slot = running[delayMs];
        if (!slot)
            slot =
                std::make_unique<BenchSimulator>(std::vector<std::string>{"--delay", std::to_string(delayMs)}, delayMs);
        return *slot;
    }
};

void CountProgress(void* context, std::uint32_t, std::uint32_t)
{
    ++*static_cast<long*>(context);
}

void ReadDtThroughLibrary(benchmark::State& state)
{
    const int delay = static_cast<int>(state.range(0));
    if (Simulator::WithDelay(delay).Port() <= 0)
        return state.SkipWithError("the simulator did not start");
    std::uint8_t block[comm::kSessionBlockSize] = {};
    char name[comm::kAppNameSize] = "bench";
    QelTeskUserIF_41(block, name);
    QelTeskUserIF_8(nullptr, block);
    long reports = 0;
    QelTeskMsg_SetProgress(block, CountProgress, &reports);
    std::vector<comm::_dev2_7> list(kDtWords);
    for (std::uint32_t i = 0; i < kDtWords; ++i) {
        std::memset(&list[i], 0, sizeof list[i]);
        list[i].device = kDt;
        list[i].address = i;
        list[i].bytesPerAddress = 2;
    }
    std::vector<std::uint8_t> buffer(kDtWords * 2);
    // Connected and identified before the clock runs, as the program is by then.
    std::uint8_t type[48] = {};
    if (QelTesktocol7_1(block, static_cast<std::uint16_t>(delay), type, 0) != 0)
        return state.SkipWithError("identification failed");
    for (auto _ : state)
        if (QelTesktocol7_7(block, static_cast<std::uint16_t>(delay), 1, static_cast<int>(kDtWords), list.data(),
                            buffer.data())
            != 0)
            return state.SkipWithError("QelTesktocol7 7 failed");
    QelTeskUserIF_14(block);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kDtWords);
}

void ReadDtWithPlainLibmodbus(benchmark::State& state)
{
    const int delay = static_cast<int>(state.range(0));
    if (Simulator::WithDelay(delay).Port() <= 0)
        return state.SkipWithError("the simulator did not start");
    PlainModbus plain(Simulator::WithDelay(delay).Port());
    if (!plain.Connected())
        return state.SkipWithError("cannot connect");
    std::vector<std::uint16_t> words(kDtWords);
    for (auto _ : state)
        if (!plain.ReadDevice(kDt, kDtWords, words.data()))
            return state.SkipWithError("read failed");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kDtWords);
}

} // namespace

BENCHMARK(ReadDtThroughLibrary)->Arg(5)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ReadDtWithPlainLibmodbus)->Arg(5)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ReadDtThroughLibrary)->Arg(0)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ReadDtWithPlainLibmodbus)->Arg(0)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
