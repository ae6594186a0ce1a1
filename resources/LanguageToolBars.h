#pragma once

// The tool bar table every language library shares.

#include "resources/ResourceAbi.h"

#include <cstdint>

namespace langres {

extern const MxToolBarResource kToolBars[];
extern const std::uint32_t kToolBarCount;

} // namespace langres
