#pragma once

// The program's one connection to a PLC. It drives the communication libraries
// to go online, identify the connected unit, check it against the catalogue and
// the PLC being edited, and has its BlockTransfer read or write device memory;
// it runs the libraries' settings dialogs, asks the user what a transfer needs
// and shows every library error. Every operation but CommSettings leaves the
// session offline when it returns.
//
// A read has two steps: PrepareUpload identifies the unit and lets the user
// choose ranges, keeping the resulting PLC as pending; Upload reads those
// ranges. The pending PLC becomes the application's only when the caller has
// the data in hand (TakePendingPlc), so a failed or declined read changes
// nothing.

#include "contract/CommContract.h"
#include "transfer/BlockTransfer.h"
#include "transfer/CommLog.h"
#include "transfer/ICommHost.h"
#include "transfer/TransferOutcome.h"
#include "model/DeviceModel.h"
#include "model/PlcChoice.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class ICommHost;
class IStringTable;
namespace platform {
class IMessageBox;
}

// The longest wait after a failed transfer, whatever the library asks for.
inline constexpr std::uint32_t kMaxFailureWaitMs = 3000;
std::uint32_t CappedFailureWait(std::uint32_t requestedMs);

class CTesknetComm {
public:
    // current is the application's PLC: the one being edited, read for the
    // type check and as the start of the range choice. languageIndex is the
    // user-interface language (0 English, 1 Japanese ...).
    CTesknetComm(platform::IMessageBox& messages, const IStringTable& strings, std::string cataloguePath,
                 const PlcChoice& current, int languageIndex);
    ~CTesknetComm();
    CTesknetComm(const CTesknetComm&) = delete;
    CTesknetComm& operator=(const CTesknetComm&) = delete;

    // The user interface to use from now on; null for none (every question declined).
    void SetHost(ICommHost* host);
    ICommHost& Host() const { return *m_host; }
    // How the session waits (tests shorten it); milliseconds.
    void SetSleep(std::function<void(std::uint32_t)> sleep) { m_sleep = std::move(sleep); }

    TransferOutcome Connect();
    void Disconnect();
    void UpdateTitle();
    void ReportError(int code, const std::string& text);
    std::string GetConnectionText();
    void CommSettings();
    void OnlineSettings();
    bool OpenAndIdentify();
    bool CheckPlcType(bool forWrite);

    // Runs the part of a transfer that moves data. The desktop program runs
    // it on a worker thread and keeps its window alive meanwhile; the job
    // calls only the host's ShowProgress, Repaint and wait cursor from there,
    // and errors are shown when it is back. By default the job runs at once.
    using TransferRunner = std::function<TransferOutcome(const std::function<TransferOutcome()>& job)>;
    void SetTransferRunner(TransferRunner runner) { m_runner = std::move(runner); }
    // Where the libraries report each request of the session (none: no log).
    void SetRequestLog(transfer::CommLog* log) { m_requestLog = log; }

    // Stops the running transfer at its next request; from any thread.
    void RequestStop() { m_transfer.RequestStop(); }

    TransferOutcome Download(const EditDataArray& blocks);
    TransferOutcome PrepareUpload();
    TransferOutcome Upload(EditDataArray& out);
    // The libraries' error code behind the last Failed outcome.
    int LastError() const { return m_lastError; }

    // The PLC chosen by the last successful PrepareUpload, not yet taken.
    bool HasPendingPlc() const { return m_Pending.has_value(); }
    const PlcChoice& PendingPlc() const { return *m_Pending; }
    // Hands the pending PLC over (after the data were read) and forgets it.
    PlcChoice TakePendingPlc();
    void DropPendingPlc() { m_Pending.reset(); }

    // Blocks written by the last Download before it stopped.
    int BlocksWritten() const { return m_transfer.BlocksWritten(); }
    // What the last Download changed in the PLC, empty when it changed nothing.
    const std::vector<WrittenRange>& Written() const { return m_transfer.Written(); }

    bool IsInitialised() const { return (m_nFlags & kInitialised) != 0; }
    bool IsOnline() const { return (m_nFlags & kOnline) != 0; }
    std::uint8_t Protocol() const { return m_nProtocol; }
    int DetectedSeries() const { return m_nDetectedSeries; }
    int DetectedPlcId() const { return m_nDetectedPlcId; }
    // The catalogue's name of the detected model; empty when it has none.
    std::string DetectedModelName() const;
    std::uint16_t ConnectionNumber() const { return m_wConnNo; }
    void SetConnectionNumber(std::uint16_t number) { m_wConnNo = number; }
    const std::string& ConnectionName() const { return m_strConnName; }
    int LanguageCode() const;

private:
    static constexpr std::uint8_t kInitialised = 1;
    static constexpr std::uint8_t kOnline = 2;

    // Loads the libraries on the first call; false (the reason kept for the
    // message) when they cannot be loaded.
    bool BindLibraries();
    // The message of a session that could not be set up, ending with the code.
    std::string InitFailedText(const std::string& lead) const;
    // The job through the runner; a library error it met is shown afterwards.
    TransferOutcome RunTransfer(const std::function<TransferOutcome()>& job);
    // Keeps the library's code and says Failed.
    TransferOutcome Fail(int libraryError);
    void WaitAfterFailure();
    void Message(int stringId, int icon);
    bool AskYesNo(int stringId);
    std::string AnsiAppName() const;
    // The start of the range choice for the connected model.
    bool StartChoice(const stPLC& model, PlcChoice& choice);

    std::uint8_t m_nProtocol = 255;
    std::uint8_t m_nFlags = 0;
    std::array<std::uint8_t, comm::kSessionBlockSize> m_Block{};
    std::uint16_t m_wConnNo = 0;
    std::string m_strConnName;
    int m_nDetectedSeries = -1;
    int m_nDetectedPlcId = 0;
    int m_nLanguage = 0;

    platform::IMessageBox& m_messages;
    const IStringTable& m_strings;
    std::string m_cataloguePath;
    const PlcChoice& m_current;
    ICommHost* m_host;
    std::function<void(std::uint32_t)> m_sleep;
    std::optional<PlcChoice> m_Pending;
    int m_lastError = 0;
    BlockTransfer m_transfer;
    const transfer::CommExports* m_exports = nullptr;
    TransferRunner m_runner;
    transfer::CommLog* m_requestLog = nullptr;
    // After the libraries set up the session: they report to the log from then on.
    void FollowRequests();
    std::optional<int> m_transferError; // met by the job, shown when it is back
    std::string m_loadError;
};
