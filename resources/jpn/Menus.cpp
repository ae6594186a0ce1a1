// Japanese menus; access keys follow the text in parentheses. A context menu is the first popup of its menu resource.

#include "resources/ResourceIds.h"
#include "resources/jpn/JpnTables.h"

#include <iterator>

namespace jpn {
namespace {

using namespace res;

constexpr std::uint16_t kCmd = MX_MENU_COMMAND;
constexpr std::uint16_t kPopup = MX_MENU_POPUP;
constexpr std::uint16_t kSep = MX_MENU_SEPARATOR;

// The menu bar, the same whether a document is open or not: commands that
// need a document are disabled without one.
const MxMenuItem kMainMenu[] = {
    {0, kPopup, 0, "ファイル(&F)"},
    {1, kCmd, ID_FILE_NEW, "新規作成(&N)\tCtrl+N"},
    {1, kCmd, ID_FILE_OPEN, "開く(&O)...\tCtrl+O"},
    {1, kCmd, ID_FILE_CLOSE, "閉じる(&C)"},
    {1, kCmd, ID_FILE_SAVE, "上書き保存(&S)\tCtrl+S"},
    {1, kCmd, ID_FILE_SAVE_AS, "名前を付けて保存(&A)..."},
    {1, kCmd, ID_FILE_COMPARE, "ファイルと比較(&M)..."},
    {1, kSep, 0, ""},
    // Stands for the recent-file list, which replaces it (or disables it while empty).
    {1, kCmd, ID_FILE_MRU_FIRST, "最近使ったファイル"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_APP_EXIT, "終了(&X)"},

    {0, kPopup, 0, "編集(&E)"},
    {1, kCmd, ID_EDIT_UNDO, "元に戻す(&U)\tCtrl+Z"},
    {1, kCmd, ID_EDIT_REDO, "やり直し(&R)\tCtrl+Y"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_CUT, "切り取り(&T)\tCtrl+X"},
    {1, kCmd, ID_EDIT_COPY, "コピー(&C)\tCtrl+C"},
    {1, kCmd, ID_EDIT_PASTE, "貼り付け(&P)\tCtrl+V"},
    {1, kCmd, ID_EDIT_CLEAR, "クリア(&A)\tDel"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_SELECT_ALL, "すべて選択(&L)\tCtrl+A"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_NEXT_DIFFERENCE, "次の相違(&N)\tF8"},
    {1, kCmd, ID_PREV_DIFFERENCE, "前の相違(&V)\tShift+F8"},
    {1, kCmd, ID_TAKE_OTHER_VALUE, "相手の値を採用(&O)"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_FIND, "検索(&F)...\tCtrl+F"},
    {1, kCmd, ID_EDIT_FIND_NEXT, "次を検索(&X)\tF3"},
    {1, kCmd, ID_EDIT_FIND_PREV, "前を検索(&E)\tShift+F3"},
    {1, kCmd, ID_EDIT_GOTO, "ジャンプ(&G)...\tCtrl+G"},
    {1, kCmd, ID_EDIT_FILL, "一括設定(&I)..."},
    {1, kCmd, ID_PLC_WRITE_SELECTION, "選択範囲を PLC へ書き込み(&S)..."},

    {0, kPopup, 0, "表示(&V)"},
    {1, kCmd, ID_VIEW_TOOLBAR, "ツール バー(&T)"},
    {1, kCmd, ID_VIEW_STATUS_BAR, "ステータス バー(&S)"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_VIEW_TREND, "トレンド(&R)"},
    {1, kCmd, ID_VIEW_COMM_LOG, "通信ログ(&C)"},

    {0, kPopup, 0, "データ(&D)"},
    {1, kCmd, ID_DEVICE_SELECT, "デバイス選択(&D)..."},
    {1, kCmd, ID_CHANGE_PLC, "PLC 変更(&H)..."},
    {1, kSep, 0, ""},
    {1, kCmd, ID_CSV_IMPORT, "CSV 読み込み(&I)..."},
    {1, kCmd, ID_CSV_EXPORT, "CSV 書き出し(&E)..."},

    {0, kPopup, 0, "PLC(&P)"},
    {1, kCmd, ID_PLC_READ, "PLC から読み出し(&R)..."},
    {1, kCmd, ID_PLC_WRITE, "PLC へ書き込み(&W)..."},
    {1, kCmd, ID_PLC_COMPARE, "PLC と比較(&P)..."},
    {1, kCmd, ID_PLC_MONITOR, "モニタ(&M)"},
    {1, kCmd, ID_PLC_WRITE_SELECTION, "選択範囲を PLC へ書き込み(&S)..."},
    {1, kSep, 0, ""},
    {1, kCmd, ID_COMM_SETTINGS, "通信設定(&C)..."},
    {1, kCmd, ID_ONLINE_SETTINGS, "オンライン設定(&O)..."},

    {0, kPopup, 0, "ヘルプ(&H)"},
    {1, kCmd, ID_APP_ABOUT, "バージョン情報(&A)..."},
};

const MxMenuItem kGridContextMenu[] = {
    {0, kPopup, 0, "グリッド"},
    {1, kCmd, ID_EDIT_UNDO, "元に戻す(&U)\tCtrl+Z"},
    {1, kCmd, ID_EDIT_REDO, "やり直し(&R)\tCtrl+Y"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_CUT, "切り取り(&T)\tCtrl+X"},
    {1, kCmd, ID_EDIT_COPY, "コピー(&C)\tCtrl+C"},
    {1, kCmd, ID_EDIT_PASTE, "貼り付け(&P)\tCtrl+V"},
    {1, kCmd, ID_EDIT_CLEAR, "クリア(&A)\tDel"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_SELECT_ALL, "すべて選択(&L)\tCtrl+A"},
    {1, kCmd, ID_EDIT_FIND, "検索(&F)...\tCtrl+F"},
    {1, kCmd, ID_EDIT_GOTO, "ジャンプ(&G)...\tCtrl+G"},
    {1, kCmd, ID_EDIT_FILL, "一括設定(&I)..."},
    {1, kSep, 0, ""},
    {1, kCmd, ID_TAKE_OTHER_VALUE, "相手の値を採用(&O)"},
};

// The cell editors undo one step only, so there is no Redo.
const MxMenuItem kEditContextMenu[] = {
    {0, kPopup, 0, "編集"},
    {1, kCmd, ID_EDIT_UNDO, "元に戻す(&U)\tCtrl+Z"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_CUT, "切り取り(&T)\tCtrl+X"},
    {1, kCmd, ID_EDIT_COPY, "コピー(&C)\tCtrl+C"},
    {1, kCmd, ID_EDIT_PASTE, "貼り付け(&P)\tCtrl+V"},
    {1, kCmd, ID_EDIT_CLEAR, "削除(&D)\tDel"},
    {1, kSep, 0, ""},
    {1, kCmd, ID_EDIT_SELECT_ALL, "すべて選択(&A)\tCtrl+A"},
};

template <typename T, std::size_t N>
constexpr std::uint32_t Count(const T (&)[N])
{
    return static_cast<std::uint32_t>(N);
}

} // namespace

const MxMenuResource kMenus[] = {
    {IDR_GRID_CONTEXT, kGridContextMenu, Count(kGridContextMenu)},
    {IDR_EDIT_CONTEXT, kEditContextMenu, Count(kEditContextMenu)},
    {IDR_MAINFRAME, kMainMenu, Count(kMainMenu)},
    {IDR_MEMORIXTYPE, kMainMenu, Count(kMainMenu)},
};

const std::uint32_t kMenuCount = static_cast<std::uint32_t>(std::size(kMenus));

} // namespace jpn
