#pragma once

// The numbers of the user interface: string, menu, tool bar and dialog
// resources of the language libraries, the dialog controls and the command
// ids. The program and every language library refer to the same numbers, so
// these values never change; a language library only supplies their texts
// and layouts.

namespace res {

// Strings -----------------------------------------------------------------

constexpr int IDS_OLE_INIT_FAILED = 101;
constexpr int IDS_TOOLBAR_STANDARD = 107;  // title of the standard tool bar
constexpr int IDS_TOOLBAR_CUSTOMIZE = 108; // label of the tool bars' customise button
constexpr int IDS_DOC_TEMPLATE = 112;      // document strings, see enu/Strings.cpp
constexpr int IDS_TOOLBAR_DATA = 203;      // title of the data tool bar
constexpr int IDS_NO_DEVICE_SELECTED = 509;

// Items of the radix box (radix codes 0 to 5: 700, 701, 702, 703, 709, 710)
// and of the unit box (unit codes 0 to 3: 704, 705, 706, 711).
constexpr int IDS_RADIX_BINARY = 700;
constexpr int IDS_RADIX_OCTAL = 701;
constexpr int IDS_RADIX_DECIMAL = 702;
constexpr int IDS_RADIX_HEX = 703;
constexpr int IDS_UNIT_8BIT = 704;
constexpr int IDS_UNIT_16BIT = 705;
constexpr int IDS_UNIT_32BIT = 706;
constexpr int IDS_COLUMNS_SUFFIX = 707; // "%d%s" with the count and this text
constexpr int IDS_BANK_NAME = 708;      // format taking the bank number (%d)
constexpr int IDS_RADIX_FLOAT = 709;
constexpr int IDS_RADIX_DOUBLE = 710;
constexpr int IDS_UNIT_64BIT = 711;

constexpr int IDS_CONFIRM_WRITE = 806;
constexpr int IDS_CONFIRM_READ = 807;
constexpr int IDS_WRITE_DONE = 808;
constexpr int IDS_READ_DONE = 809;
constexpr int IDS_WRITE_UNKNOWN_PLC = 810;
constexpr int IDS_READ_UNKNOWN_PLC = 811;
constexpr int IDS_TRANSFER_FAILED = 812;
constexpr int IDS_WRITE_OTHER_PLC = 813;
constexpr int IDS_READ_OTHER_PLC = 814;
constexpr int IDS_COMM_INIT_FAILED = 817; // followed by "[%d]" with the code
// Follows 812 when a write stopped after some blocks reached the PLC.
constexpr int IDS_WRITE_PARTIAL = 818;
// A transfer the user stopped while it ran; the button that stops it and the note while it stops.
constexpr int IDS_TRANSFER_STOPPED = 819;
constexpr int IDS_TRANSFER_CANCEL = 820;
constexpr int IDS_TRANSFER_STOPPING = 821;

// Data file errors. A reader may append " (%d)" with a detail code to `IDS_FILE_DAMAGED`.
constexpr int IDS_FILE_DAMAGED = 901;
constexpr int IDS_FILE_EMPTY = 902;
constexpr int IDS_FILE_NOT_DATA_FILE = 903;
constexpr int IDS_FILE_UNKNOWN_MODEL = 904;
constexpr int IDS_FILE_READ_ERROR = 905;
constexpr int IDS_FILE_WRITE_ERROR = 907;
constexpr int IDS_FILE_OPEN_ERROR = 908;
// Saving to a file type that cannot hold every block; takes the list of blocks left out.
constexpr int IDS_FILE_LEGACY_LOSES_DATA = 909;

// File dialog filters, "description|patterns|" pairs (see enu/Strings.cpp).
constexpr int IDS_FILTER_CSV = 930;
constexpr int IDS_FILTER_LEGACY_DATA = 935;
constexpr int IDS_FILTER_DATA = 936;
constexpr int IDS_FILTER_OPEN_FIRST = 937;

constexpr int IDS_CONFIRM_CHANGE_PLC = 1001;
constexpr int IDS_CELL_NOT_A_NUMBER = 1100;
constexpr int IDS_CELL_OUT_OF_RANGE = 1101;

// Comparison with another file or the PLC.
constexpr int IDS_COMPARE_DIFFERENCES = 1200;    // "%lld" differences in "%d" blocks
constexpr int IDS_COMPARE_ONE_DIFFERENCE = 1201; // exactly one differing cell
constexpr int IDS_COMPARE_IDENTICAL = 1202;
constexpr int IDS_COMPARE_OTHER_MODEL = 1203;           // appended to the result; "%s" is the other model
constexpr int IDS_COMPARE_NO_NEXT = 1204;               // no difference after the cursor
constexpr int IDS_COMPARE_NO_PREVIOUS = 1205;           // no difference before the cursor
constexpr int IDS_COMPARE_OTHER_VALUE = 1206;           // tool tip; "%s" is the other side's value
constexpr int IDS_COMPARE_NOT_COMPARED = 1207;          // tool tip of a cell the other side does not hold
constexpr int IDS_COMPARE_ENDED = 1208;                 // status bar, when the comparison ends
constexpr int IDS_COMPARE_DIFFERENCES_ONE_BLOCK = 1209; // "%lld" differences, all in one block

// Go To, Find and Fill.
constexpr int IDS_GOTO_NOT_ADDRESS = 1330;
constexpr int IDS_GOTO_UNKNOWN_DEVICE = 1331;
constexpr int IDS_GOTO_NO_BLOCK = 1332;
constexpr int IDS_GOTO_OUT_OF_RANGE = 1333; // "%s" the device, "%d" and "%d" its first and last address
constexpr int IDS_FIND_NOT_FOUND = 1334;
constexpr int IDS_FIND_WRAPPED = 1335;
constexpr int IDS_FIND_COUNT = 1336; // "%d" matches
constexpr int IDS_FIND_BAD_VALUE = 1337;

// Watching the PLC: monitoring, the trend window, writing the selection.
constexpr int IDS_MONITOR_STATUS = 1338;       // status pane; "%d" milliseconds per cycle
constexpr int IDS_MONITOR_READ_ONLY = 1339;    // a key typed into the grid while monitoring
constexpr int IDS_MONITOR_CYCLE_FAILED = 1340; // status bar; "%s" the libraries' message
constexpr int IDS_MONITOR_STOPPED = 1341;      // message box after failures in a row; "%s" the message
constexpr int IDS_MONITOR_INTERVAL = 1342;     // label of the interval box
constexpr int IDS_MONITOR_ENDED = 1343;        // status bar, when monitoring ends
constexpr int IDS_WRITE_SELECTION_DONE = 1344; // "%d" words written
constexpr int IDS_TREND_TITLE = 1345;
constexpr int IDS_TREND_NOT_MONITORING = 1346; // the trend window without monitoring
constexpr int IDS_TREND_TOO_MANY = 1347;       // "%d" the most cells a trend shows
constexpr int IDS_TREND_PAUSE = 1348;
constexpr int IDS_TREND_CLEAR = 1349;
constexpr int IDS_TREND_EXPORT_CSV = 1350;
constexpr int IDS_TREND_EXPORT_PNG = 1351;
constexpr int IDS_TREND_TIME_AXIS = 1352;
constexpr int IDS_COMM_LOG_TITLE = 1353;
constexpr int IDS_COMM_LOG_CLEAR = 1354;
constexpr int IDS_COMM_LOG_SAVE = 1355;
constexpr int IDS_COMM_LOG_FILTER = 1356; // "description|patterns|" pairs

constexpr int IDS_APP_TITLE = 57344;
constexpr int IDP_ASK_TO_SAVE = 61699; // "%s" is the document title

// Menus and tool bars -----------------------------------------------------

constexpr int IDR_GRID_CONTEXT = 103;  // first submenu is the grid's context menu
constexpr int IDR_EDIT_CONTEXT = 104;  // first submenu is the cell editors' context menu
constexpr int IDR_MAINFRAME = 110;     // main menu bar and standard tool bar
constexpr int IDR_MAINFRAME_256 = 111; // standard tool bar, high-colour variant
constexpr int IDR_MEMORIXTYPE = 112;   // menu bar while a document is open
constexpr int IDR_DATA_TOOLBAR = 204;

// Dialogs and their controls ----------------------------------------------

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_STATIC = 65535; // labels, frames and pictures without a role

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDC_ABOUT_OWNER = 115;
constexpr int IDC_ABOUT_ORGANIZATION = 116;

constexpr int IDD_GRID_FORM = 102;
constexpr int IDC_NUMBER_EDIT = 600; // created by the grid view, not in the template
constexpr int IDC_STRING_EDIT = 601; // created by the grid view, not in the template
constexpr int IDC_GRID_LIST = 602;

constexpr int IDD_STARTUP = 300;
constexpr int IDC_STARTUP_NEW = 301;
constexpr int IDC_STARTUP_OPEN = 302;
constexpr int IDC_STARTUP_READ = 303;
constexpr int IDC_STARTUP_NEW_BUTTON = 307;
constexpr int IDC_STARTUP_OPEN_BUTTON = 308;
constexpr int IDC_STARTUP_READ_BUTTON = 309;

constexpr int IDD_PLC_SELECT = 400;
constexpr int IDC_SERIES_LIST = 401;
constexpr int IDC_MODEL_LIST = 402;
constexpr int IDC_REMEMBER_PLC = 403;

constexpr int IDD_DEVICE_SELECT = 500;
constexpr int IDC_DEVICE_LIST = 501;
constexpr int IDC_RANGE_START = 502;
constexpr int IDC_RANGE_END = 503;
constexpr int IDC_SELECT_ALL_DEVICES = 504;
constexpr int IDC_RANGE_LIMITS = 506;
constexpr int IDC_DEVICE_MODEL_NAME = 507;
constexpr int IDC_BANK_LIST = 510;

constexpr int IDD_GOTO = 1300;
constexpr int IDC_GOTO_ADDRESS = 1301;
constexpr int IDC_GOTO_MESSAGE = 1302;

constexpr int IDD_FIND = 1310;
constexpr int IDC_FIND_VALUE = 1311;
constexpr int IDC_FIND_TEXT = 1312;
constexpr int IDC_FIND_THIS_BLOCK = 1313;
constexpr int IDC_FIND_EVERY_BLOCK = 1314;
constexpr int IDC_FIND_FORWARD = 1315;
constexpr int IDC_FIND_BACKWARD = 1316;
constexpr int IDC_FIND_MESSAGE = 1317;
constexpr int IDC_FIND_ALL = 1318;

constexpr int IDD_FILL = 1320;
constexpr int IDC_FILL_VALUE = 1321;
constexpr int IDC_FILL_MESSAGE = 1322;

constexpr int IDD_TRANSFER_CONFIRM = 800;
constexpr int IDC_CONNECTION_TEXT = 801;
constexpr int IDC_ONLINE_SETTINGS_BUTTON = 802;
constexpr int IDC_COMM_SETTINGS_BUTTON = 803;
constexpr int IDC_TRANSFER_ICON = 804;
constexpr int IDC_TRANSFER_QUESTION = 805;

// Commands ------------------------------------------------------------------
// A language library holds a string for each command, numbered like the
// command: "status-bar prompt\ntool tip". The tool tip also labels tool-bar
// buttons that show text.

constexpr int ID_PLC_READ = 200;
constexpr int ID_PLC_WRITE = 201;
constexpr int ID_COMBO_RADIX = 205;
constexpr int ID_COMBO_UNIT = 206;
constexpr int ID_COMBO_DEVICE = 207;
constexpr int ID_COMBO_COLUMNS = 208;
constexpr int ID_CSV_IMPORT = 209;
constexpr int ID_CSV_EXPORT = 210;
constexpr int ID_COMBO_BANK = 211;
constexpr int ID_FILE_COMPARE = 220;
constexpr int ID_PLC_COMPARE = 221;
constexpr int ID_NEXT_DIFFERENCE = 222;
constexpr int ID_PREV_DIFFERENCE = 223;
constexpr int ID_TAKE_OTHER_VALUE = 224;
constexpr int ID_EDIT_GOTO = 225;
constexpr int ID_EDIT_FIND = 226;
constexpr int ID_EDIT_FIND_NEXT = 227;
constexpr int ID_EDIT_FIND_PREV = 228;
constexpr int ID_EDIT_FILL = 229;
constexpr int ID_PLC_MONITOR = 230;
constexpr int ID_PLC_WRITE_SELECTION = 231;
constexpr int ID_VIEW_TREND = 232;
constexpr int ID_VIEW_COMM_LOG = 233;
constexpr int ID_DEVICE_SELECT = 508;
constexpr int ID_COMM_SETTINGS = 815;
constexpr int ID_ONLINE_SETTINGS = 816;
constexpr int ID_CHANGE_PLC = 1000;

constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_MRU_FIRST = 57616;
constexpr int ID_FILE_MRU_LAST = 57625;
constexpr int ID_EDIT_CLEAR = 57632;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_SELECT_ALL = 57642;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;

} // namespace res
