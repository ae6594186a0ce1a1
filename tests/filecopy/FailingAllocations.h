#pragma once

#include <new>

// Makes the n-th allocation from now on (counting from 0) fail, or none for
// -1: operator new then throws std::bad_alloc, the nothrow forms return null.
// The test program replaces the global allocation functions, so allocations
// made inside the library are counted too.
void FailAllocation(long n);

// Runs f with its n-th allocation failing; true when f threw std::bad_alloc.
template <class F>
bool ThrowsBadAlloc(long n, F f)
{
    bool threw = false;
    FailAllocation(n);
    try {
        f();
    } catch (const std::bad_alloc&) {
        threw = true;
    }
    FailAllocation(-1);
    return threw;
}
