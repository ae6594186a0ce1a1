#pragma once

// Watching the PLC while it runs: PLC > Monitor reads the words the grid
// shows (and a few rows around them) again and again on a worker thread
// through a monitor session of its own, and puts what it reads into the
// document without an undo step, marking the words that changed. A cycle
// starts only after the last one ended and the interval passed. While it
// monitors the grid is read-only; Write Selection to PLC writes the selected
// words (between two cycles, or on its own without monitoring). Monitoring
// stops after three failed cycles in a row, and before anything else talks
// to the PLC or the document goes.

#include "grid/CellRange.h"
#include "transfer/MonitorSession.h"
#include "ui/view/ChangeMarks.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class CMainFrame;
class CMemorixApp;
class GridLayout;
class QLabel;
class QSpinBox;
class QThread;
class TrendWindow;

// The addresses of block (first, last) holding the bytes of rows first to
// last of layout, with margin rows more on either side.
std::pair<std::int32_t, std::int32_t> AddressesOfRows(const GridLayout& layout, int first, int last, int margin);
// The runs of whole addresses the cells of a selection cover, ascending; a
// selection that reaches the text column covers whole rows.
std::vector<std::pair<std::int32_t, std::int32_t>> AddressRunsOfSelection(const GridLayout& layout,
                                                                          const CellRange& selection);

class MonitorController final : public QObject {
    Q_OBJECT

public:
    static constexpr int kMinInterval = 100;
    static constexpr int kMaxInterval = 10000;
    static constexpr int kDefaultInterval = 500;
    static constexpr int kFailuresToStop = 3;
    // Rows read above and below the visible ones, so that a small scroll
    // shows fresh values at once.
    static constexpr int kMarginRows = 2;

    MonitorController(CMemorixApp& app, CMainFrame& frame, QLabel& pane);
    ~MonitorController() override;

    bool IsMonitoring() const { return m_worker != nullptr; }
    // The interval box for the data tool bar.
    QSpinBox& IntervalBox() { return *m_interval; }
    const ChangeMarks& Marks() const { return m_marks; }

    // The command: starts monitoring, or stops it.
    void OnMonitor();
    void Start();
    // Ends monitoring and waits for the worker; quiet: without the note in
    // the status bar. What monitoring put into the document becomes one undo
    // step per block, unless the document is going or changing as a whole.
    void Stop(bool quiet = false, bool keepHistory = true);
    void OnWriteSelection();
    // View > Trend: a window plotting the selected cells (at most
    // TrendWindow::kMaxCells) as monitoring reads them.
    void OnTrend();
    TrendWindow* Trend() const;
    // The view was created again: it gets the marks and the read-only state.
    void AttachView();

    // What the cycles did so far, for whoever watches them.
    long long Cycles() const { return m_cycles; }
    const std::optional<transfer::MonitorRange>& LastRange() const { return m_lastRange; }
    // Library calls the worker made, and whether two cycles ever ran at once.
    long long LibraryCalls() const { return m_calls; }
    bool Overlapped() const { return m_overlapped; }

signals:
    // A cycle put its words into the document at time (ms since the epoch).
    void CycleApplied(qint64 time);
    void MonitoringChanged(bool monitoring);

private:
    class Worker;
    void NextCycle();
    void OnCycleDone(int generation, std::vector<transfer::MonitorRange> ranges, int code,
                     std::vector<std::vector<std::uint8_t>> bytes, std::string error, long long calls);
    void Apply(const transfer::MonitorRange& range, const std::vector<std::uint8_t>& bytes);
    // Ends monitoring after too many failed cycles in a row, with the last error.
    void StopAfterFailures();
    // Write Selection is over: monitoring stops now if it should have meanwhile.
    void EndWrite();
    std::optional<transfer::MonitorRange> VisibleRange() const;
    // The trend's cells outside the visible range, read as well each cycle.
    std::vector<transfer::MonitorRange> TrendRanges(const transfer::MonitorRange& visible) const;
    void ShowState();
    std::unique_ptr<Worker> MakeWorker();

    CMemorixApp& m_app;
    CMainFrame& m_frame;
    QLabel& m_pane;
    QSpinBox* m_interval = nullptr;
    QThread* m_thread = nullptr;
    Worker* m_worker = nullptr;
    QTimer m_next;
    QTimer m_fade;
    QElapsedTimer m_cycleClock;
    ChangeMarks m_marks;
    int m_generation = 0;
    int m_failures = 0;
    std::string m_lastError;
    bool m_writing = false;
    bool m_inFlight = false;
    bool m_overlapped = false;
    long long m_cycles = 0;
    long long m_calls = 0;
    std::optional<transfer::MonitorRange> m_lastRange;
    // The blocks whose words monitoring changed since it started.
    std::set<std::pair<std::uint8_t, std::int16_t>> m_changedBlocks;
    QPointer<TrendWindow> m_trend;
};
