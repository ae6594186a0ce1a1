#pragma once

// What the document needs from the windows around it: the main frame's data
// tool bar and status bar, the grid view, and the dialogs and cursor of the
// user interface. The GUI implements it with widgets; the command-line tool and
// tests with NullDocumentHost or a recorder.

#include "core/DeviceModel.h"

#include <string>
#include <string_view>

// A refill of the data tool bar's boxes. A flag or index of -1 leaves that box alone.
struct DataToolbarUpdate {
    bool radix = false;
    bool unit = false;
    int deviceIndex = -1;
    int bankIndex = -1;
    bool columns = false;
    const DeviceInfoArray* devices = nullptr; // null: the application's list
    const BankInfoArray* banks = nullptr;     // null: the application's list
    bool show = false;
};

// The save dialog of "Save As": filter in the "description|patterns|" form of
// the string resources; filterIndex is 1-based in and out.
struct SaveFileRequest {
    std::string proposedName;
    std::string filter;
    std::string defaultExtension;
    int filterIndex = 0;
    bool preselectFilter = false;
    std::string chosenPath; // set by the dialog when the user confirms
};

class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;

    // Main frame.
    virtual void UpdateDataToolbar(const DataToolbarUpdate& update) = 0;
    virtual void ShowDataToolbar(bool show) = 0;
    virtual void SetStatusText(int pane, std::string_view text, bool fit) = 0;

    // The grid view. EndEdit finishes an open in-cell edit; false when there is
    // no view or the edit cannot be committed.
    virtual bool EndEdit(bool withMessages) = 0;
    virtual void ResetFromCombos() = 0;
    virtual void SetDispDevStrings(const DeviceInfoArray& devices) = 0;
    virtual void UpdateAllViews() = 0;

    // User interface services.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual bool ShowSaveDialog(SaveFileRequest& request) = 0;
    virtual void AddToRecentFileList(const std::string& path) = 0;
};

// A host without windows: every notification is dropped, there is never an
// edit to finish, and the save dialog is never confirmed.
class NullDocumentHost : public IDocumentHost {
public:
    void UpdateDataToolbar(const DataToolbarUpdate&) override {}
    void ShowDataToolbar(bool) override {}
    void SetStatusText(int, std::string_view, bool) override {}
    bool EndEdit(bool) override { return true; }
    void ResetFromCombos() override {}
    void SetDispDevStrings(const DeviceInfoArray&) override {}
    void UpdateAllViews() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    bool ShowSaveDialog(SaveFileRequest&) override { return false; }
    void AddToRecentFileList(const std::string&) override {}
};
