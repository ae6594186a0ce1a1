#include "ui/view/CMemorixView.h"

#include "document/CMemorixDoc.h"
#include "document/IAppState.h"
#include "model/PlcChoice.h"
#include "undo/CUndoMap.h"
#include "ui/view/GridDelegate.h"
#include "ui/view/GridInputFilter.h"
#include "ui/view/GridModel.h"
#include "ui/view/IGridFrame.h"
#include "resources/IStringTable.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The status bar panes the view writes.
constexpr int kCellPane = 1;
constexpr int kRangePane = 2;

// Room above and below a cell's text, in pixels.
constexpr int kRowPadding = 4;

QFont MakeCellFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFixedPitch(true);
    font.setPixelSize(GridModel::kFontHeight);
    // Whole-pixel advances: the column widths are measured for a font whose
    // characters are 7 pixels wide at this height.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace

CMemorixView::CMemorixView(IAppState& app, IGridFrame& frame, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_frame(frame)
    , m_CellFont(MakeCellFont())
{
    m_pModel = new GridModel(this);
    m_pDelegate = new GridDelegate(*m_pModel, m_Sel, this);

    m_List = new QTableView(this);
    m_List->setObjectName(kListName);
    m_List->setFont(m_CellFont);
    m_List->setModel(m_pModel);
    m_List->setItemDelegate(m_pDelegate);
    // The grid draws its own cursor and range; the table's selection and
    // editing stay off.
    m_List->setSelectionMode(QAbstractItemView::NoSelection);
    m_List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_List->setShowGrid(true);
    m_List->setWordWrap(false);
    m_List->setCornerButtonEnabled(false);
    m_List->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_List->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_List->setAutoScroll(false);
    m_List->setTabKeyNavigation(false);
    m_List->setMouseTracking(false);
    // The cursor is ours alone: the table never keeps a current index of its
    // own (it would set one when it gets the focus, and move it on keys).
    QItemSelectionModel* tableSelection = m_List->selectionModel();
    connect(tableSelection, &QItemSelectionModel::currentChanged, this, [tableSelection](const QModelIndex& current) {
        if (current.isValid())
            tableSelection->clearCurrentIndex();
    });

    // Column 0 is the row label column; the row header of the table is not used.
    // All rows are of one height, so the table never measures a row.
    QHeaderView* rows = m_List->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(QFontMetrics(m_CellFont).height() + kRowPadding);

    QHeaderView* columns = m_List->horizontalHeader();
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(1);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    // A rebuilt table has the default widths again.
    connect(m_pModel, &QAbstractItemModel::modelReset, this, &CMemorixView::ApplyColumnWidths);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_List);
    setFocusProxy(m_List);

    m_cellEditor = new GridCellEditor(*this, *m_pModel, m_Sel, app, frame);
    m_commands = new GridEditCommands(*this, m_Sel, *m_cellEditor, app, frame);
    connect(m_cellEditor, &GridCellEditor::EditCommitted, this, &CMemorixView::CommandStateChanged);
    connect(m_commands, &GridEditCommands::DocumentChanged, this, &CMemorixView::CommandStateChanged);
    connect(m_commands, &GridEditCommands::OtherCommand, this, &CMemorixView::FrameCommand);
    m_pInput = new GridInputFilter(*this, m_Sel);

    ReadCombos();
}

CMemorixView::~CMemorixView()
{
    // No event of the table's going away may reach the view's handlers.
    delete m_pInput;
    m_cellEditor->Detach();
    // The table goes before the model and the delegate it draws with.
    delete m_List;
}

void CMemorixView::ReadCombos()
{
    if (const std::optional<int> radix = m_frame.SelectedRadixIndex())
        m_nRadix = codec::RadixFromInt(*radix);
    if (const std::optional<int> unit = m_frame.SelectedUnitData())
        m_nDataUnit = codec::UnitFromInt(*unit);
    if (const std::optional<int> column = m_frame.SelectedColumnIndex())
        m_nColumnSetting = *column + 1;
}

// One rule for every change of what the grid shows (a box, a refresh, a new
// document state) while an editor is still open: the edit is cancelled, so
// its text can never be written into another block, setting or cell. In the
// program the editor has normally been committed already, as it loses the
// focus when the user turns to a box or a dialog.
void CMemorixView::ResetFromCombos()
{
    CancelEdit();
    m_Sel.Clear();
    m_ptLastScroll = QPoint(-1, -1);
    m_DeviceCode = 0;
    m_nColumnSetting = 8;
    m_nRadix = codec::RADIX_HEX;
    m_nDataUnit = codec::UNIT_16BIT;
    m_BankNo = 0;
    m_aDispDevString.clear();
    ReadCombos();
}

void CMemorixView::SetDispDevStrings(const DeviceInfoArray& devices)
{
    m_aDispDevString = DispDevStrings(devices);
}

void CMemorixView::OnInitialUpdate()
{
    OnUpdate();
}

void CMemorixView::OnUpdate()
{
    CancelEdit();
    if (const CMemorixDoc* doc = m_app.GetActiveDoc())
        m_app.GetUndoMap().ResetHistory(m_app.Plc(), *doc);
    RefreshView();
}

const CEditData* CMemorixView::FindShownBlock() const
{
    const CMemorixDoc* doc = m_app.GetActiveDoc();
    return doc ? doc->FindBlock(m_DeviceCode, static_cast<std::int16_t>(m_BankNo)) : nullptr;
}

void CMemorixView::RefreshView()
{
    CancelEdit();
    m_Sel.Clear();
    m_ptLastScroll = QPoint(-1, -1); // the next selection change redraws all
    m_DeviceCode = m_frame.GetSelectedDeviceCode();
    m_BankNo = m_frame.GetSelectedBank();

    const CEditData* block = FindShownBlock();
    m_frame.ShowDataToolbar(block != nullptr);
    if (!InitColumns(block)) {
        m_List->hide();
        SetStatus(kCellPane, {});
        SetStatus(kRangePane, {});
        return;
    }

    m_List->scrollToTop();
    m_List->horizontalScrollBar()->setValue(0);
    m_List->show();
    m_List->setFocus();
    m_List->viewport()->update();
    UpdateRangeStatus();
    UpdateCellStatus();
}

bool CMemorixView::InitColumns(const CEditData* block)
{
    if (m_app.Plc().m_aDeviceInfo.empty()) {
        m_pModel->Reset({}, Setting(), {});
        return false;
    }
    m_pModel->Reset(block ? *block : CEditData{}, Setting(), GetDevicePrefix(m_DeviceCode));
    return true;
}

void CMemorixView::ApplyColumnWidths()
{
    const std::vector<stListHeadInfo>& heads = m_pModel->HeadInfo();
    QHeaderView* header = m_List->horizontalHeader();
    for (std::size_t i = 0; i < heads.size(); ++i)
        header->resizeSection(static_cast<int>(i), heads[i].Width);
}

bool CMemorixView::ReloadFromDocument()
{
    if (!m_app.GetActiveDoc())
        return false;
    const CEditData* block = FindShownBlock();
    m_pModel->ReloadData(block ? *block : CEditData{});
    m_List->viewport()->update();
    UpdateCellStatus();
    return block != nullptr;
}

std::string CMemorixView::FormatCell(int row, int listColumn) const
{
    return m_pModel->FormatCell(row, listColumn);
}

QRect CMemorixView::GetCellRect(int row, int listColumn) const
{
    return m_List->visualRect(m_pModel->index(row, listColumn));
}

std::string CMemorixView::GetDevicePrefix(std::uint8_t code) const
{
    return DevicePrefix(code, m_aDispDevString);
}

void CMemorixView::OnRadixChanged(int index)
{
    if (codec::RadixFromInt(index) == m_nRadix)
        return;
    CancelEdit();
    m_nRadix = codec::RadixFromInt(index);
    m_frame.SetRadix(index);
    // A real radix leaves only its own unit in the unit box.
    DataToolbarUpdate units;
    units.unit = true;
    units.show = true;
    m_frame.UpdateDataToolbar(units);
    m_nDataUnit = codec::UnitFromInt(m_frame.GetDataUnit());
    RefreshView();
}

void CMemorixView::OnDataUnitChanged(int unit)
{
    if (codec::UnitFromInt(unit) == m_nDataUnit)
        return;
    CancelEdit();
    m_nDataUnit = codec::UnitFromInt(unit);
    RefreshView();
    m_frame.SetDataUnit(unit);
}

void CMemorixView::OnDeviceChanged(std::uint8_t code)
{
    if (code == m_DeviceCode)
        return;
    CancelEdit();
    m_DeviceCode = code;
    m_BankNo = 0;
    m_frame.RefillBankCombo(0);
    RefreshView();
}

void CMemorixView::OnColumnsChanged(int count)
{
    if (count == m_nColumnSetting)
        return;
    CancelEdit();
    m_nColumnSetting = count;
    RefreshView();
    m_frame.SetColumnCount(count);
}

void CMemorixView::OnBankChanged(std::uint16_t bank)
{
    if (bank == m_BankNo)
        return;
    CancelEdit();
    m_BankNo = bank;
    RefreshView();
}

void CMemorixView::SelectCell(int row, int column)
{
    m_Sel.SetCell(row, column);
    SelectionChanged(true);
}

void CMemorixView::SelectRange(int anchorRow, int anchorColumn, int endRow, int endColumn)
{
    m_Sel.SetRange(anchorRow, anchorColumn, endRow, endColumn);
    SelectionChanged(true);
}

void CMemorixView::UpdateCellStatus()
{
    SetStatus(kCellPane, m_pModel->Layout().CellStatusText(m_Sel.CurRow(), m_Sel.CurCol() + 1));
}

void CMemorixView::UpdateRangeStatus()
{
    // Without a block there is no range to name.
    SetStatus(kRangePane, m_pModel->columnCount() > 0 ? m_pModel->Layout().RangeStatusText() : std::string());
}

void CMemorixView::SetStatus(int pane, const std::string& text)
{
    m_frame.SetStatusText(pane, text, false);
}

const MxMenuResource* CMemorixView::FindMenu(int id) const
{
    return m_frame.FindMenu(id);
}

QRect CMemorixView::SelectionRect() const
{
    const CellRange block = m_Sel.Block();
    return GetCellRect(block.top, block.left + 1)
        .united(GetCellRect(block.bottom, block.right + 1))
        .intersected(m_List->viewport()->rect());
}

void CMemorixView::SelectionChanged(bool whole)
{
    // Only the cells the old and the new selection cover are drawn again,
    // unless the table scrolled in between (then the old place moved).
    const QRect now = SelectionRect();
    const QPoint scroll(m_List->horizontalScrollBar()->value(), m_List->verticalScrollBar()->value());
    if (!whole && scroll == m_ptLastScroll)
        m_List->viewport()->update(m_rcLastSelection.united(now).adjusted(-1, -1, 1, 1));
    else
        m_List->viewport()->update();
    m_rcLastSelection = now;
    m_ptLastScroll = scroll;
    UpdateCellStatus();
}

// Cursor and keys ------------------------------------------------------------

int CMemorixView::RowsPerPage() const
{
    const int height = m_List->verticalHeader()->defaultSectionSize();
    return std::max(1, height > 0 ? m_List->viewport()->height() / height : 1);
}

bool CMemorixView::Navigate(NavKey key, bool shift, bool ctrl)
{
    const GridLayout& layout = m_pModel->Layout();
    const NavGrid grid{layout.Columns(), layout.LastColumn(), m_pModel->rowCount(), RowsPerPage()};
    if (!::Navigate(m_Sel, key, shift, ctrl, grid)) {
        // A key that cannot move may still have ended the range: the screen
        // must not go on showing it.
        SelectionChanged();
        return false;
    }
    ScrollCellIntoView();
    SelectionChanged();
    return true;
}

void CMemorixView::ScrollCellIntoView()
{
    const int row = m_Sel.CurRow();
    const int column = m_Sel.CurCol();
    if (row < 0 || row >= m_pModel->rowCount())
        return;
    QRect cell = GetCellRect(row, column + 1);
    if (column == 0)
        cell.setLeft(GetCellRect(row, 0).left());
    const std::optional<int> text = m_pModel->TextColumn();
    if (text && column == m_pModel->Layout().Columns() - 1)
        cell.setRight(GetCellRect(row, *text).right());

    const QRect client = m_List->viewport()->rect();
    int dx = 0;
    if (cell.left() < 0)
        dx = cell.left();
    else if (cell.right() > client.right())
        dx = std::min(cell.right() - client.right(), cell.left());
    if (dx != 0)
        m_List->horizontalScrollBar()->setValue(m_List->horizontalScrollBar()->value() + dx);

    // The table scrolls by whole rows: the row goes to the top when it lies
    // above, to the bottom when it lies below.
    QScrollBar* rows = m_List->verticalScrollBar();
    if (cell.top() < 0)
        rows->setValue(row);
    else if (cell.bottom() > client.bottom())
        rows->setValue(std::max(0, row - RowsPerPage() + 1));
}

void CMemorixView::MakeRowVisible(int row)
{
    const QRect cell = GetCellRect(row, 0);
    if (cell.bottom() < 0 || cell.top() > m_List->viewport()->rect().bottom())
        m_List->verticalScrollBar()->setValue(cell.bottom() < 0 ? row : std::max(0, row - RowsPerPage() + 1));
}

void CMemorixView::resizeEvent(QResizeEvent* event)
{
    // A new size ends an edit as a loss of the focus does; without an edit
    // the selection stays as it is.
    if (IsEditing())
        EndEdit(false);
    QWidget::resizeEvent(event);
}

// Writing and hit testing ------------------------------------------------------

bool CMemorixView::WriteBlock(std::size_t offset, const std::vector<std::uint8_t>& bytes)
{
    CMemorixDoc* doc = m_app.GetActiveDoc();
    if (!doc || bytes.empty())
        return false;
    doc->WriteBlockBytes(static_cast<std::int32_t>(offset), bytes.data(), static_cast<std::int32_t>(bytes.size()),
                         m_DeviceCode, static_cast<std::int16_t>(m_BankNo));
    return true;
}

int CMemorixView::HitTestCell(const QPoint& global, int& column, int& row) const
{
    const QPoint inList = m_List->mapFromGlobal(global);
    const QPoint inViewport = m_List->viewport()->mapFromGlobal(global);
    if (inList.y() < 0 || inViewport.y() < 0)
        return HIT_ABOVE;
    if (inList.y() >= m_List->height())
        return HIT_BELOW;
    if (inList.x() < 0 || inList.x() >= m_List->width() || !m_List->viewport()->rect().contains(inViewport))
        return HIT_OUTSIDE;
    const QModelIndex index = m_List->indexAt(inViewport);
    if (!index.isValid() || index.column() == 0)
        return HIT_OUTSIDE;
    column = index.column() - 1;
    row = index.row();
    return HIT_CELL;
}

void CMemorixView::SetComparison(const compare::Comparison* comparison)
{
    m_comparison = comparison;
    const IStringTable& strings = m_app.Strings();
    m_pDelegate->SetComparison(comparison, QString::fromStdString(strings.LoadString(res::IDS_COMPARE_OTHER_VALUE)),
                               QString::fromStdString(strings.LoadString(res::IDS_COMPARE_NOT_COMPARED)));
    m_List->viewport()->update();
}

void CMemorixView::SetFoundCells(const FoundCells* found)
{
    m_pDelegate->SetFoundCells(found);
    m_List->viewport()->update();
}

void CMemorixView::OnCommand(int id)
{
    switch (id) {
    case res::ID_EDIT_CLEAR:
    case res::ID_EDIT_CUT:
    case res::ID_EDIT_PASTE:
    case res::ID_EDIT_UNDO:
    case res::ID_EDIT_REDO:
        if (RefusedWhileReadOnly())
            return;
        break;
    default: break;
    }
    m_commands->OnCommand(id);
}

bool CMemorixView::RefusedWhileReadOnly()
{
    if (!m_readOnly)
        return false;
    emit EditRefused();
    return true;
}

void CMemorixView::SetChangeMarks(const ChangeMarks* marks)
{
    m_pDelegate->SetChangeMarks(marks);
    m_List->viewport()->update();
}

std::pair<int, int> CMemorixView::VisibleRows() const
{
    const int rows = m_pModel->rowCount();
    if (rows == 0)
        return {0, -1};
    const int first = std::max(0, m_List->rowAt(0));
    const int bottom = m_List->rowAt(m_List->viewport()->height() - 1);
    return {first, bottom < 0 ? rows - 1 : bottom};
}

void CMemorixView::ShowBlockBytes(std::size_t offset, std::span<const std::uint8_t> bytes)
{
    m_pModel->ReloadBytes(offset, bytes);
    m_List->viewport()->update();
}
