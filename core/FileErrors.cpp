#include "app/CMemorixApp.h"
#include "core/DataFiles.h"
#include "core/Messages.h"
#include "resources/ResourceIds.h"

using namespace res;

void ReportFileError(CMemorixApp& app, int errorCode)
{
    int stringId;
    switch (errorCode) {
    case FILE_ERR_NONE:
        return;
    case FILE_ERR_MODEL:
        stringId = IDS_FILE_UNKNOWN_MODEL;
        break;
    case FILE_ERR_OPEN:
        stringId = IDS_FILE_OPEN_ERROR;
        break;
    case FILE_ERR_WRITE:
        stringId = IDS_FILE_WRITE_ERROR;
        break;
    case FILE_ERR_READ:
        stringId = IDS_FILE_DAMAGED;
        break;
    default:
        stringId = IDS_FILE_NOT_DATA_FILE;
        break;
    }
    ShowResourceMessage(app.Messages(), app.Strings(), stringId, platform::MsgIcon::Exclamation);
}
