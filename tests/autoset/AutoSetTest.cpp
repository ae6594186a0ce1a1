// PortavoAutoSet as an outside caller meets it: simulators on pseudo-terminals
// that answer only their own line settings, one per combination of the table.

#include "AutoSetCaller.h"

#include "contract/AutoSetBlock.h"
#include "commlib/core/ProfileStore.h"
#include "contract/CommExports.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/PortLock.h"

using namespace autosettest;
using namespace comm::autoset;

namespace {

// Made by the tests that need one; the test without it shows how the
// library fares without. Goes at the end of the program, before Qt's statics.
std::unique_ptr<QApplication>& ApplicationHolder()
{
    static std::unique_ptr<QApplication> app;
    return app;
}

QApplication& Application()
{
    static int argc = 1;
    static char name[] = "autoset";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!ApplicationHolder())
        ApplicationHolder() = std::make_unique<QApplication>(argc, argv);
    return *ApplicationHolder();
}

class ApplicationEnvironment final : public ::testing::Environment {
public:
    void TearDown() override { ApplicationHolder().reset(); }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

QWidget* ProgressDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("COuvAuto") && w->isVisible())
            return w;
    return nullptr;
}

// Watches for the progress dialog while an auto-set runs: calls onShown once
// when it appears (the dialog open) and then presses its cancel button.
class DialogWatch {
public:
    explicit DialogWatch(std::function<void(QWidget*)> onShown = {})
        : m_onShown(std::move(onShown))
    {
        Application();
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* dialog = ProgressDialog();
            if (!dialog)
                return;
            if (!m_seen && m_onShown)
                m_onShown(dialog);
            m_seen = true;
            if (auto* cancel = dialog->findChild<QAbstractButton*>(QStringLiteral("control2")))
                cancel->click();
        });
        m_timer.start();
    }
    bool Seen() const { return m_seen; }

private:
    std::function<void(QWidget*)> m_onShown;
    QTimer m_timer;
    bool m_seen = false;
};

constexpr std::uint16_t kTransientFlags = kFlagAutoSet | kFlagQuickScan | 0x0010;

class AutoSetSweep : public ::testing::TestWithParam<std::uint16_t> {};

// Which combinations each options word reaches, with the block starting at
// 9600 bit/s and no parity (combination 6, found by the first probe).
bool Reachable(std::uint16_t options, int combination)
{
    const Line line = kCombinations[combination];
    switch (options) {
    case 0x0A: return true;                                   // every position
    case 0x08: return line.parity == 0;                       // positions 0, 1, 2: baud rates, parity as it was
    case 0x02: return line.baudCode == 3;                     // positions 0, 3, 6: parities at 9600
    case 0x01: return line.baudCode == 3 && line.parity == 0; // the block's own line only
    default: return false;
    }
}

TEST_P(AutoSetSweep, FindsEachCombinationTheOptionsWordAllows)
{
    UseFreshFolders();
    Application();
    const std::uint16_t options = GetParam();
    std::vector<std::unique_ptr<SerialUnit>> units;
    for (int i = 0; i < 9; ++i) {
        const Line line = kCombinations[i];
        units.push_back(std::make_unique<SerialUnit>(RateOfCode(line.baudCode), ParityLetter(line.parity)));
        ASSERT_TRUE(units.back()->Started());
        SaveSerialProfile(10 + i, units.back()->Device());
    }
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE("combination " + std::to_string(i));
        const int port = 10 + i;
        Caller caller(port, options);
        PutU16(caller.Block(), kFlagsOffset, 0x8001); // bits of others stay as they are
        const auto before = PortSettings(port);
        DialogWatch watch;
        const int result = caller.AutoSet();
        EXPECT_EQ(caller.Flags(), 0x8001);
        if (Reachable(options, i)) {
            EXPECT_EQ(result, 0);
            EXPECT_FALSE(watch.Seen());
            EXPECT_EQ(caller.Get(Record::Baud), kCombinations[i].baudCode);
            EXPECT_EQ(caller.Get(Record::Parity), kCombinations[i].parity);
            EXPECT_EQ(caller.Get(Record::DataLength), 8);
        } else {
            // The dialog tries the same combinations again; cancelled here.
            EXPECT_EQ(result, -10053);
            EXPECT_TRUE(watch.Seen());
            EXPECT_EQ(PortSettings(port), before) << "the port keeps its old settings";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(OptionWords, AutoSetSweep, ::testing::Values(0x0A, 0x08, 0x02, 0x01),
                         [](const auto& instance) { return "Options" + std::to_string(instance.param); });

TEST(AutoSet, NothingToDoAndRefusedPorts)
{
    UseFreshFolders();
    SerialUnit unit(19200, 'E');
    ASSERT_TRUE(unit.Started());
    SaveSerialProfile(3, unit.Device());

    // Options word 0: nothing to do, even though the unit would not answer.
    Caller idle(3, 0);
    const auto record = std::vector<std::uint8_t>(idle.Settings(), idle.Settings() + 200);
    EXPECT_EQ(idle.AutoSet(), 0);
    EXPECT_EQ(std::vector<std::uint8_t>(idle.Settings(), idle.Settings() + 200), record);
    EXPECT_EQ(unit.Log().find("requests ignored"), std::string::npos) << "the port was not touched";

    // A network profile is no serial port.
    commlib::Profile tcp = commlib::DefaultProfile();
    commlib::ProfileStore::Save(4, tcp);
    Caller network(4, 0x0A);
    EXPECT_EQ(network.AutoSet(), -10066);
    EXPECT_EQ(network.Flags(), 0);

    // No session: the library's own code comes back, the port untouched.
    Caller stranger(3, 0x0A);
    std::array<std::uint8_t, 302> other = stranger.block;
    EXPECT_EQ(PortavoAutoSet(0, other.data()), 1001);
}

TEST(AutoSet, FirstProbeSuccessChangesNothing)
{
    UseFreshFolders();
    Application();
    SerialUnit unit(9600, 'E');
    ASSERT_TRUE(unit.Started());
    SaveSerialProfile(5, unit.Device());
    Caller caller(5, 0x0B);
    caller.Set(Record::Parity, 2);
    caller.Set(Record::DataLength, 8);
    const auto record = std::vector<std::uint8_t>(caller.Settings(), caller.Settings() + 200);
    DialogWatch watch;
    EXPECT_EQ(caller.AutoSet(), 0);
    EXPECT_FALSE(watch.Seen());
    EXPECT_EQ(std::vector<std::uint8_t>(caller.Settings(), caller.Settings() + 200), record);
    EXPECT_EQ(caller.Flags() & kTransientFlags, 0);
}

TEST(AutoSet, ProgressDialogSearchesUntilCancelled)
{
    UseFreshFolders();
    Application();
    // 38400 bit/s is in no combination: the quick scan fails, the dialog opens.
    SerialUnit unit(38400, 'N');
    ASSERT_TRUE(unit.Started());
    SaveSerialProfile(6, unit.Device());
    Caller caller(6, 0x0B);
    const auto before = PortSettings(6);
    int range = 0;
    QString caption, status, kind, baud;
    DialogWatch watch([&](QWidget* dialog) {
        // Let it search a few positions before the picture and the cancel.
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(700);
        while (std::chrono::steady_clock::now() < end)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        caption = dialog->windowTitle();
        range = dialog->findChild<QProgressBar*>(QStringLiteral("control1009"))->maximum();
        status = dialog->findChild<QLabel*>(QStringLiteral("control1018"))->text();
        kind = dialog->findChild<QLabel*>(QStringLiteral("control1001"))->text();
        baud = dialog->findChild<QLabel*>(QStringLiteral("control1003"))->text();
        QDir().mkpath(AUTOSET_SCREENSHOT_DIR);
        dialog->grab().save(QStringLiteral(AUTOSET_SCREENSHOT_DIR "/autoset_searching.png"));
    });
    EXPECT_EQ(caller.AutoSet(), -10053);
    EXPECT_TRUE(watch.Seen());
    EXPECT_EQ(caption, QStringLiteral("Line settings"));
    EXPECT_EQ(range, 9);
    EXPECT_TRUE(status.startsWith(QStringLiteral("Searching")));
    EXPECT_EQ(kind, QStringLiteral("RS232C"));
    EXPECT_FALSE(baud.isEmpty());
    EXPECT_EQ(caller.Flags() & kTransientFlags, 0);
    EXPECT_EQ(PortSettings(6), before);
}

TEST(AutoSet, TheDialogFindsAUnitThatAnswersOnlyAfterTheQuickScan)
{
    UseFreshFolders();
    Application();
    // 19200 bit/s, even parity: a combination the scan reaches. The unit is
    // stopped through the quick scan and goes on once the dialog is up, so
    // only the dialog's own probes can find it.
    SerialUnit unit(19200, 'E');
    ASSERT_TRUE(unit.Started());
    SaveSerialProfile(7, unit.Device());
    ASSERT_EQ(kill(unit.Pid(), SIGSTOP), 0);
    Caller caller(7, 0x0A);
    bool resumed = false;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!resumed && ProgressDialog()) {
            kill(unit.Pid(), SIGCONT);
            resumed = true;
        }
    });
    watch.start();

    const int result = caller.AutoSet();
    kill(unit.Pid(), SIGCONT);
    EXPECT_TRUE(resumed);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(caller.Get(Record::Baud), 4);
    EXPECT_EQ(caller.Get(Record::Parity), 2);
    EXPECT_EQ(caller.Flags() & kTransientFlags, 0);
}

// Without an application (the command line) the dialog's walk runs without
// a window: it fails where the dialog would, and finds a unit the quick scan
// missed.
TEST(AutoSet, WithoutApplicationTheFullScanRunsWindowFree)
{
    UseFreshFolders();
    SerialUnit unit(38400, 'N');
    ASSERT_TRUE(unit.Started());
    SaveSerialProfile(7, unit.Device());
    Caller caller(7, 0x0A);
    EXPECT_EQ(caller.AutoSet(), -10053);
    EXPECT_EQ(caller.Flags() & kTransientFlags, 0);
    // The scans wrote the combinations into the block; the last one stays.
    EXPECT_EQ(caller.Get(Record::Baud), 7);
    EXPECT_EQ(caller.Get(Record::Parity), 0);

    // Stopped through the first probes and the quick scan: each failed probe
    // takes its timeout and as long again for a late answer, so at 100 ms the
    // quick scan ends after 2.2 s and the walk reaches 19200 bit/s, even
    // parity no sooner than 3.8 s. A slow machine may resume it within the
    // quick scan, which then finds it.
    SerialUnit stopped(19200, 'E');
    ASSERT_TRUE(stopped.Started());
    SaveSerialProfile(8, stopped.Device());
    ASSERT_EQ(kill(stopped.Pid(), SIGSTOP), 0);
    std::thread resume([&stopped] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2800));
        kill(stopped.Pid(), SIGCONT);
    });
    Caller late(8, 0x0A);
    const int result = late.AutoSet();
    resume.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(late.Get(Record::Baud), 4);
    EXPECT_EQ(late.Get(Record::Parity), 2);
    EXPECT_EQ(late.Flags() & kTransientFlags, 0);
}

// A second process holds the port lock; the auto-set waits until it is gone,
// whether it ends or is killed.
void WaitsForHolder(bool kill)
{
    UseFreshFolders();
    SerialUnit unit(19200, 'O');
    ASSERT_TRUE(unit.Started());
    SaveSerialProfile(8, unit.Device());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        platform::PortLock lock(8);
        lock.Acquire();
        (void)!write(ready[1], "x", 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(kill ? 60000 : 800));
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    close(ready[0]);
    close(ready[1]);
    std::thread killer;
    if (kill)
        killer = std::thread([holder] {
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
            ::kill(holder, SIGKILL);
        });
    Caller caller(8, 0x0A);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(caller.AutoSet(), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(500));
    EXPECT_EQ(caller.Get(Record::Baud), 4);
    EXPECT_EQ(caller.Get(Record::Parity), 1);
    if (killer.joinable())
        killer.join();
    int status = 0;
    waitpid(holder, &status, 0);
}

TEST(AutoSetPortLock, SecondProcessWaitsForTheFirstToEnd)
{
    WaitsForHolder(false);
}

TEST(AutoSetPortLock, SecondProcessGoesOnWhenTheFirstIsKilled)
{
    WaitsForHolder(true);
}

TEST(AutoSetPortLock, TheLibrariesWaitForTheLockOfASerialPort)
{
    UseFreshFolders();
    SerialUnit unit(9600, 'N');
    ASSERT_TRUE(unit.Started());
    SaveSerialProfile(9, unit.Device(), 300);
    // Another profile's name for the same device.
    const std::string link = std::string(getenv("XDG_RUNTIME_DIR")) + "/line";
    ASSERT_EQ(symlink(unit.Device().c_str(), link.c_str()), 0);
    std::array<std::uint8_t, comm::kSessionBlockSize> block{};
    char app[comm::kAppNameSize] = "autoset test";
    ASSERT_EQ(QelTeskUserIF_41(block.data(), app), 0);
    ASSERT_EQ(QelTeskUserIF_8(nullptr, block.data()), 0);
    std::uint8_t out28[28] = {}, out48[48] = {};
    // The port's own lock (an auto-set of this port), and the device's as a
    // call through another profile on the same line holds it.
    const std::function<std::unique_ptr<platform::PortLock>()> holders[] = {
        [] { return std::make_unique<platform::PortLock>(9); },
        [&] { return std::make_unique<platform::PortLock>(unit.Device()); },
        [&] { return std::make_unique<platform::PortLock>(link); },
    };
    for (std::size_t i = 0; i < std::size(holders); ++i) {
        {
            const auto held = holders[i]();
            ASSERT_TRUE(held->Acquire());
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(QelTeskOnline_5(block.data(), 9, out28, out48, "", ""), 1020) << "holder " << i;
            EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
        }
        EXPECT_EQ(QelTeskOnline_5(block.data(), 9, out28, out48, "", ""), 0) << "holder " << i;
    }
    QelTeskUserIF_14(block.data());
}

} // namespace
