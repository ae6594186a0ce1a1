#pragma once

#include "document/IDocumentHost.h"

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Keeps what the document asked of its windows; the save dialog answers from
// a path the test sets (none: cancelled).
class RecordingDocumentHost final : public IDocumentHost {
public:
    struct Shown {
        DeviceInfoArray devices;
        BankInfoArray banks;
        std::string modelName;
    };

    void DocumentOpened(const DeviceInfoArray& devices, const BankInfoArray& banks,
                        const std::string& modelName) override
    {
        opened.push_back({devices, banks, modelName});
    }
    void DocumentClosed() override { ++closed; }
    void BlocksReplaced(const DeviceInfoArray& devices, const BankInfoArray& banks) override
    {
        replaced.push_back({devices, banks, {}});
    }
    void ModelChanged(const DeviceInfoArray& devices, const std::string& modelName) override
    {
        modelChanges.push_back({devices, {}, modelName});
    }
    bool EndEdit(bool) override { return endEditResult; }
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

    std::vector<Shown> opened;
    int closed = 0;
    std::vector<Shown> replaced;
    std::vector<Shown> modelChanges;
    bool endEditResult = true;
    int waitDepth = 0;
    std::vector<SaveFileRequest> saveRequests;
    std::optional<std::string> savePath;
    int saveFilterIndex = 1;
    std::vector<std::string> recentFiles;
};

} // namespace testsupport
