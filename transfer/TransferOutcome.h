#pragma once

// How an operation of the transfer session ended. A library's own error code
// is not an outcome: after Failed the session keeps it (CTesknetComm::LastError).
enum class TransferOutcome {
    Done,
    // The user declined the transfer or chose nothing, or nothing was moved:
    // no block to read, or a protocol family the session does not drive.
    Cancelled,
    // The unit could not be opened, identified or checked, or the user would
    // not transfer with another PLC than the one being edited.
    NotReached,
    // The unit names a model the catalogue does not hold.
    UnknownModel,
    // A library call failed and its error was shown.
    Failed,
    // Connect: the libraries could not set up the session.
    InitFailed,
    // The user stopped a running transfer: a read returns nothing, a write
    // keeps what reached the unit before (CTesknetComm::Written).
    Stopped,
};
