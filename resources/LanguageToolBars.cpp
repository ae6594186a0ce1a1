// The tool bars of every language library: buttons by command id, 0 for a
// separator. They hold no text (the tool tips are the command strings), so all
// languages build this one table into their library.

#include "resources/ResourceIds.h"
#include "resources/LanguageToolBars.h"

#include <iterator>

namespace langres {
namespace {

using namespace res;

// The standard tool bar; the high-colour variant has the same buttons.
const std::uint32_t kStandardButtons[] = {
    ID_FILE_NEW,
    ID_FILE_OPEN,
    ID_FILE_SAVE,
    0,
    ID_EDIT_CUT,
    ID_EDIT_COPY,
    ID_EDIT_PASTE,
    0,
    ID_EDIT_UNDO,
    ID_EDIT_REDO,
    0,
    ID_PLC_READ,
    ID_PLC_WRITE,
    ID_PLC_COMPARE,
    ID_PLC_MONITOR,
    ID_PREV_DIFFERENCE,
    ID_NEXT_DIFFERENCE,
    0,
    ID_APP_ABOUT,
};

// The frame turns each of these buttons into a drop-down box: what is shown
// (device, bank), then how (radix, unit, columns).
const std::uint32_t kDataButtons[] = {
    ID_COMBO_DEVICE, ID_COMBO_BANK, 0, ID_COMBO_RADIX, ID_COMBO_UNIT, ID_COMBO_COLUMNS,
};

constexpr std::uint32_t kStandardCount = static_cast<std::uint32_t>(std::size(kStandardButtons));

} // namespace

const MxToolBarResource kToolBars[] = {
    {IDR_MAINFRAME, kStandardButtons, kStandardCount},
    {IDR_MAINFRAME_256, kStandardButtons, kStandardCount},
    {IDR_DATA_TOOLBAR, kDataButtons, static_cast<std::uint32_t>(std::size(kDataButtons))},
};

const std::uint32_t kToolBarCount = static_cast<std::uint32_t>(std::size(kToolBars));

} // namespace langres
