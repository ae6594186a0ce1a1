#include "document/FileErrors.h"

#include "resources/FormatText.h"
#include "resources/IStringTable.h"
#include "resources/Messages.h"
#include "resources/ResourceIds.h"

using namespace res;

void ReportFileError(platform::IMessageBox& messages, const IStringTable& strings, FileError error)
{
    int stringId;
    switch (error) {
    case FileError::None: return;
    case FileError::UnknownModel: stringId = IDS_FILE_UNKNOWN_MODEL; break;
    case FileError::Open: stringId = IDS_FILE_OPEN_ERROR; break;
    case FileError::Write: stringId = IDS_FILE_WRITE_ERROR; break;
    case FileError::Damaged: stringId = IDS_FILE_DAMAGED; break;
    default: stringId = IDS_FILE_NOT_DATA_FILE; break;
    }
    ShowResourceMessage(messages, strings, stringId, platform::MsgIcon::Exclamation);
}

void ReportFileError(platform::IMessageBox& messages, const IStringTable& strings, FileError error,
                     const std::string& path, const std::string& reason)
{
    if (error == FileError::None)
        return;
    if (reason.empty()) {
        ReportFileError(messages, strings, error);
        return;
    }
    platform::MessageRequest request;
    request.icon = platform::MsgIcon::Exclamation;
    request.stringId = 0;
    request.text = path + "\n\n" + reason.substr(0, 255);
    messages.Show(request);
}

void ReportLdtxFault(platform::IMessageBox& messages, const IStringTable& strings, const std::string& path,
                     const LdtxResult& result)
{
    platform::MessageRequest request;
    request.icon = platform::MsgIcon::Stop;
    switch (result.fault) {
    case LdtxFault::None: return;
    case LdtxFault::OpenFailed:
        request.stringId = 0;
        request.text = path + "\n\n" + result.reason.substr(0, 255);
        break;
    case LdtxFault::Empty:
        request.stringId = IDS_FILE_EMPTY;
        request.text = path + "\n\n" + strings.LoadString(IDS_FILE_EMPTY);
        break;
    case LdtxFault::NotDataFile:
        request.stringId = IDS_FILE_NOT_DATA_FILE;
        request.text = strings.LoadString(IDS_FILE_NOT_DATA_FILE);
        break;
    case LdtxFault::Damaged:
        request.stringId = IDS_FILE_DAMAGED;
        request.text = FormatText(strings.LoadString(IDS_FILE_DAMAGED) + " (%d)", {result.detail});
        break;
    case LdtxFault::OutOfMemory:
        request.stringId = IDS_FILE_READ_ERROR;
        request.text = strings.LoadString(IDS_FILE_READ_ERROR);
        break;
    }
    messages.Show(request);
}
