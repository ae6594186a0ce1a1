// How quickly the main window answers while it monitors a PLC. Another thread
// posts an event to the GUI thread every few milliseconds, stamped with the
// time of posting; the wait is the time from posting to handling. The window
// shows a DT block of 10,000 words of CA-500L read from memorix-plcsim
// --animate (the counter and the sine move every cycle), at the shortest
// interval, with and without a trend of eight cells open; the same window
// idle is the baseline. Each run lasts a few seconds; the time reported is the
// 99th percentile of the waits, the counters give the median, the worst wait
// and the cycles monitored.

#include "app/CMemorixApp.h"
#include "catalogue/CPlcDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "document/CMemorixDoc.h"
#include "model/DeviceLists.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/MemorySettingsStore.h"
#include "platform/ProgramFolder.h"
#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/MonitorController.h"
#include "ui/frame/TrendWindow.h"
#include "ui/shared/CommandTable.h"
#include "ui/view/CMemorixView.h"

#include "bench/BenchApplication.h"
#include "bench/BenchSimulator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QSpinBox>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kModel = 1794; // CA-500L, as the simulator serves
constexpr int kLastDtAddress = 9999;
constexpr auto kPostEvery = std::chrono::milliseconds(5);
constexpr int kRunMs = 4000;

enum class Load { Idle, Monitoring, MonitoringWithTrend };

const QEvent::Type kProbeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class ProbeEvent final : public QEvent {
public:
    ProbeEvent()
        : QEvent(kProbeEvent)
    {
    }
    const Clock::time_point posted = Clock::now();
};

// Takes the probes on the GUI thread and keeps their waits.
class ProbeReceiver final : public QObject {
public:
    std::vector<double> waitsMs;

    bool event(QEvent* event) override
    {
        if (event->type() != kProbeEvent)
            return QObject::event(event);
        const auto waited = Clock::now() - static_cast<ProbeEvent*>(event)->posted;
        waitsMs.push_back(std::chrono::duration<double, std::milli>(waited).count());
        return true;
    }
};

// The program as a user has it: the language library, the catalogue beside the
// executable, a new document of CA-500L with DT 0-9999, the window shown.
class Window {
public:
    Window()
    {
        EnsureBenchApplication();
        const std::string folder = platform::ProgramFolder();
        if (!m_resources.Load(folder + "/MEMORIXEnu.so"))
            return;
        m_app = std::make_unique<CMemorixApp>(AppServices{m_messages, m_resources, m_settings, folder + "/Memorix.db"});
        if (!ChooseModel())
            return;
        m_frame = std::make_unique<CMainFrame>(*m_app, m_resources);
        m_app->SetStartMode(START_NEW);
        if (!m_frame->NewDocument())
            return;
        m_frame->resize(1000, 700);
        m_frame->show();
        m_frame->findChild<QSpinBox*>(QStringLiteral("monitorInterval"))->setValue(MonitorController::kMinInterval);
        m_ok = true;
    }
    ~Window()
    {
        if (m_frame && m_app->GetActiveDoc())
            m_app->GetActiveDoc()->SetModifiedFlag(false);
        m_frame.reset();
    }

    bool Ok() const { return m_ok; }
    CMainFrame& Frame() { return *m_frame; }

private:
    bool ChooseModel()
    {
        CPlcDatabase db(m_app->Messages(), m_app->CataloguePath());
        CatalogueModel catalogue;
        if (db.DBConnect(true) != 1 || !ReadCatalogueModel(db, kModel, catalogue))
            return false;
        PlcChoice& plc = m_app->Plc();
        plc.SetModel(catalogue.model, catalogue.devices);
        plc.RefreshLdtFormat();
        BuildDeviceLists(catalogue.model, catalogue.devices, m_resources, plc.m_aDeviceInfo, plc.m_aBankInfo);
        for (stDeviceInfo& device : plc.m_aDeviceInfo) {
            if (device.Id == DeviceCode::DT) {
                device.StartAddr = 0;
                device.EndAddr = kLastDtAddress;
                device.Selected = 1;
            }
        }
        return true;
    }

    platform::ConsoleMessageBox m_messages{nullptr};
    platform::MemorySettingsStore m_settings;
    CResourceHandle m_resources;
    std::unique_ptr<CMemorixApp> m_app;
    std::unique_ptr<CMainFrame> m_frame;
    bool m_ok = false;
};

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

void PostedEventWait(benchmark::State& state)
{
    const auto load = static_cast<Load>(state.range(0));
    BenchSimulator simulator({"--animate"}, 0);
    if (simulator.Port() <= 0)
        return state.SkipWithError("the simulator did not start");
    Window window;
    if (!window.Ok())
        return state.SkipWithError("the window could not be set up");
    CMainFrame& frame = window.Frame();
    MonitorController& monitor = frame.Monitor();
    if (load != Load::Idle) {
        frame.Commands().Trigger(res::ID_PLC_MONITOR);
        if (!monitor.IsMonitoring())
            return state.SkipWithError("monitoring did not start");
    }
    if (load == Load::MonitoringWithTrend) {
        CMemorixView& view = *frame.View();
        view.SelectCell(0, 0);
        for (int k = 1; k < 8; ++k)
            view.Navigate(NavKey::Right, true, false);
        frame.Commands().Trigger(res::ID_VIEW_TREND);
        if (!monitor.Trend())
            return state.SkipWithError("the trend did not open");
    }

    for (auto _ : state) {
        ProbeReceiver receiver;
        const long long cyclesBefore = monitor.Cycles();
        std::atomic<bool> stop = false;
        std::thread poster([&] {
            auto next = Clock::now();
            while (!stop) {
                QCoreApplication::postEvent(&receiver, new ProbeEvent);
                next += kPostEvery;
                std::this_thread::sleep_until(next);
            }
        });
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < kRunMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        stop = true;
        poster.join();
        QCoreApplication::sendPostedEvents(&receiver, kProbeEvent);

        const double p99 = Percentile(receiver.waitsMs, 0.99);
        state.SetIterationTime(p99 / 1000.0);
        state.counters["median_us"] = 1000 * Percentile(receiver.waitsMs, 0.5);
        state.counters["worst_us"] = 1000 * Percentile(receiver.waitsMs, 1.0);
        state.counters["probes"] = static_cast<double>(receiver.waitsMs.size());
        state.counters["cycles"] = static_cast<double>(monitor.Cycles() - cyclesBefore);
        if (load != Load::Idle && monitor.Cycles() == cyclesBefore)
            state.SkipWithError("no cycle was monitored");
    }
    if (monitor.IsMonitoring())
        monitor.Stop(true, false);
}
BENCHMARK(PostedEventWait)
    ->ArgName("load")
    ->Arg(static_cast<int>(Load::Idle))
    ->Arg(static_cast<int>(Load::Monitoring))
    ->Arg(static_cast<int>(Load::MonitoringWithTrend))
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
