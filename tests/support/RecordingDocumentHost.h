#pragma once

#include "core/IDocumentHost.h"

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Keeps what the document asked of its windows; the save dialog answers from
// a path the test sets (none: cancelled).
class RecordingDocumentHost final : public IDocumentHost {
public:
    struct ToolbarCall {
        DataToolbarUpdate update;
        DeviceInfoArray devices; // copies: the update's pointers die with the call
        BankInfoArray banks;
    };

    void UpdateDataToolbar(const DataToolbarUpdate& update) override
    {
        ToolbarCall call{update, update.devices ? *update.devices : DeviceInfoArray{},
                         update.banks ? *update.banks : BankInfoArray{}};
        call.update.devices = nullptr;
        call.update.banks = nullptr;
        toolbar.push_back(std::move(call));
    }
    void ShowDataToolbar(bool show) override { toolbarShown = show; }
    void SetStatusText(int pane, std::string_view text, bool) override
    {
        if (pane >= 0 && pane < 4)
            panes[pane] = std::string(text);
    }
    bool EndEdit(bool) override { return endEditResult; }
    void ResetFromCombos() override { ++resets; }
    void SetDispDevStrings(const DeviceInfoArray& devices) override { dispDevices = devices; }
    void UpdateAllViews() override { ++viewUpdates; }
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }
    bool ShowSaveDialog(SaveFileRequest& request) override
    {
        saveRequests.push_back(request);
        if (!savePath)
            return false;
        request.chosenPath = *savePath;
        request.filterIndex = saveFilterIndex;
        return true;
    }
    void AddToRecentFileList(const std::string& path) override { recentFiles.push_back(path); }

    std::vector<ToolbarCall> toolbar;
    std::optional<bool> toolbarShown;
    std::string panes[4];
    bool endEditResult = true;
    int resets = 0;
    DeviceInfoArray dispDevices;
    int viewUpdates = 0;
    int waitDepth = 0;
    std::vector<SaveFileRequest> saveRequests;
    std::optional<std::string> savePath;
    int saveFilterIndex = 1;
    std::vector<std::string> recentFiles;
};

} // namespace testsupport
