#pragma once

// What the transfer session asks of the user interface: the confirmation
// before a transfer, the choice of ranges to read, the wait cursor, repaints
// and progress, and the names and windows the libraries are given. The main
// frame implements it with widgets, the command-line tool with its options,
// tests with fakes.

#include <cstdint>
#include <string>

class CTesknetComm;
struct PlcChoice;

// Where a transfer stands: the block on the way and the share of all words
// moved before it.
struct TransferProgress {
    bool writing = false;
    std::string device; // "DT", "FL" ...
    int bank = -1;      // -1 for a device without banks
    int startAddr = 0;
    int endAddr = 0;
    int percent = 0;             // 0..100 of the whole transfer
    std::uint64_t wordsDone = 0; // of the whole transfer
    std::uint64_t wordsTotal = 0;
};

// "Reading DT 0-524287 ... 35%", "Writing FL bank 2 0-32767 ... 80%".
std::string ProgressText(const TransferProgress& progress);

class ICommHost {
public:
    virtual ~ICommHost() = default;

    // The application's name and the open document's file name ("" without one).
    virtual std::string ApplicationName() const = 0;
    virtual std::string DocumentFileName() const = 0;
    // Native handles handed to the libraries (may be null).
    virtual void* MainWindow() = 0;
    virtual void* ActiveWindow() = 0;

    // The confirmation before a transfer; true for Yes.
    virtual bool ConfirmTransfer(CTesknetComm& session, bool writing) = 0;
    // The ranges to read from the connected model. choice holds the model
    // and its lists to start from; on true it holds the user's choice.
    virtual bool ChooseRanges(PlcChoice& choice) = 0;

    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Redraws the main window while the transfer goes on.
    virtual void Repaint() = 0;
    virtual void ShowProgress(const TransferProgress& progress) = 0;
    // The transfer is over: the progress goes.
    virtual void EndProgress() = 0;
};

// A host without windows or user: it declines every transfer and every choice.
class NullCommHost : public ICommHost {
public:
    std::string ApplicationName() const override { return "Memorix"; }
    std::string DocumentFileName() const override { return {}; }
    void* MainWindow() override { return nullptr; }
    void* ActiveWindow() override { return nullptr; }
    bool ConfirmTransfer(CTesknetComm&, bool) override { return false; }
    bool ChooseRanges(PlcChoice&) override { return false; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void Repaint() override {}
    void ShowProgress(const TransferProgress&) override {}
    void EndProgress() override {}
};
