#pragma once

// What the dialog tests share: a QApplication for the test program, the
// English language library, an application object over the built catalogue,
// and ways to click, activate and photograph widgets.

#include "app/CMemorixApp.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/MemorySettingsStore.h"
#include "resources/CResourceHandle.h"
#include "support/TestCatalogue.h"

#include <QListWidget>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace dialogtest {

// Saves the widget as <name>.png in the build's screenshot folder.
void SaveScreenshot(QWidget& widget, const QString& name);
// Clicks the check box of a list entry.
void ClickCheckBox(QListWidget& list, int row);
// Clicks the centre of a list entry.
void ClickEntry(QListWidget& list, int row);
// Clicks a radio button or check box on its indicator.
void ClickIndicator(QWidget& button);
// Makes the window the active one, as a user's click on it would.
void Activate(QWidget& window);

class Fixture : public ::testing::Test {
protected:
    void SetUp() override;
    CMemorixApp& MakeApp(const std::string& catalogue = testsupport::BuiltCatalogue());

    platform::ConsoleMessageBox messages{nullptr};
    platform::MemorySettingsStore settings;
    CResourceHandle resources;
    std::unique_ptr<CMemorixApp> app;
};

} // namespace dialogtest
