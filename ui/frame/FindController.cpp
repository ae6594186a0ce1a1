#include "ui/frame/FindController.h"

#include "app/CMemorixApp.h"
#include "grid/GoToAddress.h"
#include "grid/GridClear.h"
#include "grid/GridCompare.h"
#include "platform/CodePage.h"
#include "resources/FormatText.h"
#include "resources/IStringTable.h"
#include "resources/ResourceIds.h"
#include "ui/dialogs/CValueDlg.h"
#include "ui/frame/CMainFrame.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/GridModel.h"

#include <QStatusBar>

namespace {

constexpr std::size_t kWordBytes = 2;

} // namespace

FindController::FindController(CMemorixApp& app, CMainFrame& frame)
    : QObject(&frame)
    , m_app(app)
    , m_frame(frame)
{
}

void FindController::Reset()
{
    m_found = {};
    AttachView();
}

void FindController::AttachView()
{
    if (CMemorixView* view = m_frame.View())
        view->SetFoundCells(m_found.blocks.empty() ? nullptr : &m_found);
}

void FindController::MoveTo(std::uint8_t deviceCode, std::int16_t bank, std::size_t byteOffset)
{
    CMemorixView* view = m_frame.View();
    if (!view)
        return;
    if (view->DeviceCode() != deviceCode || view->BankNo() != static_cast<std::uint16_t>(bank))
        m_frame.ShowBlock(deviceCode, bank);
    if (CMemorixView* shown = m_frame.View()) {
        const GridCell cell = CellOfWord(shown->Model().Layout(), static_cast<std::int64_t>(byteOffset / kWordBytes));
        shown->SelectCell(cell.row, cell.column);
        shown->ScrollCellIntoView();
    }
}

std::string FindController::GoToCheck(const std::string& text)
{
    CMemorixDoc* document = m_app.GetActiveDoc();
    CMemorixView* view = m_frame.View();
    if (!document || !view)
        return {};
    const std::vector<stDispDevString> names = DispDevStrings(m_app.Plc().m_aDeviceInfo);
    const GoToResult result = ParseGoToAddress(text, names, document->Blocks(), view->FindShownBlock());
    const IStringTable& strings = m_app.Strings();
    switch (result.error) {
    case GoToError::None: break;
    case GoToError::NotAnAddress: return strings.LoadString(res::IDS_GOTO_NOT_ADDRESS);
    case GoToError::UnknownDevice: return strings.LoadString(res::IDS_GOTO_UNKNOWN_DEVICE);
    case GoToError::NoBlock: return strings.LoadString(res::IDS_GOTO_NO_BLOCK);
    case GoToError::OutOfRange: {
        return FormatText(
            strings.LoadString(res::IDS_GOTO_OUT_OF_RANGE),
            {BlockName(result.block->Id, result.block->BankNo, names), result.block->StartAddr, result.block->EndAddr});
    }
    }
    const CEditData& block = *result.block;
    const auto word = static_cast<std::size_t>((result.target.address - block.StartAddr) * std::max(1, block.DataSize));
    MoveTo(block.Id, block.BankNo, word * kWordBytes);
    return {};
}

void FindController::OnGoTo()
{
    if (!m_app.GetActiveDoc() || !m_frame.EndEdit(true))
        return;
    CValueDlg dialog(
        m_frame.Resources(), res::IDD_GOTO, res::IDC_GOTO_ADDRESS, res::IDC_GOTO_MESSAGE,
        [this](const std::string& text) { return GoToCheck(text); }, &m_frame);
    dialog.DoModal();
}

std::optional<FindPattern> FindController::Pattern(const FindRequest& request, std::string& reason) const
{
    const CMemorixView* view = m_frame.View();
    if (!view)
        return std::nullopt;
    const GridLayout& layout = view->Model().Layout();
    if (request.isText) {
        const std::string bytes = platform::AnsiCodePage().FromUtf8(request.text);
        if (bytes.empty()) {
            reason = m_app.Strings().LoadString(res::IDS_FIND_BAD_VALUE);
            return std::nullopt;
        }
        return FindPattern{{bytes.begin(), bytes.end()}, 1};
    }
    std::optional<FindPattern> pattern = ValuePattern(request.text, layout.Radix(), layout.Unit());
    if (!pattern)
        reason = m_app.Strings().LoadString(res::IDS_FIND_BAD_VALUE);
    return pattern;
}

std::optional<FindPattern> FindController::Begin(const FindRequest& request, std::string& reason)
{
    if (!m_app.GetActiveDoc() || !m_frame.View())
        return std::nullopt;
    m_last = request;
    m_searched = true;
    return Pattern(request, reason);
}

std::string FindController::FindNext(const FindRequest& request)
{
    std::string reason;
    const std::optional<FindPattern> pattern = Begin(request, reason);
    if (!pattern)
        return reason;
    const CMemorixDoc* document = m_app.GetActiveDoc();
    const CMemorixView* view = m_frame.View();
    const EditDataArray& blocks = document->Blocks();
    FindPosition from;
    for (std::size_t k = 0; k < blocks.size(); ++k)
        if (blocks[k].Id == view->DeviceCode() && blocks[k].BankNo == view->BankNo())
            from.block = k;
    const GridLayout& layout = view->Model().Layout();
    const GridSelection& selection = view->Selection();
    from.offset = layout.Rows() > 0
                      ? layout.CellOffset(selection.CurRow(), std::min(selection.CurCol(), layout.Columns() - 1))
                      : blocks[from.block].Data.size();
    const IStringTable& strings = m_app.Strings();
    const std::optional<FindResult> found = ::FindNext(blocks, *pattern, from, request.forward, request.everyBlock);
    if (!found) {
        m_frame.statusBar()->showMessage(QString::fromStdString(strings.LoadString(res::IDS_FIND_NOT_FOUND)));
        return strings.LoadString(res::IDS_FIND_NOT_FOUND);
    }
    const CEditData& block = blocks[found->at.block];
    MoveTo(block.Id, block.BankNo, found->at.offset);
    const std::string note = found->wrapped ? strings.LoadString(res::IDS_FIND_WRAPPED) : std::string();
    m_frame.statusBar()->showMessage(QString::fromStdString(note));
    return note;
}

std::string FindController::FindAllMatches(const FindRequest& request)
{
    std::string reason;
    const std::optional<FindPattern> pattern = Begin(request, reason);
    if (!pattern)
        return reason;
    const CMemorixDoc* document = m_app.GetActiveDoc();
    const CMemorixView* view = m_frame.View();
    m_found = ::FindAll(document->Blocks(), *pattern, request.everyBlock ? nullptr : view->FindShownBlock());
    AttachView();
    const std::size_t count = m_found.Count();
    const IStringTable& strings = m_app.Strings();
    return count == 0 ? strings.LoadString(res::IDS_FIND_NOT_FOUND)
                      : FormatText(strings.LoadString(res::IDS_FIND_COUNT), {static_cast<long long>(count)});
}

void FindController::OnFind()
{
    CMemorixView* view = m_frame.View();
    if (!m_app.GetActiveDoc() || !view || !m_frame.EndEdit(true))
        return;
    const bool textAllowed = view->Model().Layout().HasTextColumn();
    CFindDlg dialog(
        m_frame.Resources(), m_last, textAllowed, [this](const FindRequest& r) { return FindNext(r); },
        [this](const FindRequest& r) { return FindAllMatches(r); }, &m_frame);
    dialog.DoModal();
}

void FindController::OnFindNext(bool forward)
{
    if (!m_searched) {
        OnFind();
        return;
    }
    if (!m_frame.EndEdit(true))
        return;
    FindRequest request = m_last;
    request.forward = forward;
    FindNext(request);
}

std::string FindController::FillCheck(const std::string& text, const CellRange& range)
{
    CMemorixView* view = m_frame.View();
    if (!view)
        return {};
    const GridLayout& layout = view->Model().Layout();
    const std::optional<FindPattern> value = ValuePattern(text, layout.Radix(), layout.Unit());
    if (!value)
        return m_app.Strings().LoadString(res::IDS_FIND_BAD_VALUE);
    const std::optional<BlockWrite> write = FillRange(layout, range, value->bytes);
    if (write)
        view->ApplyWrite(write->offset, write->bytes);
    return {};
}

void FindController::OnFill()
{
    if (!m_app.GetActiveDoc() || !m_frame.View())
        return;
    // The cells selected when the command was given: ending an edit puts the
    // corners onto the cursor.
    const CellRange range = m_frame.View()->Selection().Block();
    if (!m_frame.EndEdit(true))
        return;
    CValueDlg dialog(
        m_frame.Resources(), res::IDD_FILL, res::IDC_FILL_VALUE, res::IDC_FILL_MESSAGE,
        [this, range](const std::string& text) { return FillCheck(text, range); }, &m_frame);
    dialog.DoModal();
}
