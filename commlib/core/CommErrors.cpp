#include "commlib/core/CommErrors.h"

#include <array>
#include <cstdio>

namespace commlib {
namespace {

// One row per code. A further language adds a column here; ErrorMessage
// falls back to English where a column is still empty.
struct ErrorRow {
    int code;
    const char* english;
};

constexpr ErrorRow kRows[] = {
    {Err::NotInitialised, "The communication library has not been initialised."},
    {Err::NotOnline, "Not online. Go online before talking to the PLC."},
    {Err::BadArgument, "The call passed an invalid argument."},
    {Err::UnknownLanguage, "Unknown language code."},
    {Err::NoProfile, "There is no connection profile with this number."},
    {Err::BadProfile, "The connection profile holds invalid settings."},
    {Err::BadMapFile, "The register map file cannot be used."},
    {Err::ConnectFailed, "The PLC cannot be reached."},
    {Err::Timeout, "The PLC did not answer in time."},
    {Err::ConnectionLost, "The connection to the PLC was lost."},
    {Err::BadResponse, "The PLC sent an answer that cannot be understood."},
    {Err::ExceptionBase + 1, "The PLC refused the request: illegal function."},
    {Err::ExceptionBase + 2, "The PLC refused the request: the address is outside its memory."},
    {Err::ExceptionBase + 3, "The PLC refused the request: illegal data value."},
    {Err::ExceptionBase + 4, "The PLC reported a device failure."},
    {Err::ExceptionBase + 5, "The PLC acknowledged the request but has not finished it."},
    {Err::ExceptionBase + 6, "The PLC is busy. Try again later."},
    {Err::ExceptionBase + 7, "The PLC could not carry out the request."},
    {Err::ExceptionBase + 8, "The PLC reported a memory parity error."},
    {Err::ExceptionBase + 10, "The gateway has no path to the PLC."},
    {Err::ExceptionBase + 11, "The PLC behind the gateway did not answer."},
    {Err::UnknownDevice, "The PLC has no such device."},
    {Err::OutOfRange, "The address range is outside the device's memory."},
    {Err::SizeMismatch, "The words per address do not match the device."},
    {Err::NoIdentity, "The PLC does not identify itself and the connection profile declares no protocol family and model."},
    {Err::BadIdentity, "The PLC's identity registers hold impossible values."},
    {Err::NotAvailable, "This function is not available in this version of the communication library."},
    {Err::Cancelled, "Cancelled."},
};

} // namespace

std::string ErrorMessage(int code, int /*language*/)
{
    for (const ErrorRow& row : kRows)
        if (row.code == code)
            return row.english;
    if (code > Err::ExceptionBase && code < Err::ExceptionBase + 256) {
        char text[96];
        std::snprintf(text, sizeof text, "The PLC refused the request with Modbus exception %d.",
                      code - Err::ExceptionBase);
        return text;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Communication error %d.", code);
    return text;
}

bool IsKnownLanguage(int language)
{
    constexpr std::array<int, 8> kKnown{0, 1, 2, 3, 4, 5, 6, 9};
    for (int known : kKnown)
        if (known == language)
            return true;
    return false;
}

} // namespace commlib
