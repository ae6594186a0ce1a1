#pragma once

// The serial ports as the automatic line-settings scan sees them: one per
// connection number (the port number of the calls), with a per-port record
// built from that profile, the settings last applied to it and the link
// opened with them. Callers hold SessionLock().

#include "commlib/core/CommResult.h"

#include <cstdint>

namespace commlib::autoset {

// The per-port record of this connection number: the settings record at
// offset 24726 holds the profile's line settings (kind 1 for a serial line,
// 6 for a network profile). Null when there is no such profile.
std::uint8_t* PortRecord(std::uint16_t port);

// Opens (or re-opens) the port's link with the record's baud rate, data
// length, parity and stop bits.
CommResult ApplySettings(std::uint16_t port, const std::uint8_t* settings);

// Sends an identity read over the port with the given settings record
// (re-opening the link when its settings differ); any well-formed answer,
// an exception too, proves them. takeLock: hold the port lock meanwhile
// (false when an auto-set already holds it). The first bytes of the answer
// go to response, their count to *length.
CommResult Probe(std::uint16_t port, const std::uint8_t* settings, bool takeLock, std::uint8_t* response,
                 std::uint32_t* length);

// Closes the port's link.
void ClosePort(std::uint16_t port);

} // namespace commlib::autoset
