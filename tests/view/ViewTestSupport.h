#pragma once

// What the grid view tests share: a main frame that records what the view
// tells it, and an application with the real catalogue and English strings
// holding a new document. The test program has one QApplication (off screen).

#include "support/CodecPrinting.h"
#include "app/CMemorixApp.h"
#include "document/CMemorixDoc.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/IGridFrame.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/MemorySettingsStore.h"
#include "resources/CResourceHandle.h"
#include "support/RecordingDocumentHost.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace viewtest {

// The boxes hold what the test sets; a refill of the unit box gives a real
// radix its own unit, as the frame does.
class FakeGridFrame final : public IGridFrame {
public:
    std::uint8_t GetSelectedDeviceCode() const override { return device; }
    std::uint16_t GetSelectedBank() const override { return bank; }
    std::optional<int> SelectedRadixIndex() const override { return radixIndex; }
    std::optional<int> SelectedUnitData() const override { return unitData; }
    std::optional<int> SelectedColumnIndex() const override { return columnIndex; }
    void ShowDataToolbar(bool show) override { toolbarShown = show; }
    void SetStatusText(int pane, std::string_view text, bool) override { panes.at(pane) = std::string(text); }
    void SetRadix(int value) override { radix = codec::RadixFromInt(value); }
    void SetDataUnit(int value) override { unit = codec::UnitFromInt(value); }
    void SetColumnCount(int value) override { columns = value; }
    int GetDataUnit() const override { return codec::ToInt(unit); }
    void UpdateDataToolbar(const DataToolbarUpdate& update) override
    {
        toolbarUpdates.push_back(update);
        if (update.unit && (radix == codec::RADIX_FLOAT || radix == codec::RADIX_DOUBLE))
            unit = radix == codec::RADIX_FLOAT ? codec::UNIT_32BIT : codec::UNIT_64BIT;
    }
    void RefillBankCombo(int index) override { bankRefills.push_back(index); }
    const MxMenuResource* FindMenu(int id) const override { return resources ? resources->FindMenu(id) : nullptr; }

    std::uint8_t device = DeviceCode::DT;
    std::uint16_t bank = 0;
    std::optional<int> radixIndex, unitData, columnIndex;
    codec::Radix radix = codec::RADIX_HEX;
    codec::Unit unit = codec::UNIT_16BIT;
    int columns = 8;
    std::optional<bool> toolbarShown;
    std::vector<std::string> panes = std::vector<std::string>(4);
    std::vector<DataToolbarUpdate> toolbarUpdates;
    std::vector<int> bankRefills;
    const CResourceHandle* resources = nullptr;
};

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Model 1792 with DT 0-99 and TS 10-29 (two words per address), or model
    // 34 with DT 0-99 and the file register banks 0 (0-63) and 1 (100-131).
    CMemorixDoc& NewDocument(bool banked = false);
    // The view over the document after its first update, 800 x 400.
    CMemorixView& MakeView();
    void Write(std::uint8_t code, const std::vector<std::uint8_t>& bytes);

    platform::ConsoleMessageBox messages{nullptr};
    platform::MemorySettingsStore settings;
    CResourceHandle strings;
    testsupport::RecordingDocumentHost host;
    testsupport::Scratch scratch;
    std::unique_ptr<CMemorixApp> app;
    FakeGridFrame frame;
    std::unique_ptr<CMemorixView> view;
};

} // namespace viewtest
