// The one entry point of the English language library.

#include "resources/ResourceAbi.h"
#include "resources/LanguageToolBars.h"
#include "resources/enu/EnuTables.h"

extern "C" __attribute__((visibility("default"))) const MxResourceTable* MemorixResourceTable(void)
{
    static const MxResourceTable table = {
        MX_RESOURCE_ABI_VERSION,
        "Enu",
        enu::kStrings,
        enu::kStringCount,
        enu::kMenus,
        enu::kMenuCount,
        langres::kToolBars,
        langres::kToolBarCount,
        enu::kDialogs,
        enu::kDialogCount,
    };
    return &table;
}
