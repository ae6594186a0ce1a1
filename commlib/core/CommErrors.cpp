#include "commlib/core/CommErrors.h"

#include <array>
#include <cstdio>

namespace commlib {
namespace {

// One row per code, a column per language. A further language adds a column
// here; ErrorMessage falls back to English where a column is still empty.
struct ErrorRow {
    int code;
    const char* english;
    const char* japanese;
};

constexpr int kJapanese = 1;

constexpr ErrorRow kRows[] = {
    {Err::NotInitialised, "The communication library has not been initialised.",
     "通信ライブラリが初期化されていません。"},
    {Err::NotOnline, "Not online. Go online before talking to the PLC.",
     "オンラインではありません。PLC と通信する前にオンラインにしてください。"},
    {Err::BadArgument, "The call passed an invalid argument.", "呼び出しに無効な引数が渡されました。"},
    {Err::UnknownLanguage, "Unknown language code.", "不明な言語コードです。"},
    {Err::NoProfile, "There is no connection profile with this number.", "この番号の接続プロファイルはありません。"},
    {Err::BadProfile, "The connection profile holds invalid settings.", "接続プロファイルに無効な設定があります。"},
    {Err::BadMapFile, "The register map file cannot be used.", "レジスタ マップ ファイルを使用できません。"},
    {Err::ConnectFailed, "The PLC cannot be reached.", "PLC に接続できません。"},
    {Err::Timeout, "The PLC did not answer in time.", "PLC が時間内に応答しませんでした。"},
    {Err::ConnectionLost, "The connection to the PLC was lost.", "PLC との接続が切れました。"},
    {Err::BadResponse, "The PLC sent an answer that cannot be understood.", "PLC から理解できない応答がありました。"},
    {Err::ExceptionBase + 1, "The PLC refused the request: illegal function.",
     "PLC が要求を拒否しました: 不正なファンクションです。"},
    {Err::ExceptionBase + 2, "The PLC refused the request: the address is outside its memory.",
     "PLC が要求を拒否しました: アドレスがメモリの範囲外です。"},
    {Err::ExceptionBase + 3, "The PLC refused the request: illegal data value.",
     "PLC が要求を拒否しました: 不正なデータ値です。"},
    {Err::ExceptionBase + 4, "The PLC reported a device failure.", "PLC がデバイスの故障を報告しました。"},
    {Err::ExceptionBase + 5, "The PLC acknowledged the request but has not finished it.",
     "PLC は要求を受け付けましたが、まだ完了していません。"},
    {Err::ExceptionBase + 6, "The PLC is busy. Try again later.",
     "PLC はビジーです。しばらくしてから再試行してください。"},
    {Err::ExceptionBase + 7, "The PLC could not carry out the request.", "PLC は要求を実行できませんでした。"},
    {Err::ExceptionBase + 8, "The PLC reported a memory parity error.", "PLC がメモリ パリティ エラーを報告しました。"},
    {Err::ExceptionBase + 10, "The gateway has no path to the PLC.", "ゲートウェイから PLC への経路がありません。"},
    {Err::ExceptionBase + 11, "The PLC behind the gateway did not answer.",
     "ゲートウェイの先の PLC が応答しませんでした。"},
    {Err::UnknownDevice, "The PLC has no such device.", "PLC にこのデバイスはありません。"},
    {Err::OutOfRange, "The address range is outside the device's memory.",
     "アドレス範囲がデバイスのメモリの範囲外です。"},
    {Err::SizeMismatch, "The words per address do not match the device.",
     "アドレスあたりのワード数がデバイスと一致しません。"},
    {Err::NoIdentity,
     "The PLC does not identify itself and the connection profile declares no protocol family and model.",
     "PLC が機種を示さず、接続プロファイルにもプロトコル ファミリーと機種の指定がありません。"},
    {Err::BadIdentity, "The PLC's identity registers hold impossible values.",
     "PLC の識別レジスタにありえない値があります。"},
    {Err::NotAvailable, "This function is not available in this version of the communication library.",
     "この機能は、このバージョンの通信ライブラリでは使用できません。"},
    {Err::Cancelled, "Cancelled.", "キャンセルされました。"},
    {Err::TransferCancelled, "Cancelled by the user.", "ユーザーによってキャンセルされました。"},
};

} // namespace

std::string ErrorMessage(int code, int language)
{
    const bool japanese = language == kJapanese;
    for (const ErrorRow& row : kRows)
        if (row.code == code)
            return japanese && row.japanese ? row.japanese : row.english;
    char text[160];
    if (code > Err::ExceptionBase && code < Err::ExceptionBase + 256) {
        std::snprintf(text, sizeof text,
                      japanese ? "PLC が Modbus 例外 %d で要求を拒否しました。"
                               : "The PLC refused the request with Modbus exception %d.",
                      code - Err::ExceptionBase);
        return text;
    }
    std::snprintf(text, sizeof text, japanese ? "通信エラー %d。" : "Communication error %d.", code);
    return text;
}

bool IsKnownLanguage(int language)
{
    constexpr std::array<int, 8> kKnown{0, 1, 2, 3, 4, 5, 6, 9};
    for (int known : kKnown)
        if (known == language)
            return true;
    return false;
}

} // namespace commlib
