// English menus. A context menu is the first popup of its menu resource.

#include "resources/ResourceIds.h"
#include "resources/enu/EnuTables.h"

#include <iterator>

namespace enu {
namespace {

using namespace res;

constexpr std::uint16_t kCmd = MX_MENU_COMMAND;
constexpr std::uint16_t kPopup = MX_MENU_POPUP;
constexpr std::uint16_t kSep = MX_MENU_SEPARATOR;

// The menu bar, the same whether a document is open or not: commands that
// need a document are disabled without one.
const MxMenuItem kMainMenu[] = {
    {0, kPopup, 0, "&File"},
    {1, kCmd, ID_FILE_NEW, "&New\tCtrl+N"},
    {1, kCmd, ID_FILE_OPEN, "&Open...\tCtrl+O"},
    {1, kCmd, ID_FILE_CLOSE, "&Close"},
    {1, kCmd, ID_FILE_SAVE, "&Save\tCtrl+S"},
    {1, kCmd, ID_FILE_SAVE_AS, "Save &As..."},
    {1, kCmd, ID_FILE_COMPARE, "Co&mpare with File..."},
    {1, kSep, 0, ""},
    // Stands for the recent-file list, which replaces it (or disables it while empty).
    {1, kCmd, ID_FILE_MRU_FIRST, "Recent File"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_APP_EXIT, "E&xit"},

    {0, kPopup, 0, "&Edit"},
    {1, kCmd, ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
    {1, kCmd, ID_EDIT_REDO, "&Redo\tCtrl+Y"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_CUT, "Cu&t\tCtrl+X"},
    {1, kCmd, ID_EDIT_COPY, "&Copy\tCtrl+C"},
    {1, kCmd, ID_EDIT_PASTE, "&Paste\tCtrl+V"},
    {1, kCmd, ID_EDIT_CLEAR, "Cle&ar\tDel"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_SELECT_ALL, "Select A&ll\tCtrl+A"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_NEXT_DIFFERENCE, "&Next Difference\tF8"},
    {1, kCmd, ID_PREV_DIFFERENCE, "Pre&vious Difference\tShift+F8"},
    {1, kCmd, ID_TAKE_OTHER_VALUE, "Take &Other Value"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_FIND, "&Find...\tCtrl+F"},
    {1, kCmd, ID_EDIT_FIND_NEXT, "Find Ne&xt\tF3"},
    {1, kCmd, ID_EDIT_FIND_PREV, "Find Pr&evious\tShift+F3"},
    {1, kCmd, ID_EDIT_GOTO, "&Go To...\tCtrl+G"},
    {1, kCmd, ID_EDIT_FILL, "F&ill..."},
    {1, kCmd, ID_PLC_WRITE_SELECTION, "Write &Selection to PLC..."},

    {0, kPopup, 0, "&View"},
    {1, kCmd, ID_VIEW_TOOLBAR, "&Toolbar"},
    {1, kCmd, ID_VIEW_STATUS_BAR, "&Status Bar"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_VIEW_TREND, "T&rend"},
    {1, kCmd, ID_VIEW_COMM_LOG, "&Communication Log"},

    {0, kPopup, 0, "&Data"},
    {1, kCmd, ID_DEVICE_SELECT, "&Device Selection..."},
    {1, kCmd, ID_CHANGE_PLC, "C&hange PLC..."},
    {1, kSep, 0, ""},
    {1, kCmd, ID_CSV_IMPORT, "&Import CSV..."},
    {1, kCmd, ID_CSV_EXPORT, "&Export CSV..."},

    {0, kPopup, 0, "&PLC"},
    {1, kCmd, ID_PLC_READ, "&Read from PLC..."},
    {1, kCmd, ID_PLC_WRITE, "&Write to PLC..."},
    {1, kCmd, ID_PLC_COMPARE, "Com&pare with PLC..."},
    {1, kCmd, ID_PLC_MONITOR, "&Monitor"},
    {1, kCmd, ID_PLC_WRITE_SELECTION, "Write &Selection to PLC..."},
    {1, kSep, 0, ""},
    {1, kCmd, ID_COMM_SETTINGS, "&Communication Settings..."},
    {1, kCmd, ID_ONLINE_SETTINGS, "&Online Settings..."},

    {0, kPopup, 0, "&Help"},
    {1, kCmd, ID_APP_ABOUT, "&About Memorix..."},
};

const MxMenuItem kGridContextMenu[] = {
    {0, kPopup, 0, "Grid"},
    {1, kCmd, ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
    {1, kCmd, ID_EDIT_REDO, "&Redo\tCtrl+Y"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_CUT, "Cu&t\tCtrl+X"},
    {1, kCmd, ID_EDIT_COPY, "&Copy\tCtrl+C"},
    {1, kCmd, ID_EDIT_PASTE, "&Paste\tCtrl+V"},
    {1, kCmd, ID_EDIT_CLEAR, "Cle&ar\tDel"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_SELECT_ALL, "Select A&ll\tCtrl+A"},
    {1, kCmd, ID_EDIT_FIND, "&Find...\tCtrl+F"},
    {1, kCmd, ID_EDIT_GOTO, "&Go To...\tCtrl+G"},
    {1, kCmd, ID_EDIT_FILL, "F&ill..."},
    {1, kSep, 0, ""},
    {1, kCmd, ID_TAKE_OTHER_VALUE, "Take &Other Value"},
};

// The cell editors undo one step only, so there is no Redo.
const MxMenuItem kEditContextMenu[] = {
    {0, kPopup, 0, "Edit"},
    {1, kCmd, ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_CUT, "Cu&t\tCtrl+X"},
    {1, kCmd, ID_EDIT_COPY, "&Copy\tCtrl+C"},
    {1, kCmd, ID_EDIT_PASTE, "&Paste\tCtrl+V"},
    {1, kCmd, ID_EDIT_CLEAR, "&Delete\tDel"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_SELECT_ALL, "Select &All\tCtrl+A"},
};

template <typename T, std::size_t N>
constexpr std::uint32_t Count(const T (&)[N])
{
    return static_cast<std::uint32_t>(N);
}

} // namespace

const MxMenuResource kMenus[] = {
    {IDR_GRID_CONTEXT, kGridContextMenu, Count(kGridContextMenu)},
    {IDR_EDIT_CONTEXT, kEditContextMenu, Count(kEditContextMenu)},
    {IDR_MAINFRAME, kMainMenu, Count(kMainMenu)},
    {IDR_MEMORIXTYPE, kMainMenu, Count(kMainMenu)},
};

const std::uint32_t kMenuCount = static_cast<std::uint32_t>(std::size(kMenus));

} // namespace enu
