// The Japanese language library of QelPortavo: dialog 129 and strings 42, 43.

#include "autoset/PortavoResources.h"
#include "autoset/ResourceIds.h"

using namespace portavo;

namespace {

const PortavoText kStrings[] = {
    {kStringFound, "ユニットが応答しました。この回線設定を使用します。"},
    {kStringSearching, "ユニットの回線設定を検索しています..."},
};

const PortavoText kDialogControls[] = {
    {Control::Kind + Control::LabelOffset, "接続:"},
    {Control::Port + Control::LabelOffset, "ポート:"},
    {Control::Baud + Control::LabelOffset, "ボー レート:"},
    {Control::DataLength + Control::LabelOffset, "データ長:"},
    {Control::Parity + Control::LabelOffset, "パリティ:"},
    {Control::StopBits + Control::LabelOffset, "ストップ ビット:"},
    {Control::Cancel, "キャンセル"},
};

const PortavoDialog kDialogs[] = {
    {kDialogAutoSet, "回線設定", kDialogControls, sizeof kDialogControls / sizeof kDialogControls[0]},
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
