// The English library holds everything the program asks for by number, in a
// shape the program can use.

#include "resources/FormatText.h"
#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"

#include "TestBinDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace res;

namespace {

class EnuLibrary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_res.Load(TestBinDir() + "/MEMORIXEnu.so")) << m_res.Error(); }
    const MxResourceTable& Table() const { return *m_res.Table(); }

    CResourceHandle m_res;
};

// The conversion letters of a printf-style format ("%%" is none).
std::string Conversions(const std::string& format)
{
    std::string found;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || (++i < format.size() && format[i] == '%'))
            continue;
        while (i < format.size() && std::strchr("-+ #0123456789.*hlLqjztI", format[i]) != nullptr)
            ++i;
        found += i < format.size() ? format[i] : '?';
    }
    return found;
}

// The access key of a text ("Save &As..." gives 'a'); 0 when it has none.
char AccessKey(const char* text)
{
    const char* amp = std::strchr(text, '&');
    return amp != nullptr && amp[1] != '\0' ? static_cast<char>(std::tolower(static_cast<unsigned char>(amp[1]))) : 0;
}

// The patterns of a file dialog filter, up to the end of the list (an empty field).
std::vector<std::string> FilterPatterns(const std::string& filter)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar; (bar = filter.find('|', start)) != std::string::npos && bar > start; start = bar + 1)
        fields.push_back(filter.substr(start, bar - start));
    EXPECT_TRUE(fields.size() % 2 == 0 && filter.find_first_not_of('|', start) == std::string::npos)
        << "fields lost or unpaired in " << filter;
    std::vector<std::string> patterns;
    for (std::size_t i = 1; i < fields.size(); i += 2)
        patterns.push_back(fields[i]);
    return patterns;
}

// The command ids of a menu, or of its first popup only.
std::set<std::uint32_t> Commands(const MxMenuResource& menu, bool firstPopupOnly)
{
    std::set<std::uint32_t> ids;
    for (std::uint32_t i = 0; i < menu.count; ++i) {
        if (firstPopupOnly && i > 0 && menu.items[i].depth == 0)
            break;
        if (menu.items[i].flags == MX_MENU_COMMAND)
            ids.insert(menu.items[i].commandId);
    }
    return ids;
}

std::ptrdiff_t TabPosition(const MxDialogResource& dialog, int id)
{
    const MxControlResource* control = CResourceHandle::FindControl(dialog, id);
    return control != nullptr ? control - dialog.controls : -1;
}

} // namespace

TEST_F(EnuLibrary, HoldsEveryStringOnceWithTheArgumentsTheProgramPasses)
{
    const int required[] = {
        101, 107, 108, 112, 203, 509, 700, 701, 702, 703, 704,  705,  706,  707,   708,
        709, 710, 711, 806, 807, 808, 809, 810, 811, 812, 813,  814,  817,  901,   902,
        903, 904, 905, 907, 908, 909, 930, 935, 936, 937, 1001, 1100, 1101, 57344, 61699,
    };
    for (int id : required)
        EXPECT_FALSE(m_res.LoadString(id).empty()) << "string " << id;
    EXPECT_EQ(m_res.LoadString(IDS_APP_TITLE), "Memorix");

    // Everything but these two is shown as it is or has text appended (" (%d)"
    // to 901, "[%d]" to 817), where a stray conversion would eat the argument.
    const std::map<std::uint32_t, std::string> formats = {{IDS_BANK_NAME, "d"},
                                                          {IDP_ASK_TO_SAVE, "s"},
                                                          {IDS_FILE_LEGACY_LOSES_DATA, "s"},
                                                          {IDS_COMPARE_DIFFERENCES, "dd"},
                                                          {IDS_COMPARE_OTHER_MODEL, "s"},
                                                          {IDS_COMPARE_OTHER_VALUE, "s"},
                                                          {IDS_COMPARE_DIFFERENCES_ONE_BLOCK, "d"},
                                                          {IDS_GOTO_OUT_OF_RANGE, "sdd"},
                                                          {IDS_FIND_COUNT, "d"},
                                                          {IDS_MONITOR_STATUS, "d"},
                                                          {IDS_MONITOR_CYCLE_FAILED, "s"},
                                                          {IDS_MONITOR_STOPPED, "s"},
                                                          {IDS_WRITE_SELECTION_DONE, "d"},
                                                          {IDS_TREND_TOO_MANY, "d"},
                                                          {IDS_WRITE_PARTIAL, "s"}};
    std::set<std::uint32_t> seen;
    for (std::uint32_t i = 0; i < Table().stringCount; ++i) {
        const MxStringResource& s = Table().strings[i];
        ASSERT_NE(s.text, nullptr) << "string " << s.id;
        EXPECT_TRUE(seen.insert(s.id).second) << "string " << s.id << " given twice";
        const auto it = formats.find(s.id);
        EXPECT_EQ(Conversions(s.text), it != formats.end() ? it->second : "") << "string " << s.id << ": " << s.text;
    }

    std::set<std::string> bankNames;
    for (int bank = 0; bank < 16; ++bank)
        bankNames.insert(FormatText(m_res.LoadString(IDS_BANK_NAME), {bank}));
    EXPECT_EQ(bankNames.size(), 16u);
    EXPECT_NE(FormatText(m_res.LoadString(IDS_BANK_NAME), {12}).find("12"), std::string::npos);
    // Column items read "<n><suffix>": a leading digit would make 1 look like 10.
    EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(m_res.LoadString(IDS_COLUMNS_SUFFIX).front())));
}

TEST_F(EnuLibrary, FileFiltersConcatenateAndParse)
{
    const std::string data = m_res.LoadString(IDS_FILTER_DATA);
    const std::string legacy = m_res.LoadString(IDS_FILTER_LEGACY_DATA);
    using Patterns = std::vector<std::string>;
    EXPECT_EQ(FilterPatterns(m_res.LoadString(IDS_FILTER_OPEN_FIRST) + data + legacy),
              (Patterns{"*.ldtx;*.ldt", "*.ldtx", "*.ldt"}));
    EXPECT_EQ(FilterPatterns(data), (Patterns{"*.ldtx"}));
    EXPECT_EQ(FilterPatterns(data + legacy), (Patterns{"*.ldtx", "*.ldt"}));
    // The first filter stands for comma separation.
    EXPECT_EQ(FilterPatterns(m_res.LoadString(IDS_FILTER_CSV)), (Patterns{"*.csv", "*.txt"}));
}

TEST_F(EnuLibrary, MenusAreWellFormed)
{
    for (std::uint32_t m = 0; m < Table().menuCount; ++m) {
        const MxMenuResource& menu = Table().menus[m];
        ASSERT_GT(menu.count, 0u);
        // Access keys taken so far, by the popup the item is in.
        std::map<std::uint32_t, std::set<char>> keys;
        std::vector<std::uint32_t> popupAt(8, 0);
        for (std::uint32_t i = 0; i < menu.count; ++i) {
            const MxMenuItem& item = menu.items[i];
            const std::string where = "menu " + std::to_string(menu.id) + " item " + std::to_string(i);
            ASSERT_NE(item.text, nullptr) << where;
            ASSERT_LT(item.depth, popupAt.size()) << where;
            const int opens = i == 0 ? 0 : menu.items[i - 1].depth + (menu.items[i - 1].flags == MX_MENU_POPUP);
            EXPECT_LE(item.depth, opens) << where << " is deeper than its popup";
            if (item.flags == MX_MENU_POPUP) {
                EXPECT_TRUE(i + 1 < menu.count && menu.items[i + 1].depth > item.depth) << where << " is empty";
            }
            EXPECT_EQ(item.commandId != 0, item.flags == MX_MENU_COMMAND) << where;
            EXPECT_EQ(*item.text == '\0', item.flags == MX_MENU_SEPARATOR) << where;
            const std::uint32_t parent = item.depth == 0 ? 0 : popupAt[item.depth - 1];
            if (const char key = AccessKey(item.text); key != 0) {
                EXPECT_TRUE(keys[parent].insert(key).second) << where << " repeats the access key " << key;
            }
            popupAt[item.depth] = i + 1;
        }
    }
}

TEST_F(EnuLibrary, MenusCarryTheirCommands)
{
    const std::set<std::uint32_t> editing = {ID_EDIT_UNDO,  ID_EDIT_CUT,   ID_EDIT_COPY,
                                             ID_EDIT_PASTE, ID_EDIT_CLEAR, ID_EDIT_SELECT_ALL};
    std::set<std::uint32_t> gridEditing = editing;
    gridEditing.insert(ID_EDIT_REDO);
    std::set<std::uint32_t> gridMenu = gridEditing;
    gridMenu.insert({ID_TAKE_OTHER_VALUE, ID_EDIT_FIND, ID_EDIT_GOTO, ID_EDIT_FILL});
    ASSERT_NE(m_res.FindMenu(IDR_GRID_CONTEXT), nullptr);
    EXPECT_EQ(Commands(*m_res.FindMenu(IDR_GRID_CONTEXT), true), gridMenu);
    // The cell editors undo one step and have no Redo.
    ASSERT_NE(m_res.FindMenu(IDR_EDIT_CONTEXT), nullptr);
    EXPECT_EQ(Commands(*m_res.FindMenu(IDR_EDIT_CONTEXT), true), editing);

    // The frame's basic commands, but printing, which the program does not offer.
    std::set<std::uint32_t> main = {
        ID_FILE_NEW,   ID_FILE_OPEN,    ID_FILE_CLOSE,      ID_FILE_SAVE,     ID_FILE_SAVE_AS,    ID_FILE_MRU_FIRST,
        ID_APP_EXIT,   ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_DEVICE_SELECT, ID_CHANGE_PLC,      ID_CSV_IMPORT,
        ID_CSV_EXPORT, ID_PLC_READ,     ID_PLC_WRITE,       ID_COMM_SETTINGS, ID_ONLINE_SETTINGS, ID_APP_ABOUT};
    main.insert(gridMenu.begin(), gridMenu.end());
    main.insert({ID_FILE_COMPARE, ID_PLC_COMPARE, ID_NEXT_DIFFERENCE, ID_PREV_DIFFERENCE, ID_EDIT_FIND_NEXT,
                 ID_EDIT_FIND_PREV, ID_PLC_MONITOR, ID_PLC_WRITE_SELECTION, ID_VIEW_TREND, ID_VIEW_COMM_LOG});
    for (int id : {IDR_MAINFRAME, IDR_MEMORIXTYPE}) {
        const MxMenuResource* menu = m_res.FindMenu(id);
        ASSERT_NE(menu, nullptr) << "menu " << id;
        EXPECT_EQ(Commands(*menu, false), main) << "menu " << id;
        std::set<std::string> shortcuts;
        for (std::uint32_t i = 0; i < menu->count; ++i) {
            if (const char* tab = std::strchr(menu->items[i].text, '\t')) {
                EXPECT_TRUE(shortcuts.insert(tab + 1).second) << "shortcut " << (tab + 1) << " used twice";
            }
        }
    }
}

TEST_F(EnuLibrary, ToolBarsHoldTheirButtonsAndEveryCommandItsTexts)
{
    const MxToolBarResource* data = m_res.FindToolBar(IDR_DATA_TOOLBAR);
    ASSERT_NE(data, nullptr);
    std::multiset<std::uint32_t> boxes(data->buttons, data->buttons + data->count);
    boxes.erase(0);
    EXPECT_EQ(boxes, (std::multiset<std::uint32_t>{ID_COMBO_RADIX, ID_COMBO_UNIT, ID_COMBO_DEVICE, ID_COMBO_COLUMNS,
                                                   ID_COMBO_BANK}));
    for (int id : {IDR_MAINFRAME, IDR_MAINFRAME_256}) {
        const MxToolBarResource* bar = m_res.FindToolBar(id);
        ASSERT_NE(bar, nullptr) << "tool bar " << id;
        const std::set<std::uint32_t> buttons(bar->buttons, bar->buttons + bar->count);
        for (int command : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
                            ID_PLC_READ, ID_PLC_WRITE, ID_APP_ABOUT})
            EXPECT_EQ(buttons.count(command), 1u) << "tool bar " << id << ", command " << command;
    }

    // Every command of a menu or tool bar, and every recent-file entry, has
    // "prompt\ntool tip".
    std::set<std::uint32_t> commands;
    for (std::uint32_t m = 0; m < Table().menuCount; ++m)
        commands.merge(Commands(Table().menus[m], false));
    for (std::uint32_t t = 0; t < Table().toolBarCount; ++t)
        commands.insert(Table().toolBars[t].buttons, Table().toolBars[t].buttons + Table().toolBars[t].count);
    commands.erase(0);
    for (int id = ID_FILE_MRU_FIRST; id <= ID_FILE_MRU_LAST; ++id)
        commands.insert(static_cast<std::uint32_t>(id));
    for (std::uint32_t id : commands) {
        const std::string text = m_res.LoadString(static_cast<int>(id));
        const std::size_t newline = text.find('\n');
        EXPECT_TRUE(newline != std::string::npos && newline > 0 && newline + 1 < text.size())
            << "command " << id << ": \"" << text << '"';
    }
}

TEST_F(EnuLibrary, DialogsHoldTheControlsTheProgramUses)
{
    const std::map<int, std::vector<std::pair<int, int>>> expected = {
        {IDD_ABOUTBOX, {{115, MX_CTL_STATIC}, {116, MX_CTL_STATIC}, {IDOK, MX_CTL_DEFPUSHBUTTON}}},
        {IDD_GRID_FORM, {{602, MX_CTL_LISTVIEW}}},
        {IDD_STARTUP,
         {{301, MX_CTL_RADIOBUTTON},
          {302, MX_CTL_RADIOBUTTON},
          {303, MX_CTL_RADIOBUTTON},
          {307, MX_CTL_PUSHBUTTON},
          {308, MX_CTL_PUSHBUTTON},
          {309, MX_CTL_PUSHBUTTON},
          {IDOK, MX_CTL_DEFPUSHBUTTON},
          {IDCANCEL, MX_CTL_PUSHBUTTON}}},
        {IDD_PLC_SELECT,
         {{401, MX_CTL_LISTBOX},
          {402, MX_CTL_LISTBOX},
          {403, MX_CTL_CHECKBOX},
          {IDOK, MX_CTL_DEFPUSHBUTTON},
          {IDCANCEL, MX_CTL_PUSHBUTTON}}},
        {IDD_DEVICE_SELECT,
         {{501, MX_CTL_CHECKLISTBOX},
          {510, MX_CTL_CHECKLISTBOX},
          {502, MX_CTL_EDIT},
          {503, MX_CTL_EDIT},
          {504, MX_CTL_CHECKBOX},
          {506, MX_CTL_STATIC},
          {507, MX_CTL_STATIC},
          {IDOK, MX_CTL_DEFPUSHBUTTON},
          {IDCANCEL, MX_CTL_PUSHBUTTON}}},
        {IDD_TRANSFER_CONFIRM,
         {{801, MX_CTL_STATIC},
          {802, MX_CTL_PUSHBUTTON},
          {803, MX_CTL_PUSHBUTTON},
          {804, MX_CTL_ICON},
          {805, MX_CTL_STATIC},
          {IDOK, MX_CTL_DEFPUSHBUTTON},
          {IDCANCEL, MX_CTL_PUSHBUTTON}}},
    };
    for (const auto& [dialogId, controls] : expected) {
        const MxDialogResource* dialog = m_res.FindDialog(dialogId);
        ASSERT_NE(dialog, nullptr) << "dialog " << dialogId;
        for (const auto& [id, kind] : controls) {
            const MxControlResource* control = CResourceHandle::FindControl(*dialog, id);
            ASSERT_NE(control, nullptr) << "dialog " << dialogId << ", control " << id;
            EXPECT_EQ(control->kind, static_cast<std::uint32_t>(kind)) << "dialog " << dialogId << ", control " << id;
        }
    }
}

TEST_F(EnuLibrary, DialogLayoutsAreUsable)
{
    for (std::uint32_t d = 0; d < Table().dialogCount; ++d) {
        const MxDialogResource& dialog = Table().dialogs[d];
        ASSERT_NE(dialog.caption, nullptr);
        std::set<std::uint32_t> ids;
        std::set<char> keys;
        for (std::uint32_t i = 0; i < dialog.count; ++i) {
            const MxControlResource& c = dialog.controls[i];
            const std::string where = "dialog " + std::to_string(dialog.id) + ", control " + std::to_string(c.id);
            ASSERT_NE(c.text, nullptr) << where;
            EXPECT_TRUE(c.id == static_cast<std::uint32_t>(IDC_STATIC) || ids.insert(c.id).second) << where << " twice";
            EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.cx >= 0 && c.cy >= 0) << where;
            EXPECT_TRUE(c.x + c.cx <= dialog.cx && c.y + c.cy <= dialog.cy) << where << " lies outside";
            if (const char key = AccessKey(c.text); key != 0) {
                EXPECT_TRUE(keys.insert(key).second) << where << " repeats the access key " << key;
            }
        }
    }

    // The three choices form one group of radio buttons.
    const MxDialogResource* startup = m_res.FindDialog(IDD_STARTUP);
    ASSERT_NE(startup, nullptr);
    EXPECT_EQ(TabPosition(*startup, 302), TabPosition(*startup, 301) + 1);
    EXPECT_EQ(TabPosition(*startup, 303), TabPosition(*startup, 301) + 2);

    // For a model with banks the dialog opens the bank list under the device
    // list and moves every control after the bank list down: those must be
    // exactly the controls below the device list.
    const MxDialogResource* devices = m_res.FindDialog(IDD_DEVICE_SELECT);
    ASSERT_NE(devices, nullptr);
    const std::ptrdiff_t bankPos = TabPosition(*devices, IDC_BANK_LIST);
    ASSERT_EQ(bankPos, TabPosition(*devices, IDC_DEVICE_LIST) + 1);
    const MxControlResource& list = devices->controls[bankPos - 1];
    for (std::uint32_t i = 0; i < devices->count; ++i) {
        if (static_cast<std::ptrdiff_t>(i) != bankPos) {
            EXPECT_EQ(static_cast<std::ptrdiff_t>(i) > bankPos, devices->controls[i].y >= list.y + list.cy)
                << "control " << devices->controls[i].id;
        }
    }
}
