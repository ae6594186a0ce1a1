// plc-watch: the words of one range read again and again from the connected
// PLC, one line a cycle, through the same monitor session as the program.

#include "programs/cli/CliCommand.h"
#include "programs/cli/CliDocument.h"
#include "programs/cli/DeviceArg.h"
#include "programs/cli/DisplayOptions.h"
#include "programs/cli/NumberArgs.h"
#include "programs/cli/SelectRange.h"
#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "codec/ValueCodec.h"
#include "model/DeviceLists.h"
#include "model/PlcChoice.h"
#include "platform/ConsoleMessageBox.h"
#include "transfer/MonitorSession.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <ostream>
#include <thread>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int)
{
    g_interrupted = 1;
}

// SIGINT ends the watch after the cycle under way, for as long as this lives.
class InterruptScope {
public:
    InterruptScope()
    {
        g_interrupted = 0;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_previous);
    }
    ~InterruptScope() { sigaction(SIGINT, &m_previous, nullptr); }
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;

private:
    struct sigaction m_previous {};
};

// Failures in a row after which the watch gives up.
constexpr int kFailuresToStop = 3;

std::string LocalTimeWithMilliseconds(std::chrono::system_clock::time_point now)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[32], zone[8];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    std::strftime(zone, sizeof zone, "%z", &local);
    char text[48];
    std::snprintf(text, sizeof text, "%s.%03d%s", date, static_cast<int>(ms), zone);
    return text;
}

// The connected model's range named by --select; false with a message.
bool ResolveRange(CMemorixApp& app, int modelId, const std::string& select, transfer::MonitorRange& range,
                  std::string& error)
{
    CPlcDatabase db(app.Messages(), app.CataloguePath());
    CatalogueModel rows;
    const bool read = db.DBConnect(true) != 0 && ReadCatalogueModel(db, modelId, rows);
    db.DBConnect(false);
    if (!read) {
        error = "the connected PLC (model " + std::to_string(modelId) + ") is not in the catalogue";
        return false;
    }
    PlcChoice choice;
    choice.SetModel(rows.model, rows.devices);
    BuildDeviceLists(rows.model, rows.devices, app.Strings(), choice.m_aDeviceInfo, choice.m_aBankInfo);
    const auto arg = ParseDeviceArg(select, choice.m_aDeviceInfo, true, error);
    if (!arg)
        return false;
    for (stDeviceInfo& device : choice.m_aDeviceInfo)
        device.Selected = 0;
    for (_SBankInfo& bank : choice.m_aBankInfo)
        bank.Selected = 0;
    if (!SelectRange(*arg, choice.m_FLBankNum, choice.m_aDeviceInfo, choice.m_aBankInfo, error))
        return false;
    const bool banked = PlcChoice::IsFLBankDevice(arg->code, choice.m_FLBankNum);
    range.device = arg->code;
    if (banked) {
        // Without a bank named, the first bank.
        const auto bank = std::find_if(choice.m_aBankInfo.begin(), choice.m_aBankInfo.end(),
                                       [](const _SBankInfo& b) { return b.Selected != 0; });
        range.bank = bank->BankNo;
        range.start = bank->StartAddr;
        range.end = bank->EndAddr;
        range.wordsPerAddress = bank->DataSize;
    } else {
        for (const stDeviceInfo& device : choice.m_aDeviceInfo)
            if (device.Selected != 0) {
                range.start = device.StartAddr;
                range.end = device.EndAddr;
                range.wordsPerAddress = device.DataSize;
            }
    }
    if (range.end < range.start)
        std::swap(range.start, range.end);
    return true;
}

void PrintCycle(std::ostream& out, const std::vector<std::uint8_t>& bytes, const DisplaySetting& setting)
{
    out << LocalTimeWithMilliseconds(std::chrono::system_clock::now());
    const std::size_t cell = static_cast<std::size_t>(codec::GetCellBytes(setting.unit));
    for (std::size_t at = 0; at < bytes.size(); at += cell) {
        std::vector<std::uint8_t> value(cell, 0);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), std::min(cell, bytes.size() - at), value.begin());
        out << '\t' << codec::FormatCellValue(value, setting.radix, setting.unit);
    }
    out << std::endl;
}

// Sleeps ms, waking early on an interrupt.
void Pause(int ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!g_interrupted && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            std::chrono::milliseconds(20), until - std::chrono::steady_clock::now()));
}

int RunPlcWatch(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (!args.Positional().empty())
        return context.UsageError(command, "plc-watch takes no file");
    const auto connectionText = args.Value("connection");
    const auto connection = connectionText ? ParseIntArg(*connectionText) : std::nullopt;
    if (!connection || *connection < 0 || *connection > 65535)
        return context.UsageError(command, "--connection takes a connection number, 0 to 65535");
    const auto select = args.Value("select");
    if (!select)
        return context.UsageError(command, "--select names the range to watch");
    int interval = 500;
    if (const auto text = args.Value("interval")) {
        const auto n = ParseIntArg(*text);
        if (!n || *n < 0 || *n > 3600000)
            return context.UsageError(command, "--interval takes 0 to 3600000 milliseconds");
        interval = *n;
    }
    long long count = 0; // 0: until interrupted
    if (const auto text = args.Value("count")) {
        const auto n = ParseIntArg(*text);
        if (!n || *n < 1)
            return context.UsageError(command, "--count takes a number of cycles, 1 or more");
        count = *n;
    }
    DisplaySetting setting;
    int status = kExitOk;
    if (!ReadDisplayOptions(context, command, args, setting, status))
        return status;

    CliDocumentSession session(context);
    if (!session.Ok())
        return kExitFailure;
    InterruptScope interrupts;
    transfer::MonitorSession monitor(static_cast<std::uint16_t>(*connection), "Memorix", 0);
    std::optional<transfer::MonitorRange> range;
    int failures = 0;
    long long done = 0;
    while (!g_interrupted && (count == 0 || done < count)) {
        int result = monitor.Open();
        if (result == 0 && !range) {
            transfer::MonitorRange resolved;
            std::string error;
            if (!ResolveRange(session.App(), monitor.ModelId(), *select, resolved, error))
                return context.UsageError(command, "--select " + *select + ": " + error);
            range = resolved;
        }
        std::vector<std::uint8_t> bytes;
        if (result == 0)
            result = monitor.Read(*range, bytes);
        if (result == 0) {
            failures = 0;
            ++done;
            PrintCycle(context.out, bytes, setting);
        } else {
            const std::string text = monitor.ErrorText(result);
            if (++failures >= kFailuresToStop)
                return context.Failure(text);
            context.err << "memorix-cli: " << text << '\n';
        }
        if (count == 0 || done < count)
            Pause(interval);
    }
    return kExitOk;
}

} // namespace

std::vector<CliCommand> WatchCommands()
{
    return {
        {"plc-watch",
         "plc-watch --connection N --select DEVICE:START-END [--interval MS] [--count K] [--radix R] [--unit U]",
         "read a range of the PLC again and again, one tab-separated line a cycle (the time, then the values), "
         "until Ctrl+C or K cycles; exit 1 after three failures in a row",
         {{"connection"}, {"select"}, {"interval"}, {"count"}, {"radix"}, {"unit"}},
         RunPlcWatch},
    };
}
