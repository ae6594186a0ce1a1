#pragma once

// The data tool bar: the boxes that choose what the grid shows and how —
// device (`ID_COMBO_DEVICE`), bank (`ID_COMBO_BANK`), radix (`ID_COMBO_RADIX`), data unit
// (`ID_COMBO_UNIT`), column count (`ID_COMBO_COLUMNS`) —
// laid out as the language library's tool bar `IDR_DATA_TOOLBAR` lists them.

#include "model/DeviceModel.h"
#include "ui/view/DataToolbarUpdate.h"

#include <QToolBar>

#include <cstdint>
#include <functional>
#include <optional>

class CMemorixApp;
class CResourceHandle;
class QComboBox;

// The three settings that persist between runs.
struct DisplaySettings {
    int radix = 3;
    int unit = 1;
    int columns = 8;
};

class CDataToolBar final : public QToolBar {
    Q_OBJECT
public:
    CDataToolBar(CMemorixApp& app, const CResourceHandle& resources, DisplaySettings& settings, QWidget* parent);

    void UpdateDataToolbar(const DataToolbarUpdate& update);
    // Refills the bank box for the device now selected; -1 selects nothing.
    void RefillBankCombo(int index);

    std::uint8_t GetSelectedDeviceCode() const;
    std::uint16_t GetSelectedBank() const;
    std::optional<int> SelectedRadixIndex() const;
    std::optional<int> SelectedUnitData() const;
    std::optional<int> SelectedColumnIndex() const;

    QComboBox* Box(int id) const;

signals:
    // The user chose an item: the box's id and the item's index.
    void BoxChosen(int id, int index);

private:
    QComboBox* AddBox(int id, int width);

    CMemorixApp& m_app;
    const CResourceHandle& m_resources;
    DisplaySettings& m_settings;
};
