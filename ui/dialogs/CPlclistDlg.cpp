#include "ui/dialogs/CPlclistDlg.h"

#include "catalogue/CPlcDatabase.h"
#include "model/PlcChoice.h"
#include "platform/ISettingsStore.h"
#include "resources/ResourceIds.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

constexpr const char* kSection = "Config";
constexpr const char* kSeriesValue = "SelectPlcSeries";
constexpr const char* kModelValue = "SelectPlcType";
constexpr const char* kMemoryValue = "SelectPlcMemory";
constexpr int kDefaultSeries = 1;
constexpr int kDefaultModel = 1792;

// The wait cursor for as long as it lives.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

CPlclistDlg::CPlclistDlg(const AppServices& services, PlcChoice& plc, const CResourceHandle& resources, QWidget* parent)
    : ResourceDialog(resources, res::IDD_PLC_SELECT, parent)
    , m_services(services)
    , m_plc(plc)
{
    m_pSeriesList = RequireControl<QListWidget>(res::IDC_SERIES_LIST);
    m_pModelList = RequireControl<QListWidget>(res::IDC_MODEL_LIST);
    m_pRemember = RequireControl<QCheckBox>(res::IDC_REMEMBER_PLC);
    m_pOK = RequireControl<QPushButton>(res::IDOK);
    connect(m_pSeriesList, &QListWidget::currentRowChanged, this, &CPlclistDlg::OnSeriesChanged);
    connect(m_pModelList, &QListWidget::currentRowChanged, this, &CPlclistDlg::OnModelChanged);
}

void CPlclistDlg::OnInitDialog()
{
    platform::ISettingsStore& settings = m_services.settings;
    if (m_bChangeMode) {
        m_nStartSeriesNo = m_plc.m_nPLCSeriesNo;
        m_nStartModelId = m_plc.m_nPLCId;
    } else {
        m_nStartSeriesNo = settings.GetUserInt(kSection, kSeriesValue, kDefaultSeries);
        m_nStartModelId = settings.GetUserInt(kSection, kModelValue, kDefaultModel);
    }
    const int memory = settings.GetUserInt(kSection, kMemoryValue, 1);
    m_nSelectSeries = 0;
    m_nSelectModel = 0;

    if (m_bChangeMode)
        m_pRemember->hide();
    else
        m_pRemember->setChecked(memory == 1);

    {
        CPlcDatabase db(m_services.messages, m_services.cataloguePath);
        if (db.DBOpen()) {
            BuildSeriesArray(db);
            db.DBConnect(false);
        }
    }

    const QFont listFont = FixedPitchFont(12);
    m_pSeriesList->setFont(listFont);
    m_pModelList->setFont(listFont);

    {
        const QSignalBlocker blocker(m_pSeriesList);
        m_pSeriesList->clear();
        for (const stPLCSeriesInfo& series : m_aSeries)
            m_pSeriesList->addItem(QString::fromStdString(series.SeriesName));
        m_pSeriesList->setCurrentRow(m_nSelectSeries);
    }
    if (m_nSelectSeries < static_cast<int>(m_aSeries.size())) {
        m_nSeriesNo = m_aSeries[m_nSelectSeries].PLCSeriesNo;
        m_strSeriesName = m_aSeries[m_nSelectSeries].SeriesName;
    }
    FillModelList(m_nSelectModel);

    (m_pSeriesList->count() < 2 ? m_pModelList : m_pSeriesList)->setFocus(Qt::OtherFocusReason);
}

// Every series with its enabled models. The starting series becomes the
// selected one, and the starting model, when it belongs to that series, the
// selected model; otherwise the first series or model is.
void CPlclistDlg::BuildSeriesArray(CPlcDatabase& db)
{
    m_aSeries.clear();
    std::vector<stPLCSeries> series;
    if (db.GetDBPLCSeriesAry(series) <= 0)
        return;
    for (const stPLCSeries& row : series) {
        stPLCSeriesInfo info;
        info.PLCSeriesNo = row.PLCSeriesNo;
        info.SeriesName = row.SeriesName;
        if (db.GetDBPLCAry(row.PLCSeriesNo, info.Models) < 0)
            return; // a query error keeps what was read before it
        if (info.Models.empty())
            continue;
        if (row.PLCSeriesNo == m_nStartSeriesNo) {
            m_nSelectSeries = static_cast<int>(m_aSeries.size());
            m_nSeriesNo = row.PLCSeriesNo;
            m_strSeriesName = row.SeriesName;
            for (std::size_t i = 0; i < info.Models.size(); ++i) {
                if (info.Models[i].Id == m_nStartModelId) {
                    m_nSelectModel = static_cast<int>(i);
                    m_nModelId = info.Models[i].Id;
                    m_strModelName = info.Models[i].FullName;
                }
            }
        }
        m_aSeries.push_back(std::move(info));
    }
}

void CPlclistDlg::FillModelList(int modelIndex)
{
    {
        const QSignalBlocker blocker(m_pModelList);
        m_pModelList->clear();
        if (m_nSelectSeries >= 0 && m_nSelectSeries < static_cast<int>(m_aSeries.size())) {
            for (const stPLC& model : m_aSeries[m_nSelectSeries].Models)
                m_pModelList->addItem(QString::fromStdString(model.FullName));
        }
        m_pModelList->setCurrentRow(modelIndex);
    }
    OnModelChanged();
}

void CPlclistDlg::OnSeriesChanged()
{
    const int index = m_pSeriesList->currentRow();
    if (index < 0 || index >= static_cast<int>(m_aSeries.size()) || index == m_nSelectSeries)
        return;
    m_nSelectSeries = index;
    m_nSeriesNo = m_aSeries[index].PLCSeriesNo;
    m_strSeriesName = m_aSeries[index].SeriesName;
    FillModelList(0);
}

void CPlclistDlg::OnModelChanged()
{
    const int index = m_pModelList->currentRow();
    const bool valid = m_nSelectSeries >= 0 && m_nSelectSeries < static_cast<int>(m_aSeries.size()) && index >= 0
                       && index < static_cast<int>(m_aSeries[m_nSelectSeries].Models.size());
    if (valid) {
        const stPLC& model = m_aSeries[m_nSelectSeries].Models[index];
        m_nSelectModel = index;
        m_nModelId = model.Id;
        m_strModelName = model.FullName;
    }
    // Nothing to choose (an empty catalogue, or none at all): OK cannot proceed.
    m_pOK->setEnabled(valid);
}

void CPlclistDlg::OnOK()
{
    WaitCursor wait;
    OnSeriesChanged();
    OnModelChanged();
    if (!m_pOK->isEnabled())
        return;

    if (m_bChangeMode && m_nSeriesNo == m_nStartSeriesNo && m_nModelId == m_nStartModelId) {
        EndDialog(res::IDCANCEL);
        return;
    }

    stPLC model = m_aSeries[m_nSelectSeries].Models[m_nSelectModel];
    model.PLCSeriesNo = m_nSeriesNo;
    model.Id = m_nModelId;
    model.FullName = m_strModelName;
    // The legacy format depends on the size of the model's devices.
    std::vector<stDeviceInst> devices;
    {
        CPlcDatabase db(m_services.messages, m_services.cataloguePath);
        if (db.DBConnect(true) == 1) {
            db.GetDBDeviceInstAry(devices, model.Id, -1);
            db.DBConnect(false);
        }
    }
    m_plc.SetModel(model, devices);
    if (m_bChangeMode)
        m_plc.UpdateLdtFormat();
    else
        m_plc.RefreshLdtFormat();

    platform::ISettingsStore& settings = m_services.settings;
    const bool remember = !m_bChangeMode && m_pRemember->isChecked();
    if (remember) {
        settings.SetUserInt(kSection, kSeriesValue, m_nSeriesNo);
        settings.SetUserInt(kSection, kModelValue, m_nModelId);
    }
    if (!m_bChangeMode)
        settings.SetUserInt(kSection, kMemoryValue, remember ? 1 : 0);
    EndDialog(res::IDOK);
}
