// The simulator's request handling: the input is a series of requests, each
// one length byte and then the request as modbus_receive delivers it (header
// included), answered through a socket pair whose far end is drained.
#include "FuzzSupport.h"

#include "plcsim/SimResponder.h"

#include <modbus/modbus.h>

#include <fcntl.h>
#include <vector>
#include <sys/socket.h>

namespace {

SimModel FuzzModel()
{
    SimModel model;
    model.id = 1792;
    model.name = "fuzz";
    model.devices = {
        {21, 9, "DT", 1, 0, 1000},
        {22, 10, "FL", 1, 3, 300},
        {30, 12, "TE", 2, 0, 64},
    };
    return model;
}

struct Line {
    Line()
    {
        if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
            std::abort();
        fcntl(ends[0], F_SETFL, O_NONBLOCK);
        fcntl(ends[1], F_SETFL, O_NONBLOCK);
        context = modbus_new_tcp("127.0.0.1", 1502);
        modbus_set_socket(context, ends[0]);
        // Some malformed requests make libmodbus wait this long before flushing.
        modbus_set_response_timeout(context, 0, 1000);
    }
    void Drain() const
    {
        char buffer[4096];
        while (read(ends[1], buffer, sizeof buffer) > 0) {
        }
    }
    int ends[2] = {-1, -1};
    modbus_t* context = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const SimModel model = FuzzModel();
    static Line line;
    SimMemory memory(model, 1);
    fuzzsupport::Choices choices(data, size);
    SimFaults faults;
    const std::uint8_t faultChoice = choices.Next();
    faults.exception = faultChoice % 8 == 1 ? faultChoice >> 3 : 0;
    faults.garbage = faultChoice % 8 == 2;
    faults.faultsAfter = faultChoice % 3;
    SimResponder responder(memory, faults);
    SimLineState state;
    while (choices.Size() > 0) {
        const std::size_t length = std::min<std::size_t>(choices.Next(), choices.Size());
        // A buffer of the request's own size, so that reading past it is caught.
        const std::vector<std::uint8_t> request(choices.Data(), choices.Data() + length);
        for (std::size_t i = 0; i < length; ++i)
            choices.Next();
        // modbus_receive never delivers less than the header and the function code.
        if (request.size() < static_cast<std::size_t>(modbus_get_header_length(line.context)) + 1)
            continue;
        (void)responder.Handle(line.context, request.data(), static_cast<int>(request.size()), state);
        line.Drain();
    }
    return 0;
}
