#pragma once

#include "app/CMemorixApp.h"
#include "document/CMemorixDoc.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/MemorySettingsStore.h"
#include "resources/CResourceHandle.h"
#include "support/RecordingDocumentHost.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <memory>

// An application with the real catalogue and English strings, a recording host
// and helpers that choose a model and ranges as the selection dialogs would.
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the model current with fresh lists (nothing selected).
    void ChooseModel(int modelId);
    void SelectDevice(std::uint8_t code, std::int32_t start, std::int32_t end);
    void SelectBank(std::int16_t bank, std::int32_t start, std::int32_t end);
    void Unselect(std::uint8_t code);
    CMemorixDoc* NewDocument();
    CMemorixDoc* Open(const std::string& path);
    // Sets every byte of the block to value + its offset (mod 256).
    static void Fill(CMemorixDoc& doc, std::uint8_t code, std::int16_t bank, std::uint8_t value);
    DeviceInfoArray Devices() const;
    BankInfoArray Banks() const;

    platform::ConsoleMessageBox messages{nullptr};
    platform::MemorySettingsStore settings;
    CResourceHandle strings;
    testsupport::RecordingDocumentHost host;
    testsupport::Scratch scratch;
    std::unique_ptr<CMemorixApp> app;
};
