#include "ui/frame/CAppCommands.h"

#include "app/CMemorixApp.h"
#include "ui/frame/CAboutDlg.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/CStartUpDlg.h"
#include "ui/frame/FrameCommHost.h"
#include "ui/frame/TransferRunner.h"
#include "ui/shared/CommandTable.h"
#include "ui/frame/IFileDialogs.h"
#include "ui/dialogs/CDeviceSelectDlg.h"
#include "ui/dialogs/CPlclistDlg.h"
#include "document/CMemorixDoc.h"
#include "model/DeviceLists.h"
#include "resources/Messages.h"
#include "csv/CsvExport.h"
#include "csv/CsvImport.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/GridModel.h"
#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"

#include <QAction>
#include <QTableView>
#include <QFileInfo>
#include <QMenu>

namespace {

constexpr int IDOK = 1;
constexpr int kFirstRecentFile = res::ID_FILE_MRU_FIRST;

} // namespace

CAppCommands::CAppCommands(CMemorixApp& app, CMainFrame& frame)
    : m_app(app)
    , m_frame(frame)
    , m_commHost(std::make_unique<FrameCommHost>(app, frame))
    , m_transfers(std::make_unique<TransferRunner>(app.GetComm(), frame, app.Strings()))
{
    Register();
    RegisterPlcCommands();
    m_app.GetComm().SetHost(m_commHost.get());
    m_app.GetComm().SetTransferRunner(
        [this](const std::function<TransferOutcome()>& job) { return m_transfers->Run(job); });
}

CAppCommands::~CAppCommands()
{
    m_app.GetComm().SetTransferRunner({});
    m_app.GetComm().SetHost(nullptr);
}

void CAppCommands::Register()
{
    CommandTable& commands = m_frame.Commands();
    const auto documentOpen = [this] { return m_app.GetActiveDoc() != nullptr; };
    commands.Add(res::ID_APP_ABOUT, [this] { OnAbout(); });
    commands.Add(res::ID_FILE_NEW, [this] { OnFileNew(); });
    commands.Add(res::ID_FILE_OPEN, [this] { OnFileOpen(); });
    commands.Add(
        res::ID_FILE_CLOSE,
        [this] {
            if (m_app.CanReplaceDocument())
                m_frame.CloseDocument();
        },
        documentOpen);
    commands.Add(
        res::ID_FILE_SAVE,
        [this] {
            m_app.GetActiveDoc()->OnFileSave();
            m_frame.UpdateTitle();
        },
        documentOpen);
    commands.Add(
        res::ID_FILE_SAVE_AS,
        [this] {
            m_app.GetActiveDoc()->OnFileSaveAs();
            m_frame.UpdateTitle();
        },
        documentOpen);
    commands.Add(res::ID_APP_EXIT, [this] { m_frame.close(); });
    commands.Add(
        res::ID_DEVICE_SELECT, [this] { OnDeviceSelection(); }, documentOpen);
    commands.Add(
        res::ID_CHANGE_PLC, [this] { OnChangePlc(); }, documentOpen);
    commands.Add(
        res::ID_CSV_IMPORT, [this] { OnCsvImport(); }, documentOpen);
    commands.Add(
        res::ID_CSV_EXPORT, [this] { OnCsvExport(); }, documentOpen);
    // The Edit commands go to the grid view, which passes them on to an open
    // cell editor; undo and redo follow the shown block's history.
    for (const int id : {res::ID_EDIT_CLEAR, res::ID_EDIT_COPY, res::ID_EDIT_CUT, res::ID_EDIT_PASTE,
                         res::ID_EDIT_SELECT_ALL, res::ID_EDIT_UNDO, res::ID_EDIT_REDO}) {
        commands.Add(
            id,
            [this, id] {
                if (CMemorixView* view = m_frame.View())
                    view->OnCommand(id);
            },
            [this, id] {
                const CMemorixView* view = m_app.GetActiveDoc() ? m_frame.View() : nullptr;
                return view
                       && (id == res::ID_EDIT_UNDO   ? view->CanUndo()
                           : id == res::ID_EDIT_REDO ? view->CanRedo()
                                                     : true);
            });
    }
    for (int i = 0; i < 10; ++i) {
        commands.Add(
            kFirstRecentFile + i, [this, i] { OnRecentFile(i); },
            [this, i] { return i < static_cast<int>(m_frame.RecentFiles().Files().size()); });
    }
    commands.SetMenuHook(kFirstRecentFile,
                         [this](QMenu& menu, QAction* placeholder) { ShowRecentFiles(menu, placeholder); });
}

void CAppCommands::OnFileNew()
{
    m_app.SetStartMode(START_NONE);
    if (!m_app.IsFirstNew()) {
        m_app.SetStartMode(START_NEW);
        NewDocumentFlow();
        return;
    }
    m_app.SetFirstNew(false);
    CStartUpDlg dialog(m_frame.Resources(), &m_frame);
    m_app.SetStartMode(dialog.DoModal());
    switch (m_app.StartMode()) {
    case START_NEW: NewDocumentFlow(); break;
    case START_OPEN:
        if (m_app.CanReplaceDocument())
            OpenFileFlow();
        break;
    case START_READ_PLC:
        if (m_app.CanReplaceDocument())
            ReadPlcForNewDocument();
        break;
    default: break;
    }
}

void CAppCommands::NewDocumentFlow()
{
    if (!m_app.CanReplaceDocument())
        return;
    // The choice is made on a copy: the open document and the current PLC stay
    // exactly as they are until the new document can be built.
    PlcChoice choice = m_app.Plc();
    CPlclistDlg plcDialog(m_app.Services(), choice, m_frame.Resources(), &m_frame);
    if (plcDialog.DoModal() != IDOK)
        return;
    if (!DeviceSelectionForNew(choice))
        return;
    m_frame.CloseDocument();
    m_app.Plc() = choice;
    m_app.SetStartMode(START_NEW);
    m_frame.NewDocument();
}

bool CAppCommands::RunRangeDialog(CDeviceSelectDlg& dialog, const PlcChoice& plc, DeviceInfoArray& devices,
                                  BankInfoArray& banks)
{
    dialog.SetInitData(plc.m_nPLCSeriesNo, plc.m_nPLCId, plc.m_strPLCName, plc.m_FLBankNum, devices, banks);
    if (dialog.DoModal() != IDOK)
        return false;
    dialog.GetDeviceList(devices);
    dialog.GetBankList(banks);
    return true;
}

bool CAppCommands::DeviceSelectionForNew(PlcChoice& choice)
{
    // The open document's lists are a start only for the same model; another
    // model starts from its own defaults.
    DeviceInfoArray devices;
    BankInfoArray banks;
    if (choice.m_nPLCId == m_app.Plc().m_nPLCId) {
        devices = choice.m_aDeviceInfo;
        banks = choice.m_aBankInfo;
    }
    CDeviceSelectDlg dialog(m_app.Services(), m_frame.Resources(), &m_frame);
    if (!RunRangeDialog(dialog, choice, devices, banks) || !BuildsAnyBlock(devices, banks, choice.m_FLBankNum))
        return false;

    choice.SetDeviceLists(std::move(devices), std::move(banks));
    int seriesNo = choice.m_nPLCSeriesNo;
    int modelId = choice.m_nPLCId;
    std::string name = choice.m_strPLCName;
    std::uint8_t bankCount = 0;
    dialog.GetResult(seriesNo, modelId, name, bankCount);
    choice.SetIdentity(seriesNo, modelId, std::move(name));
    choice.SetBankCount(bankCount);
    choice.UpdateLdtFormat();
    return true;
}

void CAppCommands::OnFileOpen()
{
    if (m_app.CanReplaceDocument())
        OpenFileFlow();
}

void CAppCommands::OpenFileFlow()
{
    const IStringTable& strings = m_app.Strings();
    const std::string filter = strings.LoadString(res::IDS_FILTER_OPEN_FIRST) + strings.LoadString(res::IDS_FILTER_DATA)
                               + strings.LoadString(res::IDS_FILTER_LEGACY_DATA);
    if (filter.empty())
        return;
    int filterIndex = m_app.GetFilterIndex();
    std::string path;
    if (!m_frame.FileDialogs().GetOpenFileName(filter, filterIndex, path))
        return;
    m_app.SetFilterIndex(filterIndex);
    m_frame.CloseDocument();
    m_frame.OpenDocument(path);
}

void CAppCommands::OnRecentFile(int index)
{
    const std::vector<std::string> files = m_frame.RecentFiles().Files();
    if (index < 0 || index >= static_cast<int>(files.size()))
        return;
    CMemorixDoc* document = m_app.GetActiveDoc();
    if (document && !document->SaveModified())
        return;
    const std::string path = files[static_cast<std::size_t>(index)];
    m_frame.CloseDocument();
    if (!m_frame.OpenDocument(path))
        m_frame.RecentFiles().Remove(path);
}

void CAppCommands::ShowRecentFiles(QMenu& menu, QAction* placeholder)
{
    // The placeholder stands where the list goes: its own action shows the
    // first file, the others follow it.
    CommandTable& commands = m_frame.Commands();
    const std::vector<std::string>& files = m_frame.RecentFiles().Files();
    QAction* before = placeholder;
    const QList<QAction*> actions = menu.actions();
    const qsizetype at = actions.indexOf(placeholder);
    before = at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr;
    for (int i = 0; i < 10; ++i) {
        QAction* action = commands.Action(kFirstRecentFile + i);
        const bool used = i < static_cast<int>(files.size());
        if (used) {
            action->setText(QStringLiteral("&%1 %2")
                                .arg((i + 1) % 10)
                                .arg(QFileInfo(QString::fromStdString(files[static_cast<std::size_t>(i)])).fileName()));
            action->setStatusTip(QString::fromStdString(files[static_cast<std::size_t>(i)]));
        } else if (i == 0) {
            action->setText(QObject::tr("Recent File"));
        }
        if (i > 0) {
            menu.removeAction(action);
            if (used)
                menu.insertAction(before, action);
        }
        action->setVisible(used || i == 0);
        action->setEnabled(used);
    }
}

void CAppCommands::OnDeviceSelection()
{
    CMemorixDoc* document = m_app.GetActiveDoc();
    if (!document)
        return;
    const std::uint8_t code = m_frame.GetSelectedDeviceCode();
    const std::uint16_t bankNo = m_frame.GetSelectedBank();
    PlcChoice& plc = m_app.Plc();
    plc.MarkCurrent(code, static_cast<std::int16_t>(bankNo));
    DeviceInfoArray devices = plc.m_aDeviceInfo;
    BankInfoArray banks = plc.m_aBankInfo;

    CDeviceSelectDlg dialog(m_app.Services(), m_frame.Resources(), &m_frame);
    if (!RunRangeDialog(dialog, plc, devices, banks))
        return;
    plc.SetDeviceLists(std::move(devices), std::move(banks));
    document->ReconcileBlocks();
}

void CAppCommands::OnChangePlc()
{
    CMemorixDoc* document = m_app.GetActiveDoc();
    if (!document)
        return;
    if (ShowResourceMessage(m_app.Messages(), m_app.Strings(), res::IDS_CONFIRM_CHANGE_PLC, platform::MsgIcon::Question,
                            platform::MsgButtons::YesNo)
        != platform::MsgAnswer::Yes)
        return;

    const PlcChoice before = m_app.Plc();
    CPlclistDlg dialog(m_app.Services(), m_app.Plc(), m_frame.Resources(), &m_frame);
    dialog.SetChangeMode(true);
    if (dialog.DoModal() != IDOK)
        return;
    if (m_app.RebuildForNewModel()) {
        document->ApplyModelChange();
        return;
    }
    m_app.Plc() = before;
}

void CAppCommands::OnAbout()
{
    CAboutDlg dialog(m_app, m_frame.Resources(), &m_frame);
    dialog.DoModal();
}

void CAppCommands::OnCsvExport()
{
    CMemorixView* view = m_frame.View();
    if (!view || !view->EndEdit(true))
        return;
    SaveFileRequest request;
    request.filter = m_app.Strings().LoadString(res::IDS_FILTER_CSV);
    request.defaultExtension = ".csv";
    request.preselectFilter = true;
    request.filterIndex = 1;
    if (request.filter.empty() || !m_frame.FileDialogs().GetSaveFileName(request))
        return;
    m_frame.BeginWaitCursor();
    ExportCsv(view->Model().Layout(), request.chosenPath, request.filterIndex);
    m_frame.EndWaitCursor();
}

void CAppCommands::OnCsvImport()
{
    CMemorixView* view = m_frame.View();
    CMemorixDoc* document = m_app.GetActiveDoc();
    const std::string filter = m_app.Strings().LoadString(res::IDS_FILTER_CSV);
    if (!view || !document || filter.empty())
        return;
    int filterIndex = 1;
    std::string path;
    if (!m_frame.FileDialogs().GetOpenFileName(filter, filterIndex, path))
        return;
    m_frame.BeginWaitCursor();
    const GridLayout& layout = view->Model().Layout();
    const auto data = ImportCsv(layout, path);
    m_frame.EndWaitCursor();
    if (!data)
        return;
    const CEditData& block = layout.Block();
    document->WriteBlockBytes(0, data->data(), static_cast<std::int32_t>(data->size()), block.Id, block.BankNo);
    m_app.GetUndoMap().RecordChange(*document, m_frame);
    view->ReloadFromDocument();
    view->List().viewport()->update();
    m_frame.Commands().UpdateEnabled();
}
