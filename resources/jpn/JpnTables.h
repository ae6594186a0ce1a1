#pragma once

// The tables of the Japanese language library, one source file per kind.

#include "resources/ResourceAbi.h"

#include <cstdint>

namespace jpn {

extern const MxStringResource kStrings[];
extern const std::uint32_t kStringCount;

extern const MxMenuResource kMenus[];
extern const std::uint32_t kMenuCount;

extern const MxDialogResource kDialogs[];
extern const std::uint32_t kDialogCount;

} // namespace jpn
