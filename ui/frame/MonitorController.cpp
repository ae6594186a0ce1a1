#include "ui/frame/MonitorController.h"

#include "app/CMemorixApp.h"
#include "document/CMemorixDoc.h"
#include "codec/ValueCodec.h"
#include "grid/GridLayout.h"
#include "model/PlcChoice.h"
#include "platform/ISettingsStore.h"
#include "platform/MessageBox.h"
#include "resources/FormatText.h"
#include "resources/Messages.h"
#include "resources/ResourceIds.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/TransferRunner.h"
#include "ui/frame/TrendWindow.h"
#include "ui/shared/CommandTable.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/GridModel.h"
#include "undo/CUndoMap.h"
#include "undo/IShownBlock.h"

#include <QAction>
#include <QDateTime>
#include <QLabel>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <functional>

namespace {

constexpr const char* kConfig = "Config";
constexpr const char* kIntervalKey = "MonitorInterval";
// How often fading marks are drawn again.
constexpr int kFadeStepMs = 100;

// A block named for the undo histories, which know blocks by what is shown.
class ShownBlock final : public IShownBlock {
public:
    ShownBlock(std::uint8_t device, std::int16_t bank)
        : m_device(device)
        , m_bank(bank)
    {
    }
    std::uint8_t GetSelectedDeviceCode() const override { return m_device; }
    std::uint16_t GetSelectedBank() const override { return static_cast<std::uint16_t>(m_bank); }

private:
    std::uint8_t m_device;
    std::int16_t m_bank;
};

int WordsPerAddress(const CEditData& block)
{
    return std::max(block.DataSize, 1);
}

} // namespace

std::pair<std::int32_t, std::int32_t> AddressesOfRows(const GridLayout& layout, int first, int last, int margin)
{
    const CEditData& block = layout.Block();
    const std::size_t addressBytes = static_cast<std::size_t>(WordsPerAddress(block)) * 2;
    first = std::max(first - margin, 0);
    last = std::min(last + margin, layout.Rows() - 1);
    const std::size_t rowBytes = static_cast<std::size_t>(layout.CellBytes()) * layout.Columns();
    const std::size_t from = static_cast<std::size_t>(first) * rowBytes;
    const std::size_t to = std::min(static_cast<std::size_t>(last + 1) * rowBytes, block.Data.size());
    if (to <= from)
        return {block.StartAddr, block.StartAddr - 1};
    return {block.StartAddr + static_cast<std::int32_t>(from / addressBytes),
            block.StartAddr + static_cast<std::int32_t>((to - 1) / addressBytes)};
}

std::vector<std::pair<std::int32_t, std::int32_t>> AddressRunsOfSelection(const GridLayout& layout,
                                                                          const CellRange& selection)
{
    const CEditData& block = layout.Block();
    const std::size_t addressBytes = static_cast<std::size_t>(WordsPerAddress(block)) * 2;
    const CellRange range = selection.Normalised();
    const int lastData = layout.Columns() - 1;
    const int left = range.right > lastData ? 0 : range.left;
    const int right = std::min(range.right, lastData);
    std::vector<std::pair<std::int32_t, std::int32_t>> runs;
    for (int row = std::max(range.top, 0); row <= std::min(range.bottom, layout.Rows() - 1); ++row) {
        int lastCell = right;
        while (lastCell >= left && !layout.HasValue(row, lastCell))
            --lastCell;
        if (lastCell < left)
            continue;
        const std::size_t from = layout.CellOffset(row, left);
        const std::size_t to = layout.CellOffset(row, lastCell) + static_cast<std::size_t>(layout.CellBytes());
        const std::int32_t first = block.StartAddr + static_cast<std::int32_t>(from / addressBytes);
        const std::int32_t last =
            block.StartAddr + static_cast<std::int32_t>((std::min(to, block.Data.size()) - 1) / addressBytes);
        if (!runs.empty() && runs.back().second + 1 >= first)
            runs.back().second = std::max(runs.back().second, last);
        else
            runs.emplace_back(first, last);
    }
    return runs;
}

// Lives on the monitor thread with its own session; each call runs there,
// one after the other, and hands its result back to the controller's thread.
class MonitorController::Worker final : public QObject {
public:
    Worker(std::uint16_t connection, std::string appName, int language, transfer::CommLog& log)
        : m_session(connection, std::move(appName), language)
    {
        m_session.SetRequestLog(&log);
    }

    void Cycle(MonitorController* owner, int generation, std::vector<transfer::MonitorRange> ranges)
    {
        std::vector<std::vector<std::uint8_t>> bytes(ranges.size());
        int code = 0;
        for (std::size_t k = 0; code == 0 && k < ranges.size(); ++k)
            code = m_session.Read(ranges[k], bytes[k]);
        std::string error = code != 0 ? m_session.ErrorText(code) : std::string();
        const long long calls = m_session.Calls();
        QMetaObject::invokeMethod(
            owner,
            [=, ranges = std::move(ranges), bytes = std::move(bytes), error = std::move(error)]() mutable {
                owner->OnCycleDone(generation, std::move(ranges), code, std::move(bytes), std::move(error), calls);
            },
            Qt::QueuedConnection);
    }

    // 0, or the libraries' code with its text in error; the connected model in modelId.
    int Identify(int& modelId, std::string& error)
    {
        const int code = m_session.Open();
        modelId = m_session.ModelId();
        if (code != 0)
            error = m_session.ErrorText(code);
        return code;
    }

    // 0, or the libraries' code with its text in error; the words of the
    // ranges written whole in written. A stop asked for meanwhile ends the
    // request under way, or keeps the next range from starting (stopped).
    int Write(const std::vector<transfer::MonitorRange>& ranges, const std::vector<std::vector<std::uint8_t>>& bytes,
              std::string& error, long long& written, bool& stopped)
    {
        int code = 0;
        written = 0;
        stopped = false;
        for (std::size_t k = 0; code == 0 && k < ranges.size(); ++k) {
            if (m_stop) {
                stopped = true;
                break;
            }
            code = m_session.Write(ranges[k], bytes[k]);
            if (code == 0)
                written += static_cast<long long>(ranges[k].Bytes() / 2);
        }
        if (code != 0)
            error = m_session.ErrorText(code);
        return code;
    }

    // From the window's thread, for Write Selection's Cancel.
    void RequestStop()
    {
        m_stop = true;
        m_session.Cancel();
    }
    void ClearStop() { m_stop = false; }
    bool StopRequested() const { return m_stop; }

private:
    transfer::MonitorSession m_session;
    std::atomic<bool> m_stop = false;
};

MonitorController::MonitorController(CMemorixApp& app, CMainFrame& frame, QLabel& pane)
    : QObject(&frame)
    , m_app(app)
    , m_frame(frame)
    , m_pane(pane)
{
    m_pane.hide();
    m_interval = new QSpinBox(&frame);
    m_interval->setObjectName(QStringLiteral("monitorInterval"));
    m_interval->setRange(kMinInterval, kMaxInterval);
    m_interval->setSingleStep(100);
    m_interval->setToolTip(QString::fromStdString(app.Strings().LoadString(res::IDS_MONITOR_INTERVAL)));
    m_interval->setValue(
        std::clamp(app.Settings().GetUserInt(kConfig, kIntervalKey, kDefaultInterval), kMinInterval, kMaxInterval));
    connect(m_interval, &QSpinBox::valueChanged, this,
            [this](int value) { m_app.Settings().SetUserInt(kConfig, kIntervalKey, value); });
    m_next.setSingleShot(true);
    connect(&m_next, &QTimer::timeout, this, &MonitorController::NextCycle);
    m_fade.setInterval(kFadeStepMs);
    connect(&m_fade, &QTimer::timeout, this, [this] {
        if (!m_marks.Prune(ChangeMarks::Clock::now()))
            m_fade.stop();
        if (CMemorixView* view = m_frame.View())
            view->List().viewport()->update();
    });
}

MonitorController::~MonitorController()
{
    Stop(true, false);
}

std::unique_ptr<MonitorController::Worker> MonitorController::MakeWorker()
{
    CTesknetComm& comm = m_app.GetComm();
    return std::make_unique<Worker>(comm.ConnectionNumber(), comm.Host().ApplicationName(), comm.LanguageCode(),
                                    m_app.RequestLog());
}

void MonitorController::OnMonitor()
{
    if (IsMonitoring())
        Stop();
    else
        Start();
}

void MonitorController::Start()
{
    if (IsMonitoring() || !m_app.GetActiveDoc() || !m_frame.View() || !m_frame.EndEdit(true)) {
        ShowState();
        return;
    }
    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("monitor"));
    m_worker = MakeWorker().release();
    m_worker->moveToThread(m_thread);
    m_thread->start();
    ++m_generation;
    m_failures = 0;
    m_inFlight = false;
    m_marks.Clear();
    AttachView();
    ShowState();
    emit MonitoringChanged(true);
    NextCycle();
}

void MonitorController::Stop(bool quiet, bool keepHistory)
{
    if (!IsMonitoring())
        return;
    ++m_generation; // results still on their way are dropped
    m_next.stop();
    m_thread->quit();
    m_thread->wait();
    delete m_worker;
    m_worker = nullptr;
    delete m_thread;
    m_thread = nullptr;
    m_inFlight = false;
    if (CMemorixDoc* document = m_app.GetActiveDoc(); document && keepHistory)
        for (const auto& [device, bank] : m_changedBlocks) {
            const ShownBlock shown(device, bank);
            m_app.GetUndoMap().RecordChange(*document, shown);
        }
    m_changedBlocks.clear();
    AttachView();
    ShowState();
    if (!quiet)
        m_frame.statusBar()->showMessage(QString::fromStdString(m_app.Strings().LoadString(res::IDS_MONITOR_ENDED)),
                                         3000);
    emit MonitoringChanged(false);
}

void MonitorController::AttachView()
{
    if (CMemorixView* view = m_frame.View()) {
        view->SetReadOnly(IsMonitoring());
        view->SetChangeMarks(&m_marks);
    }
}

void MonitorController::ShowState()
{
    if (QAction* action = m_frame.Commands().Action(res::ID_PLC_MONITOR)) {
        action->setCheckable(true);
        action->setChecked(IsMonitoring());
    }
    if (!IsMonitoring())
        m_pane.hide();
    m_frame.Commands().UpdateEnabled();
}

std::optional<transfer::MonitorRange> MonitorController::VisibleRange() const
{
    const CMemorixView* view = m_frame.View();
    if (!view || view->Model().Layout().Rows() == 0)
        return std::nullopt;
    const GridLayout& layout = view->Model().Layout();
    const CEditData& block = layout.Block();
    const auto [first, last] = view->VisibleRows();
    const auto [start, end] = AddressesOfRows(layout, first, last, kMarginRows);
    transfer::MonitorRange range;
    range.device = block.Id;
    range.bank = PlcChoice::IsFLBankDevice(block.Id, m_app.Plc().m_FLBankNum) ? block.BankNo : -1;
    range.start = start;
    range.end = end;
    range.wordsPerAddress = WordsPerAddress(block);
    return range;
}

void MonitorController::NextCycle()
{
    if (!IsMonitoring())
        return;
    if (m_inFlight) {
        m_overlapped = true;
        return;
    }
    const std::optional<transfer::MonitorRange> range = VisibleRange();
    if (!range || range->Addresses() <= 0) {
        m_next.start(m_interval->value());
        return;
    }
    m_inFlight = true;
    m_cycleClock.start();
    Worker* worker = m_worker;
    const int generation = m_generation;
    std::vector<transfer::MonitorRange> asked{*range};
    for (const transfer::MonitorRange& extra : TrendRanges(*range))
        asked.push_back(extra);
    QMetaObject::invokeMethod(
        worker, [this, worker, generation, asked] { worker->Cycle(this, generation, asked); }, Qt::QueuedConnection);
}

void MonitorController::OnCycleDone(int generation, std::vector<transfer::MonitorRange> ranges, int code,
                                    std::vector<std::vector<std::uint8_t>> bytes, std::string error, long long calls)
{
    if (generation != m_generation || !IsMonitoring())
        return;
    m_inFlight = false;
    m_calls = calls;
    const IStringTable& strings = m_app.Strings();
    if (code != 0) {
        m_lastError = error;
        if (++m_failures >= kFailuresToStop && !m_writing) {
            StopAfterFailures();
            return;
        }
        m_frame.statusBar()->showMessage(
            QString::fromStdString(FormatText(strings.LoadString(res::IDS_MONITOR_CYCLE_FAILED), {error})));
    } else {
        m_failures = 0;
        ++m_cycles;
        m_lastRange = ranges.front();
        for (std::size_t k = 0; k < ranges.size(); ++k)
            Apply(ranges[k], bytes[k]);
        const long long ms = m_cycleClock.elapsed();
        m_pane.setText(QString::fromStdString(FormatText(strings.LoadString(res::IDS_MONITOR_STATUS), {ms})));
        m_pane.show();
        emit CycleApplied(QDateTime::currentMSecsSinceEpoch());
    }
    m_next.start(m_interval->value());
}

void MonitorController::StopAfterFailures()
{
    Stop(true);
    platform::MessageRequest request;
    request.text = FormatText(m_app.Strings().LoadString(res::IDS_MONITOR_STOPPED), {m_lastError});
    request.icon = platform::MsgIcon::Exclamation;
    m_app.Messages().Show(request);
}

void MonitorController::Apply(const transfer::MonitorRange& range, const std::vector<std::uint8_t>& bytes)
{
    CMemorixDoc* document = m_app.GetActiveDoc();
    const std::int16_t bank = static_cast<std::int16_t>(std::max(range.bank, 0));
    const CEditData* block = document ? document->FindBlock(range.device, bank) : nullptr;
    if (!block || range.start < block->StartAddr)
        return;
    const std::size_t offset = static_cast<std::size_t>(range.start - block->StartAddr)
                               * static_cast<std::size_t>(WordsPerAddress(*block)) * 2;
    if (offset >= block->Data.size())
        return;
    const std::size_t count = std::min(bytes.size(), block->Data.size() - offset);
    const std::span<const std::uint8_t> before(block->Data.data() + offset, count);
    const std::span<const std::uint8_t> after(bytes.data(), count);
    if (std::equal(before.begin(), before.end(), after.begin()))
        return;
    m_marks.Note(*block, offset, before, after, ChangeMarks::Clock::now());
    m_changedBlocks.emplace(range.device, bank);
    document->WriteBlockBytes(static_cast<std::int32_t>(offset), bytes.data(), static_cast<std::int32_t>(count),
                              range.device, bank);
    CMemorixView* view = m_frame.View();
    if (view && view->DeviceCode() == range.device && view->BankNo() == static_cast<std::uint16_t>(bank))
        view->ShowBlockBytes(offset, after);
    if (!m_fade.isActive())
        m_fade.start();
    m_frame.UpdateTitle();
}

void MonitorController::OnWriteSelection()
{
    CMemorixDoc* document = m_app.GetActiveDoc();
    CMemorixView* view = m_frame.View();
    // Ending an edit collapses the selection onto the cursor: the cells the
    // user selected are taken first.
    if (!document || !view || view->Model().Layout().Rows() == 0)
        return;
    const CellRange selection = view->Selection().Block();
    if (view->IsEditing() && !view->EndEdit(true))
        return;
    const GridLayout& layout = view->Model().Layout();
    const auto runs = AddressRunsOfSelection(layout, selection);
    const std::uint8_t device = layout.Block().Id;
    const std::int16_t bankNo = layout.Block().BankNo;
    if (runs.empty())
        return;
    CTesknetComm& comm = m_app.GetComm();
    if (!comm.Host().ConfirmTransfer(comm, true))
        return;
    // The words as the document holds them once the user said yes.
    const CEditData* shown = document->FindBlock(device, bankNo);
    if (!shown)
        return;
    const CEditData& block = *shown;
    std::vector<transfer::MonitorRange> ranges;
    std::vector<std::vector<std::uint8_t>> bytes;
    const std::size_t addressBytes = static_cast<std::size_t>(WordsPerAddress(block)) * 2;
    for (const auto& [first, last] : runs) {
        transfer::MonitorRange range;
        range.device = block.Id;
        range.bank = PlcChoice::IsFLBankDevice(block.Id, m_app.Plc().m_FLBankNum) ? block.BankNo : -1;
        range.start = first;
        range.end = last;
        range.wordsPerAddress = WordsPerAddress(block);
        const auto from = block.Data.begin() + static_cast<std::ptrdiff_t>((first - block.StartAddr) * addressBytes);
        bytes.emplace_back(from, from + static_cast<std::ptrdiff_t>(range.Bytes()));
        ranges.push_back(range);
    }
    // Between two cycles on the monitor's thread, else on a session of its
    // own; either way off the window's thread, which stays alive meanwhile
    // with Cancel in the status bar. Monitoring is not stopped under the
    // write: failed cycles meanwhile stop it once the write is over.
    std::unique_ptr<Worker> own = IsMonitoring() ? nullptr : MakeWorker();
    Worker* worker = own ? own.get() : m_worker;
    worker->ClearStop();
    m_writing = true;
    const auto run = [&](const std::function<void()>& call) {
        m_frame.Transfers().Run(
            [&] {
                if (own)
                    call();
                else
                    QMetaObject::invokeMethod(worker, call, Qt::BlockingQueuedConnection);
                return TransferOutcome::Done;
            },
            [worker] { worker->RequestStop(); });
    };
    std::string error;
    int code = 0;
    int modelId = 0;
    long long written = 0;
    bool stopped = false;
    run([&] { code = worker->Identify(modelId, error); });
    stopped = worker->StopRequested();
    if (code == 0 && !stopped && modelId != m_app.Plc().m_nPLCId
        && ShowResourceMessage(m_app.Messages(), m_app.Strings(), res::IDS_WRITE_OTHER_PLC, platform::MsgIcon::Question,
                               platform::MsgButtons::YesNo)
               != platform::MsgAnswer::Yes) {
        EndWrite();
        return;
    }
    if (code == 0 && !stopped)
        run([&] { code = worker->Write(ranges, bytes, error, written, stopped); });
    EndWrite();
    const IStringTable& strings = m_app.Strings();
    const std::string done = FormatText(strings.LoadString(res::IDS_WRITE_SELECTION_DONE), {written});
    if (code == 0 && !stopped) {
        m_frame.statusBar()->showMessage(QString::fromStdString(done), 5000);
        return;
    }
    platform::MessageRequest request;
    request.text = code != 0 ? error : strings.LoadString(res::IDS_TRANSFER_STOPPED);
    if (written > 0)
        request.text += "\n" + done;
    request.icon = platform::MsgIcon::Exclamation;
    m_app.Messages().Show(request);
}

void MonitorController::EndWrite()
{
    m_writing = false;
    if (IsMonitoring() && m_failures >= kFailuresToStop)
        StopAfterFailures();
}

std::vector<transfer::MonitorRange> MonitorController::TrendRanges(const transfer::MonitorRange& visible) const
{
    std::vector<transfer::MonitorRange> ranges;
    const CMemorixDoc* document = m_app.GetActiveDoc();
    if (!m_trend || !document)
        return ranges;
    for (const TrendCell& cell : m_trend->Cells()) {
        const CEditData* block = document->FindBlock(cell.device, cell.bank);
        if (!block)
            continue;
        const std::size_t addressBytes = static_cast<std::size_t>(WordsPerAddress(*block)) * 2;
        transfer::MonitorRange range;
        range.device = cell.device;
        range.bank = PlcChoice::IsFLBankDevice(cell.device, m_app.Plc().m_FLBankNum) ? cell.bank : -1;
        range.start = block->StartAddr + static_cast<std::int32_t>(cell.offset / addressBytes);
        range.end = block->StartAddr
                    + static_cast<std::int32_t>(
                        (cell.offset + static_cast<std::size_t>(codec::GetCellBytes(cell.unit)) - 1) / addressBytes);
        range.end = std::min(range.end, block->EndAddr);
        range.wordsPerAddress = WordsPerAddress(*block);
        const bool shown = range.device == visible.device && range.bank == visible.bank && range.start >= visible.start
                           && range.end <= visible.end;
        if (!shown && std::find(ranges.begin(), ranges.end(), range) == ranges.end())
            ranges.push_back(range);
    }
    return ranges;
}

void MonitorController::OnTrend()
{
    CMemorixView* view = m_frame.View();
    if (!view || view->Model().Layout().Rows() == 0)
        return;
    const GridLayout& layout = view->Model().Layout();
    const CellRange range = view->Selection().Block().Normalised();
    const DisplaySetting setting = view->Setting().Normalised();
    std::vector<TrendCell> cells;
    for (int row = std::max(range.top, 0); row <= std::min(range.bottom, layout.Rows() - 1); ++row)
        for (int column = range.left; column <= std::min(range.right, layout.Columns() - 1); ++column) {
            if (!layout.HasValue(row, column))
                continue;
            TrendCell cell;
            cell.device = layout.Block().Id;
            cell.bank = layout.Block().BankNo;
            cell.offset = layout.CellOffset(row, column);
            cell.radix = setting.radix;
            cell.unit = setting.unit;
            const auto address = layout.CellAddress(row, column + 1);
            cell.label = view->GetDevicePrefix(cell.device) + " " + std::to_string(address.value_or(0));
            cells.push_back(std::move(cell));
        }
    if (cells.empty())
        return;
    if (cells.size() > static_cast<std::size_t>(TrendWindow::kMaxCells)) {
        ShowResourceMessage(m_app.Messages(), m_app.Strings(), res::IDS_TREND_TOO_MANY, platform::MsgIcon::Exclamation,
                            platform::MsgButtons::Ok, {TrendWindow::kMaxCells});
        return;
    }
    delete m_trend;
    m_trend = new TrendWindow(m_app, m_frame, std::move(cells));
    m_trend->setAttribute(Qt::WA_DeleteOnClose);
    m_trend->SetMonitoring(IsMonitoring());
    connect(this, &MonitorController::CycleApplied, m_trend, &TrendWindow::AddSample);
    connect(this, &MonitorController::MonitoringChanged, m_trend, &TrendWindow::SetMonitoring);
    m_trend->show();
}

TrendWindow* MonitorController::Trend() const
{
    return m_trend;
}
