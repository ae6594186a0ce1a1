#pragma once

// Misbehaviour on request, for tests and demonstrations. Faults other than
// dropping apply from request faultsAfter + 1 of a connection on; all of
// them only to the TCP connection numbered onConnection when it is set.

struct SimFaults {
    int dropAfter = 0;    // close the connection instead of answering request dropAfter + 1
    int delayMs = 0;      // wait this long before each answer
    int exception = 0;    // answer with this Modbus exception code
    bool garbage = false; // answer with bytes that are no Modbus answer
    bool silent = false;  // read requests and never answer
    int faultsAfter = 0;
    int onConnection = 0; // 1: the first connection accepted; 0: every connection
};
