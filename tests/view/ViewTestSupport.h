#pragma once

// What the grid view tests share: a main frame that records what the view
// tells it, and an application with the real catalogue and English strings
// holding a new document. The test program has one QApplication (off screen).

#include "app/CMemorixApp.h"
#include "core/CMemorixDoc.h"
#include "grid/qt/CMemorixView.h"
#include "grid/qt/IGridFrame.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/MemorySettingsStore.h"
#include "resources/CResourceHandle.h"
#include "support/RecordingDocumentHost.h"
#include "support/TestCatalogue.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace viewtest {

// The frame's boxes hold what the test sets; the unit box follows the radix
// as the frame's refill does (a real radix keeps only its own unit).
class FakeGridFrame final : public IGridFrame {
public:
    std::uint8_t GetSelectedDeviceCode() const override { return device; }
    std::uint16_t GetSelectedBank() const override { return bank; }
    std::optional<int> SelectedRadixIndex() const override { return radixIndex; }
    std::optional<int> SelectedUnitData() const override { return unitData; }
    std::optional<int> SelectedColumnIndex() const override { return columnIndex; }
    void ShowDataToolbar(bool show) override { toolbarShown = show; }
    void SetStatusText(int pane, std::string_view text, bool) override { panes.at(pane) = std::string(text); }
    void SetRadix(int value) override { radix = value; }
    void SetDataUnit(int value) override { unit = value; }
    void SetColumnCount(int value) override { columns = value; }
    int GetDataUnit() const override { return unit; }
    void UpdateDataToolbar(const DataToolbarUpdate& update) override;
    void RefillBankCombo(int index) override { bankRefills.push_back(index); }

    std::uint8_t device = DeviceCode::DT;
    std::uint16_t bank = 0;
    std::optional<int> radixIndex, unitData, columnIndex;
    int radix = 3, unit = 1, columns = 8;
    std::optional<bool> toolbarShown;
    std::vector<std::string> panes = std::vector<std::string>(4);
    std::vector<DataToolbarUpdate> toolbarUpdates;
    std::vector<int> bankRefills;
};

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Model 1792 with DT 0-99 and TS 10-29 (two words per address) selected,
    // or model 34 with DT 0-99 and the file register banks 0 (0-63) and 1 (100-131).
    CMemorixDoc& NewDocument(bool banked = false);
    // The view over the document, updated as the frame's child window is at first.
    CMemorixView& MakeView();
    // Writes bytes into the block from offset 0.
    void Write(std::uint8_t code, std::int16_t bank, const std::vector<std::uint8_t>& bytes);
    DeviceInfoArray Devices() const;
    // The table's column widths and header texts.
    std::vector<int> Widths() const;
    QStringList Headers() const;

    platform::ConsoleMessageBox messages{nullptr};
    platform::MemorySettingsStore settings;
    CResourceHandle strings;
    testsupport::RecordingDocumentHost host;
    testsupport::Scratch scratch;
    std::unique_ptr<CMemorixApp> app;
    FakeGridFrame frame;
    std::unique_ptr<CMemorixView> view;
};

// Saves the widget as <name>.png in the build's screenshot folder.
void SaveScreenshot(QWidget& widget, const QString& name);

} // namespace viewtest
