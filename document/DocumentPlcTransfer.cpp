// The document's side of reading from and writing to the PLC.

#include "document/CMemorixDoc.h"

#include "transfer/CTesknetComm.h"
#include "document/IDocumentHost.h"
#include "model/DeviceNames.h"
#include "resources/FormatText.h"
#include "resources/IStringTable.h"
#include "resources/Messages.h"
#include "resources/ResourceIds.h"

#include <string>
#include <utility>

namespace {

// A transfer that ended without its data: stopped by the user, or failed.
void ShowTransferEnded(const DocumentContext& context, TransferOutcome result)
{
    if (result == TransferOutcome::Stopped)
        ShowResourceMessage(context.messages, context.strings, res::IDS_TRANSFER_STOPPED,
                            platform::MsgIcon::Information);
    else
        ShowResourceMessage(context.messages, context.strings, res::IDS_TRANSFER_FAILED,
                            platform::MsgIcon::Exclamation);
}

} // namespace

bool CMemorixDoc::LoadFromPlc()
{
    CTesknetComm* comm = m_context.comm;
    EditDataArray blocks;
    const TransferOutcome result = comm ? comm->Upload(blocks) : TransferOutcome::Cancelled;
    if (result != TransferOutcome::Done || blocks.empty()) {
        // The PLC chosen for this read is dropped with the data: the document
        // and the current PLC stay as they were.
        if (comm)
            comm->DropPendingPlc();
        ShowTransferEnded(m_context, result);
        return false;
    }
    m_plc = comm->TakePendingPlc();
    m_aEditData = std::move(blocks);
    m_host.DocumentOpened(m_plc.m_aDeviceInfo, m_plc.m_aBankInfo, m_plc.m_strPLCName);
    SetModifiedFlag();
    ShowResourceMessage(m_context.messages, m_context.strings, res::IDS_READ_DONE, platform::MsgIcon::Information);
    return true;
}

TransferOutcome CMemorixDoc::WriteToPlc()
{
    if (!m_host.EndEdit(true))
        return TransferOutcome::Cancelled;
    CTesknetComm* comm = m_context.comm;
    const TransferOutcome result = comm ? comm->Download(m_aEditData) : TransferOutcome::Cancelled;
    if (result == TransferOutcome::Done) {
        ShowResourceMessage(m_context.messages, m_context.strings, res::IDS_WRITE_DONE, platform::MsgIcon::Information);
        return result;
    }
    if (comm && !comm->Written().empty()) {
        // What was written stays in the PLC: say so with the failure, and what
        // it was, down to the addresses the failed block had reached.
        std::string written;
        for (const WrittenRange& range : comm->Written()) {
            if (!written.empty())
                written += ", ";
            written += DeviceTwoLetterName(range.id);
            if (range.bank >= 0)
                written += " (" + FormatText(m_context.strings.LoadString(res::IDS_BANK_NAME), {range.bank}) + ")";
            written += " " + std::to_string(range.startAddr);
            if (range.endAddr != range.startAddr)
                written += "-" + std::to_string(range.endAddr);
        }
        platform::MessageRequest request;
        request.stringId = res::IDS_WRITE_PARTIAL;
        const int lead = result == TransferOutcome::Stopped ? res::IDS_TRANSFER_STOPPED : res::IDS_TRANSFER_FAILED;
        request.text = m_context.strings.LoadString(lead) + "\n"
                       + FormatText(m_context.strings.LoadString(res::IDS_WRITE_PARTIAL), {written});
        request.icon = platform::MsgIcon::Exclamation;
        m_context.messages.Show(request);
        return result;
    }
    ShowTransferEnded(m_context, result);
    return result;
}
