#pragma once

// What the document works with besides its blocks: the services of the
// program, the chosen PLC it belongs to, the legacy file kept open while it is
// the document's file, and the file dialogs' filter index. All are owned by
// the application and outlive the document.

#include "model/PlcChoice.h"

#include <string>

class CTesknetComm;
class IStringTable;
namespace platform {
class DenyWriteFile;
class IMessageBox;
} // namespace platform

struct DocumentContext {
    platform::IMessageBox& messages;
    const IStringTable& strings;
    const std::string& cataloguePath;
    PlcChoice& plc;
    platform::DenyWriteFile& legacyFile;
    int& filterIndex;
    // The transfer session for reading and writing the PLC; null: none.
    CTesknetComm* comm = nullptr;
};
