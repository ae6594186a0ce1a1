// Japanese texts of the user interface, in UTF-8.
//
// The same rules as the English texts: 708 takes the bank number as %d, 61699
// the document title as %s, 905 the list of blocks as %s; no other text holds
// a '%'. File dialog filters are "description|patterns|" pairs; command
// strings are "status-bar prompt\ntool tip"; 112 is the document type.

#include "resources/ResourceIds.h"
#include "resources/jpn/JpnTables.h"

#include <iterator>

namespace jpn {

using namespace res;

const MxStringResource kStrings[] = {
    {IDS_OLE_INIT_FAILED, "Memorix に必要なシステム ライブラリを初期化できませんでした。"},
    {IDS_TOOLBAR_STANDARD, "標準"},
    {IDS_TOOLBAR_CUSTOMIZE, "カスタマイズ..."},
    {IDS_DOC_TEMPLATE,
     "\n無題\nMemorix データ\nMemorix データ ファイル (*.ldtx)\n.ldtx\nMemorix.Data\nMemorix データ ファイル"},
    {IDS_TOOLBAR_DATA, "データ"},
    {IDS_NO_DEVICE_SELECTED, "デバイスを 1 つ以上選択してください。"},

    {IDS_RADIX_BINARY, "2 進数"},
    {IDS_RADIX_OCTAL, "8 進数"},
    {IDS_RADIX_DECIMAL, "10 進数"},
    {IDS_RADIX_HEX, "16 進数"},
    {IDS_UNIT_8BIT, "8 ビット"},
    {IDS_UNIT_16BIT, "16 ビット"},
    {IDS_UNIT_32BIT, "32 ビット"},
    // Follows the count in a narrow box: "1 列" to "16 列".
    {IDS_COLUMNS_SUFFIX, " 列"},
    {IDS_BANK_NAME, "バンク %d"},
    {IDS_RADIX_FLOAT, "実数 (単精度)"},
    {IDS_RADIX_DOUBLE, "実数 (倍精度)"},
    {IDS_UNIT_64BIT, "64 ビット"},

    {IDS_CONFIRM_WRITE, "PLC にデータを書き込みますか?\nPLC の値は上書きされます。"},
    {IDS_CONFIRM_READ, "PLC からデータを読み出しますか?"},
    {IDS_WRITE_DONE, "PLC への書き込みが終了しました。"},
    {IDS_READ_DONE, "PLC からの読み出しが終了しました。"},
    {IDS_WRITE_UNKNOWN_PLC,
     "接続されている PLC の機種は、対応 PLC のカタログにありません。\nこの PLC にはデータを書き込めません。"},
    {IDS_READ_UNKNOWN_PLC,
     "接続されている PLC の機種は、対応 PLC のカタログにありません。\nこの PLC からはデータを読み出せません。"},
    {IDS_TRANSFER_FAILED, "PLC との転送は完了しませんでした。"},
    {IDS_WRITE_PARTIAL, "PLC には一部のデータだけが書き込まれています。次のアドレスは書き込まれ、それ以外は"
                        "書き込まれていません:\n%s"},
    {IDS_TRANSFER_STOPPED, "PLC との転送はキャンセルされました。"},
    {IDS_TRANSFER_CANCEL, "キャンセル"},
    {IDS_TRANSFER_STOPPING, "転送を中止しています..."},
    {IDS_WRITE_OTHER_PLC, "接続されている PLC は、このドキュメントの機種と異なります。\n\nそれでも書き込みますか?"},
    {IDS_READ_OTHER_PLC, "接続されている PLC は、現在選択されている機種と異なります。\n\nそれでも読み出しますか?"},
    // The error code follows directly: "... [100000]".
    {IDS_COMM_INIT_FAILED, "通信ライブラリを初期化できませんでした。"},

    // The reader may append " (code)".
    {IDS_FILE_DAMAGED, "ファイルが壊れているため読み込めません。"},
    {IDS_FILE_EMPTY, "ファイルが空です。"},
    {IDS_FILE_NOT_DATA_FILE,
     "Memorix のデータ ファイルではないか、新しいバージョンの Memorix で保存されたファイルです。"},
    {IDS_FILE_UNKNOWN_MODEL, "このファイルの PLC 機種は、対応 PLC のカタログにありません。"},
    {IDS_FILE_READ_ERROR, "ファイルの読み込み中にエラーが発生しました。"},
    {IDS_FILE_WRITE_ERROR,
     "ファイルを書き込めません。ディスクの空き容量と、フォルダーへの書き込み権限を確認してください。"},
    {IDS_FILE_LEGACY_LOSES_DATA,
     "このファイル形式ではすべてのデータを保存できません。次のブロックは保存されません:\n%s\n\nそれでも保存しますか?"},
    {IDS_FILE_OPEN_ERROR, "ファイルを開けません。他のプログラムが使用中か、アクセス権がない可能性があります。"},

    // The first filter is the comma-separated one.
    {IDS_FILTER_CSV, "CSV ファイル (*.csv)|*.csv|テキスト ファイル (*.txt)|*.txt||"},
    {IDS_FILTER_LEGACY_DATA, "旧形式の Memorix データ ファイル (*.ldt)|*.ldt|"},
    {IDS_FILTER_DATA, "Memorix データ ファイル (*.ldtx)|*.ldtx|"},
    {IDS_FILTER_OPEN_FIRST, "すべての Memorix データ ファイル (*.ldtx;*.ldt)|*.ldtx;*.ldt|"},

    {IDS_CONFIRM_CHANGE_PLC,
     "このドキュメントの PLC 機種を変更しますか?\nデバイスの範囲は、新しい機種で可能な範囲で引き継がれます。"},
    {IDS_CELL_NOT_A_NUMBER, "値が正しい数値ではありません。"},
    {IDS_CELL_OUT_OF_RANGE, "値が範囲外です。"},

    {IDS_COMPARE_DIFFERENCES, "%lld 個の相違 (%d ブロック)"},
    {IDS_COMPARE_ONE_DIFFERENCE, "相違 1 個"},
    {IDS_COMPARE_IDENTICAL, "一致"},
    {IDS_COMPARE_OTHER_MODEL, " (相手の機種: %s)"},
    {IDS_COMPARE_NO_NEXT, "カーソルより後に相違はありません。"},
    {IDS_COMPARE_NO_PREVIOUS, "カーソルより前に相違はありません。"},
    {IDS_COMPARE_OTHER_VALUE, "相手の値: %s"},
    {IDS_COMPARE_NOT_COMPARED, "比較対象外: 相手側にこのセルがありません。"},
    {IDS_COMPARE_ENDED, "比較を終了しました。"},
    {IDS_COMPARE_DIFFERENCES_ONE_BLOCK, "%lld 個の相違 (1 ブロック)"},

    {IDS_GOTO_NOT_ADDRESS, "デバイスとアドレスを入力してください (例: DT1234、FL#2 100)。"},
    {IDS_GOTO_UNKNOWN_DEVICE, "その名前のデバイスはこの PLC にありません。"},
    {IDS_GOTO_NO_BLOCK, "このデバイスのブロックはドキュメントにありません。"},
    {IDS_GOTO_OUT_OF_RANGE, "%s のアドレスはこのドキュメントでは %d から %d までです。"},
    {IDS_FIND_NOT_FOUND, "見つかりません。"},
    {IDS_FIND_WRAPPED, "反対側の端から検索を続けました。"},
    {IDS_FIND_COUNT, "%d 個見つかりました (グリッドに表示)。"},
    {IDS_FIND_BAD_VALUE, "現在の基数と単位の値ではありません。"},
    {IDS_MONITOR_STATUS, "モニタ中 \u2014 1 周期 %d ms"},
    {IDS_MONITOR_READ_ONLY,
     "モニタ中はグリッドを編集できません。モニタを停止するか、選択範囲を PLC へ書き込みを使ってください。"},
    {IDS_MONITOR_CYCLE_FAILED, "モニタ: %s (再試行します)"},
    {IDS_MONITOR_STOPPED, "PLC が 3 回続けて応答しなかったため、モニタを停止しました。\n%s"},
    {IDS_MONITOR_INTERVAL, "周期 (ms)"},
    {IDS_MONITOR_ENDED, "モニタを終了しました。"},
    {IDS_WRITE_SELECTION_DONE, "%d ワードを PLC に書き込みました。"},
    {IDS_TREND_TITLE, "トレンド"},
    {IDS_TREND_NOT_MONITORING, "モニタしていません: PLC > モニタ を開始すると値の変化が表示されます。"},
    {IDS_TREND_TOO_MANY, "トレンドに表示できるセルは %d 個までです。選択を減らしてください。"},
    {IDS_TREND_PAUSE, "一時停止"},
    {IDS_TREND_CLEAR, "クリア"},
    {IDS_TREND_EXPORT_CSV, "CSV 出力..."},
    {IDS_TREND_EXPORT_PNG, "画像出力..."},
    {IDS_TREND_TIME_AXIS, "時刻"},
    {IDS_COMM_LOG_TITLE, "通信ログ"},
    {IDS_COMM_LOG_CLEAR, "クリア"},
    {IDS_COMM_LOG_SAVE, "保存..."},
    {IDS_COMM_LOG_FILTER, "テキスト ファイル (*.txt)|*.txt|すべてのファイル (*)|*||"},
    {ID_PLC_MONITOR, "表示中のセルを PLC から繰り返し読み出します\nモニタ"},
    {ID_PLC_WRITE_SELECTION, "選択したセルを PLC に書き込みます\n選択範囲を PLC へ書き込み"},
    {ID_VIEW_TREND, "モニタ中に選択したセルの値の推移を表示します\nトレンド"},
    {ID_VIEW_COMM_LOG, "PLC への要求の一覧を表示または非表示にします\n通信ログ"},

    {IDS_APP_TITLE, "Memorix"},
    {IDP_ASK_TO_SAVE, "%s への変更を保存しますか?"},

    // Commands.
    {ID_PLC_READ, "PLC からデータを読み出します\nPLC から読み出し"},
    {ID_PLC_WRITE, "PLC にデータを書き込みます\nPLC へ書き込み"},
    {ID_COMBO_RADIX, "値の表示形式\n表示形式"},
    {ID_COMBO_UNIT, "1 セルの大きさ\n単位"},
    {ID_COMBO_DEVICE, "グリッドに表示するデバイス\nデバイス"},
    {ID_COMBO_COLUMNS, "1 行のセル数\n列数"},
    {ID_CSV_IMPORT, "表示中のデバイスを CSV またはテキスト ファイルから読み込みます\nCSV 読み込み"},
    {ID_CSV_EXPORT, "表示中のデバイスを CSV またはテキスト ファイルに保存します\nCSV 書き出し"},
    {ID_COMBO_BANK, "グリッドに表示するファイル レジスタのバンク\nバンク"},
    {ID_FILE_COMPARE, "ドキュメントをデータ ファイルと比較します\nファイルと比較"},
    {ID_PLC_COMPARE, "ドキュメントを PLC のメモリと比較します\nPLC と比較"},
    {ID_NEXT_DIFFERENCE, "次の相違セルへ移動します\n次の相違"},
    {ID_PREV_DIFFERENCE, "前の相違セルへ移動します\n前の相違"},
    {ID_TAKE_OTHER_VALUE, "選択したセルに相手側の値をコピーします\n相手の値を採用"},
    {ID_EDIT_GOTO, "カーソルをアドレスへ移動します\nジャンプ"},
    {ID_EDIT_FIND, "値またはテキストを検索します\n検索"},
    {ID_EDIT_FIND_NEXT, "次を検索します\n次を検索"},
    {ID_EDIT_FIND_PREV, "前を検索します\n前を検索"},
    {ID_EDIT_FILL, "選択したすべてのセルに 1 つの値を書き込みます\n一括設定"},
    {ID_DEVICE_SELECT, "ドキュメントのデバイスとアドレス範囲を選択します\nデバイス選択"},
    {ID_COMM_SETTINGS, "PLC との接続を設定します\n通信設定"},
    {ID_ONLINE_SETTINGS, "オンライン接続の設定を変更します\nオンライン設定"},
    {ID_CHANGE_PLC, "ドキュメントを別の PLC 機種に移します\nPLC 変更"},
    {ID_FILE_NEW, "新しいドキュメントを作成します\n新規作成"},
    {ID_FILE_OPEN, "データ ファイルを開きます\n開く"},
    {ID_FILE_CLOSE, "ドキュメントを閉じます\n閉じる"},
    {ID_FILE_SAVE, "ドキュメントを保存します\n上書き保存"},
    {ID_FILE_SAVE_AS, "ドキュメントに名前を付けて保存します\n名前を付けて保存"},
    {ID_FILE_MRU_FIRST + 0, "このドキュメントを開きます\n最近使ったファイル 1"},
    {ID_FILE_MRU_FIRST + 1, "このドキュメントを開きます\n最近使ったファイル 2"},
    {ID_FILE_MRU_FIRST + 2, "このドキュメントを開きます\n最近使ったファイル 3"},
    {ID_FILE_MRU_FIRST + 3, "このドキュメントを開きます\n最近使ったファイル 4"},
    {ID_FILE_MRU_FIRST + 4, "このドキュメントを開きます\n最近使ったファイル 5"},
    {ID_FILE_MRU_FIRST + 5, "このドキュメントを開きます\n最近使ったファイル 6"},
    {ID_FILE_MRU_FIRST + 6, "このドキュメントを開きます\n最近使ったファイル 7"},
    {ID_FILE_MRU_FIRST + 7, "このドキュメントを開きます\n最近使ったファイル 8"},
    {ID_FILE_MRU_FIRST + 8, "このドキュメントを開きます\n最近使ったファイル 9"},
    {ID_FILE_MRU_FIRST + 9, "このドキュメントを開きます\n最近使ったファイル 10"},
    {ID_EDIT_CLEAR, "選択範囲をクリアします\nクリア"},
    {ID_EDIT_COPY, "選択範囲をクリップボードにコピーします\nコピー"},
    {ID_EDIT_CUT, "選択範囲をクリップボードに移動します\n切り取り"},
    {ID_EDIT_PASTE, "クリップボードの内容を挿入します\n貼り付け"},
    {ID_EDIT_SELECT_ALL, "すべてを選択します\nすべて選択"},
    {ID_EDIT_UNDO, "直前の変更を元に戻します\n元に戻す"},
    {ID_EDIT_REDO, "元に戻した変更をやり直します\nやり直し"},
    {ID_APP_ABOUT, "Memorix の情報を表示します\nバージョン情報"},
    {ID_APP_EXIT, "Memorix を終了します。変更の保存を確認します\n終了"},
    {ID_VIEW_TOOLBAR, "標準ツール バーの表示/非表示を切り替えます\nツール バー"},
    {ID_VIEW_STATUS_BAR, "ステータス バーの表示/非表示を切り替えます\nステータス バー"},
};

const std::uint32_t kStringCount = static_cast<std::uint32_t>(std::size(kStrings));

} // namespace jpn
