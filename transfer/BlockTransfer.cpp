#include "transfer/BlockTransfer.h"

#include "model/DeviceNames.h"
#include "model/PlcChoice.h"
#include "transfer/WaitCursor.h"

#include <algorithm>
#include <cstring>

namespace {

// The bank argument of a range request for a device without banks.
constexpr std::uint16_t kNoBank = 65535;

std::vector<comm::_dev2_7> Descriptors(std::uint32_t device, const CEditData& block)
{
    const std::int64_t count = static_cast<std::int64_t>(block.EndAddr) - block.StartAddr + 1;
    std::vector<comm::_dev2_7> descriptors(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
    for (std::size_t j = 0; j < descriptors.size(); ++j) {
        comm::_dev2_7& d = descriptors[j];
        std::memset(&d, 0, sizeof d);
        d.device = device;
        d.address = static_cast<std::uint32_t>(block.StartAddr + static_cast<std::int64_t>(j));
        d.bytesPerAddress = static_cast<std::uint8_t>(block.DataSize * 2);
    }
    return descriptors;
}

std::uint64_t TotalWords(const EditDataArray& blocks)
{
    std::uint64_t total = 0;
    for (const CEditData& block : blocks)
        total += ByteCount(block) / 2;
    return total;
}

std::uint64_t TotalWords(const std::vector<BlockRequest>& requests)
{
    std::uint64_t total = 0;
    for (const BlockRequest& request : requests)
        total += ByteCount(request.block) / 2;
    return total;
}

std::vector<const CEditData*> Blocks(const std::vector<BlockRequest>& requests)
{
    std::vector<const CEditData*> blocks;
    for (const BlockRequest& request : requests)
        blocks.push_back(&request.block);
    return blocks;
}

// A zeroed buffer for a block's bytes holding as much of its data as fits.
std::vector<std::uint8_t> WriteBuffer(const CEditData& block, std::size_t bytes)
{
    std::vector<std::uint8_t> buffer(bytes, 0);
    std::memcpy(buffer.data(), block.Data.data(), std::min(bytes, block.Data.size()));
    return buffer;
}

} // namespace

std::uint32_t ProtocolDeviceCode(std::uint8_t deviceCode)
{
    switch (deviceCode) {
    case DeviceCode::WR: return comm::ProtocolDevice::WR;
    case DeviceCode::DT: return comm::ProtocolDevice::DT;
    case DeviceCode::FL: return comm::ProtocolDevice::FL;
    case DeviceCode::TS: return comm::ProtocolDevice::TS;
    case DeviceCode::TE: return comm::ProtocolDevice::TE;
    case DeviceCode::CS: return comm::ProtocolDevice::CS;
    case DeviceCode::CE: return comm::ProtocolDevice::CE;
    case DeviceCode::LD: return comm::ProtocolDevice::LD;
    case DeviceCode::WL: return comm::ProtocolDevice::WL;
    default: return 0;
    }
}

std::uint8_t DeviceCodeOfProtocolDevice(std::uint32_t device)
{
    for (const std::uint8_t code : {DeviceCode::WR, DeviceCode::DT, DeviceCode::FL, DeviceCode::TS, DeviceCode::TE,
                                    DeviceCode::CS, DeviceCode::CE, DeviceCode::LD, DeviceCode::WL}) {
        if (device != 0 && ProtocolDeviceCode(code) == device)
            return code;
    }
    return 0;
}

std::size_t ByteCount(const CEditData& block)
{
    const std::int64_t addresses = static_cast<std::int64_t>(block.EndAddr) - block.StartAddr + 1;
    return addresses > 0 && block.DataSize > 0 ? static_cast<std::size_t>(addresses * block.DataSize * 2) : 0;
}

std::vector<BlockRequest> BlocksToRead(const PlcChoice& plc, bool withBanks)
{
    const std::uint8_t bankCount = plc.GetFLBankNum(DeviceCode::FL);
    std::vector<BlockRequest> wanted;
    for (const stDeviceInfo& device : plc.m_aDeviceInfo) {
        if (device.Selected == 0 || (withBanks && PlcChoice::IsFLBankDevice(device.Id, bankCount)))
            continue;
        BlockRequest request;
        request.block.Id = device.Id;
        request.block.StartAddr = device.StartAddr;
        request.block.EndAddr = device.EndAddr;
        request.block.DataSize = device.DataSize;
        wanted.push_back(std::move(request));
    }
    if (!withBanks)
        return wanted;
    for (const _SBankInfo& bank : plc.m_aBankInfo) {
        if (bank.Selected == 0)
            continue;
        BlockRequest request;
        request.block.Id = bank.Id;
        request.block.StartAddr = bank.StartAddr;
        request.block.EndAddr = bank.EndAddr;
        request.block.DataSize = bank.DataSize;
        request.block.BankNo = bank.BankNo;
        request.banked = true;
        wanted.push_back(std::move(request));
    }
    return wanted;
}

BlockTransfer::BlockTransfer(std::uint8_t* sessionBlock, ICommHost& host, ErrorSink onError)
    : m_sessionBlock(sessionBlock)
    , m_host(&host)
    , m_onError(std::move(onError))
{
}

void BlockTransfer::Progress(bool writing, const CEditData& block, bool banked, std::uint64_t wordsDone,
                             std::uint64_t wordsTotal)
{
    TransferProgress progress;
    progress.writing = writing;
    progress.device = std::string(DeviceTwoLetterName(block.Id));
    progress.bank = banked ? block.BankNo : -1;
    progress.startAddr = block.StartAddr;
    progress.endAddr = block.EndAddr;
    progress.percent = wordsTotal == 0 ? 0 : static_cast<int>(wordsDone * 100 / wordsTotal);
    progress.wordsDone = wordsDone;
    progress.wordsTotal = wordsTotal;
    m_progressBase = wordsDone;
    m_progressTotal = wordsTotal;
    m_progressShown = progress.percent;
    m_progressBlock = progress;
    m_host->ShowProgress(progress);
}

void BlockTransfer::OnLibraryProgress(void* context, std::uint32_t wordsDone, std::uint32_t /*wordsTotal*/)
{
    auto* self = static_cast<BlockTransfer*>(context);
    self->m_callWords = wordsDone;
    if (!self->m_progressBlock || self->m_progressTotal == 0)
        return;
    const std::uint64_t done = std::min(self->m_progressBase + wordsDone, self->m_progressTotal);
    const int percent = static_cast<int>(done * 100 / self->m_progressTotal);
    if (percent == self->m_progressShown)
        return;
    self->m_progressShown = percent;
    self->m_progressBlock->percent = percent;
    self->m_progressBlock->wordsDone = done;
    self->m_host->ShowProgress(*self->m_progressBlock);
}

void BlockTransfer::RequestStop()
{
    m_stopRequested.store(true);
    if (m_exports && m_exports->cancel)
        m_exports->cancel(m_sessionBlock);
}

void BlockTransfer::FollowLibraryProgress(bool on)
{
    m_progressBlock.reset();
    m_exports->setProgress(m_sessionBlock, on ? &BlockTransfer::OnLibraryProgress : nullptr, this);
}

bool BlockTransfer::SizesAgree(const std::vector<const CEditData*>& blocks)
{
    for (const CEditData* block : blocks) {
        const std::uint32_t device = ProtocolDeviceCode(block->Id);
        if (device == 0)
            continue;
        const int error = m_exports->checkWords(m_sessionBlock, m_connection, device,
                                                static_cast<std::uint32_t>(std::max(block->DataSize, 0)));
        if (error != 0) {
            m_onError(error);
            return false;
        }
    }
    return true;
}

void BlockTransfer::NoteWritten(const CEditData& block, bool banked, bool whole)
{
    WrittenRange range;
    range.id = block.Id;
    range.bank = banked ? block.BankNo : -1;
    range.startAddr = block.StartAddr;
    range.endAddr = block.EndAddr;
    if (!whole) {
        if (m_callWords == 0)
            return;
        const std::uint64_t wordsPerAddress = static_cast<std::uint64_t>(std::max(block.DataSize, 1));
        const std::uint64_t addresses = (m_callWords + wordsPerAddress - 1) / wordsPerAddress;
        range.endAddr = static_cast<std::int32_t>(
            std::min<std::int64_t>(block.EndAddr, block.StartAddr + static_cast<std::int64_t>(addresses) - 1));
    }
    m_written.push_back(range);
}

TransferOutcome BlockTransfer::Write(std::uint8_t protocol, std::uint16_t connection, const EditDataArray& blocks,
                                     const PlcChoice& plc)
{
    m_connection = connection;
    if (protocol == comm::kFamilyProtocol7 || protocol == comm::kFamilyMessage) {
        std::vector<const CEditData*> toWrite;
        for (const CEditData& block : blocks)
            toWrite.push_back(&block);
        if (!SizesAgree(toWrite))
            return TransferOutcome::Failed;
    }
    TransferOutcome result = TransferOutcome::Cancelled;
    FollowLibraryProgress(true);
    if (protocol == comm::kFamilyProtocol7)
        result = WriteByAddress(blocks);
    else if (protocol == comm::kFamilyMessage)
        result = WriteByRange(blocks, plc.GetFLBankNum(DeviceCode::FL));
    FollowLibraryProgress(false);
    return result;
}

TransferOutcome BlockTransfer::WriteByAddress(const EditDataArray& blocks)
{
    WaitCursor wait(*m_host);
    const std::uint64_t total = TotalWords(blocks);
    std::uint64_t done = 0;
    for (const CEditData& block : blocks) {
        const std::uint32_t device = ProtocolDeviceCode(block.Id);
        if (device == 0)
            continue;
        const std::size_t bytes = ByteCount(block);
        Progress(true, block, false, done, total);
        if (StopRequested())
            return TransferOutcome::Stopped;
        std::vector<comm::_dev2_7> descriptors = Descriptors(device, block);
        std::vector<std::uint8_t> buffer = WriteBuffer(block, bytes);
        m_callWords = 0;
        const int error = m_exports->writeByAddress(
            m_sessionBlock, m_connection, 1, static_cast<int>(descriptors.size()), descriptors.data(), buffer.data());
        NoteWritten(block, false, error == 0);
        if (error != 0 && StopRequested())
            return TransferOutcome::Stopped;
        if (error != 0) {
            m_onError(error);
            return TransferOutcome::Failed;
        }
        ++m_blocksWritten;
        done += bytes / 2;
    }
    return TransferOutcome::Done;
}

TransferOutcome BlockTransfer::WriteByRange(const EditDataArray& blocks, std::uint8_t bankCount)
{
    const std::uint64_t total = TotalWords(blocks);
    std::uint64_t done = 0;
    for (const CEditData& block : blocks) {
        const std::uint32_t device = ProtocolDeviceCode(block.Id);
        if (device == 0)
            continue;
        WaitCursor wait(*m_host);
        const std::size_t bytes = ByteCount(block);
        const bool banked = PlcChoice::IsFLBankDevice(block.Id, bankCount);
        Progress(true, block, banked, done, total);
        if (StopRequested())
            return TransferOutcome::Stopped;
        const std::uint16_t bank = banked ? static_cast<std::uint16_t>(block.BankNo) : kNoBank;
        std::vector<std::uint8_t> buffer = WriteBuffer(block, bytes);
        m_callWords = 0;
        const int error = m_exports->writeRange(
            m_sessionBlock, m_connection, device, static_cast<std::uint32_t>(block.StartAddr), bank,
            static_cast<std::uint32_t>(bytes / 2 / std::max(block.DataSize, 1)), buffer.data());
        NoteWritten(block, banked, error == 0);
        if (error != 0 && StopRequested())
            return TransferOutcome::Stopped;
        if (error != 0) {
            m_onError(error);
            return TransferOutcome::Failed;
        }
        ++m_blocksWritten;
        done += bytes / 2;
        wait.End();
        m_host->Repaint();
    }
    return TransferOutcome::Done;
}

TransferOutcome BlockTransfer::Read(std::uint8_t protocol, std::uint16_t connection, const PlcChoice& plc,
                                    EditDataArray& out)
{
    m_connection = connection;
    TransferOutcome result = TransferOutcome::Cancelled;
    FollowLibraryProgress(true);
    if (protocol == comm::kFamilyProtocol7)
        result = ReadByAddress(plc, out);
    else if (protocol == comm::kFamilyMessage)
        result = ReadByRange(plc, out);
    FollowLibraryProgress(false);
    return result;
}

// Cancelled when no block was asked for.
TransferOutcome BlockTransfer::ReadByAddress(const PlcChoice& plc, EditDataArray& out)
{
    WaitCursor wait(*m_host);
    std::vector<BlockRequest> wanted = BlocksToRead(plc, false);
    if (!SizesAgree(Blocks(wanted)))
        return TransferOutcome::Failed;
    const std::uint64_t total = TotalWords(wanted);
    std::uint64_t done = 0;
    TransferOutcome result = TransferOutcome::Cancelled;
    for (BlockRequest& request : wanted) {
        CEditData& block = request.block;
        const std::size_t bytes = ByteCount(block);
        Progress(false, block, false, done, total);
        if (StopRequested())
            break;
        std::vector<comm::_dev2_7> descriptors = Descriptors(ProtocolDeviceCode(block.Id), block);
        std::vector<std::uint8_t> buffer(bytes, 0);
        const int error = m_exports->readByAddress(
            m_sessionBlock, m_connection, 1, static_cast<int>(descriptors.size()), descriptors.data(), buffer.data());
        if (error != 0) {
            out.clear();
            if (StopRequested())
                return TransferOutcome::Stopped;
            m_onError(error);
            return TransferOutcome::Failed;
        }
        block.Data = std::move(buffer);
        out.push_back(std::move(block));
        done += bytes / 2;
        result = TransferOutcome::Done;
    }
    // A read the user stopped delivers nothing, even when its data came in.
    if (StopRequested()) {
        out.clear();
        return TransferOutcome::Stopped;
    }
    return result;
}

// Cancelled when no block of a device the libraries know was asked for.
TransferOutcome BlockTransfer::ReadByRange(const PlcChoice& plc, EditDataArray& out)
{
    std::vector<BlockRequest> wanted;
    {
        WaitCursor wait(*m_host);
        wanted = BlocksToRead(plc, true);
        if (!SizesAgree(Blocks(wanted)))
            return TransferOutcome::Failed;
    }
    const std::uint64_t total = TotalWords(wanted);
    std::uint64_t done = 0;
    TransferOutcome result = TransferOutcome::Cancelled;
    for (BlockRequest& request : wanted) {
        CEditData& block = request.block;
        const std::uint32_t device = ProtocolDeviceCode(block.Id);
        if (device == 0)
            continue;
        WaitCursor wait(*m_host);
        const std::size_t bytes = ByteCount(block);
        const std::uint16_t bank = request.banked ? static_cast<std::uint16_t>(block.BankNo) : kNoBank;
        Progress(false, block, bank != kNoBank, done, total);
        if (StopRequested())
            break;
        std::vector<std::uint8_t> buffer(bytes, 0);
        const int error =
            m_exports->readRange(m_sessionBlock, m_connection, device, static_cast<std::uint32_t>(block.StartAddr),
                                 bank, static_cast<std::uint32_t>(block.EndAddr - block.StartAddr + 1), buffer.data());
        if (error != 0) {
            out.clear();
            if (StopRequested())
                return TransferOutcome::Stopped;
            m_onError(error);
            return TransferOutcome::Failed;
        }
        block.Data = std::move(buffer);
        if (bank == kNoBank)
            block.BankNo = 0;
        out.push_back(std::move(block));
        done += bytes / 2;
        result = TransferOutcome::Done;
        wait.End();
        m_host->Repaint();
    }
    if (StopRequested()) {
        out.clear();
        return TransferOutcome::Stopped;
    }
    return result;
}
