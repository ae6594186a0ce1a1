// The application's commands that talk to the PLC: read (ID_PLC_READ), write
// (ID_PLC_WRITE), communication settings (ID_COMM_SETTINGS), online settings
// (ID_ONLINE_SETTINGS), and the read that starts a new document.

#include "ui/frame/CAppCommands.h"

#include "app/CMemorixApp.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/MonitorController.h"
#include "document/CMemorixDoc.h"
#include "resources/Messages.h"
#include "ui/shared/CommandTable.h"
#include "resources/ResourceIds.h"

void CAppCommands::OnReadFromPlc()
{
    m_frame.Monitor().Stop();
    CTesknetComm& comm = m_app.GetComm();
    if (comm.PrepareUpload() != TransferOutcome::Done) {
        ShowResourceMessage(m_app.Messages(), m_app.Strings(), res::IDS_TRANSFER_FAILED,
                            platform::MsgIcon::Exclamation);
        return;
    }
    if (CMemorixDoc* document = m_app.GetActiveDoc()) {
        if (document->LoadFromPlc()) {
            // Every block was replaced: the earlier histories belong to other data.
            m_app.GetUndoMap().Clear();
            m_frame.ResetFromCombos();
            m_frame.UpdateAllViews();
            m_frame.Commands().UpdateEnabled();
        }
        return;
    }
    m_app.SetStartMode(START_READ_PLC);
    m_frame.NewDocument();
}

void CAppCommands::ReadPlcForNewDocument()
{
    if (m_app.GetComm().PrepareUpload() != TransferOutcome::Done) {
        ShowResourceMessage(m_app.Messages(), m_app.Strings(), res::IDS_TRANSFER_FAILED,
                            platform::MsgIcon::Exclamation);
        return;
    }
    // The document opened from the command line makes way for the one read.
    m_frame.CloseDocument();
    m_app.SetStartMode(START_READ_PLC);
    m_frame.NewDocument();
}

void CAppCommands::OnWriteToPlc()
{
    m_frame.Monitor().Stop();
    if (CMemorixDoc* document = m_app.GetActiveDoc())
        document->WriteToPlc();
}

void CAppCommands::RegisterPlcCommands()
{
    CommandTable& commands = m_frame.Commands();
    commands.Add(res::ID_PLC_READ, [this] { OnReadFromPlc(); });
    commands.Add(
        res::ID_PLC_WRITE, [this] { OnWriteToPlc(); }, [this] { return m_app.GetActiveDoc() != nullptr; });
    commands.Add(res::ID_COMM_SETTINGS, [this] {
        m_frame.Monitor().Stop();
        m_app.GetComm().CommSettings();
    });
    commands.Add(res::ID_ONLINE_SETTINGS, [this] {
        m_frame.Monitor().Stop();
        m_app.GetComm().OnlineSettings();
    });
}
