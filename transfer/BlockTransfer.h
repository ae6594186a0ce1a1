#pragma once

// Moves device memory between the program and the connected unit block by
// block through the libraries' transfer exports: the requests of each protocol
// family, the progress of the whole transfer (within a block the libraries
// report through QelTeskMsg_SetProgress) and the count of blocks written. The
// session goes online and identifies the unit before, goes offline after, and
// shows the libraries' errors.

#include "model/DeviceModel.h"
#include "transfer/CommLibraries.h"
#include "transfer/ICommHost.h"
#include "transfer/TransferOutcome.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct PlcChoice;

// The libraries' device number of a device code; 0 for a device they do not know.
std::uint32_t ProtocolDeviceCode(std::uint8_t deviceCode);
// And back: the device code of a library's device number; 0 for none.
std::uint8_t DeviceCodeOfProtocolDevice(std::uint32_t device);

// The bytes of a block's addresses, DataSize words each; 0 for an empty range.
std::size_t ByteCount(const CEditData& block);

// One block a read asks for, without data.
struct BlockRequest {
    CEditData block; // BankNo is the bank's for a bank of the file register, else 0
    bool banked = false;

    bool operator==(const BlockRequest&) const = default;
};

// The blocks a read of plc asks for: the selected devices in list order, then,
// withBanks, the selected banks, which stand in for a banked FL.
std::vector<BlockRequest> BlocksToRead(const PlcChoice& plc, bool withBanks);

// The addresses of one block that a write changed in the unit: all of them,
// or, for the block it stopped in, those its successful requests reached (an
// address only partly written counts as written).
struct WrittenRange {
    std::uint8_t id = 0; // device code
    int bank = -1;       // bank of the file register, -1 for none
    std::int32_t startAddr = 0;
    std::int32_t endAddr = 0;

    bool operator==(const WrittenRange&) const = default;
};

class BlockTransfer {
public:
    // A library call failed with this code.
    using ErrorSink = std::function<void(int libraryError)>;

    // sessionBlock is the session's block, passed first to every library call.
    BlockTransfer(std::uint8_t* sessionBlock, ICommHost& host, ErrorSink onError);
    BlockTransfer(const BlockTransfer&) = delete;
    BlockTransfer& operator=(const BlockTransfer&) = delete;

    void SetHost(ICommHost& host) { m_host = &host; }
    // The libraries' exports, bound before the first transfer.
    void SetExports(const transfer::CommExports& exports) { m_exports = &exports; }

    // Writes blocks with the requests of the protocol family; plc tells which
    // FL blocks are banks. Stops at the first block that fails.
    TransferOutcome Write(std::uint8_t protocol, std::uint16_t connection, const EditDataArray& blocks,
                          const PlcChoice& plc);
    // Reads the blocks plc selects into out, which is emptied on a failure.
    TransferOutcome Read(std::uint8_t protocol, std::uint16_t connection, const PlcChoice& plc, EditDataArray& out);

    // Stops a running Read or Write at its next request (between blocks when
    // the libraries cannot stop within one); from any thread. It returns
    // Stopped. ClearStop before the next transfer.
    void RequestStop();
    void ClearStop() { m_stopRequested.store(false); }
    bool StopRequested() const { return m_stopRequested.load(); }

    // Blocks written since the last ResetBlocksWritten.
    int BlocksWritten() const { return m_blocksWritten; }
    // What the unit holds of the writes since then, in write order.
    const std::vector<WrittenRange>& Written() const { return m_written; }
    void ResetBlocksWritten()
    {
        m_blocksWritten = 0;
        m_written.clear();
    }

private:
    TransferOutcome WriteByAddress(const EditDataArray& blocks);
    TransferOutcome WriteByRange(const EditDataArray& blocks, std::uint8_t bankCount);
    TransferOutcome ReadByAddress(const PlcChoice& plc, EditDataArray& out);
    TransferOutcome ReadByRange(const PlcChoice& plc, EditDataArray& out);
    void Progress(bool writing, const CEditData& block, bool banked, std::uint64_t wordsDone, std::uint64_t wordsTotal);
    // The libraries' report within one block: the share of the whole transfer.
    static void OnLibraryProgress(void* context, std::uint32_t wordsDone, std::uint32_t wordsTotal);
    void FollowLibraryProgress(bool on);
    // Asks the libraries whether the unit's words per address of each block's
    // device are the block's data size; shows the error of the first that is not.
    bool SizesAgree(const std::vector<const CEditData*>& blocks);
    // Records what a write call moved into the unit, all of block or the part
    // its successful requests reached.
    void NoteWritten(const CEditData& block, bool banked, bool whole);

    std::uint8_t* m_sessionBlock;
    const transfer::CommExports* m_exports = nullptr;
    std::atomic<bool> m_stopRequested{false};
    ICommHost* m_host;
    ErrorSink m_onError;
    std::uint16_t m_connection = 0;
    int m_blocksWritten = 0;
    std::vector<WrittenRange> m_written;
    // Words the library call under way has reported written.
    std::uint64_t m_callWords = 0;
    // The block on the way, for reports from within a library call.
    std::uint64_t m_progressBase = 0;
    std::uint64_t m_progressTotal = 0;
    int m_progressShown = -1;
    std::optional<TransferProgress> m_progressBlock;
};
