#pragma once

// The transfer session's user interface in the main window: the confirmation
// dialog, the range dialog, the wait cursor, and the progress in the status
// bar with a repaint after each step.

#include "transfer/ICommHost.h"

class CMainFrame;
class CMemorixApp;

class FrameCommHost final : public ICommHost {
public:
    FrameCommHost(CMemorixApp& app, CMainFrame& frame);

    std::string ApplicationName() const override;
    std::string DocumentFileName() const override;
    void* MainWindow() override;
    void* ActiveWindow() override;
    bool ConfirmTransfer(CTesknetComm& session, bool writing) override;
    bool ChooseRanges(PlcChoice& choice) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void Repaint() override;
    void ShowProgress(const TransferProgress& progress) override;
    void EndProgress() override;

private:
    bool OnWindowThread() const;

    CMemorixApp& m_app;
    CMainFrame& m_frame;
};
