// The simulator's request handling: the input is a series of requests, each
// one length byte and then the request's PDU as a transport hands it over.
#include "FuzzSupport.h"

#include "plcsim/SimResponder.h"

#include <vector>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const SimModel model = FuzzModel();
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
        (void)responder.Handle(request.data(), static_cast<int>(request.size()), state);
    }
    return 0;
}
