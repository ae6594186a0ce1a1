#pragma once

// Marks the one function per ordinal that a library exports; everything
// else in the libraries is hidden.
#define QELTESK_EXPORT extern "C" __attribute__((visibility("default")))
