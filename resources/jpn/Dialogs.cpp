// Japanese dialog layouts, a little wider than the English ones where the texts need it. Controls are listed in tab
// order; radio buttons that follow one another form one group. Geometry is in dialog units: x, y, width, height.

#include "resources/ResourceIds.h"
#include "resources/jpn/JpnTables.h"

#include <iterator>

namespace jpn {
namespace {

using namespace res;

constexpr std::uint32_t kStatic = MX_CTL_STATIC;
constexpr std::uint32_t kButton = MX_CTL_PUSHBUTTON;
constexpr std::uint32_t kDefButton = MX_CTL_DEFPUSHBUTTON;
constexpr std::uint32_t kCheck = MX_CTL_CHECKBOX;
constexpr std::uint32_t kRadio = MX_CTL_RADIOBUTTON;
constexpr std::uint32_t kEdit = MX_CTL_EDIT;
constexpr std::uint32_t kList = MX_CTL_LISTBOX;
constexpr std::uint32_t kCheckList = MX_CTL_CHECKLISTBOX;
constexpr std::uint32_t kListView = MX_CTL_LISTVIEW;
constexpr std::uint32_t kIcon = MX_CTL_ICON;

// About box. An icon without text shows the program's icon; 115 and 116
// receive the registered owner and organization.
const MxControlResource kAboutControls[] = {
    {IDC_STATIC, kIcon, "", 10, 10, 20, 20},
    {IDC_STATIC, kStatic, "Memorix", 40, 10, 180, 8},
    {IDC_STATIC, kStatic, "PLC のワード デバイス メモリ エディター", 40, 21, 180, 8},
    {IDC_STATIC, kStatic, "このコピーの使用者:", 40, 38, 180, 8},
    {IDC_ABOUT_OWNER, kStatic, "", 48, 49, 172, 8},
    {IDC_ABOUT_ORGANIZATION, kStatic, "", 48, 59, 172, 8},
    {IDOK, kDefButton, "OK", 170, 78, 50, 14},
};

// The grid's form: nothing but the list, which the view sizes to its window.
const MxControlResource kGridFormControls[] = {
    {IDC_GRID_LIST, kListView, "", 0, 0, 320, 200},
};

// Start-up choice. Each push button picks the radio button beside it.
const MxControlResource kStartupControls[] = {
    {IDC_STATIC, kStatic, "どのように始めますか?", 10, 8, 210, 8},
    {IDC_STARTUP_NEW, kRadio, "新しいドキュメントを作成する(&N)", 58, 27, 165, 10},
    {IDC_STARTUP_OPEN, kRadio, "データ ファイルを開く(&O)", 58, 49, 165, 10},
    {IDC_STARTUP_READ, kRadio, "PLC からデータを読み出す(&R)", 58, 71, 165, 10},
    {IDC_STARTUP_NEW_BUTTON, kButton, "新規", 10, 24, 40, 16},
    {IDC_STARTUP_OPEN_BUTTON, kButton, "開く", 10, 46, 40, 16},
    {IDC_STARTUP_READ_BUTTON, kButton, "読出", 10, 68, 40, 16},
    {IDOK, kDefButton, "OK", 116, 96, 50, 14},
    {IDCANCEL, kButton, "キャンセル", 172, 96, 50, 14},
};

// PLC selection: series on the left, models of the chosen series on the right.
const MxControlResource kPlcSelectControls[] = {
    {IDC_STATIC, kStatic, "シリーズ(&S):", 7, 7, 95, 8},
    {IDC_SERIES_LIST, kList, "", 7, 17, 95, 104},
    {IDC_STATIC, kStatic, "機種(&M):", 110, 7, 133, 8},
    {IDC_MODEL_LIST, kList, "", 110, 17, 133, 104},
    {IDC_REMEMBER_PLC, kCheck, "この選択を記憶する(&R)", 7, 131, 120, 10},
    {IDOK, kDefButton, "OK", 139, 129, 50, 14},
    {IDCANCEL, kButton, "キャンセル", 193, 129, 50, 14},
};

// Device and range selection. The bank list sits right under the device list
// with no height: for a model with banks the dialog gives it room and moves
// every control after it down, so those must stay after it in this order.
// 506 shows the allowed range, 507 the model name.
const MxControlResource kDeviceSelectControls[] = {
    {IDC_DEVICE_MODEL_NAME, kStatic, "", 7, 7, 236, 8},
    {IDC_STATIC, kStatic, "デバイス(&D):", 7, 20, 100, 8},
    {IDC_DEVICE_LIST, kCheckList, "", 7, 30, 236, 80},
    {IDC_BANK_LIST, kCheckList, "", 7, 110, 236, 0},
    {IDC_STATIC, kStatic, "開始(&S):", 7, 120, 34, 8},
    {IDC_RANGE_START, kEdit, "", 42, 118, 46, 12},
    {IDC_STATIC, kStatic, "終了(&E):", 94, 120, 34, 8},
    {IDC_RANGE_END, kEdit, "", 129, 118, 46, 12},
    {IDC_RANGE_LIMITS, kStatic, "", 180, 120, 63, 8},
    {IDC_SELECT_ALL_DEVICES, kCheck, "すべてのデバイスを既定の範囲で選択する(&A)", 7, 138, 236, 10},
    {IDOK, kDefButton, "OK", 139, 159, 50, 14},
    {IDCANCEL, kButton, "キャンセル", 193, 159, 50, 14},
};

// Question before a transfer. The program sets the icon (804), the question
// (805) and the connection (801); OK answers Yes and Cancel No.
const MxControlResource kTransferControls[] = {
    {IDC_TRANSFER_ICON, kIcon, "", 10, 10, 20, 20},
    {IDC_TRANSFER_QUESTION, kStatic, "", 40, 10, 210, 24},
    {IDC_STATIC, kStatic, "接続先:", 40, 40, 210, 8},
    {IDC_CONNECTION_TEXT, kStatic, "", 40, 50, 210, 18},
    {IDC_ONLINE_SETTINGS_BUTTON, kButton, "オンライン設定(&O)...", 40, 74, 85, 14},
    {IDC_COMM_SETTINGS_BUTTON, kButton, "通信設定(&C)...", 130, 74, 120, 14},
    {IDOK, kDefButton, "はい(&Y)", 144, 98, 50, 14},
    {IDCANCEL, kButton, "いいえ(&N)", 200, 98, 50, 14},
};

const MxControlResource kGoToControls[] = {
    {IDC_STATIC, kStatic, "アドレス(&A) (例: DT1234、FL#2 100、数値のみ):", 7, 7, 196, 8},
    {IDC_GOTO_ADDRESS, kEdit, "", 7, 18, 196, 12},
    {IDC_GOTO_MESSAGE, kStatic, "", 7, 35, 196, 16},
    {IDOK, kDefButton, "OK", 99, 56, 50, 14},
    {IDCANCEL, kButton, "キャンセル", 153, 56, 50, 14},
};

const MxControlResource kFindControls[] = {
    {IDC_STATIC, kStatic, "検索する値(&W):", 7, 9, 50, 8},
    {IDC_FIND_VALUE, kEdit, "", 58, 7, 145, 12},
    {IDC_FIND_TEXT, kCheck, "テキスト列の文字列(&T)", 58, 23, 145, 10},
    {IDC_STATIC, kStatic, "検索範囲:", 7, 40, 50, 8},
    {IDC_FIND_THIS_BLOCK, kRadio, "このブロック(&B)", 58, 39, 70, 10},
    {IDC_FIND_EVERY_BLOCK, kRadio, "全ブロック(&E)", 130, 39, 73, 10},
    {IDC_STATIC, kStatic, "方向:", 7, 54, 50, 8},
    {IDC_FIND_FORWARD, kRadio, "後方(&F)", 58, 53, 70, 10},
    {IDC_FIND_BACKWARD, kRadio, "前方(&K)", 130, 53, 73, 10},
    {IDC_FIND_MESSAGE, kStatic, "", 7, 69, 196, 8},
    {IDOK, kDefButton, "次を検索(&N)", 45, 84, 50, 14},
    {IDC_FIND_ALL, kButton, "すべて(&A)", 99, 84, 50, 14},
    {IDCANCEL, kButton, "閉じる", 153, 84, 50, 14},
};

const MxControlResource kFillControls[] = {
    {IDC_STATIC, kStatic, "選択したセルに設定する値(&V):", 7, 7, 196, 8},
    {IDC_FILL_VALUE, kEdit, "", 7, 18, 196, 12},
    {IDC_FILL_MESSAGE, kStatic, "", 7, 35, 196, 16},
    {IDOK, kDefButton, "OK", 99, 56, 50, 14},
    {IDCANCEL, kButton, "キャンセル", 153, 56, 50, 14},
};

template <typename T, std::size_t N>
constexpr std::uint32_t Count(const T (&)[N])
{
    return static_cast<std::uint32_t>(N);
}

} // namespace

const MxDialogResource kDialogs[] = {
    {IDD_ABOUTBOX, "バージョン情報", 228, 99, kAboutControls, Count(kAboutControls)},
    {IDD_GRID_FORM, "", 320, 200, kGridFormControls, Count(kGridFormControls)},
    {IDD_STARTUP, "Memorix へようこそ", 230, 117, kStartupControls, Count(kStartupControls)},
    {IDD_PLC_SELECT, "PLC の選択", 250, 150, kPlcSelectControls, Count(kPlcSelectControls)},
    {IDD_DEVICE_SELECT, "デバイスの選択", 250, 180, kDeviceSelectControls, Count(kDeviceSelectControls)},
    {IDD_TRANSFER_CONFIRM, "Memorix", 257, 119, kTransferControls, Count(kTransferControls)},
    {IDD_GOTO, "ジャンプ", 210, 77, kGoToControls, Count(kGoToControls)},
    {IDD_FIND, "検索", 210, 105, kFindControls, Count(kFindControls)},
    {IDD_FILL, "一括設定", 210, 77, kFillControls, Count(kFillControls)},
};

const std::uint32_t kDialogCount = static_cast<std::uint32_t>(std::size(kDialogs));

} // namespace jpn
