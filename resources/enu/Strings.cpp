// English texts of the user interface.
//
// Formats: texts that the program formats keep exactly the conversions the
// program passes (708 takes the bank number as %d, 61699 the document title as
// %s). Every other text is shown as it is or with something appended, so it
// holds no '%' at all.
//
// File dialog filters (930, 935, 936, 937) are lists of pairs, each field
// ended by '|': "description|patterns|", several patterns separated by ';'.
// The Open dialog concatenates 937, 936 and 935 and the Save As dialog 936 and
// 935, so those pieces end in a single '|' (an empty field would end the whole
// list there). 930 stands alone and ends in "||". Readers ignore empty fields
// at the end.
//
// Command strings carry the command's id: "status-bar prompt\ntool tip". The
// tool tip is also the label of a tool-bar button that shows text.
//
// 112 is the document type: "\n" separated fields (window title, base of the
// default document name, name in a list of new document types, filter
// description, filter extension, type id, type name).

#include "resources/ResourceIds.h"
#include "resources/enu/EnuTables.h"

#include <iterator>

namespace enu {

using namespace res;

const MxStringResource kStrings[] = {
    {IDS_OLE_INIT_FAILED, "Memorix could not initialize the system libraries it needs."},
    {IDS_TOOLBAR_STANDARD, "Standard"},
    {IDS_TOOLBAR_CUSTOMIZE, "Customize..."},
    {IDS_DOC_TEMPLATE, "\nUntitled\nMemorix data\nMemorix data files (*.ldtx)\n.ldtx\nMemorix.Data\nMemorix data file"},
    {IDS_TOOLBAR_DATA, "Data"},
    {IDS_NO_DEVICE_SELECTED, "Select at least one device."},

    {IDS_RADIX_BINARY, "Binary"},
    {IDS_RADIX_OCTAL, "Octal"},
    {IDS_RADIX_DECIMAL, "Decimal"},
    {IDS_RADIX_HEX, "Hexadecimal"},
    {IDS_UNIT_8BIT, "8-bit"},
    {IDS_UNIT_16BIT, "16-bit"},
    {IDS_UNIT_32BIT, "32-bit"},
    // Follows the count in a narrow box: "1 col" to "16 col".
    {IDS_COLUMNS_SUFFIX, " col"},
    {IDS_BANK_NAME, "Bank %d"},
    {IDS_RADIX_FLOAT, "Real (single)"},
    {IDS_RADIX_DOUBLE, "Real (double)"},
    {IDS_UNIT_64BIT, "64-bit"},

    {IDS_CONFIRM_WRITE, "Write the data to the PLC?\nThe values in the PLC will be overwritten."},
    {IDS_CONFIRM_READ, "Read the data from the PLC?"},
    {IDS_WRITE_DONE, "Writing to the PLC has finished."},
    {IDS_READ_DONE, "Reading from the PLC has finished."},
    {IDS_WRITE_UNKNOWN_PLC,
     "The model of the connected PLC is not in the catalog of supported PLCs.\nThe data cannot be written to it."},
    {IDS_READ_UNKNOWN_PLC,
     "The model of the connected PLC is not in the catalog of supported PLCs.\nThe data cannot be read from it."},
    {IDS_TRANSFER_FAILED, "The transfer with the PLC was not completed."},
    {IDS_WRITE_OTHER_PLC,
     "The connected PLC is a different model from the one of this document.\n\nWrite the data to it anyway?"},
    {IDS_READ_OTHER_PLC,
     "The connected PLC is a different model from the one currently selected.\n\nRead the data from it anyway?"},
    // The error code follows directly: "... initialized. [100000]".
    {IDS_COMM_INIT_FAILED, "The communication library could not be initialized. "},
    {IDS_WRITE_PARTIAL, "The PLC now holds part of the data. These addresses were written, the others were "
                        "not:\n%s"},
    {IDS_TRANSFER_STOPPED, "The transfer with the PLC was cancelled."},
    {IDS_TRANSFER_CANCEL, "Cancel"},
    {IDS_TRANSFER_STOPPING, "Stopping the transfer..."},

    // The reader may append " (code)".
    {IDS_FILE_DAMAGED, "The file is damaged and cannot be read."},
    {IDS_FILE_EMPTY, "The file is empty."},
    {IDS_FILE_NOT_DATA_FILE, "The file is not a Memorix data file, or it was saved by a newer version of Memorix."},
    {IDS_FILE_UNKNOWN_MODEL, "The PLC model of this file is not in the catalog of supported PLCs."},
    {IDS_FILE_READ_ERROR, "An error occurred while reading the file."},
    {IDS_FILE_WRITE_ERROR,
     "The file cannot be written. Make sure that there is enough disk space and that you may write to the folder."},
    {IDS_FILE_LEGACY_LOSES_DATA,
     "This file type cannot hold all of the data. These blocks will not be saved:\n%s\n\nSave anyway?"},
    {IDS_FILE_OPEN_ERROR,
     "The file cannot be opened. It may be in use by another program, or you may not have access to it."},

    // The first filter is the comma-separated one.
    {IDS_FILTER_CSV, "CSV files (*.csv)|*.csv|Text files (*.txt)|*.txt||"},
    {IDS_FILTER_LEGACY_DATA, "Legacy Memorix data files (*.ldt)|*.ldt|"},
    {IDS_FILTER_DATA, "Memorix data files (*.ldtx)|*.ldtx|"},
    {IDS_FILTER_OPEN_FIRST, "All Memorix data files (*.ldtx;*.ldt)|*.ldtx;*.ldt|"},

    {IDS_CONFIRM_CHANGE_PLC,
     "Change the PLC model of this document?\nThe device ranges are carried over as far as the new model allows."},
    {IDS_CELL_NOT_A_NUMBER, "The value is not a valid number."},
    {IDS_CELL_OUT_OF_RANGE, "The value is out of range."},

    {IDS_COMPARE_DIFFERENCES, "%lld differences in %d blocks"},
    {IDS_COMPARE_ONE_DIFFERENCE, "1 difference"},
    {IDS_COMPARE_IDENTICAL, "Identical"},
    {IDS_COMPARE_OTHER_MODEL, " (other model: %s)"},
    {IDS_COMPARE_NO_NEXT, "No further difference after the cursor."},
    {IDS_COMPARE_NO_PREVIOUS, "No difference before the cursor."},
    {IDS_COMPARE_OTHER_VALUE, "Other side: %s"},
    {IDS_COMPARE_NOT_COMPARED, "Not compared: the other side does not hold this cell."},
    {IDS_COMPARE_ENDED, "Comparison ended."},
    {IDS_COMPARE_DIFFERENCES_ONE_BLOCK, "%lld differences in 1 block"},

    {IDS_GOTO_NOT_ADDRESS, "Type a device and an address, for example DT1234 or FL#2 100."},
    {IDS_GOTO_UNKNOWN_DEVICE, "The PLC has no device of that name."},
    {IDS_GOTO_NO_BLOCK, "The document holds no block of this device."},
    {IDS_GOTO_OUT_OF_RANGE, "%s holds the addresses %d to %d in this document."},
    {IDS_FIND_NOT_FOUND, "Not found."},
    {IDS_FIND_WRAPPED, "The search went on from the other end."},
    {IDS_FIND_COUNT, "%d matches, marked in the grid."},
    {IDS_FIND_BAD_VALUE, "This is no value of the current radix and unit."},
    {IDS_MONITOR_STATUS, "Monitoring \u2014 %d ms per cycle"},
    {IDS_MONITOR_READ_ONLY,
     "The grid cannot be edited while monitoring. Stop monitoring, or use Write Selection to PLC."},
    {IDS_MONITOR_CYCLE_FAILED, "Monitoring: %s (trying again)"},
    {IDS_MONITOR_STOPPED, "Monitoring has stopped: the PLC did not answer three times in a row.\n%s"},
    {IDS_MONITOR_INTERVAL, "Interval (ms)"},
    {IDS_MONITOR_ENDED, "Monitoring ended."},
    {IDS_WRITE_SELECTION_DONE, "%d words were written to the PLC."},
    {IDS_TREND_TITLE, "Trend"},
    {IDS_TREND_NOT_MONITORING, "Not monitoring: start PLC > Monitor to see the values move."},
    {IDS_TREND_TOO_MANY, "A trend shows at most %d cells; select fewer."},
    {IDS_TREND_PAUSE, "Pause"},
    {IDS_TREND_CLEAR, "Clear"},
    {IDS_TREND_EXPORT_CSV, "Export CSV..."},
    {IDS_TREND_EXPORT_PNG, "Export Picture..."},
    {IDS_TREND_TIME_AXIS, "Time"},
    {IDS_COMM_LOG_TITLE, "Communication Log"},
    {IDS_COMM_LOG_CLEAR, "Clear"},
    {IDS_COMM_LOG_SAVE, "Save..."},
    {IDS_COMM_LOG_FILTER, "Text files (*.txt)|*.txt|All files (*)|*||"},
    {ID_PLC_MONITOR, "Read the shown cells from the PLC again and again\nMonitor"},
    {ID_PLC_WRITE_SELECTION, "Write the selected cells to the PLC\nWrite Selection to PLC"},
    {ID_VIEW_TREND, "Plot the selected cells over time while monitoring\nTrend"},
    {ID_VIEW_COMM_LOG, "Show or hide the requests made to the PLC\nCommunication Log"},

    {IDS_APP_TITLE, "Memorix"},
    {IDP_ASK_TO_SAVE, "Save changes to %s?"},

    // Commands.
    {ID_PLC_READ, "Read the data from the PLC\nRead from PLC"},
    {ID_PLC_WRITE, "Write the data to the PLC\nWrite to PLC"},
    {ID_COMBO_RADIX, "How the values are shown\nRadix"},
    {ID_COMBO_UNIT, "Size of one cell\nUnit"},
    {ID_COMBO_DEVICE, "Device shown in the grid\nDevice"},
    {ID_COMBO_COLUMNS, "Cells per row\nColumns"},
    {ID_CSV_IMPORT, "Read the shown device from a CSV or text file\nImport CSV"},
    {ID_CSV_EXPORT, "Save the shown device in a CSV or text file\nExport CSV"},
    {ID_COMBO_BANK, "File register bank shown in the grid\nBank"},
    {ID_FILE_COMPARE, "Compare the document with a data file\nCompare with File"},
    {ID_PLC_COMPARE, "Compare the document with the memory of the PLC\nCompare with PLC"},
    {ID_NEXT_DIFFERENCE, "Go to the next differing cell\nNext Difference"},
    {ID_PREV_DIFFERENCE, "Go to the previous differing cell\nPrevious Difference"},
    {ID_TAKE_OTHER_VALUE, "Copy the other side's values into the selected cells\nTake Other Value"},
    {ID_EDIT_GOTO, "Move the cursor to an address\nGo To"},
    {ID_EDIT_FIND, "Find a value or a text\nFind"},
    {ID_EDIT_FIND_NEXT, "Find the next match\nFind Next"},
    {ID_EDIT_FIND_PREV, "Find the previous match\nFind Previous"},
    {ID_EDIT_FILL, "Write one value into every selected cell\nFill"},
    {ID_DEVICE_SELECT, "Choose the devices and address ranges of the document\nDevice Selection"},
    {ID_COMM_SETTINGS, "Set up the connection to the PLC\nCommunication Settings"},
    {ID_ONLINE_SETTINGS, "Change the settings of the online connection\nOnline Settings"},
    {ID_CHANGE_PLC, "Move the document to another PLC model\nChange PLC"},
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open a data file\nOpen"},
    {ID_FILE_CLOSE, "Close the document\nClose"},
    {ID_FILE_SAVE, "Save the document\nSave"},
    {ID_FILE_SAVE_AS, "Save the document under a new name\nSave As"},
    {ID_FILE_MRU_FIRST + 0, "Open this document\nRecent File 1"},
    {ID_FILE_MRU_FIRST + 1, "Open this document\nRecent File 2"},
    {ID_FILE_MRU_FIRST + 2, "Open this document\nRecent File 3"},
    {ID_FILE_MRU_FIRST + 3, "Open this document\nRecent File 4"},
    {ID_FILE_MRU_FIRST + 4, "Open this document\nRecent File 5"},
    {ID_FILE_MRU_FIRST + 5, "Open this document\nRecent File 6"},
    {ID_FILE_MRU_FIRST + 6, "Open this document\nRecent File 7"},
    {ID_FILE_MRU_FIRST + 7, "Open this document\nRecent File 8"},
    {ID_FILE_MRU_FIRST + 8, "Open this document\nRecent File 9"},
    {ID_FILE_MRU_FIRST + 9, "Open this document\nRecent File 10"},
    {ID_EDIT_CLEAR, "Clear the selection\nClear"},
    {ID_EDIT_COPY, "Copy the selection to the clipboard\nCopy"},
    {ID_EDIT_CUT, "Move the selection to the clipboard\nCut"},
    {ID_EDIT_PASTE, "Insert the contents of the clipboard\nPaste"},
    {ID_EDIT_SELECT_ALL, "Select everything\nSelect All"},
    {ID_EDIT_UNDO, "Undo the last change\nUndo"},
    {ID_EDIT_REDO, "Redo the change last undone\nRedo"},
    {ID_APP_ABOUT, "Show information about Memorix\nAbout"},
    {ID_APP_EXIT, "Quit Memorix; you are asked to save changes\nExit"},
    {ID_VIEW_TOOLBAR, "Show or hide the standard tool bar\nToolbar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nStatus Bar"},
};

const std::uint32_t kStringCount = static_cast<std::uint32_t>(std::size(kStrings));

} // namespace enu
