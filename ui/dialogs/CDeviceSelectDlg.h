#pragma once

// The choice of devices, file-register banks and address ranges of the
// current PLC model. The device list (`IDC_DEVICE_LIST`) and, for a model whose FL is
// banked, the bank list (`IDC_BANK_LIST`) carry a check box per entry; the two range
// fields (`IDC_RANGE_START`, `IDC_RANGE_END`) edit the start and end address of the selected entry.
//
// The dialog works on copies of the lists given to SetInitData; given an empty
// device list it builds both lists from the catalogue. DoModal() returns
// IDOK (1) when at least one device is selected, or IDCANCEL (2); after OK,
// GetDeviceList, GetBankList and GetResult hand the edited lists and the model
// back.

#include "ui/shared/ResourceDialog.h"
#include "document/AppServices.h"
#include "model/DeviceModel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CEditRange;
class CPlcDatabase;
class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class CDeviceSelectDlg final : public ResourceDialog {
    Q_OBJECT

public:
    CDeviceSelectDlg(const AppServices& services, const CResourceHandle& resources, QWidget* parent = nullptr);

    // Before the dialog is shown. An empty model name is looked up in the
    // catalogue; an empty device list is built from it.
    void SetInitData(int seriesNo, int modelId, const std::string& modelName, std::uint8_t bankCount,
                     const DeviceInfoArray& devices, const BankInfoArray& banks);

    void GetDeviceList(DeviceInfoArray& devices) const { devices = m_aDeviceInfo; }
    void GetBankList(BankInfoArray& banks) const { banks = m_aBankInfo; }
    void GetResult(int& seriesNo, int& modelId, std::string& modelName, std::uint8_t& bankCount) const;

protected:
    void OnInitDialog() override;
    void OnOK() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOutBankList();
    void LoadLists(CPlcDatabase& db);
    bool IsBankedFL(const stDeviceInfo& device) const;
    int SelectedDevice() const;
    // The index in the bank array of the bank selected in `IDC_BANK_LIST`, or -1.
    int SelectedBank() const;

    // index -1 keeps the present selection.
    void FillDeviceList(int index);
    void FillBankList(int index);
    void UpdateRangeFields();

    void OnDeviceCheckChanged(QListWidgetItem* item);
    void OnBankCheckChanged(QListWidgetItem* item);
    void OnRangeFieldLeft(CEditRange* field);
    void OnSelectAll(bool checked);

    AppServices m_services;
    int m_nSeriesNo = 0;
    int m_nModelId = 0;
    std::string m_strModelName;
    std::uint8_t m_FLBankNum = 0;
    DeviceInfoArray m_aDeviceInfo;
    BankInfoArray m_aBankInfo;
    // The bank array's index of each entry of `IDC_BANK_LIST`.
    std::vector<std::size_t> m_aBankRows;
    int m_nSelectAll = 0;
    // Set while the range fields are being set from the data, when their
    // losing the focus is no edit.
    bool m_bUpdatingFields = false;

    QListWidget* m_pDeviceList = nullptr;
    QListWidget* m_pBankList = nullptr;
    CEditRange* m_pStart = nullptr;
    CEditRange* m_pEnd = nullptr;
    QCheckBox* m_pSelectAll = nullptr;
    QLabel* m_pLimits = nullptr;
    QLabel* m_pModelName = nullptr;
    QPushButton* m_pOK = nullptr;
};
