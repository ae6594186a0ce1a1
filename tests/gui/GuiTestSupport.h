#pragma once

// The main window driven as a user would: a frame over the test's application,
// scripted file dialogs, and a way to act on the modal dialog a command opens.

#include "DialogTestSupport.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/IFileDialogs.h"

#include <functional>
#include <optional>
#include <string>

namespace guitest {

class ScriptedFileDialogs final : public IFileDialogs {
public:
    bool GetOpenFileName(const std::string& filter, int& filterIndex, std::string& path) override;
    bool GetSaveFileName(SaveFileRequest& request) override;

    std::optional<std::string> openPath;
    int openFilterIndex = 1;
    std::optional<std::string> savePath;
    std::string lastFilter;
};

// Runs action on the next modal dialog once it is up (polling the event loop).
void WhenModal(std::function<void(QWidget& dialog)> action);

class FrameTest : public dialogtest::Fixture {
protected:
    void SetUp() override;
    void TearDown() override;
    CMainFrame& Frame();
    // Creates a blank document of a model with the given ranges, as the dialogs would.
    void NewDocument(int modelId, const std::vector<std::pair<std::uint8_t, std::pair<int, int>>>& ranges);
    // Writes a data file of the model with the given ranges and returns its path.
    std::string MakeFile(const std::string& name, int modelId,
                         const std::vector<std::pair<std::uint8_t, std::pair<int, int>>>& ranges,
                         const std::vector<std::pair<std::int16_t, std::pair<int, int>>>& banks = {});
    void Trigger(int command);

    testsupport::Scratch scratch;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<CMainFrame> mainFrame;
};

} // namespace guitest
