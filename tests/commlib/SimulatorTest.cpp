// The simulator on its own: its command line, its answers outside the
// model's memory, requests that are no Modbus at all, and its data files.

#include "support/CommSession.h"
#include "support/SimulatorProcess.h"

#include "support/RunProcess.h"

#include <gtest/gtest.h>
#include <modbus/modbus.h>

#include <arpa/inet.h>
#include <bit>
#include <cerrno>
#include <filesystem>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace commtest;

namespace {

modbus_t* Connect(int port)
{
    modbus_t* ctx = modbus_new_tcp("127.0.0.1", port);
    modbus_set_response_timeout(ctx, 1, 0);
    if (modbus_connect(ctx) != 0) {
        modbus_free(ctx);
        return nullptr;
    }
    return ctx;
}

void Close(modbus_t* ctx)
{
    modbus_close(ctx);
    modbus_free(ctx);
}

} // namespace

TEST(SimulatorTest, CommandLineHelpAndMistakes)
{
    const auto help = testsupport::RunProcess(BinDir() + "/memorix-plcsim", {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--drop-after N"), std::string::npos);
    const auto bad = testsupport::RunProcess(BinDir() + "/memorix-plcsim", {"--port", "70000"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("bad value \"70000\" for --port"), std::string::npos) << bad.err;
    const auto model = testsupport::RunProcess(BinDir() + "/memorix-plcsim", {"--model", "1795", "--port", "0"});
    EXPECT_EQ(model.exitCode, 1);
    EXPECT_NE(model.err.find("model 1795 is not an enabled model"), std::string::npos) << model.err;
}

TEST(SimulatorTest, OutsideTheMemoryIsExceptionTwoAndNoiseDoesNotHurt)
{
    SimulatorProcess sim({"--model", "32"}); // MB-16S: DT 0..4095, no WL, no banks
    ASSERT_TRUE(sim.Started()) << sim.Log();

    // Bytes that are no Modbus request, then a connection that stops halfway.
    const std::string noises[] = {std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c", 12),
                                  std::string("\x00\x01\x00\x00\x00\x06\x01\x03", 8)};
    for (const std::string& noise : noises) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(sim.Port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_GT(write(fd, noise.data(), noise.size()), 0);
        close(fd);
    }

    modbus_t* ctx = Connect(sim.Port());
    ASSERT_NE(ctx, nullptr);
    std::uint16_t words[125];
    EXPECT_EQ(modbus_read_registers(ctx, 4090, 6, words), 6);  // the last DT addresses
    EXPECT_EQ(modbus_read_registers(ctx, 4090, 7, words), -1); // one past
    EXPECT_EQ(errno, EMBXILADD);
    EXPECT_EQ(modbus_read_registers(ctx, 0x9000, 1, words), -1);
    EXPECT_EQ(errno, EMBXILADD);
    const std::uint16_t wl[3] = {30, 0, 0}; // WL: the model has none
    EXPECT_EQ(modbus_write_registers(ctx, 0xFFF0, 3, wl), -1);
    EXPECT_EQ(errno, EMBXILADD);
    const std::uint16_t bank1[3] = {9, 1, 0}; // DT has no banks
    EXPECT_EQ(modbus_write_registers(ctx, 0xFFF0, 3, bank1), -1);
    EXPECT_EQ(errno, EMBXILADD);
    std::uint8_t bits[8];
    EXPECT_EQ(modbus_read_bits(ctx, 0, 8, bits), -1);
    EXPECT_EQ(errno, EMBXILFUN);
    const std::uint16_t fl[3] = {10, 0, 0};
    EXPECT_EQ(modbus_write_registers(ctx, 0xFFF0, 3, fl), 3);
    EXPECT_EQ(modbus_read_registers(ctx, 8191, 1, words), 1); // FL 8191, the last one
    EXPECT_EQ(modbus_read_registers(ctx, 0xFF00, 4, words), 4);
    EXPECT_EQ(words[0], 0x4D58);
    EXPECT_EQ(words[2], 0); // family 0 below model 256
    EXPECT_EQ(words[3], 32);
    Close(ctx);

    EXPECT_EQ(sim.Stop(), 0);
    const std::string log = sim.Log();
    EXPECT_NE(log.find("connection from 127.0.0.1:"), std::string::npos) << log;
}

TEST(SimulatorTest, SavesItsMemoryOnStopAndStartsFromIt)
{
    UseFreshSettingsFolder();
    const std::string file = std::filesystem::temp_directory_path() / ("plcsim-" + std::to_string(getpid()) + ".ldtx");
    const auto dt = Pattern(200, 1);
    const auto bank2 = Pattern(64, 2);
    {
        SimulatorProcess sim({"--model", "34", "--save", file});
        ASSERT_TRUE(sim.Started()) << sim.Log();
        SaveTcpProfile(0, sim.Port());
        CommSession s;
        ASSERT_EQ(s.GoOnline(), 0);
        auto copy = dt;
        ASSERT_EQ(QelTeskMsg_92(s.Block(), 0, 9, 16284, 0xFFFF, 100, copy.data()), 0);
        auto copy2 = bank2;
        ASSERT_EQ(QelTeskMsg_92(s.Block(), 0, 10, 32735, 2, 32, copy2.data()), 0);
        QelTeskUserIF_14(s.Block());
        EXPECT_EQ(sim.Stop(), 0) << sim.Log();
    }
    ASSERT_TRUE(std::filesystem::exists(file));
    {
        SimulatorProcess sim({"--load", file});
        ASSERT_TRUE(sim.Started()) << sim.Log();
        SaveTcpProfile(0, sim.Port());
        CommSession s;
        ASSERT_EQ(s.GoOnline(), 0);
        int result = -1;
        EXPECT_EQ(s.Read91(0, 9, 16284, 0xFFFF, 100, 1, result), dt);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(s.Read91(0, 10, 32735, 2, 32, 1, result), bank2);
        EXPECT_EQ(s.Read91(0, 10, 32735, 1, 32, 1, result), std::vector<std::uint8_t>(64, 0));
    }
    std::filesystem::remove(file);
}

TEST(SimulatorTest, AnimatedMemoryMovesOnlyWhenAsked)
{
    // Without --animate nothing moves by itself.
    struct Case {
        std::vector<std::string> args;
        bool moves;
    };
    for (const Case& c : {Case{{}, false}, Case{{"--animate"}, true}}) {
        SimulatorProcess sim(c.args);
        ASSERT_TRUE(sim.Started()) << sim.Log();
        modbus_t* ctx = Connect(sim.Port());
        ASSERT_NE(ctx, nullptr);
        std::uint16_t first[2] = {}, later[2] = {}, relay = 0;
        ASSERT_EQ(modbus_read_registers(ctx, 0, 2, first), 2);
        usleep(450 * 1000);
        ASSERT_EQ(modbus_read_registers(ctx, 0, 2, later), 2);
        const std::uint16_t wr[3] = {31, 0, 0};
        ASSERT_EQ(modbus_write_registers(ctx, 0xFFF0, 3, wr), 3);
        ASSERT_EQ(modbus_read_registers(ctx, 0, 1, &relay), 1);
        if (!c.moves) {
            EXPECT_EQ(later[0], 0);
            EXPECT_EQ(later[1], 0);
            EXPECT_EQ(relay, 0);
        } else {
            // The counter steps every 100 ms, the sine stays within its amplitude
            // and has left zero, and exactly one relay bit is on.
            const int steps = static_cast<std::uint16_t>(later[0] - first[0]);
            EXPECT_GE(steps, 3);
            EXPECT_LE(steps, 8);
            const int sine = static_cast<std::int16_t>(later[1]);
            EXPECT_GT(sine, 0);
            EXPECT_LE(sine, 1000);
            EXPECT_EQ(std::popcount(relay), 1);
            // A value written into the counter is where it goes on counting from.
            const std::uint16_t dt[3] = {9, 0, 0};
            ASSERT_EQ(modbus_write_registers(ctx, 0xFFF0, 3, dt), 3);
            ASSERT_EQ(modbus_write_register(ctx, 0, 50000), 1);
            usleep(250 * 1000);
            ASSERT_EQ(modbus_read_registers(ctx, 0, 1, later), 1);
            EXPECT_GE(later[0], 50001);
            EXPECT_LE(later[0], 50006);
        }
        Close(ctx);
    }
    const auto help = testsupport::RunProcess(BinDir() + "/memorix-plcsim", {"--help"});
    EXPECT_NE(help.out.find("--animate"), std::string::npos);
}
