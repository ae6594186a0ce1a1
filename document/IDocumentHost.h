#pragma once

// What the document tells the windows around it, and what it asks of them.
// The document speaks of what happened to it; the main frame decides which
// boxes, panes and views to update. The GUI implements it with widgets; the
// command-line tool and tests with NullDocumentHost or a recorder.

#include "model/DeviceModel.h"

#include <string>

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

    // What happened to the document.
    // A new or read document shows these devices and banks of this model.
    virtual void DocumentOpened(const DeviceInfoArray& devices, const BankInfoArray& banks,
                                const std::string& modelName) = 0;
    // The document is gone, or could not be built: nothing is shown.
    virtual void DocumentClosed() = 0;
    // The blocks changed with the device or bank selection.
    virtual void BlocksReplaced(const DeviceInfoArray& devices, const BankInfoArray& banks) = 0;
    // The document now belongs to another model, with these devices.
    virtual void ModelChanged(const DeviceInfoArray& devices, const std::string& modelName) = 0;

    // What the document asks of the user interface.
    // Finishes an open in-cell edit; false when there is no view or the edit
    // cannot be committed.
    virtual bool EndEdit(bool withMessages) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual bool ShowSaveDialog(SaveFileRequest& request) = 0;
    virtual void AddToRecentFileList(const std::string& path) = 0;
};

// A host without windows: every notice is dropped, there is never an edit to
// finish, and the save dialog is never confirmed.
class NullDocumentHost : public IDocumentHost {
public:
    void DocumentOpened(const DeviceInfoArray&, const BankInfoArray&, const std::string&) override {}
    void DocumentClosed() override {}
    void BlocksReplaced(const DeviceInfoArray&, const BankInfoArray&) override {}
    void ModelChanged(const DeviceInfoArray&, const std::string&) override {}
    bool EndEdit(bool) override { return true; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    bool ShowSaveDialog(SaveFileRequest&) override { return false; }
    void AddToRecentFileList(const std::string&) override {}
};
