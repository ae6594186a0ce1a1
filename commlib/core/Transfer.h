#pragma once

// Moving words between a caller's buffer (16-bit words, low byte first) and
// the unit's registers, in as few full-size requests as Modbus allows.

#include "commlib/core/CommResult.h"

#include "contract/CommContract.h"

#include <cstdint>

namespace commlib {

struct Session;

// Whether the caller's words per address of a device are the unit's: a
// caller sizes its buffer by its own, the library moves the unit's.
// SizeMismatch naming the device and both sizes when they differ.
CommResult CheckWordsPerAddress(Session& session, std::uint32_t device, std::uint32_t callerWords);

// A consecutive range of one device (and bank): QelTeskMsg 91 / 92.
CommResult TransferRange(Session& session, std::uint32_t device, std::uint32_t start, std::uint16_t bank,
                         std::uint32_t count, std::uint8_t* buffer, bool write);

// One entry per address: QelTesktocol7 7 / 8. Consecutive addresses of one
// device travel together.
CommResult TransferByAddress(Session& session, int count, const comm::_dev2_7* descriptors, std::uint8_t* buffer,
                             bool write);

} // namespace commlib
