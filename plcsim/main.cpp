// memorix-plcsim: a PLC simulator that serves one catalogue model's memory
// over Modbus TCP or RTU, for trying the program without a PLC and for tests.

#include "plcsim/SimMemory.h"
#include "plcsim/SimModelSource.h"
#include "plcsim/SimResponder.h"
#include "plcsim/SimServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

const char kUsage[] = "usage: memorix-plcsim [options]\n"
                      "Serves the whole memory of one catalogue model over Modbus, so that Memorix\n"
                      "can read and write a PLC without one.\n"
                      "\n"
                      "  --model ID          catalogue model id (default 1792)\n"
                      "  --family 0|1        protocol family to report (default: 0 for ids below 256, else 1)\n"
                      "  --host HOST         TCP address to listen on (default 127.0.0.1)\n"
                      "  --port PORT         TCP port (default 1502; 0 picks a free one)\n"
                      "  --max-connections N serve at most N TCP connections at once (default 256);\n"
                      "                      a client beyond them is turned away as it connects\n"
                      "  --rtu DEVICE        serve Modbus RTU on a serial device or pseudo-terminal instead;\n"
                      "                      \"pty\" creates a pseudo-terminal and answers only a client whose\n"
                      "                      baud rate, parity and data bits there are the simulator's\n"
                      "  --baud N            RTU baud rate (default 9600)\n"
                      "  --parity N|E|O      RTU parity (default N)\n"
                      "  --data-bits 7|8     RTU data bits (default 8)\n"
                      "  --stop-bits 1|2     RTU stop bits (default 1)\n"
                      "  --unit N            RTU unit address (default 1)\n"
                      "  --load FILE.ldtx    start from a data file's contents\n"
                      "  --save FILE.ldtx    write the memory to a data file on exit\n"
                      "  --catalogue FILE    the catalogue (default: Memorix.db beside the program)\n"
                      "  --animate           let memory change by itself: DT 0 counts up every 100 ms,\n"
                      "                      DT 1 follows a sine (-1000 to 1000, 10 s a turn), one bit\n"
                      "                      walks through WR 0 every 250 ms\n"
                      "\n"
                      "Faults, for tests and demonstrations:\n"
                      "  --drop-after N      close the connection instead of answering request N+1\n"
                      "  --delay MS          wait MS milliseconds before each answer\n"
                      "  --exception CODE    answer every request with Modbus exception CODE\n"
                      "  --garbage           answer with bytes that are no Modbus answer\n"
                      "  --silent            never answer\n"
                      "  --faults-after N    let the first N requests of a connection through unharmed\n"
                      "  --faults-on N       misbehave on the Nth TCP connection accepted only (1: the first)\n"
                      "\n"
                      "The first line on standard output names the address served; one line per\n"
                      "connection goes to standard error. Stop with Ctrl+C or SIGTERM.\n";

int Usage(const std::string& problem)
{
    std::fprintf(stderr, "memorix-plcsim: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

std::optional<int> Number(const char* text, int low, int high)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno || !end || *end || end == text || value < low || value > high)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

int main(int argc, char** argv)
{
    int modelId = 1792;
    bool modelGiven = false;
    int family = -1;
    std::string host = "127.0.0.1";
    int port = 1502;
    int maxConnections = kDefaultMaxConnections;
    SimSerialLine line;
    std::string load, save, catalogue = SimDefaultCatalogue();
    SimFaults faults;
    bool animate = false;

    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        const bool flag = option == "--garbage" || option == "--silent" || option == "--animate";
        if (!flag && i + 1 >= argc)
            return Usage(option + " needs a value");
        const char* value = flag ? "" : argv[++i];
        auto number = [&](int low, int high, int& out) {
            const auto n = Number(value, low, high);
            if (n)
                out = *n;
            return n.has_value();
        };
        bool ok = true;
        if (option == "--model") {
            ok = number(1, 65535, modelId);
            modelGiven = true;
        } else if (option == "--family")
            ok = number(0, 1, family);
        else if (option == "--host")
            host = value;
        else if (option == "--port")
            ok = number(0, 65535, port);
        else if (option == "--max-connections")
            ok = number(1, 1 << 20, maxConnections);
        else if (option == "--rtu")
            line.device = value;
        else if (option == "--baud")
            ok = number(50, 4000000, line.baud);
        else if (option == "--parity") {
            ok = std::strlen(value) == 1 && std::strchr("NEO", value[0]);
            line.parity = value[0];
        } else if (option == "--data-bits")
            ok = number(7, 8, line.dataBits);
        else if (option == "--stop-bits")
            ok = number(1, 2, line.stopBits);
        else if (option == "--unit")
            ok = number(1, 247, line.unit);
        else if (option == "--load")
            load = value;
        else if (option == "--save")
            save = value;
        else if (option == "--catalogue")
            catalogue = value;
        else if (option == "--animate")
            animate = true;
        else if (option == "--drop-after")
            ok = number(1, 1 << 30, faults.dropAfter);
        else if (option == "--delay")
            ok = number(0, 600000, faults.delayMs);
        else if (option == "--exception")
            ok = number(1, 255, faults.exception);
        else if (option == "--garbage")
            faults.garbage = true;
        else if (option == "--silent")
            faults.silent = true;
        else if (option == "--faults-after")
            ok = number(0, 1 << 30, faults.faultsAfter);
        else if (option == "--faults-on")
            ok = number(1, 1 << 30, faults.onConnection);
        else
            return Usage("unknown option " + option);
        if (!ok)
            return Usage("bad value \"" + std::string(value) + "\" for " + option);
    }

    std::string error;
    std::vector<SimBlock> blocks;
    if (!load.empty()) {
        int fileModel = 0;
        if (!ReadSimDataFile(catalogue, load, fileModel, blocks, error)) {
            std::fprintf(stderr, "memorix-plcsim: %s\n", error.c_str());
            return 1;
        }
        if (modelGiven && fileModel != modelId) {
            std::fprintf(stderr, "memorix-plcsim: %s holds model %d, not %d\n", load.c_str(), fileModel, modelId);
            return 1;
        }
        modelId = fileModel;
    }
    SimModel model;
    if (!LoadSimModel(catalogue, modelId, model, error)) {
        std::fprintf(stderr, "memorix-plcsim: %s\n", error.c_str());
        return 1;
    }
    if (family < 0)
        family = modelId < 256 ? 0 : 1;
    SimMemory memory(model, static_cast<std::uint8_t>(family));
    if (!blocks.empty() && !memory.Load(blocks, error)) {
        std::fprintf(stderr, "memorix-plcsim: %s: %s\n", load.c_str(), error.c_str());
        return 1;
    }

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::fprintf(stderr, "memorix-plcsim: model %d %s, protocol family %d\n", model.id, model.name.c_str(), family);
    SimResponder responder(memory, faults);
    std::optional<SimAnimation> animation;
    if (animate) {
        animation.emplace(memory);
        responder.Animate(&*animation);
    }
    const int result = line.device.empty() ? RunTcpServer(responder, host, port, maxConnections, g_stop)
                                           : RunRtuServer(responder, line, g_stop);
    if (!save.empty()) {
        if (!WriteSimDataFile(catalogue, model.id, memory.Blocks(), save, error)) {
            std::fprintf(stderr, "memorix-plcsim: %s\n", error.c_str());
            return 1;
        }
        std::fprintf(stderr, "memorix-plcsim: memory saved to %s\n", save.c_str());
    }
    return result;
}
