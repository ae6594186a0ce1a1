// The English language library of QelPortavo: dialog 129 and strings 42, 43.

#include "autoset/PortavoResources.h"
#include "autoset/ResourceIds.h"

using namespace portavo;

namespace {

const PortavoText kStrings[] = {
    {kStringFound, "The unit answered. These line settings are used."},
    {kStringSearching, "Searching for the line settings of the unit..."},
};

const PortavoText kDialogControls[] = {
    {Control::Kind + Control::LabelOffset, "Connection:"},
    {Control::Port + Control::LabelOffset, "Port:"},
    {Control::Baud + Control::LabelOffset, "Baud rate:"},
    {Control::DataLength + Control::LabelOffset, "Data length:"},
    {Control::Parity + Control::LabelOffset, "Parity:"},
    {Control::StopBits + Control::LabelOffset, "Stop bits:"},
    {Control::Cancel, "Cancel"},
};

const PortavoDialog kDialogs[] = {
    {kDialogAutoSet, "Line settings", kDialogControls, sizeof kDialogControls / sizeof kDialogControls[0]},
};

const PortavoResources kTable = {
    PORTAVO_RESOURCE_VERSION,
    kStrings,
    sizeof kStrings / sizeof kStrings[0],
    kDialogs,
    sizeof kDialogs / sizeof kDialogs[0],
};

} // namespace

extern "C" __attribute__((visibility("default"))) const PortavoResources* PortavoResourceTable()
{
    return &kTable;
}
