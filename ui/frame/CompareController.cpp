#include "ui/frame/CompareController.h"

#include "app/CMemorixApp.h"
#include "document/ReadDataFile.h"
#include "grid/GridCompare.h"
#include "resources/FormatText.h"
#include "resources/Messages.h"
#include "resources/ResourceIds.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/IFileDialogs.h"
#include "ui/frame/MonitorController.h"
#include "ui/shared/CommandTable.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/GridModel.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>

CompareController::CompareController(CMemorixApp& app, CMainFrame& frame, QLabel& pane)
    : QObject(&frame)
    , m_app(app)
    , m_frame(frame)
    , m_pane(pane)
{
    m_pane.hide();
}

CMemorixDoc* CompareController::BeginCommand()
{
    if (IsComparing()) {
        End();
        return nullptr;
    }
    CMemorixDoc* document = m_app.GetActiveDoc();
    return document && m_frame.EndEdit(true) ? document : nullptr;
}

void CompareController::OnCompareWithFile()
{
    CMemorixDoc* document = BeginCommand();
    if (!document)
        return;
    const IStringTable& strings = m_app.Strings();
    const std::string filter = strings.LoadString(res::IDS_FILTER_OPEN_FIRST) + strings.LoadString(res::IDS_FILTER_DATA)
                               + strings.LoadString(res::IDS_FILTER_LEGACY_DATA);
    int filterIndex = 1;
    std::string path;
    if (!m_frame.FileDialogs().GetOpenFileName(filter, filterIndex, path))
        return;
    PlcChoice other;
    EditDataArray blocks;
    if (!ReadOtherDataFile(m_app.Messages(), strings, m_app.CataloguePath(), path, other, blocks))
        return;
    const bool modelsDiffer = other.m_nPLCId != m_app.Plc().m_nPLCId;
    Start(compare::Comparison(document->Blocks(), std::move(blocks), modelsDiffer),
          modelsDiffer ? other.m_strPLCName : std::string());
}

namespace {

std::string OtherModelName(const CTesknetComm& comm)
{
    const std::string name = comm.DetectedModelName();
    return name.empty() ? std::to_string(comm.DetectedPlcId()) : name;
}

} // namespace

void CompareController::OnCompareWithPlc()
{
    m_frame.Monitor().Stop();
    CMemorixDoc* document = BeginCommand();
    if (!document)
        return;
    CTesknetComm& comm = m_app.GetComm();
    if (!comm.Host().ConfirmTransfer(comm, false))
        return;
    // Which model answers; another model is asked about, as before a read.
    const bool reached = comm.OpenAndIdentify();
    const bool accepted = reached && comm.CheckPlcType(false);
    comm.Disconnect();
    if (reached && !accepted)
        return;
    // The application's PLC choice is the document's, so the read asks for
    // the document's ranges; the blocks read stay in the comparison.
    EditDataArray blocks;
    const TransferOutcome result = reached ? comm.Upload(blocks) : TransferOutcome::NotReached;
    if (result == TransferOutcome::Stopped)
        return;
    if (result != TransferOutcome::Done) {
        ShowResourceMessage(m_app.Messages(), m_app.Strings(), res::IDS_TRANSFER_FAILED,
                            platform::MsgIcon::Exclamation);
        return;
    }
    const bool modelsDiffer = comm.DetectedPlcId() != m_app.Plc().m_nPLCId;
    Start(compare::Comparison(document->Blocks(), std::move(blocks), modelsDiffer),
          modelsDiffer ? OtherModelName(comm) : std::string());
}

void CompareController::Start(compare::Comparison comparison, std::string otherModel)
{
    m_comparison = std::move(comparison);
    m_otherModel = std::move(otherModel);
    AttachView();
    ShowResult();
}

void CompareController::End()
{
    if (!IsComparing())
        return;
    m_comparison.reset();
    m_otherModel.clear();
    AttachView();
    m_pane.hide();
    m_frame.statusBar()->showMessage(QString::fromStdString(m_app.Strings().LoadString(res::IDS_COMPARE_ENDED)), 3000);
    m_frame.Commands().UpdateEnabled();
}

void CompareController::AttachView()
{
    if (CMemorixView* view = m_frame.View())
        view->SetComparison(Comparison());
    for (int id : {res::ID_FILE_COMPARE, res::ID_PLC_COMPARE}) {
        QAction* action = m_frame.Commands().Action(id);
        action->setCheckable(true);
        action->setChecked(IsComparing());
    }
}

void CompareController::ShowResult()
{
    if (!m_comparison)
        return;
    const IStringTable& strings = m_app.Strings();
    const long long differences = m_comparison->DifferingWords();
    std::string text;
    if (differences == 0)
        text = strings.LoadString(res::IDS_COMPARE_IDENTICAL);
    else if (differences == 1)
        text = strings.LoadString(res::IDS_COMPARE_ONE_DIFFERENCE);
    else if (m_comparison->BlocksWithDifferences() == 1)
        text = FormatText(strings.LoadString(res::IDS_COMPARE_DIFFERENCES_ONE_BLOCK), {differences});
    else
        text = FormatText(strings.LoadString(res::IDS_COMPARE_DIFFERENCES),
                          {differences, m_comparison->BlocksWithDifferences()});
    if (!m_otherModel.empty())
        text += FormatText(strings.LoadString(res::IDS_COMPARE_OTHER_MODEL), {m_otherModel});
    m_pane.setText(QString::fromStdString(text));
    m_pane.show();
    m_frame.Commands().UpdateEnabled();
}

void CompareController::OnDocumentChanged()
{
    CMemorixView* view = m_frame.View();
    if (!m_comparison || !view)
        return;
    if (const CEditData* block = view->FindShownBlock())
        m_comparison->Recompare(*block);
    view->SetComparison(Comparison());
    ShowResult();
}

void CompareController::OnNextDifference(bool forward)
{
    CMemorixView* view = m_frame.View();
    if (!m_comparison || !view || !m_frame.EndEdit(true))
        return;
    const auto& blocks = m_comparison->Blocks();
    compare::Comparison::Position from;
    for (std::size_t k = 0; k < blocks.size(); ++k)
        if (blocks[k].ours && blocks[k].deviceCode == view->DeviceCode() && blocks[k].bank == view->BankNo())
            from.block = k;
    const GridLayout& layout = view->Model().Layout();
    const GridSelection& selection = view->Selection();
    const int column = std::min(selection.CurCol(), layout.Columns() - 1);
    from.word = layout.Rows() > 0 ? FirstWordOfCell(layout, selection.CurRow(), column) : -1;
    // Moving forward from a wide cell skips the cell's other words.
    if (forward && layout.Rows() > 0)
        from.word += std::max(1, layout.CellBytes() / 2) - 1;

    const std::optional<compare::Comparison::Position> next = m_comparison->NextDifference(from, forward);
    if (!next) {
        m_frame.statusBar()->showMessage(QString::fromStdString(
            m_app.Strings().LoadString(forward ? res::IDS_COMPARE_NO_NEXT : res::IDS_COMPARE_NO_PREVIOUS)));
        return;
    }
    const compare::BlockResult& target = blocks[next->block];
    if (target.deviceCode != view->DeviceCode() || target.bank != view->BankNo())
        m_frame.ShowBlock(target.deviceCode, target.bank);
    if (CMemorixView* shown = m_frame.View()) {
        const GridCell cell = CellOfWord(shown->Model().Layout(), next->word);
        shown->SelectCell(cell.row, cell.column);
        shown->ScrollCellIntoView();
    }
}

void CompareController::OnTakeOtherValue()
{
    CMemorixView* view = m_frame.View();
    if (!m_comparison || !view || view->IsEditing())
        return;
    const std::optional<BlockWrite> write =
        TakeOtherValues(*m_comparison, view->Model().Layout(), view->Selection().Block());
    if (write)
        view->ApplyWrite(write->offset, write->bytes);
}
