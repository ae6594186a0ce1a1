// The one entry point of the Japanese language library.

#include "resources/ResourceAbi.h"
#include "resources/LanguageToolBars.h"
#include "resources/jpn/JpnTables.h"

extern "C" __attribute__((visibility("default"))) const MxResourceTable* MemorixResourceTable(void)
{
    static const MxResourceTable table = {
        MX_RESOURCE_ABI_VERSION,
        "Jpn",
        jpn::kStrings,
        jpn::kStringCount,
        jpn::kMenus,
        jpn::kMenuCount,
        langres::kToolBars,
        langres::kToolBarCount,
        jpn::kDialogs,
        jpn::kDialogCount,
    };
    return &table;
}
