#pragma once

// A user in front of the transfer session: answers the confirmation, chooses
// ranges by a rule the test sets, and records what the session showed.

#include "transfer/CTesknetComm.h"
#include "transfer/ICommHost.h"
#include "model/PlcChoice.h"

#include <functional>
#include <string>
#include <vector>

namespace transfertest {

class FakeCommHost : public ICommHost {
public:
    std::string ApplicationName() const override { return "Memorix"; }
    std::string DocumentFileName() const override { return documentName; }
    void* MainWindow() override { return nullptr; }
    void* ActiveWindow() override { return nullptr; }
    bool ConfirmTransfer(CTesknetComm& session, bool writing) override
    {
        confirmations.push_back(writing ? "write" : "read");
        connectionTexts.push_back(session.GetConnectionText());
        return confirm;
    }
    bool ChooseRanges(PlcChoice& choice) override
    {
        offered = choice;
        ++rangeDialogs;
        return choose ? choose(choice) : false;
    }
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }
    void Repaint() override { ++repaints; }
    void ShowProgress(const TransferProgress& progress) override
    {
        progress_.push_back(ProgressText(progress));
        if (onProgress)
            onProgress(progress);
    }
    void EndProgress() override { ++progressEnds; }

    bool confirm = true;
    std::function<bool(PlcChoice&)> choose;
    std::function<void(const TransferProgress&)> onProgress; // the user at the progress, e.g. pressing Cancel
    std::string documentName;
    std::vector<std::string> confirmations;
    std::vector<std::string> connectionTexts;
    PlcChoice offered;
    int rangeDialogs = 0;
    int waitDepth = 0;
    int repaints = 0;
    int progressEnds = 0;
    std::vector<std::string> progress_;
};

// Selects exactly these devices (code, start, end) and banks (bank, start, end).
struct Selection {
    struct Range {
        int key;
        int start;
        int end;
    };
    std::vector<Range> devices;
    std::vector<Range> banks;
    bool operator()(PlcChoice& choice) const;
};

} // namespace transfertest
