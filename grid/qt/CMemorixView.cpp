#include "grid/qt/CMemorixView.h"

#include "core/document/IAppState.h"
#include "core/model/PlcChoice.h"
#include "core/undo/CUndoMap.h"
#include "core/document/CMemorixDoc.h"
#include "grid/qt/GridDelegate.h"
#include "grid/qt/GridModel.h"
#include "grid/qt/IGridFrame.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
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
    m_List->setObjectName(QString::fromLatin1(kListName));
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

    ReadCombos();
}

CMemorixView::~CMemorixView()
{
    // The table goes before the model and the delegate it draws with.
    delete m_List;
}

void CMemorixView::ReadCombos()
{
    if (const std::optional<int> radix = m_frame.SelectedRadixIndex())
        m_nRadix = *radix;
    if (const std::optional<int> unit = m_frame.SelectedUnitData())
        m_nDataUnit = *unit;
    if (const std::optional<int> column = m_frame.SelectedColumnIndex())
        m_nColumnSetting = *column + 1;
}

void CMemorixView::ResetFromCombos()
{
    m_Sel.Clear();
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
    m_Sel.Clear();
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

    m_nHeaderHeight = m_List->horizontalHeader()->sizeHint().height();
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

bool CMemorixView::EndEdit(bool /*showMessages*/)
{
    return true;
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
    if (index == m_nRadix)
        return;
    m_nRadix = index;
    m_frame.SetRadix(index);
    // A real radix leaves only its own unit in the unit box.
    DataToolbarUpdate units;
    units.unit = true;
    units.show = true;
    m_frame.UpdateDataToolbar(units);
    m_nDataUnit = m_frame.GetDataUnit();
    RefreshView();
}

void CMemorixView::OnDataUnitChanged(int unit)
{
    if (unit == m_nDataUnit)
        return;
    m_nDataUnit = unit;
    RefreshView();
    m_frame.SetDataUnit(unit);
}

void CMemorixView::OnDeviceChanged(std::uint8_t code)
{
    if (code == m_DeviceCode)
        return;
    m_DeviceCode = code;
    m_BankNo = 0;
    m_frame.RefillBankCombo(0);
    RefreshView();
}

void CMemorixView::OnColumnsChanged(int count)
{
    if (count == m_nColumnSetting)
        return;
    m_nColumnSetting = count;
    RefreshView();
    m_frame.SetColumnCount(count);
}

void CMemorixView::OnBankChanged(std::uint16_t bank)
{
    if (bank == m_BankNo)
        return;
    m_BankNo = bank;
    RefreshView();
}

void CMemorixView::SelectCell(int row, int column)
{
    m_Sel.SetCell(row, column);
    m_List->viewport()->update();
    UpdateCellStatus();
}

void CMemorixView::SelectRange(int anchorRow, int anchorColumn, int endRow, int endColumn)
{
    m_Sel.SetRange(anchorRow, anchorColumn, endRow, endColumn);
    m_List->viewport()->update();
    UpdateCellStatus();
}

void CMemorixView::UpdateCellStatus()
{
    SetStatus(kCellPane, m_pModel->Layout().CellStatusText(m_Sel.m_nCurRow, m_Sel.m_nCurCol + 1));
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
