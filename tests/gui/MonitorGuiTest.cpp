// Watching a running PLC from the main window, along a commissioning
// engineer's path: monitoring shows the counter rise with marks and reads only
// the rows in view, the grid refuses typing, Write Selection writes exactly the
// selected words, a PLC that goes away stops monitoring after three failed
// cycles, and monitoring ends before a transfer and with the document.

#include "GuiTestSupport.h"
#include "support/CommSession.h"
#include "support/SimulatorProcess.h"
#include "document/CMemorixDoc.h"
#include "resources/ResourceIds.h"
#include "ui/frame/MonitorController.h"
#include "ui/frame/TrendWindow.h"
#include "support/RunProcess.h"
#include "ui/shared/CommandTable.h"
#include "ui/shared/ResourceDialog.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/GridModel.h"

#include <QAction>
#include <QChartView>
#include <QDateTimeAxis>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <sstream>

using guitest::FrameTest;
using guitest::WhenModal;

namespace {

using commtest::ReadRegister;

class MonitorGuiTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        commtest::UseFreshSettingsFolder();
    }
    MonitorController& Monitor() { return Frame().Monitor(); }
    CMemorixView& View() { return *Frame().View(); }
    const CEditData& Dt() { return *app->GetActiveDoc()->FindBlock(DeviceCode::DT, 0); }
    int Word(int address)
    {
        const CEditData& block = Dt();
        const std::size_t at = static_cast<std::size_t>(address - block.StartAddr) * 2;
        return block.Data[at] | block.Data[at + 1] << 8;
    }
    bool WaitForCycles(long long more)
    {
        const long long until = Monitor().Cycles() + more;
        return QTest::qWaitFor([&] { return Monitor().Cycles() >= until; }, 5000);
    }
    void AnswerConfirmation(bool yes)
    {
        WhenModal([yes](QWidget& confirm) {
            if (yes)
                qobject_cast<ResourceDialog*>(&confirm)->Control<QPushButton>(1)->click();
            else
                qobject_cast<QDialog*>(&confirm)->reject();
        });
    }
    bool StoppedWithMessage()
    {
        const std::string lead = resources.LoadString(res::IDS_MONITOR_STOPPED).substr(0, 20);
        for (const auto& shown : messages.Shown())
            if (shown.text.rfind(lead, 0) == 0)
                return true;
        return false;
    }
};

} // namespace

TEST_F(MonitorGuiTest, WatchingTheCounterWritingASelectionAndLosingThePlc)
{
    auto sim = std::make_unique<commtest::SimulatorProcess>(std::vector<std::string>{"--model", "35", "--animate"});
    ASSERT_TRUE(sim->Started()) << sim->Log();
    commtest::SaveTcpProfile(0, sim->Port());
    NewDocument(35, {{DeviceCode::DT, {0, 9999}}});
    Frame().show();
    dialogtest::Activate(Frame());
    auto* interval = Frame().findChild<QSpinBox*>(QStringLiteral("monitorInterval"));
    ASSERT_NE(interval, nullptr);
    EXPECT_EQ(interval->value(), 500);
    interval->setValue(100);
    EXPECT_EQ(settings.GetUserInt("Config", "MonitorInterval", 0), 100) << "kept for the next run";

    // The counter rises cycle by cycle, its cell marked, the sine within bounds.
    Trigger(res::ID_PLC_MONITOR);
    ASSERT_TRUE(Monitor().IsMonitoring());
    EXPECT_TRUE(Frame().Commands().Action(res::ID_PLC_MONITOR)->isChecked());
    ASSERT_TRUE(WaitForCycles(1));
    const int first = Word(0);
    ASSERT_TRUE(WaitForCycles(3));
    EXPECT_GT(Word(0), first);
    EXPECT_LE(std::abs(static_cast<std::int16_t>(Word(1))), 1000);
    EXPECT_GT(Monitor().Marks().Strength(Dt(), 0, 2, ChangeMarks::Clock::now()), 0.0);
    EXPECT_EQ(Monitor().Marks().Strength(Dt(), 4, 2, ChangeMarks::Clock::now()), 0.0) << "DT 2 never changes";
    EXPECT_TRUE(app->GetActiveDoc()->IsModified());
    EXPECT_FALSE(View().CanUndo()) << "no undo step per cycle";
    auto* pane = Frame().findChild<QLabel*>(QStringLiteral("monitorPane"));
    EXPECT_TRUE(pane->isVisibleTo(&Frame()));
    EXPECT_NE(pane->text().toStdString().find("ms per cycle"), std::string::npos) << pane->text().toStdString();
    dialogtest::SaveScreenshot(Frame(), "monitor-marked");

    // Only the rows in view (and a margin) are read, one library call a cycle,
    // and cycles never run at once.
    const auto [top, bottom] = View().VisibleRows();
    ASSERT_TRUE(Monitor().LastRange());
    EXPECT_EQ(Monitor().LastRange()->start, 0);
    EXPECT_LE(Monitor().LastRange()->end, (bottom + 1 + MonitorController::kMarginRows) * 8 - 1);
    EXPECT_GE(Monitor().LastRange()->end, bottom * 8);
    EXPECT_EQ(Monitor().LibraryCalls(), Monitor().Cycles());
    EXPECT_FALSE(Monitor().Overlapped());
    (void)top;

    // A trend of DT 0 and DT 1 in signed decimal: one sample a cycle, the
    // sine below zero as well as above; nine cells are too many.
    View().OnRadixChanged(2);
    ASSERT_EQ(View().Setting().radix, codec::RADIX_DEC);
    View().SelectCell(0, 0);
    ASSERT_TRUE(View().Navigate(NavKey::End, true, false));
    ASSERT_TRUE(View().Navigate(NavKey::Down, true, false)); // 16 cells
    messages.ClearShown();
    Trigger(res::ID_VIEW_TREND);
    EXPECT_EQ(Monitor().Trend(), nullptr);
    ASSERT_FALSE(messages.Shown().empty());
    EXPECT_EQ(messages.Shown().back().stringId, res::IDS_TREND_TOO_MANY);
    View().SelectCell(0, 0);
    ASSERT_TRUE(View().Navigate(NavKey::Right, true, false));
    Trigger(res::ID_VIEW_TREND);
    TrendWindow* trend = Monitor().Trend();
    ASSERT_NE(trend, nullptr);
    ASSERT_EQ(trend->Cells().size(), 2u);
    EXPECT_EQ(trend->Cells()[0].label, "DT 0");
    EXPECT_EQ(trend->Cells()[1].label, "DT 1");
    EXPECT_FALSE(trend->findChild<QLabel*>(QStringLiteral("trendNotice"))->isVisibleTo(trend));
    ASSERT_TRUE(WaitForCycles(4));
    EXPECT_GE(trend->SampleCount(), 4u);
    EXPECT_EQ(trend->LastValues().at(0), Word(0));
    EXPECT_EQ(trend->LastValues().at(1), static_cast<std::int16_t>(Word(1)));
    // The time axis's ticks read differently, however short the trend so far.
    const auto* chart = trend->findChild<QChartView*>()->chart();
    const auto* axis = qobject_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).front());
    ASSERT_NE(axis, nullptr);
    QStringList ticks;
    for (int k = 0; k < axis->tickCount(); ++k) {
        const qint64 span = axis->max().toMSecsSinceEpoch() - axis->min().toMSecsSinceEpoch();
        const QDateTime at = axis->min().addMSecs(span * k / (axis->tickCount() - 1));
        ticks.append(at.toString(axis->format()));
    }
    ticks.removeDuplicates();
    EXPECT_EQ(ticks.size(), axis->tickCount()) << ticks.join(QLatin1Char(' ')).toStdString();
    dialogtest::SaveScreenshot(*trend, "monitor-trend");

    // Scrolled away, the rows in view are read, and the trend's cells still.
    View().List().verticalScrollBar()->setValue(View().List().verticalScrollBar()->maximum());
    ASSERT_TRUE(WaitForCycles(2));
    EXPECT_EQ(Monitor().LastRange()->end, 9999);
    EXPECT_GT(Monitor().LastRange()->start, 9000);
    const int counted = Word(0);
    ASSERT_TRUE(WaitForCycles(3));
    EXPECT_GT(Word(0), counted);
    View().List().verticalScrollBar()->setValue(0);

    // The samples as CSV and the picture as PNG; pause holds, clear empties.
    const std::string csv = scratch.Path("trend.csv");
    ASSERT_TRUE(trend->ExportCsv(csv));
    const std::string text = testsupport::ReadWholeFile(csv);
    EXPECT_EQ(text.rfind("time,DT 0,DT 1\r\n", 0), 0u) << text;
    EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')), trend->SampleCount() + 1);
    const std::string png = scratch.Path("trend.png");
    ASSERT_TRUE(trend->ExportPicture(png));
    EXPECT_EQ(testsupport::ReadWholeFile(png).substr(1, 3), "PNG");
    trend->findChild<QToolButton*>(QStringLiteral("trendPause"))->click();
    const std::size_t held = trend->SampleCount();
    ASSERT_TRUE(WaitForCycles(2));
    EXPECT_EQ(trend->SampleCount(), held);
    trend->findChild<QToolButton*>(QStringLiteral("trendPause"))->click();
    trend->findChild<QToolButton*>(QStringLiteral("trendClear"))->click();
    EXPECT_EQ(trend->SampleCount(), 0u);
    ASSERT_TRUE(WaitForCycles(1));
    EXPECT_GE(trend->SampleCount(), 1u);
    View().OnRadixChanged(3);

    // Typing is refused while monitoring, with a word in the status bar.
    View().List().setFocus();
    QTest::keyClick(&View().List(), Qt::Key_5);
    EXPECT_FALSE(View().IsEditing());
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(), resources.LoadString(res::IDS_MONITOR_READ_ONLY));

    // Write Selection between two cycles: DT 40 as the document holds it
    // when the user confirms.
    ASSERT_TRUE(WaitForCycles(1));
    View().SelectCell(5, 0);
    WhenModal([this](QWidget& confirm) {
        const std::uint8_t forty[2] = {0x39, 0x30}; // 12345
        app->GetActiveDoc()->WriteBlockBytes(80, forty, 2, DeviceCode::DT, 0);
        qobject_cast<ResourceDialog*>(&confirm)->Control<QPushButton>(1)->click();
    });
    Trigger(res::ID_PLC_WRITE_SELECTION);
    EXPECT_EQ(ReadRegister(sim->Port(), 40), 12345);
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(), "1 words were written to the PLC.");

    // Ended by hand, the grid takes edits again; Write Selection without
    // monitoring writes the two selected words and none beside them.
    Trigger(res::ID_PLC_MONITOR);
    EXPECT_FALSE(Monitor().IsMonitoring());
    EXPECT_FALSE(pane->isVisibleTo(&Frame()));
    // What monitoring read is one undo step, before the user's own.
    ASSERT_TRUE(View().CanUndo());
    Trigger(res::ID_EDIT_UNDO);
    EXPECT_EQ(Word(0), 0);
    Trigger(res::ID_EDIT_REDO);
    EXPECT_GT(Word(0), 0);
    const std::uint8_t values[6] = {0x11, 0x00, 0x22, 0x00, 0x33, 0x00};
    ASSERT_TRUE(View().ApplyWrite(2 * 20, std::vector<std::uint8_t>(values, values + 6))); // DT 20-22
    View().SelectCell(2, 4);
    ASSERT_TRUE(View().Navigate(NavKey::Right, true, false)); // DT 20-21
    AnswerConfirmation(true);
    Trigger(res::ID_PLC_WRITE_SELECTION);
    EXPECT_EQ(ReadRegister(sim->Port(), 20), 0x11);
    EXPECT_EQ(ReadRegister(sim->Port(), 21), 0x22);
    EXPECT_EQ(ReadRegister(sim->Port(), 22), 0);
    EXPECT_EQ(ReadRegister(sim->Port(), 19), 0);

    // The PLC goes away: failed cycles show in the status bar, the third stops
    // monitoring with the message box.
    Trigger(res::ID_PLC_MONITOR);
    ASSERT_TRUE(WaitForCycles(1));
    messages.ClearShown();
    ASSERT_EQ(sim->Stop(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Monitor().IsMonitoring(); }, 10000));
    EXPECT_TRUE(StoppedWithMessage());
    EXPECT_FALSE(Frame().Commands().Action(res::ID_PLC_MONITOR)->isChecked());
    ASSERT_NE(Monitor().Trend(), nullptr);
    EXPECT_TRUE(trend->findChild<QLabel*>(QStringLiteral("trendNotice"))->isVisibleTo(trend))
        << "says it is not monitoring";

    // Back again: monitoring goes on.
    sim = std::make_unique<commtest::SimulatorProcess>(std::vector<std::string>{"--model", "35", "--animate"});
    ASSERT_TRUE(sim->Started()) << sim->Log();
    commtest::SaveTcpProfile(0, sim->Port());
    Trigger(res::ID_PLC_MONITOR);
    ASSERT_TRUE(WaitForCycles(2));

    // A transfer, a change of model and closing the document each end it first.
    AnswerConfirmation(false);
    Trigger(res::ID_PLC_WRITE);
    EXPECT_FALSE(Monitor().IsMonitoring());
    Trigger(res::ID_PLC_MONITOR);
    ASSERT_TRUE(Monitor().IsMonitoring());
    Frame().ModelChanged(app->Plc().m_aDeviceInfo, app->Plc().m_strPLCName);
    EXPECT_FALSE(Monitor().IsMonitoring());
    Trigger(res::ID_PLC_MONITOR);
    ASSERT_TRUE(Monitor().IsMonitoring());
    const long long cycles = Monitor().Cycles();
    Frame().CloseDocument();
    EXPECT_FALSE(Monitor().IsMonitoring());
    QTest::qWait(300);
    EXPECT_EQ(Monitor().Cycles(), cycles) << "nothing arrives after the end";
}

// Cycles wait for each other: against a PLC that takes 300 ms to answer with
// a 100 ms interval, at most one cycle per 400 ms completes.
// A PLC that takes 300 ms to answer: cycles wait for each other, and Write
// Selection, while monitoring and without, leaves the window alive and can be
// cancelled.
TEST_F(MonitorGuiTest, ASlowPlcSlowsTheCyclesDownAndWritesKeepTheWindowAlive)
{
    commtest::SimulatorProcess sim({"--model", "35", "--delay", "300"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(0, sim.Port(), 5000);
    NewDocument(35, {{DeviceCode::DT, {0, 99}}});
    Frame().show();
    Frame().findChild<QSpinBox*>(QStringLiteral("monitorInterval"))->setValue(100);
    Trigger(res::ID_PLC_MONITOR);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Monitor().Cycles() >= 1; }, 5000));
    const long long start = Monitor().Cycles();
    QTest::qWait(2000);
    EXPECT_LE(Monitor().Cycles() - start, 6);
    EXPECT_GE(Monitor().Cycles() - start, 3);
    EXPECT_FALSE(Monitor().Overlapped());

    // The window's timers go on while a write waits for the PLC.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    const auto writeSelection = [&](int address, std::uint8_t value, bool cancel) {
        View().SelectCell(address / 8, address % 8);
        if (!Monitor().IsMonitoring()) {
            const std::uint8_t word[2] = {value, 0};
            app->GetActiveDoc()->WriteBlockBytes(2 * address, word, 2, DeviceCode::DT, 0);
        }
        WhenModal([this, cancel](QWidget& confirm) {
            qobject_cast<ResourceDialog*>(&confirm)->Control<QPushButton>(1)->click();
            if (cancel)
                QTimer::singleShot(50, [this] {
                    auto* button = Frame().statusBar()->findChild<QPushButton*>(QStringLiteral("transferCancel"));
                    ASSERT_NE(button, nullptr);
                    button->click();
                });
        });
        const int before = ticks;
        Trigger(res::ID_PLC_WRITE_SELECTION);
        return ticks - before;
    };
    EXPECT_GE(writeSelection(5, 0, false), 5) << "while monitoring";
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(), "1 words were written to the PLC.");
    Trigger(res::ID_PLC_MONITOR);
    ASSERT_FALSE(Monitor().IsMonitoring());
    EXPECT_GE(writeSelection(6, 0x66, false), 5) << "on a session of its own";
    EXPECT_EQ(ReadRegister(sim.Port(), 6), 0x66);

    // Cancel while the PLC is still being asked who it is: nothing is written.
    messages.ClearShown();
    writeSelection(7, 0x77, true);
    EXPECT_EQ(ReadRegister(sim.Port(), 7), 0);
    ASSERT_FALSE(messages.Shown().empty());
    EXPECT_EQ(messages.Shown().back().text, resources.LoadString(res::IDS_TRANSFER_STOPPED));
    EXPECT_TRUE(Frame().Commands().IsEnabled(res::ID_PLC_WRITE_SELECTION));
}
