// Reading and writing the PLC through the main window, with the real dialogs:
// the start-up choice, the confirmation, the range dialog and the settings
// dialog of the libraries, against the simulator.

#include "GuiTestSupport.h"

#include "support/CommSession.h"
#include "support/SimulatorProcess.h"

#include "ui/dialogs/CPlcUpDownMsgDlg.h"
#include "document/CMemorixDoc.h"
#include "ui/view/CMemorixView.h"
#include "ui/frame/CommLogDock.h"
#include "resources/ResourceIds.h"
#include "ui/shared/CommandTable.h"
#include "ui/shared/ResourceDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <sstream>

using guitest::FrameTest;
using guitest::WhenModal;

namespace {

int DialogId(QWidget& widget)
{
    auto* dialog = qobject_cast<ResourceDialog*>(&widget);
    return dialog ? dialog->DialogId() : 0;
}

template <typename T>
T* Control(QWidget& dialog, int id)
{
    auto* resourceDialog = qobject_cast<ResourceDialog*>(&dialog);
    return resourceDialog ? resourceDialog->Control<T>(id) : nullptr;
}

using commtest::ReadRegister;

class PlcTransferGuiTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        commtest::UseFreshSettingsFolder();
        CPlcUpDownMsgDlg::ResetBeepForTest();
    }
    bool Shown(int id) const
    {
        for (const auto& m : messages.Shown())
            if (m.stringId == id)
                return true;
        return false;
    }
};

} // namespace

TEST_F(PlcTransferGuiTest, ReadAtStartUpEditAndWriteBack)
{
    commtest::SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(0, sim.Port());
    commtest::SimulatorProcess other({"--model", "35"});
    ASSERT_TRUE(other.Started());

    QStringList progress;
    QObject::connect(Frame().statusBar(), &QStatusBar::messageChanged, [&](const QString& message) {
        if (message.isEmpty())
            return;
        progress << message;
        static bool saved = false;
        if (!saved && message.endsWith(QStringLiteral("35%"))) { // a transfer under way
            saved = true;
            dialogtest::SaveScreenshot(Frame(), "transfer-progress");
        }
    });

    std::vector<int> seen;
    QString before, after, question;
    bool beepPendingAfterPaint = true;
    bool escapeClosed = false;
    bool hasCloseButton = true;
    WhenModal([&](QWidget& startUp) {
        seen.push_back(DialogId(startUp));
        WhenModal([&](QWidget& confirm) {
            seen.push_back(DialogId(confirm));
            hasCloseButton = confirm.windowFlags().testFlag(Qt::WindowCloseButtonHint);
            question = Control<QLabel>(confirm, 805)->text();
            before = Control<QLabel>(confirm, 801)->text();
            dialogtest::SaveScreenshot(confirm, "transfer-confirm-read"); // paints it
            beepPendingAfterPaint = CPlcUpDownMsgDlg::BeepPending();
            // The settings change while the question is up: 801 follows them.
            commtest::SaveTcpProfile(0, other.Port());
            WhenModal([&](QWidget& settingsDialog) {
                dialogtest::SaveScreenshot(settingsDialog, "communication-settings");
                qobject_cast<QDialog*>(&settingsDialog)->reject();
            });
            Control<QPushButton>(confirm, 803)->click();
            after = Control<QLabel>(confirm, 801)->text();
            commtest::SaveTcpProfile(0, sim.Port());
            WhenModal([&](QWidget& settingsDialog) { qobject_cast<QDialog*>(&settingsDialog)->reject(); });
            Control<QPushButton>(confirm, 803)->click();
            WhenModal([&](QWidget& ranges) {
                seen.push_back(DialogId(ranges));
                Control<QCheckBox>(ranges, 504)->click(); // every device with its defaults
                Control<QPushButton>(ranges, 1)->click();
            });
            Control<QPushButton>(confirm, 1)->click();
        });
        Control<QPushButton>(startUp, res::IDC_STARTUP_READ_BUTTON)->click();
        Control<QPushButton>(startUp, 1)->click();
    });
    Trigger(57600);
    EXPECT_EQ(seen, (std::vector<int>{300, 800, 500}));
    EXPECT_FALSE(beepPendingAfterPaint);
    EXPECT_FALSE(hasCloseButton);
    EXPECT_EQ(question.toStdString(), resources.LoadString(res::IDS_CONFIRM_READ));
    EXPECT_TRUE(before.contains(QString::number(sim.Port()))) << before.toStdString();
    EXPECT_TRUE(after.contains(QString::number(other.Port()))) << after.toStdString();
    CMemorixDoc* doc = app->GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(app->Plc().m_nPLCId, 35);
    EXPECT_TRUE(Shown(res::IDS_READ_DONE));
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_TRUE(progress[0].startsWith("Reading ")) << progress[0].toStdString();
    EXPECT_TRUE(Frame().Commands().IsEnabled(res::ID_PLC_WRITE));

    // Type a DT word into the grid and write without pressing Enter: the
    // write ends the edit first. Escape answers No and nothing is written; Yes writes.
    Frame().show();
    dialogtest::Activate(Frame());
    QComboBox* devices = Frame().DataToolBar().Box(207);
    const int dt = devices->findText("DT", Qt::MatchStartsWith);
    ASSERT_GE(dt, 0);
    devices->setCurrentIndex(dt);
    emit devices->activated(dt);
    QApplication::processEvents();
    Frame().View()->List().setFocus();
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    for (const char c : std::string("1092")) // 4242
        QTest::keyClick(QApplication::focusWidget(), c);
    ASSERT_TRUE(Frame().View()->IsEditing());
    bool silent = false;
    WhenModal([&](QWidget& confirm) {
        silent = !CPlcUpDownMsgDlg::BeepPending();
        question = Control<QLabel>(confirm, 805)->text();
        dialogtest::SaveScreenshot(confirm, "transfer-confirm-write");
        QTest::keyClick(&confirm, Qt::Key_Escape);
        escapeClosed = true;
    });
    Trigger(res::ID_PLC_WRITE);
    EXPECT_FALSE(Frame().View()->IsEditing());
    EXPECT_TRUE(escapeClosed);
    EXPECT_TRUE(silent);
    EXPECT_EQ(question.toStdString(), resources.LoadString(res::IDS_CONFIRM_WRITE));
    EXPECT_TRUE(Shown(res::IDS_TRANSFER_FAILED));
    EXPECT_NE(ReadRegister(sim.Port(), 7), 4242);

    WhenModal([&](QWidget& confirm) { Control<QPushButton>(confirm, 1)->click(); });
    Trigger(res::ID_PLC_WRITE);
    EXPECT_TRUE(Shown(res::IDS_WRITE_DONE));
    EXPECT_EQ(ReadRegister(sim.Port(), 7), 4242);
    EXPECT_FALSE(app->GetComm().IsOnline());
}

// A long read over a slow link: the window goes on painting and answering
// while the data move, the commands that could change the document are out of
// reach, and Cancel stops the read with the document as it was. The same for
// a write, which says what reached the PLC.
TEST_F(PlcTransferGuiTest, ALongTransferKeepsTheWindowAliveAndCancelStopsIt)
{
    commtest::SimulatorProcess sim({"--model", "1794", "--delay", "2"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(0, sim.Port());
    NewDocument(1794, {{21, {0, 99999}}});
    Trigger(res::ID_VIEW_COMM_LOG); // the log follows the transfers below
    CMemorixDoc* doc = app->GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    const EditDataArray before = doc->Blocks();
    Frame().show();
    dialogtest::Activate(Frame());

    // Ticks of a timer count the events the window handles during the read.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    bool commandsOff = false;
    bool cancelled = false;
    QObject::connect(Frame().statusBar(), &QStatusBar::messageChanged, [&](const QString& message) {
        // Far enough in for the window to have handled events on the way.
        if (cancelled || !message.startsWith(QStringLiteral("Reading DT"))
            || message.section(QLatin1Char(' '), -1).chopped(1).toInt() < 25)
            return;
        commandsOff =
            !Frame().Commands().IsEnabled(res::ID_FILE_SAVE) && !Frame().Commands().IsEnabled(res::ID_PLC_READ);
        auto* cancel = Frame().statusBar()->findChild<QPushButton*>(QStringLiteral("transferCancel"));
        ASSERT_NE(cancel, nullptr);
        dialogtest::SaveScreenshot(Frame(), "transfer-cancel");
        cancelled = true;
        cancel->click();
    });
    WhenModal([&](QWidget& confirm) {
        WhenModal([&](QWidget& ranges) { Control<QPushButton>(ranges, 1)->click(); });
        Control<QPushButton>(confirm, 1)->click();
    });
    Trigger(res::ID_PLC_READ);
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(commandsOff);
    EXPECT_GT(ticks, 3) << "the window handled no events during the read";
    EXPECT_TRUE(Shown(res::IDS_TRANSFER_STOPPED));
    EXPECT_FALSE(Shown(res::IDS_TRANSFER_FAILED));
    EXPECT_EQ(app->GetActiveDoc(), doc);
    EXPECT_EQ(doc->Blocks(), before);
    EXPECT_TRUE(Frame().Commands().IsEnabled(res::ID_PLC_READ));
    EXPECT_EQ(Frame().statusBar()->findChild<QPushButton*>(QStringLiteral("transferCancel")), nullptr);

    // A write stopped by Esc part way names what the PLC now holds.
    cancelled = false;
    QObject::disconnect(Frame().statusBar(), &QStatusBar::messageChanged, nullptr, nullptr);
    QObject::connect(Frame().statusBar(), &QStatusBar::messageChanged, [&](const QString& message) {
        if (cancelled || !message.startsWith(QStringLiteral("Writing DT")) || !message.endsWith(QStringLiteral("5%")))
            return;
        cancelled = true;
        dialogtest::Activate(Frame()); // back from the confirmation
        QTest::keyClick(&Frame(), Qt::Key_Escape);
    });
    messages.ClearShown();
    WhenModal([&](QWidget& confirm) { Control<QPushButton>(confirm, 1)->click(); });
    Trigger(res::ID_PLC_WRITE);
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(Shown(res::IDS_WRITE_PARTIAL));
    EXPECT_FALSE(Shown(res::IDS_WRITE_DONE));
    EXPECT_FALSE(app->GetComm().IsOnline());

    // The log lists the requests of both: the read's on several connections.
    QTest::qWait(400);
    const std::string log = Frame().CommLog().Text();
    EXPECT_EQ(log.rfind("Time\tConnection\tFunction", 0), 0u) << log.substr(0, 200);
    EXPECT_NE(log.find("\tRead holding registers\tDT 0-124\t125\t"), std::string::npos);
    EXPECT_NE(log.find("\t0.1\tRead holding registers\tDT "), std::string::npos);
    EXPECT_NE(log.find("\tWrite multiple registers\tDT 0-122\t123\t"), std::string::npos);
    EXPECT_EQ(log.find("Read holding registers\tDT 99"), std::string::npos) << "the read went on after Cancel";
    dialogtest::SaveScreenshot(Frame(), "communication-log");
    Frame().CommLog().Clear();
    EXPECT_EQ(Frame().CommLog().Text(), "Time\tConnection\tFunction\tAddresses\tWords\tms\tResult\n");
}
