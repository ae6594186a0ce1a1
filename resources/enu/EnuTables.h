#pragma once

// The tables of the English language library, one source file per kind.

#include "resources/ResourceAbi.h"

#include <cstdint>

namespace enu {

extern const MxStringResource kStrings[];
extern const std::uint32_t kStringCount;

extern const MxMenuResource kMenus[];
extern const std::uint32_t kMenuCount;

extern const MxDialogResource kDialogs[];
extern const std::uint32_t kDialogCount;

} // namespace enu
