#pragma once

#include "files/DataFiles.h"

#include <string>

class IStringTable;
namespace platform {
class IMessageBox;
}

// Shows the message of a reader's or writer's error with the exclamation icon:
// UnknownModel -> `IDS_FILE_UNKNOWN_MODEL`, Open -> `IDS_FILE_OPEN_ERROR`, Write ->
// `IDS_FILE_WRITE_ERROR`, Damaged -> `IDS_FILE_DAMAGED`, any other -> `IDS_FILE_NOT_DATA_FILE`.
void ReportFileError(platform::IMessageBox& messages, const IStringTable& strings, FileError error);

// The same for a failed save or open whose reason the file system gave (a
// read-only file, a named pipe, a loop of links): the path and that reason,
// rather than a general guess at disk space or permissions. Without a reason,
// as ReportFileError.
void ReportFileError(platform::IMessageBox& messages, const IStringTable& strings, FileError error,
                     const std::string& path, const std::string& reason);

// Shows why an ".ldtx" file could not be read, with the stop icon: the open
// error's reason, `IDS_FILE_EMPTY` for an empty file, `IDS_FILE_NOT_DATA_FILE`, or
// `IDS_FILE_DAMAGED` with its detail code.
void ReportLdtxFault(platform::IMessageBox& messages, const IStringTable& strings, const std::string& path,
                     const LdtxResult& result);
