#include "ui/dialogs/CDeviceSelectDlg.h"

#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "model/PlcChoice.h"
#include "ui/dialogs/CEditRange.h"
#include "model/DeviceLists.h"
#include "resources/FormatText.h"
#include "resources/Messages.h"
#include "resources/ResourceIds.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <limits>

namespace {

// Room made for the bank list under the device list, in pixels.
constexpr int kBankListGap = 10;
constexpr int kBankListGrowth = 65;

constexpr const char* kRangeText = " %-6s %6d-%6d  (%-d - %6d)";
constexpr const char* kBankedText = " %-6s";

// The range fields are the template's edit controls `IDC_RANGE_START` and `IDC_RANGE_END`.
QWidget* CreateRangeField(const MxControlResource& control)
{
    if (control.kind == MX_CTL_EDIT
        && (control.id == static_cast<std::uint32_t>(res::IDC_RANGE_START)
            || control.id == static_cast<std::uint32_t>(res::IDC_RANGE_END)))
        return new CEditRange;
    return nullptr;
}

// Gives the list exactly count entries with check boxes; existing entries stay,
// so a list can be filled again from inside one of its own notifications.
void SetEntryCount(QListWidget* list, std::size_t count)
{
    while (static_cast<std::size_t>(list->count()) > count)
        delete list->takeItem(list->count() - 1);
    while (static_cast<std::size_t>(list->count()) < count)
        ResourceDialog::AddCheckItem(list, QString(), false);
}

void SetEntry(QListWidget* list, int row, const std::string& text, bool checked)
{
    QListWidgetItem* item = list->item(row);
    item->setText(QString::fromStdString(text));
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

template <typename Entry>
std::string RangeText(const Entry& entry)
{
    return FormatText(kRangeText, {entry.Name, entry.StartAddr, entry.EndAddr, entry.MinValue, entry.MaxValue});
}

} // namespace

CDeviceSelectDlg::CDeviceSelectDlg(const AppServices& services, const CResourceHandle& resources, QWidget* parent)
    : ResourceDialog(resources, res::IDD_DEVICE_SELECT, parent, CreateRangeField)
    , m_services(services)
{
    m_pDeviceList = RequireControl<QListWidget>(res::IDC_DEVICE_LIST);
    m_pBankList = RequireControl<QListWidget>(res::IDC_BANK_LIST);
    m_pStart = RequireControl<CEditRange>(res::IDC_RANGE_START);
    m_pEnd = RequireControl<CEditRange>(res::IDC_RANGE_END);
    m_pSelectAll = RequireControl<QCheckBox>(res::IDC_SELECT_ALL_DEVICES);
    m_pLimits = RequireControl<QLabel>(res::IDC_RANGE_LIMITS);
    m_pModelName = RequireControl<QLabel>(res::IDC_DEVICE_MODEL_NAME);
    m_pOK = RequireControl<QPushButton>(res::IDOK);

    connect(m_pDeviceList, &QListWidget::currentRowChanged, this, [this] {
        FillBankList(-1);
        UpdateRangeFields();
    });
    connect(m_pDeviceList, &QListWidget::itemChanged, this, &CDeviceSelectDlg::OnDeviceCheckChanged);
    connect(m_pBankList, &QListWidget::currentRowChanged, this, &CDeviceSelectDlg::UpdateRangeFields);
    connect(m_pBankList, &QListWidget::itemChanged, this, &CDeviceSelectDlg::OnBankCheckChanged);
    connect(m_pSelectAll, &QCheckBox::clicked, this, &CDeviceSelectDlg::OnSelectAll);
    m_pStart->installEventFilter(this);
    m_pEnd->installEventFilter(this);
}

void CDeviceSelectDlg::SetInitData(int seriesNo, int modelId, const std::string& modelName, std::uint8_t bankCount,
                                   const DeviceInfoArray& devices, const BankInfoArray& banks)
{
    m_nSeriesNo = seriesNo;
    m_nModelId = modelId;
    m_strModelName = modelName;
    m_FLBankNum = bankCount;
    m_aDeviceInfo = devices;
    m_aBankInfo = banks;
}

void CDeviceSelectDlg::GetResult(int& seriesNo, int& modelId, std::string& modelName, std::uint8_t& bankCount) const
{
    seriesNo = m_nSeriesNo;
    modelId = m_nModelId;
    modelName = m_strModelName;
    bankCount = m_FLBankNum;
}

void CDeviceSelectDlg::OnInitDialog()
{
    const QFont listFont = FixedPitchFont(12);
    m_pDeviceList->setFont(listFont);
    m_pBankList->setFont(listFont);
    LayOutBankList();

    // Until an entry is selected there is no range to edit.
    m_pStart->setEnabled(false);
    m_pEnd->setEnabled(false);
    m_pLimits->hide();

    CPlcDatabase db(m_services.messages, m_services.cataloguePath);
    if (!db.DBOpen())
        return; // its message was shown; the lists stay empty
    LoadLists(db);
    db.DBConnect(false);
}

// A model with banks gets the bank list right under the device list; every
// control after it in tab order up to the Cancel button moves down, and the
// dialog grows by as much. Without banks the list is not shown at all.
void CDeviceSelectDlg::LayOutBankList()
{
    if (m_FLBankNum == 0) {
        m_pBankList->hide();
        return;
    }
    const QRect devices = m_pDeviceList->geometry();
    m_pBankList->setGeometry(devices.x(), devices.y() + devices.height() + kBankListGap, devices.width(),
                             kBankListGrowth - kBankListGap);
    m_pBankList->setEnabled(true);
    m_pBankList->show();

    bool after = false;
    for (const ControlEntry& control : Controls()) {
        if (control.widget == m_pBankList) {
            after = true;
        } else if (after) {
            control.widget->move(control.widget->x(), control.widget->y() + kBankListGrowth);
            if (control.id == res::IDCANCEL)
                break;
        }
    }
    setFixedSize(width(), height() + kBankListGrowth);
}

void CDeviceSelectDlg::LoadLists(CPlcDatabase& db)
{
    if (m_strModelName.empty()) {
        std::vector<stPLC> models;
        db.GetDBPLCAry(m_nSeriesNo, models);
        for (const stPLC& model : models) {
            if (model.PLCSeriesNo == m_nSeriesNo && model.Id == m_nModelId)
                m_strModelName = model.FullName;
        }
    }
    m_pModelName->setText(QString::fromStdString(m_strModelName));

    int device = 0;
    int bank = 0;
    if (!m_aDeviceInfo.empty()) {
        for (std::size_t i = 0; i < m_aDeviceInfo.size(); ++i) {
            if (m_aDeviceInfo[i].Current != 0) {
                device = static_cast<int>(i);
                break;
            }
        }
        for (std::size_t i = 0; i < m_aBankInfo.size(); ++i) {
            if (m_aBankInfo[i].Current != 0) {
                bank = static_cast<int>(i);
                break;
            }
        }
    } else {
        CatalogueModel catalogue;
        if (!ReadCatalogueModel(db, m_nModelId, catalogue))
            return;
        BuildDeviceLists(catalogue.model, catalogue.devices, m_services.strings, m_aDeviceInfo, m_aBankInfo);
    }
    FillDeviceList(device);
    FillBankList(bank);
    UpdateRangeFields();
}

bool CDeviceSelectDlg::IsBankedFL(const stDeviceInfo& device) const
{
    return PlcChoice::IsFLBankDevice(device.Id, m_FLBankNum);
}

int CDeviceSelectDlg::SelectedDevice() const
{
    const int row = m_pDeviceList->currentRow();
    return row >= 0 && row < static_cast<int>(m_aDeviceInfo.size()) ? row : -1;
}

int CDeviceSelectDlg::SelectedBank() const
{
    const int row = m_pBankList->currentRow();
    return row >= 0 && row < static_cast<int>(m_aBankRows.size()) ? static_cast<int>(m_aBankRows[row]) : -1;
}

void CDeviceSelectDlg::FillDeviceList(int index)
{
    const QSignalBlocker blocker(m_pDeviceList);
    const int present = m_pDeviceList->currentRow();
    SetEntryCount(m_pDeviceList, m_aDeviceInfo.size());
    for (std::size_t i = 0; i < m_aDeviceInfo.size(); ++i) {
        const stDeviceInfo& device = m_aDeviceInfo[i];
        const std::string text = IsBankedFL(device) ? FormatText(kBankedText, {device.Name}) : RangeText(device);
        SetEntry(m_pDeviceList, static_cast<int>(i), text, device.Selected != 0);
    }
    m_pDeviceList->setCurrentRow(index >= 0 ? index : present);
}

void CDeviceSelectDlg::FillBankList(int index)
{
    if (m_FLBankNum == 0)
        return;
    const QSignalBlocker blocker(m_pBankList);
    const int present = m_pBankList->currentRow() >= 0 ? m_pBankList->currentRow() : 0;
    m_aBankRows.clear();
    const int device = SelectedDevice();
    if (device >= 0 && IsBankedFL(m_aDeviceInfo[device])) {
        for (std::size_t i = 0; i < m_aBankInfo.size(); ++i) {
            if (m_aBankInfo[i].Id == m_aDeviceInfo[device].Id)
                m_aBankRows.push_back(i);
        }
    }
    SetEntryCount(m_pBankList, m_aBankRows.size());
    for (std::size_t row = 0; row < m_aBankRows.size(); ++row) {
        const _SBankInfo& bank = m_aBankInfo[m_aBankRows[row]];
        SetEntry(m_pBankList, static_cast<int>(row), RangeText(bank), bank.Selected != 0);
    }
    m_pBankList->setCurrentRow(index >= 0 ? index : present);
    m_pBankList->setEnabled(m_pBankList->count() > 0);
}

void CDeviceSelectDlg::UpdateRangeFields()
{
    const int device = SelectedDevice();
    if (device < 0)
        return;
    m_bUpdatingFields = true;

    const stDeviceInfo* entry = nullptr;
    const _SBankInfo* bankEntry = nullptr;
    if (!IsBankedFL(m_aDeviceInfo[device]))
        entry = &m_aDeviceInfo[device];
    else if (const int bank = SelectedBank(); bank >= 0)
        bankEntry = &m_aBankInfo[bank];

    if (entry || bankEntry) {
        const std::int32_t start = entry ? entry->StartAddr : bankEntry->StartAddr;
        const std::int32_t end = entry ? entry->EndAddr : bankEntry->EndAddr;
        const std::int32_t lowest = entry ? entry->MinValue : bankEntry->MinValue;
        const std::int32_t highest = entry ? entry->MaxValue : bankEntry->MaxValue;
        m_pStart->setText(QString::fromStdString(FormatText("%d", {start})));
        m_pEnd->setText(QString::fromStdString(FormatText("%d", {end})));
        m_pStart->SetRange(lowest, highest);
        m_pEnd->SetRange(lowest, highest);
        m_pStart->setEnabled(true);
        m_pEnd->setEnabled(true);
        m_pLimits->setText(QString::fromStdString(FormatText("(%d - %d)", {lowest, highest})));
        m_pLimits->show();
    } else {
        m_pStart->clear();
        m_pEnd->clear();
        m_pStart->setEnabled(false);
        m_pEnd->setEnabled(false);
        m_pLimits->clear();
        m_pLimits->hide();
    }
    m_pSelectAll->setChecked(m_nSelectAll != 0);
    m_bUpdatingFields = false;
}

// A check box of `IDC_DEVICE_LIST` was clicked or toggled with Space. A banked FL takes all
// its banks along.
void CDeviceSelectDlg::OnDeviceCheckChanged(QListWidgetItem* item)
{
    const int row = m_pDeviceList->row(item);
    if (row < 0 || row >= static_cast<int>(m_aDeviceInfo.size()))
        return;
    stDeviceInfo& device = m_aDeviceInfo[row];
    device.Selected = item->checkState() == Qt::Checked ? 1 : 0;
    if (IsBankedFL(device)) {
        for (_SBankInfo& bank : m_aBankInfo) {
            if (bank.Id == device.Id)
                bank.Selected = device.Selected;
        }
        FillBankList(-1);
    }
}

// A check box of `IDC_BANK_LIST`: the FL device is selected while any of its banks is.
void CDeviceSelectDlg::OnBankCheckChanged(QListWidgetItem* item)
{
    const int row = m_pBankList->row(item);
    if (row < 0 || row >= static_cast<int>(m_aBankRows.size()))
        return;
    _SBankInfo& bank = m_aBankInfo[m_aBankRows[row]];
    bank.Selected = item->checkState() == Qt::Checked ? 1 : 0;
    bool any = false;
    for (const _SBankInfo& other : m_aBankInfo) {
        if (other.Id == bank.Id && other.Selected != 0)
            any = true;
    }
    for (stDeviceInfo& device : m_aDeviceInfo) {
        if (device.Id == bank.Id) {
            device.Selected = any ? 1 : 0;
            break;
        }
    }
    FillDeviceList(-1);
    FillBankList(-1);
    UpdateRangeFields();
}

// A range field hands its number to the selected entry when the focus leaves it.
void CDeviceSelectDlg::OnRangeFieldLeft(CEditRange* field)
{
    const std::uint32_t number = CEditRange::LeadingNumber(field->text());
    const auto value =
        static_cast<std::int32_t>(number > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
                                      ? std::numeric_limits<std::int32_t>::max()
                                      : number);
    const bool start = field == m_pStart;

    const int device = SelectedDevice();
    if (device >= 0) {
        (start ? m_aDeviceInfo[device].StartAddr : m_aDeviceInfo[device].EndAddr) = value;
        FillDeviceList(device);
        const int bank = SelectedBank();
        if (IsBankedFL(m_aDeviceInfo[device]) && bank >= 0) {
            (start ? m_aBankInfo[bank].StartAddr : m_aBankInfo[bank].EndAddr) = value;
            FillBankList(m_pBankList->currentRow());
        }
    }
    UpdateRangeFields();
}

void CDeviceSelectDlg::OnSelectAll(bool checked)
{
    m_nSelectAll = checked ? 1 : 0;
    if (checked) {
        SelectAllWithDefaults(m_aDeviceInfo, m_aBankInfo);
    } else {
        for (stDeviceInfo& device : m_aDeviceInfo)
            device.Selected = 0;
        for (_SBankInfo& bank : m_aBankInfo)
            bank.Selected = 0;
    }
    FillDeviceList(-1);
    FillBankList(-1);
    UpdateRangeFields();
}

bool CDeviceSelectDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pStart || watched == m_pEnd) {
        auto* field = static_cast<CEditRange*>(watched);
        if (event->type() == QEvent::FocusIn) {
            field->selectAll();
        } else if (event->type() == QEvent::FocusOut && !m_bUpdatingFields
                   && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            // A context menu opening over the field is not leaving it.
            OnRangeFieldLeft(field);
        }
    }
    return ResourceDialog::eventFilter(watched, event);
}

void CDeviceSelectDlg::OnOK()
{
    // A range field being edited hands its value over first.
    QWidget* focus = focusWidget();
    if (focus == m_pStart || focus == m_pEnd)
        OnRangeFieldLeft(static_cast<CEditRange*>(focus));
    m_pOK->setFocus(Qt::OtherFocusReason);

    bool any = false;
    if (const int device = SelectedDevice(); device >= 0) {
        // Every reversed range is put right, banks included, whichever is shown.
        SwapReversedRanges(m_aDeviceInfo, m_aBankInfo);
        for (std::size_t i = 0; i < m_aDeviceInfo.size(); ++i)
            m_aDeviceInfo[i].Current = static_cast<int>(i) == device ? 1 : 0;
        any = AnySelected(m_aDeviceInfo, {});
    }
    if (const int bank = SelectedBank(); bank >= 0) {
        for (std::size_t i = 0; i < m_aBankInfo.size(); ++i)
            m_aBankInfo[i].Current = static_cast<int>(i) == bank ? 1 : 0;
    }
    FillDeviceList(-1);
    FillBankList(-1);
    UpdateRangeFields();

    if (any) {
        EndDialog(res::IDOK);
        return;
    }
    ShowResourceMessage(m_services.messages, m_services.strings, res::IDS_NO_DEVICE_SELECTED,
                        platform::MsgIcon::Exclamation);
    m_pDeviceList->setFocus(Qt::OtherFocusReason);
}
