// memorix-cli's PLC commands against the simulator: read, edit, write back,
// and the question about another model answered No unless --yes.

#include "support/CommSession.h"
#include "support/SimulatorProcess.h"
#include "support/RunProcess.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <chrono>
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::ProcessResult;

namespace {

using commtest::ReadRegister;

class CliPlc : public ::testing::Test {
protected:
    void SetUp() override { commtest::UseFreshSettingsFolder(); }
    ProcessResult Run(const std::vector<std::string>& args, std::vector<std::string> env = {})
    {
        const char* bin = std::getenv("MEMORIX_BIN_DIR");
        env.push_back(std::string("XDG_CONFIG_HOME=") + std::getenv("XDG_CONFIG_HOME"));
        env.push_back("TMPDIR=" + scratch.dir);
        return testsupport::RunProcess(std::string(bin ? bin : ".") + "/memorix-cli", args, env);
    }
    std::string File(const std::string& name) const { return scratch.Path(name); }

    testsupport::Scratch scratch;
};

} // namespace

TEST_F(CliPlc, ReadEditWriteAndTheQuestionAboutAnotherModel)
{
    commtest::SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(3, sim.Port());

    const ProcessResult info = Run({"plc-info", "--connection", "3"});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("model\t2\t35\tMB-64F8"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("127.0.0.1:" + std::to_string(sim.Port())), std::string::npos) << info.out;

    const ProcessResult read = Run({"plc-read", File("a.ldtx"), "--connection", "3", "--select", "DT:0-9"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.err.find("Reading DT"), std::string::npos) << "progress is for a terminal only: " << read.err;
    // On a terminal: one line rewritten in place, with the speed, ended once.
    const char* bin = std::getenv("MEMORIX_BIN_DIR");
    const ProcessResult shown = testsupport::RunProcess(
        "/usr/bin/script",
        {"-qec",
         std::string(bin ? bin : ".") + "/memorix-cli plc-read " + File("t.ldtx") + " --connection 3 --select DT:0-999",
         "/dev/null"},
        {std::string("XDG_CONFIG_HOME=") + std::getenv("XDG_CONFIG_HOME")});
    EXPECT_EQ(shown.exitCode, 0) << shown.out;
    EXPECT_NE(shown.out.find("\rReading DT 0-999 ... 100%"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find(" words/s"), std::string::npos) << shown.out;
    EXPECT_EQ(shown.out.find("\rReading"), shown.out.find('\r')) << shown.out;
    EXPECT_NE(Run({"info", File("a.ldtx")}).out.find("block\t21\t0\t0\t9\t1"), std::string::npos);

    ASSERT_EQ(Run({"set", File("a.ldtx"), "--device", "DT", "--cell", "4", "ABCD"}).exitCode, 0);
    const ProcessResult write = Run({"plc-write", File("a.ldtx"), "--connection", "3"});
    EXPECT_EQ(write.exitCode, 0) << write.err;
    EXPECT_EQ(ReadRegister(sim.Port(), 4), 0xABCD);

    // A file of another model: No unless --yes.
    ASSERT_EQ(Run({"new", File("b.ldtx"), "--model", "1792", "--select", "DT:0-9"}).exitCode, 0);
    EXPECT_EQ(Run({"plc-write", File("b.ldtx"), "--connection", "3"}).exitCode, 1);
    EXPECT_EQ(ReadRegister(sim.Port(), 4), 0xABCD);
    EXPECT_EQ(Run({"plc-write", File("b.ldtx"), "--connection", "3", "--yes"}).exitCode, 0);
    EXPECT_EQ(ReadRegister(sim.Port(), 4), 0);

    EXPECT_EQ(Run({"plc-read", File("c.ldtx")}).exitCode, 2);
    EXPECT_EQ(Run({"plc-read", File("c.ldtx"), "--connection", "3", "--select", "QQ"}).exitCode, 2);
    EXPECT_EQ(Run({"plc-info", "--connection", "9"}).exitCode, 1);
}

void WriteRegister(int port, int reference, int value)
{
    std::ostringstream cmd;
    cmd << "mbpoll -m tcp -p " << port << " -a 1 -0 -1 -t 4 -r " << reference << " 127.0.0.1 " << value
        << " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.str().c_str()), 0) << cmd.str();
}

// A backup compared with the PLC after someone changed a few words with
// another tool: exactly those cells, and the file is left as it was.
TEST_F(CliPlc, PlcDiffFindsTheWordsChangedInThePlc)
{
    commtest::SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(3, sim.Port());
    ASSERT_EQ(Run({"plc-read", File("backup.ldtx"), "--connection", "3", "--select", "DT:0-199", "--select", "WR:0-9"})
                  .exitCode,
              0);
    const std::string before = testsupport::ReadWholeFile(File("backup.ldtx"));
    const ProcessResult same = Run({"plc-diff", File("backup.ldtx"), "--connection", "3"});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "");

    WriteRegister(sim.Port(), 7, 0x1234);
    WriteRegister(sim.Port(), 150, 65535);
    const ProcessResult changed = Run({"plc-diff", File("backup.ldtx"), "--connection", "3", "--radix", "dec"});
    EXPECT_EQ(changed.exitCode, 1) << changed.err;
    EXPECT_EQ(changed.out, "DT\t7\t0\t4660\nDT\t150\t0\t-1\n");
    EXPECT_EQ(Run({"plc-diff", File("backup.ldtx"), "--connection", "3", "--summary"}).out,
              "WR\t0\t10\t0\t0\nDT\t0\t200\t2\t0\n");
    EXPECT_EQ(testsupport::ReadWholeFile(File("backup.ldtx")), before);

    // Trouble: no such connection, or ranges the PLC does not hold.
    EXPECT_EQ(Run({"plc-diff", File("backup.ldtx"), "--connection", "9"}).exitCode, 2);
    ASSERT_EQ(Run({"new", File("big.ldtx"), "--model", "1794", "--select", "DT:0-400000"}).exitCode, 0);
    EXPECT_EQ(Run({"plc-diff", File("big.ldtx"), "--connection", "3"}).exitCode, 2);
}

// A server without a desktop runs the file commands: they load neither the
// toolkit nor the communication libraries, which only a PLC command brings in.
TEST_F(CliPlc, OnlyPlcCommandsLoadTheCommunicationLibraries)
{
    commtest::SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(3, sim.Port());
    ASSERT_EQ(Run({"new", File("a.ldtx"), "--model", "35", "--select", "DT:0-99"}).exitCode, 0);
    const std::vector<std::string> traceLoading = {"LD_DEBUG=files"};
    for (const std::vector<std::string>& fileCommand : {std::vector<std::string>{"info", File("a.ldtx")},
                                                        {"diff", File("a.ldtx"), File("a.ldtx")},
                                                        {"find", File("a.ldtx"), "0"},
                                                        {"catalogue"}}) {
        const ProcessResult r = Run(fileCommand, traceLoading);
        EXPECT_LE(r.exitCode, 1) << fileCommand[0] << ": "
                                 << r.err.substr(r.err.size() - std::min<std::size_t>(r.err.size(), 400));
        EXPECT_EQ(r.err.find("libQt6"), std::string::npos) << fileCommand[0];
        EXPECT_EQ(r.err.find("libQelTesk"), std::string::npos) << fileCommand[0];
    }
    const ProcessResult plc = Run({"plc-diff", File("a.ldtx"), "--connection", "3"}, traceLoading);
    EXPECT_LE(plc.exitCode, 1);
    EXPECT_NE(plc.err.find("libQelTeskUserIF"), std::string::npos);
}

// Words per address the file does not share with the unit: a map file that
// gives TS two where the model has one, and a file whose timers hold 32-bit
// values written to a model whose timers hold 16-bit ones. Each command fails
// with the device named, and the unit keeps what it held.
TEST_F(CliPlc, WordsPerAddressOtherThanTheFilesAreRefusedNamingTheDevice)
{
    commtest::SimulatorProcess sim({"--model", "33"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(3, sim.Port());
    std::ofstream(File("unit.map")) << "DT - 0 999 0\nTS - 0 255 3000 2\n";
    commlib::Profile mapped = *commlib::ProfileStore::Load(3);
    mapped.mapFile = File("unit.map");
    mapped.family = 0;
    mapped.model = 33;
    commlib::ProfileStore::Save(4, mapped);
    const int dt0 = ReadRegister(sim.Port(), 0);
    const int dt3000 = ReadRegister(sim.Port(), 3000);

    const ProcessResult read = Run({"plc-read", File("t.ldtx"), "--connection", "4", "--select", "TS:0-9"});
    EXPECT_EQ(read.exitCode, 1) << read.err;
    EXPECT_NE(read.err.find("TS: the PLC has 2 words per address, the data 1 word"), std::string::npos) << read.err;
    EXPECT_FALSE(std::filesystem::exists(File("t.ldtx")));

    ASSERT_EQ(Run({"new", File("t.ldtx"), "--model", "33", "--select", "TS:0-9"}).exitCode, 0);
    ASSERT_EQ(Run({"set", File("t.ldtx"), "--device", "TS", "--cell", "0", "ABCD"}).exitCode, 0);
    const ProcessResult mappedWrite = Run({"plc-write", File("t.ldtx"), "--connection", "4"});
    EXPECT_EQ(mappedWrite.exitCode, 1);
    EXPECT_NE(mappedWrite.err.find("TS: the PLC has 2 words per address"), std::string::npos) << mappedWrite.err;
    EXPECT_EQ(ReadRegister(sim.Port(), 3000), dt3000);

    ASSERT_EQ(Run({"new", File("c.ldtx"), "--model", "1792", "--select", "DT:0-9", "--select", "TS:0-9"}).exitCode, 0);
    ASSERT_EQ(Run({"set", File("c.ldtx"), "--device", "DT", "--cell", "0", "ABCD"}).exitCode, 0);
    const ProcessResult otherModel = Run({"plc-write", File("c.ldtx"), "--connection", "3", "--yes"});
    EXPECT_EQ(otherModel.exitCode, 1);
    EXPECT_NE(otherModel.err.find("TS: the PLC has 1 word per address, the data 2 words"), std::string::npos)
        << otherModel.err;
    EXPECT_EQ(otherModel.err.find("finished"), std::string::npos) << otherModel.err;
    EXPECT_EQ(ReadRegister(sim.Port(), 0), dt0);
}

// --yes answers every question a read asks, not the first box it shows: the
// "finished" box must not take the Yes meant for the question whether to save
// a legacy file that cannot hold every block.
TEST_F(CliPlc, YesAnswersTheLegacySaveQuestionAfterARead)
{
    commtest::SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(3, sim.Port());
    const std::vector<std::string> read = {"plc-read", File("r.ldt"), "--connection", "3",
                                           "--select", "DT:0-9",      "--select",     "CS"};

    const ProcessResult declined = Run(read);
    EXPECT_EQ(declined.exitCode, 1) << declined.err;
    EXPECT_FALSE(std::filesystem::exists(File("r.ldt")));

    std::vector<std::string> withYes = read;
    withYes.push_back("--yes");
    const ProcessResult accepted = Run(withYes);
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err;
    EXPECT_NE(Run({"info", File("r.ldt")}).out.find("block\t21\t0\t0\t9\t1"), std::string::npos);
}

// A read killed half-way through: the previous file is still whole and the
// next read works.
// A transfer ended from outside part way: killed, the previous file stays;
// Ctrl+C (or SIGTERM) stops it at its next request and the command ends at
// once with the shell's status for an interrupt: a read saves nothing, a
// write says what the PLC now holds.
TEST_F(CliPlc, ATransferEndedPartWayLeavesThePreviousFileOrSaysWhatItWrote)
{
    commtest::SimulatorProcess sim({"--model", "35", "--delay", "20"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(3, sim.Port());
    ASSERT_EQ(Run({"plc-read", File("a.ldtx"), "--connection", "3", "--select", "DT:0-9"}).exitCode, 0);
    ASSERT_EQ(Run({"new", File("big.ldtx"), "--model", "35", "--select", "DT:0-16383"}).exitCode, 0);
    const std::string before = testsupport::ReadWholeFile(File("a.ldtx"));

    struct Case {
        const char* command;
        const char* file;
        int signal;
        int exitCode; // -1: killed
        const char* says;
    };
    // About 130 requests of 20 ms: ended well before their end.
    const Case cases[] = {
        {"plc-read", "a.ldtx", SIGKILL, -1, ""},
        {"plc-read", "a.ldtx", SIGINT, 130, "cancelled"},
        {"plc-read", "a.ldtx", SIGTERM, 130, "cancelled"},
        {"plc-write", "big.ldtx", SIGINT, 130, "part of the data"},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.command) + " " + strsignal(c.signal);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setenv("TMPDIR", scratch.dir.c_str(), 1);
            const std::string cli = std::string(std::getenv("MEMORIX_BIN_DIR")) + "/memorix-cli";
            const std::string file = File(c.file);
            freopen(File("stderr.txt").c_str(), "w", stderr);
            if (std::string(c.command) == "plc-read")
                execl(cli.c_str(), cli.c_str(), "plc-read", file.c_str(), "--connection", "3", "--select", "DT:0-16383",
                      static_cast<char*>(nullptr));
            else
                execl(cli.c_str(), cli.c_str(), "plc-write", file.c_str(), "--connection", "3",
                      static_cast<char*>(nullptr));
            _exit(127);
        }
        usleep(600 * 1000);
        kill(child, c.signal);
        const auto signalled = std::chrono::steady_clock::now();
        int status = 0;
        waitpid(child, &status, 0);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - signalled).count();
        const std::string err = testsupport::ReadWholeFile(File("stderr.txt"));
        if (c.exitCode < 0) {
            ASSERT_TRUE(WIFSIGNALED(status)) << name << ": it ended before it could be killed";
        } else {
            ASSERT_TRUE(WIFEXITED(status)) << name;
            EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << name << ": " << err;
            EXPECT_LT(seconds, 1.5) << name << ": it went on after the signal";
            EXPECT_NE(err.find(c.says), std::string::npos) << name << ": " << err;
        }
        EXPECT_EQ(testsupport::ReadWholeFile(File("a.ldtx")), before) << name;
    }
    const ProcessResult again = Run({"plc-read", File("a.ldtx"), "--connection", "3", "--select", "DT:0-19"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(Run({"info", File("a.ldtx")}).out.find("block\t21\t0\t0\t19\t1"), std::string::npos);
}

namespace {

// A simulator on a pseudo-terminal of its own at 19200 bit/s, even parity,
// and a profile on that terminal at 9600 bit/s without parity: nobody wrote
// down the unit's line.
std::string ServingDevice(const commtest::SimulatorProcess& sim)
{
    const std::string& line = sim.FirstLine();
    const auto at = line.find("serving ");
    if (at == std::string::npos)
        return {};
    return line.substr(at + 8, line.find(' ', at + 8) - at - 8);
}

// Every combination that fails waits twice the timeout (its answer, then a
// late one), three times over: at 50 ms a whole scan takes about 3 s.
void SaveGuessedSerialProfile(int number, const std::string& device, int timeoutMs)
{
    commlib::Profile p = commlib::DefaultProfile();
    p.name = "Line";
    p.kind = commlib::LinkKind::Rtu;
    p.serialDevice = device;
    p.baud = 9600;
    p.parity = 'N';
    p.timeoutMs = timeoutMs;
    commlib::ProfileStore::Save(number, p);
}

} // namespace

TEST_F(CliPlc, DetectFindsTheLineOfASerialUnitAndSaveKeepsIt)
{
    const std::vector<std::string> unitLine = {"--rtu", "pty", "--baud", "19200", "--parity", "E"};
    std::vector<std::string> args = {"--model", "35"};
    args.insert(args.end(), unitLine.begin(), unitLine.end());
    commtest::SimulatorProcess sim(args);
    const std::string device = ServingDevice(sim);
    ASSERT_FALSE(device.empty()) << sim.FirstLine() << sim.Log();
    SaveGuessedSerialProfile(5, device, 100);

    EXPECT_EQ(Run({"plc-info", "--connection", "5"}).exitCode, 1);
    const std::string found = "baud\t19200\ndata-bits\t8\nparity\teven\nstop-bits\t1\n";
    const ProcessResult detect = Run({"plc-detect", "--connection", "5"});
    EXPECT_EQ(detect.exitCode, 0) << detect.err;
    EXPECT_EQ(detect.out, found);
    EXPECT_EQ(Run({"plc-info", "--connection", "5"}).exitCode, 1) << "found without --save: the profile stays";

    const ProcessResult save = Run({"plc-detect", "--connection", "5", "--save"});
    EXPECT_EQ(save.exitCode, 0) << save.err;
    EXPECT_EQ(save.out, found);
    const ProcessResult info = Run({"plc-info", "--connection", "5"});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("model\t2\t35\tMB-64F8"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("19200"), std::string::npos) << info.out;

    // What cannot be detected: a unit that never answers (the whole scan,
    // window-free, runs out), a network profile, a number without a profile.
    std::vector<std::string> silentArgs = {"--silent"};
    silentArgs.insert(silentArgs.end(), unitLine.begin(), unitLine.end());
    commtest::SimulatorProcess silent(silentArgs);
    ASSERT_FALSE(ServingDevice(silent).empty()) << silent.FirstLine();
    SaveGuessedSerialProfile(6, ServingDevice(silent), 50);
    commtest::SaveTcpProfile(7, 1502);
    const struct {
        std::string connection;
        std::string message;
    } failures[] = {
        {"6", "did not answer with any of the line settings tried"},
        {"7", "only for a serial line"},
        {"9", "no connection profile"},
    };
    for (const auto& row : failures) {
        const ProcessResult failed = Run({"plc-detect", "--connection", row.connection, "--save"});
        EXPECT_EQ(failed.exitCode, 1) << row.connection;
        EXPECT_EQ(failed.out, "") << row.connection;
        EXPECT_NE(failed.err.find(row.message), std::string::npos) << row.connection << ": " << failed.err;
    }
    EXPECT_EQ(Run({"plc-info", "--connection", "5"}).exitCode, 0) << "a failed detection saves nothing";

    const std::vector<std::string> usage[] = {
        {"plc-detect"},
        {"plc-detect", "--connection", "x"},
        {"plc-detect", "--connection", "70000"},
        {"plc-detect", "--connection", "5", "extra"},
        {"plc-detect", "--connection", "5", "--baud", "9600"},
    };
    for (const auto& words : usage)
        EXPECT_EQ(Run(words).exitCode, 2) << words.back();
}

// plc-watch against the moving simulator: K lines of time and values, the
// counter rising from line to line, a clean end on Ctrl+C, exit 1 once the
// link has failed three times in a row and 2 for what the user got wrong.
TEST_F(CliPlc, WatchPrintsCyclesAndEndsCleanly)
{
    commtest::SimulatorProcess sim({"--model", "35", "--animate"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(3, sim.Port());

    const ProcessResult watch = Run({"plc-watch", "--connection", "3", "--select", "DT:0-1", "--interval", "150",
                                     "--count", "3", "--radix", "dec"});
    ASSERT_EQ(watch.exitCode, 0) << watch.err;
    std::istringstream lines(watch.out);
    std::string line;
    std::vector<int> counts;
    while (std::getline(lines, line)) {
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0, dt0 = 0, dt1 = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d-%d-%dT%d:%d:%d.%3d%*5s\t%d\t%d", &year, &month, &day, &hour, &minute,
                              &second, &ms, &dt0, &dt1),
                  9)
            << line;
        EXPECT_LE(std::abs(static_cast<std::int16_t>(dt1)), 1000) << line;
        counts.push_back(dt0);
    }
    ASSERT_EQ(counts.size(), 3u) << watch.out;
    EXPECT_GT(counts[1], counts[0]);
    EXPECT_GT(counts[2], counts[1]);

    // Two 32-bit hexadecimal cells: the unit decides how the words are split.
    const ProcessResult wide =
        Run({"plc-watch", "--connection", "3", "--select", "DT:10-13", "--count", "1", "--unit", "32"});
    ASSERT_EQ(wide.exitCode, 0) << wide.err;
    EXPECT_EQ(std::count(wide.out.begin(), wide.out.end(), '\t'), 2) << wide.out;

    // Ctrl+C ends it with status 0 after the lines printed so far.
    const std::string outPath = File("watch.out");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        freopen(outPath.c_str(), "w", stdout);
        const std::string cli = std::string(std::getenv("MEMORIX_BIN_DIR")) + "/memorix-cli";
        execl(cli.c_str(), cli.c_str(), "plc-watch", "--connection", "3", "--select", "DT:0-0", "--interval", "100",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    usleep(700 * 1000);
    kill(child, SIGINT);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string watched = testsupport::ReadWholeFile(outPath);
    EXPECT_GE(std::count(watched.begin(), watched.end(), '\n'), 2) << watched;

    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"plc-watch", "--connection", "3"}, 2, "--select"},
        {{"plc-watch", "--connection", "3", "--select", "DT:0-1", "--count", "0"}, 2, "--count"},
        {{"plc-watch", "--connection", "3", "--select", "DT:0-1", "--radix", "roman"}, 2, "unknown radix"},
        {{"plc-watch", "--connection", "3", "--select", "ZZ:0-1", "--count", "1"}, 2, "--select ZZ:0-1"},
        {{"plc-watch", "--connection", "3", "--select", "DT:0-99999999", "--count", "1"}, 2, "holds the addresses"},
    };
    for (const Case& c : cases) {
        const ProcessResult result = Run(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args.back() << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }

    // A model of the other protocol family is read address by address.
    commtest::SimulatorProcess family1({"--model", "1794", "--animate"});
    ASSERT_TRUE(family1.Started()) << family1.Log();
    commtest::SaveTcpProfile(4, family1.Port());
    const ProcessResult byAddress = Run({"plc-watch", "--connection", "4", "--select", "DT:0-0", "--interval", "200",
                                         "--count", "2", "--radix", "dec"});
    ASSERT_EQ(byAddress.exitCode, 0) << byAddress.err;
    std::istringstream twoLines(byAddress.out);
    std::string firstLine, secondLine;
    ASSERT_TRUE(std::getline(twoLines, firstLine) && std::getline(twoLines, secondLine)) << byAddress.out;
    EXPECT_GT(std::stoi(secondLine.substr(secondLine.rfind('\t') + 1)),
              std::stoi(firstLine.substr(firstLine.rfind('\t') + 1)));

    // The PLC gone: three failures, then status 1 with the libraries' message.
    ASSERT_EQ(sim.Stop(), 0);
    const ProcessResult gone = Run({"plc-watch", "--connection", "3", "--select", "DT:0-0", "--interval", "50"});
    EXPECT_EQ(gone.exitCode, 1) << gone.err;
    EXPECT_NE(gone.err.find("cannot be reached"), std::string::npos) << gone.err;
    EXPECT_EQ(gone.out, "");
}
