#pragma once

// Runs the data movement of a transfer on a worker thread while the main
// window goes on: it repaints, the status bar shows the progress, and a Cancel
// button (or Esc) stops the transfer at its next request. Meanwhile the menus,
// tool bars and grid are disabled, so nothing changes the document or the
// connection under the transfer; closing the window stops it first.

#include "transfer/TransferOutcome.h"

#include <QObject>

#include <atomic>
#include <functional>

class CMainFrame;
class CTesknetComm;
class IStringTable;

class TransferRunner final : public QObject {
    Q_OBJECT

public:
    TransferRunner(CTesknetComm& comm, CMainFrame& frame, const IStringTable& strings);

    // The session's runner: the job on a worker thread, the window's events here.
    // stop: how Cancel asks this job to end, when it is not the session's own
    // transfer.
    TransferOutcome Run(const std::function<TransferOutcome()>& job, std::function<void()> stop = {});
    bool IsRunning() const { return m_running; }
    // Asks the running transfer to stop; it ends at its next request.
    void Stop();

private:
    CTesknetComm& m_comm;
    CMainFrame& m_frame;
    const IStringTable& m_strings;
    bool m_running = false;
    std::function<void()> m_stop;
};
