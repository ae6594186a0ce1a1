#include "ui/frame/CDataToolBar.h"

#include "app/CMemorixApp.h"
#include "resources/FormatText.h"
#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"

#include <QComboBox>

namespace {

struct BoxWidth {
    int id;
    int width;
};

// Widths in pixels of the boxes, by command id.
constexpr BoxWidth kBoxes[] = {{res::ID_COMBO_RADIX, 145},
                               {res::ID_COMBO_UNIT, 80},
                               {res::ID_COMBO_DEVICE, 70},
                               {res::ID_COMBO_BANK, 70},
                               {res::ID_COMBO_COLUMNS, 70}};

constexpr int kRadixStrings[] = {res::IDS_RADIX_BINARY, res::IDS_RADIX_OCTAL, res::IDS_RADIX_DECIMAL,
                                 res::IDS_RADIX_HEX,    res::IDS_RADIX_FLOAT, res::IDS_RADIX_DOUBLE};
constexpr int kUnitStrings[] = {res::IDS_UNIT_8BIT, res::IDS_UNIT_16BIT, res::IDS_UNIT_32BIT, res::IDS_UNIT_64BIT};

QString Text(const CResourceHandle& resources, int id)
{
    return QString::fromStdString(resources.LoadString(id));
}

} // namespace

CDataToolBar::CDataToolBar(CMemorixApp& app, const CResourceHandle& resources, DisplaySettings& settings,
                           QWidget* parent)
    : QToolBar(QString::fromStdString(resources.LoadString(res::IDS_TOOLBAR_DATA)), parent)
    , m_app(app)
    , m_resources(resources)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("202"));
    if (const MxToolBarResource* bar = resources.FindToolBar(res::IDR_DATA_TOOLBAR)) {
        for (std::uint32_t i = 0; i < bar->count; ++i) {
            const int id = static_cast<int>(bar->buttons[i]);
            if (id == 0) {
                addSeparator();
                continue;
            }
            for (const BoxWidth& box : kBoxes) {
                if (box.id == id)
                    AddBox(id, box.width);
            }
        }
    }
}

QComboBox* CDataToolBar::AddBox(int id, int width)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QString::number(id));
    box->setFixedWidth(width);
    box->setToolTip(Text(m_resources, id).section(QLatin1Char('\n'), 1));
    addWidget(box);
    connect(box, &QComboBox::activated, this, [this, id](int index) { emit BoxChosen(id, index); });
    return box;
}

QComboBox* CDataToolBar::Box(int id) const
{
    return findChild<QComboBox*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void CDataToolBar::UpdateDataToolbar(const DataToolbarUpdate& update)
{
    if (QComboBox* box = Box(res::ID_COMBO_RADIX); box && update.radix) {
        box->clear();
        for (const int id : kRadixStrings)
            box->addItem(Text(m_resources, id), 0);
        box->setCurrentIndex(m_settings.radix >= 0 && m_settings.radix < box->count() ? m_settings.radix : -1);
    }
    if (QComboBox* box = Box(res::ID_COMBO_UNIT); box && update.unit) {
        box->clear();
        if (m_settings.radix == 4 || m_settings.radix == 5) {
            const int unit = m_settings.radix == 4 ? 2 : 3;
            box->addItem(Text(m_resources, kUnitStrings[unit]), unit);
            m_settings.unit = unit;
            box->setCurrentIndex(0);
        } else {
            for (int unit = 0; unit < 4; ++unit)
                box->addItem(Text(m_resources, kUnitStrings[unit]), unit);
            box->setCurrentIndex(m_settings.unit >= 0 && m_settings.unit < 4 ? m_settings.unit : -1);
        }
    }
    if (QComboBox* box = Box(res::ID_COMBO_DEVICE); box && update.deviceIndex != -1) {
        const DeviceInfoArray& devices = update.devices ? *update.devices : m_app.Plc().m_aDeviceInfo;
        box->clear();
        int index = update.deviceIndex;
        for (const stDeviceInfo& device : devices) {
            if (device.Selected == 0)
                continue;
            box->addItem(QString::fromStdString(device.Name), static_cast<int>(device.Id));
            if (device.Current != 0)
                index = box->count() - 1;
        }
        box->setCurrentIndex(index < box->count() ? index : -1);
    }
    if (QComboBox* box = Box(res::ID_COMBO_BANK); box && update.bankIndex != -1) {
        const BankInfoArray& banks = update.banks ? *update.banks : m_app.Plc().m_aBankInfo;
        const std::uint8_t device = GetSelectedDeviceCode();
        box->clear();
        int index = update.bankIndex;
        for (const _SBankInfo& bank : banks) {
            if (bank.Id != device || bank.Selected == 0)
                continue;
            box->addItem(QString::fromStdString(bank.Name), static_cast<int>(bank.BankNo));
            if (bank.Current != 0)
                index = box->count() - 1;
        }
        box->setEnabled(box->count() > 0);
        box->setCurrentIndex(box->count() > 0 && index < box->count() ? index : -1);
    }
    if (QComboBox* box = Box(res::ID_COMBO_COLUMNS); box && update.columns) {
        box->clear();
        const std::string suffix = m_resources.LoadString(res::IDS_COLUMNS_SUFFIX);
        for (int n = 1; n <= 16; ++n)
            box->addItem(QString::fromStdString(FormatText("%d%s", {n, suffix})), 0);
        box->setCurrentIndex(m_settings.columns >= 1 && m_settings.columns <= 16 ? m_settings.columns - 1 : -1);
    }
    if (update.show)
        show();
}

void CDataToolBar::RefillBankCombo(int index)
{
    QComboBox* box = Box(res::ID_COMBO_BANK);
    if (!box)
        return;
    const BankInfoArray& banks = m_app.Plc().m_aBankInfo;
    const std::uint8_t device = GetSelectedDeviceCode();
    box->clear();
    for (const _SBankInfo& bank : banks) {
        if (bank.Id == device && bank.Selected != 0)
            box->addItem(QString::fromStdString(bank.Name), static_cast<int>(bank.BankNo));
    }
    if (index != -1 && index < box->count())
        box->setCurrentIndex(index);
    else
        box->setCurrentIndex(-1);
    box->setEnabled(box->count() > 0);
}

std::uint8_t CDataToolBar::GetSelectedDeviceCode() const
{
    const QComboBox* box = Box(res::ID_COMBO_DEVICE);
    if (!box || box->currentIndex() < 0)
        return DeviceCode::None;
    return static_cast<std::uint8_t>(box->currentData().toInt());
}

std::uint16_t CDataToolBar::GetSelectedBank() const
{
    const QComboBox* box = Box(res::ID_COMBO_BANK);
    if (!box || box->currentIndex() < 0)
        return 0;
    return static_cast<std::uint16_t>(box->currentData().toInt());
}

std::optional<int> CDataToolBar::SelectedRadixIndex() const
{
    const QComboBox* box = Box(res::ID_COMBO_RADIX);
    if (!box || box->currentIndex() < 0)
        return std::nullopt;
    return box->currentIndex();
}

std::optional<int> CDataToolBar::SelectedUnitData() const
{
    const QComboBox* box = Box(res::ID_COMBO_UNIT);
    if (!box || box->currentIndex() < 0)
        return std::nullopt;
    return box->currentData().toInt();
}

std::optional<int> CDataToolBar::SelectedColumnIndex() const
{
    const QComboBox* box = Box(res::ID_COMBO_COLUMNS);
    if (!box || box->currentIndex() < 0)
        return std::nullopt;
    return box->currentIndex();
}
