#pragma once

// The choice of PLC series and model: series on the left, the models of the
// chosen series on the right, both from the catalogue. OK makes the chosen
// model the model of the PLC choice the dialog was given.
//
// Two modes: new-document mode (the default), which preselects the remembered
// choice and can remember the new one, and change mode (SetChangeMode(true)),
// which starts from the given choice's model.
//
// DoModal() returns IDOK (1) after the choice's model was set, IDCANCEL (2)
// with nothing changed; in change mode OK without a different choice also
// ends as IDCANCEL. OK stays disabled while no model is chosen (an empty
// catalogue, or one that cannot be opened).

#include "ui/shared/ResourceDialog.h"
#include "document/AppServices.h"
#include "model/DeviceModel.h"

#include <cstdint>
#include <string>
#include <vector>

struct PlcChoice;
class CPlcDatabase;
class QCheckBox;
class QListWidget;
class QPushButton;

// One series with its enabled models in display order. The record holds every
// model of the series, however many the catalogue lists.
struct stPLCSeriesInfo {
    std::int32_t PLCSeriesNo = 0;
    std::string SeriesName;
    std::vector<stPLC> Models;
};

class CPlclistDlg final : public ResourceDialog {
    Q_OBJECT

public:
    // The model of plc is set on OK; plc must outlive the dialog.
    CPlclistDlg(const AppServices& services, PlcChoice& plc, const CResourceHandle& resources,
                QWidget* parent = nullptr);

    // Set before the dialog is shown: true for change mode.
    void SetChangeMode(bool flag) { m_bChangeMode = flag ? 1 : 0; }

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    void BuildSeriesArray(CPlcDatabase& db);
    void FillModelList(int modelIndex);
    void OnSeriesChanged();
    void OnModelChanged();

    AppServices m_services;
    PlcChoice& m_plc;
    std::vector<stPLCSeriesInfo> m_aSeries;
    QListWidget* m_pSeriesList = nullptr;
    QListWidget* m_pModelList = nullptr;
    QCheckBox* m_pRemember = nullptr;
    QPushButton* m_pOK = nullptr;

    int m_nSelectSeries = 0;
    std::int32_t m_nSeriesNo = 0;
    std::string m_strSeriesName;
    int m_nSelectModel = 0;
    std::int32_t m_nModelId = 0;
    std::string m_strModelName;

    std::uint8_t m_bChangeMode = 0;
    std::int32_t m_nStartSeriesNo = 0;
    std::int32_t m_nStartModelId = 0;
};
