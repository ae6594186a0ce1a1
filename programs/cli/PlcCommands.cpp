// plc-read, plc-write and plc-info: the transfer session without windows.
// The confirmation before a transfer is the command itself; every other
// question is answered No unless --yes.

#include "programs/cli/CliCommand.h"
#include "programs/cli/CliDocument.h"
#include "programs/cli/CompareOutput.h"
#include "programs/cli/InterruptWatch.h"
#include "programs/cli/NumberArgs.h"
#include "programs/cli/SelectRange.h"
#include "transfer/CTesknetComm.h"
#include "transfer/ICommHost.h"
#include "model/DeviceLists.h"
#include "platform/ConsoleMessageBox.h"

#include <chrono>
#include <iostream>
#include <ostream>

#include <unistd.h>

namespace {

// The user of a command-line transfer: ranges come from --select (every
// device with its default range without one). Progress goes to standard error
// as one line rewritten in place, and only when that is a terminal: a script
// reading standard error gets the messages alone.
class CliCommHost final : public ICommHost {
public:
    CliCommHost(CliContext& context, std::vector<std::string> selects)
        : m_context(context)
        , m_selects(std::move(selects))
    {
    }

    std::string ApplicationName() const override { return "Memorix"; }
    std::string DocumentFileName() const override { return m_documentName; }
    void SetDocumentFileName(std::string name) { m_documentName = std::move(name); }
    void* MainWindow() override { return nullptr; }
    void* ActiveWindow() override { return nullptr; }
    bool ConfirmTransfer(CTesknetComm&, bool) override { return true; }
    bool ChooseRanges(PlcChoice& choice) override
    {
        if (m_selects.empty()) {
            SelectAllWithDefaults(choice.m_aDeviceInfo, choice.m_aBankInfo);
            return true;
        }
        for (stDeviceInfo& device : choice.m_aDeviceInfo)
            device.Selected = 0;
        for (_SBankInfo& bank : choice.m_aBankInfo)
            bank.Selected = 0;
        for (const std::string& text : m_selects) {
            std::string error;
            const auto arg = ParseDeviceArg(text, choice.m_aDeviceInfo, true, error);
            if (!arg || !SelectRange(*arg, choice.m_FLBankNum, choice.m_aDeviceInfo, choice.m_aBankInfo, error)) {
                selectError = "--select " + text + ": " + error;
                return false;
            }
        }
        SwapReversedRanges(choice.m_aDeviceInfo, choice.m_aBankInfo);
        return true;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void Repaint() override {}
    void ShowProgress(const TransferProgress& progress) override
    {
        if (!m_terminal)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (!m_progressShown)
            m_progressStart = now;
        m_progressShown = true;
        const double seconds = std::chrono::duration<double>(now - m_progressStart).count();
        m_context.err << '\r' << ProgressText(progress);
        if (seconds > 0 && progress.wordsDone > 0)
            m_context.err << "  " << static_cast<std::uint64_t>(static_cast<double>(progress.wordsDone) / seconds)
                          << " words/s";
        m_context.err << "\x1b[K" << std::flush;
    }
    void EndProgress() override
    {
        if (m_progressShown)
            m_context.err << '\n';
        m_progressShown = false;
    }

    std::string selectError;
    std::string m_documentName;

private:
    CliContext& m_context;
    std::vector<std::string> m_selects;
    bool m_terminal = &m_context.err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
    bool m_progressShown = false;
    std::chrono::steady_clock::time_point m_progressStart;
};

// Ctrl+C for the life of a PLC command: it stops the session's transfer, also
// one that has not started yet when the signal came.
class TransferInterrupt {
public:
    explicit TransferInterrupt(CTesknetComm& comm)
        : m_comm(comm)
        , m_watch([&comm] { comm.RequestStop(); })
    {
        comm.SetTransferRunner([this](const std::function<TransferOutcome()>& job) {
            if (m_watch.Interrupted())
                m_comm.RequestStop();
            return job();
        });
    }
    ~TransferInterrupt() { m_comm.SetTransferRunner({}); }
    TransferInterrupt(const TransferInterrupt&) = delete;
    TransferInterrupt& operator=(const TransferInterrupt&) = delete;

    bool Interrupted() const { return m_watch.Interrupted(); }

private:
    CTesknetComm& m_comm;
    InterruptWatch m_watch;
};

// Takes --connection N; false after a usage error.
bool TakeConnection(CliContext& context, const CliCommand& command, const CliArgs& args, CTesknetComm& comm,
                    int& exitCode)
{
    const auto text = args.Value("connection");
    const auto number = text ? ParseIntArg(*text) : std::nullopt;
    if (!number || *number < 0 || *number > 65535) {
        exitCode = context.UsageError(command, "--connection takes a connection number, 0 to 65535");
        return false;
    }
    comm.SetConnectionNumber(static_cast<std::uint16_t>(*number));
    return true;
}

// Hands the session to a host for as long as it lives.
struct HostScope {
    HostScope(CTesknetComm& comm, ICommHost& host)
        : m_comm(comm)
    {
        m_comm.SetHost(&host);
    }
    ~HostScope() { m_comm.SetHost(nullptr); }
    CTesknetComm& m_comm;
};

int RunPlcRead(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (args.Positional().size() != 1)
        return context.UsageError(command, "give the FILE to write");
    const std::string path = args.Positional().front();
    if (!IsDataFilePath(path))
        return context.UsageError(command, "OUT must end in .ldtx or .ldt");
    CliDocumentSession session(context);
    if (!session.Ok())
        return kExitFailure;
    CMemorixApp& app = session.App();
    CTesknetComm& comm = app.GetComm();
    int exitCode = kExitOk;
    if (!TakeConnection(context, command, args, comm, exitCode))
        return exitCode;
    CliCommHost host(context, args.Values("select"));
    HostScope scope(comm, host);
    if (args.Has("yes"))
        context.Messages().AnswerEveryQuestion(platform::MsgAnswer::Yes);

    TransferInterrupt interrupt(comm);
    if (comm.PrepareUpload() != TransferOutcome::Done) {
        if (!host.selectError.empty())
            return context.UsageError(command, host.selectError);
        context.Failure("nothing was read from the PLC");
        return interrupt.Interrupted() ? kExitInterrupted : kExitFailure;
    }
    app.SetStartMode(START_READ_PLC);
    CMemorixDoc* document = app.NewDocument(session.Host());
    if (interrupt.Interrupted())
        return kExitInterrupted; // nothing is saved, whatever was read
    if (!document)
        return kExitFailure;
    return session.SaveAs(*document, path) ? kExitOk : kExitFailure;
}

int RunPlcWrite(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (args.Positional().size() != 1)
        return context.UsageError(command, "give the FILE to write to the PLC");
    CliDocumentSession session(context);
    if (!session.Ok())
        return kExitFailure;
    CMemorixApp& app = session.App();
    CTesknetComm& comm = app.GetComm();
    int exitCode = kExitOk;
    if (!TakeConnection(context, command, args, comm, exitCode))
        return exitCode;
    CMemorixDoc* document = session.Open(args.Positional().front());
    if (!document)
        return kExitFailure;
    CliCommHost host(context, {});
    host.SetDocumentFileName(document->GetDocFileName());
    HostScope scope(comm, host);
    if (args.Has("yes"))
        context.Messages().AnswerEveryQuestion(platform::MsgAnswer::Yes);
    TransferInterrupt interrupt(comm);
    const TransferOutcome result = document->WriteToPlc();
    if (result == TransferOutcome::Done)
        return kExitOk;
    return interrupt.Interrupted() ? kExitInterrupted : kExitFailure;
}

int RunPlcInfo(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (!args.Positional().empty())
        return context.UsageError(command, "plc-info takes no file");
    CliDocumentSession session(context);
    if (!session.Ok())
        return kExitFailure;
    CMemorixApp& app = session.App();
    CTesknetComm& comm = app.GetComm();
    int exitCode = kExitOk;
    if (!TakeConnection(context, command, args, comm, exitCode))
        return exitCode;
    CliCommHost host(context, {});
    HostScope scope(comm, host);
    context.out << "connection\t" << comm.GetConnectionText() << '\n';
    // With no PLC chosen the connected one is taken without a question.
    const bool identified = comm.OpenAndIdentify() && comm.CheckPlcType(false);
    comm.Disconnect();
    if (!identified)
        return kExitFailure;
    context.out << "model\t" << comm.DetectedSeries() << '\t' << comm.DetectedPlcId() << '\t'
                << comm.DetectedModelName() << '\n'
                << "family\t" << static_cast<int>(comm.Protocol()) << '\n';
    return kExitOk;
}

// The file's ranges read from the PLC into memory and compared with the
// file's blocks; neither the file nor the PLC choice changes.
int RunPlcDiff(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    if (args.Positional().size() != 1)
        return context.UsageError(command, "give the FILE to compare with the PLC");
    CliDocumentSession session(context);
    if (!session.Ok())
        return kExitTrouble;
    CMemorixDoc* ours = session.Open(args.Positional().front());
    if (!ours)
        return kExitTrouble;
    CMemorixApp& app = session.App();
    DiffOptions options;
    if (!ReadDiffOptions(context, command, args, app.Plc().m_aDeviceInfo, options))
        return kExitTrouble;
    CTesknetComm& comm = app.GetComm();
    int exitCode = kExitOk;
    if (!TakeConnection(context, command, args, comm, exitCode))
        return exitCode;
    CliCommHost host(context, {});
    HostScope scope(comm, host);
    // Another model is no reason to stop: its blocks are matched by device.
    context.Messages().AnswerEveryQuestion(platform::MsgAnswer::Yes);
    TransferInterrupt interrupt(comm);
    const bool identified = comm.OpenAndIdentify() && comm.CheckPlcType(false);
    comm.Disconnect();
    // The PLC choice is the file's, so the read asks for the file's ranges.
    EditDataArray plcBlocks;
    if (!identified || comm.Upload(plcBlocks) != TransferOutcome::Done) {
        context.err << "memorix-cli: nothing was read from the PLC\n";
        return interrupt.Interrupted() ? kExitInterrupted : kExitTrouble;
    }
    PlcChoice plc;
    plc.SetIdentity(comm.DetectedSeries(), comm.DetectedPlcId(), comm.DetectedModelName());
    const compare::Comparison comparison(ours->Blocks(), std::move(plcBlocks), NoteModels(context, app.Plc(), plc));
    return PrintComparison(context, comparison, ours->Blocks(), app.Plc().m_aDeviceInfo, options);
}

} // namespace

std::vector<CliCommand> PlcCommands()
{
    return {
        {"plc-read",
         "plc-read OUT --connection N [--select DEVICE[:START-END]]... [--yes]",
         "read the connected PLC into a new data file; without --select every device with its default range",
         {{"connection"}, {"select", true, true}, {"yes", false}},
         RunPlcRead},
        {"plc-write",
         "plc-write FILE --connection N [--yes]",
         "write a data file's blocks to the PLC; --yes answers the question about another model",
         {{"connection"}, {"yes", false}},
         RunPlcWrite},
        {"plc-info",
         "plc-info --connection N",
         "print the connection and the connected PLC's model",
         {{"connection"}},
         RunPlcInfo},
        {"plc-diff",
         "plc-diff FILE --connection N [--device DEVICE] [--radix R] [--unit U] [--summary]",
         "read the file's ranges from the PLC and compare them with the file, as diff does (FILE is A, the PLC "
         "B); the file is not changed",
         {{"connection"}, {"device"}, {"radix"}, {"unit"}, {"summary", false}},
         RunPlcDiff},
    };
}
