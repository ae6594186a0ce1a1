#pragma once

#include "files/DataFiles.h"

class IStringTable;
namespace platform {
class IMessageBox;
}

// Shows the message of a reader's or writer's error with the exclamation icon:
// UnknownModel -> 904, Open -> 908, Write -> 907, Damaged -> 901, any other -> 903.
void ReportFileError(platform::IMessageBox& messages, const IStringTable& strings, FileError error);

// Shows why an ".ldtx" file could not be read, with the stop icon: the open
// error's reason, 902 for an empty file, 903, or 901 with its detail code.
void ReportLdtxFault(platform::IMessageBox& messages, const IStringTable& strings, const std::string& path,
                     const LdtxResult& result);
