#include "text/strings.h"

#include <algorithm>
#include <iterator>

#include "text/cp932.h"
#include "text/language.h"
#include "text/strings_en.h"
#include "text/translations.h"

namespace zevo {
namespace {

// Keep in increasing id order.
constexpr TableEntry kTable[] = {
    {kCaptionEditor, "Zevo"},
    {kCaptionEstimate, "Ordavist"},
    {kMsgCannotWriteFile, "ファイルの書込みができません。"},
    {kMsgSaveChanges, "変更されましたセーブしますか？"},
    {kMsgOldFormatLimits, "旧形式で保存したファイルは 円弧 四角形 文字列 などの編集ができません"},
    {kMsgCannotWriteSettings, "設定ファイルに書込めません。"},
    {kMsgRecover, "リカバリーしますか？"},
    {kMsgCalcError, "計算エラー"},
    {kStrCoordReference, "部品番号"},
    {kStrCoordX, "X座標"},
    {kStrCoordY, "Y座標"},
    {kStrCoordAngle, "角度"},
    {kStrCoordSide, "装着"},
    {kStrCoordPartName, "部品名"},
    {kStrCoordAttribute, "アトリビュート"},
    {kMsgDuplicateReference, "同じ部品番号が複数あります"},
    {kMsgTooManyNets, "ネットが多すぎてネットリストに出力できません"},
    {kMsgFontNoGlyph, "zevofont.datに該当する文字フォントがありません"},
    {kCaptionFontEditor, "Strokel"},
    {kMsgFontWriteAsk, "ファイルに書き込みますか？(Y/N)"},
    {kMsgFontCannotWrite, "ファイルに書き込めません！"},
    {kMsgShort, "ショートしています"},
    {kStrLayer, "レイヤー"},
    {kStrOutputting, "出力中"},
    {kStrInputting, "入力中"},
    {kStrFile, "ファイル"},
    {kStrUsedDCodes, "使用Ｄコード : アパーチャ径／□"},
    {kStrRoundApertureLine, "丸アパーチャー　ライン用"},
    {kStrSquareApertureLine, "角アパーチャー　ライン用"},
    {kMsgNoHoles, "出力するホールがありません"},
    {kMsgNotHoles, "ホール出力できない要素があります"},
    {kStrPieces, "個"},
    {kStrUsedTCodes, "使用Ｔコード : ドリル径"},
    {kHintInput, "左クリックで入力"},
    {kHintLineStart, "左クリックで作画開始／コントロールを押しながらクリック点／ＥＳＣで取消"},
    {kHintLineNextBack,
     "左クリックで次を作画／スペース，リターンで決定(左ボタンを押しながら右クリック)"
     "／ＥＳＣで取消／シフトを押しながらで８方向／右ボタンを押しながらで戻る／コントロールを押しな"
     "がらクリック点"},
    {kHintLineNext,
     "左クリックで次を作画／右クリック、スペース，リターンで決定(左ボタンを押しながら右クリック)"
     "／ＥＳＣで取消／シフトを押しながらで８方向／右ボタンを押しながらで戻る／コントロールを押しな"
     "がらクリック点"},
    {kHintArcCentre, "左クリックで中心決定"},
    {kHintArcStart, "左クリックで開始点／ＥＳＣで取消"},
    {kHintArcEnd, "左クリックで終了角／ＥＳＣで取消"},
    {kHintTextStart, "左クリックで開始点決定"},
    {kHintDeform,
     "左クリックで選択／シフトを押しながら単要素(部品)／コントロールを押しながら部品内"},
    {kHintDeformDrag,
     "左クリックで決定／シフトを押しながらで８方向／コントロールを押しながらクリック点／ＥＳＣで取"
     "消"},
    {kHintDelete, "左クリックで選択／コントロールを押しながら部品内／左を押しながらで複数選択"},
    {kHintDeleteBand, "左を離して選択／ＥＳＣで取消"},
    {kHintDeleteConfirm, "左クリックで削除／ＥＳＣで取消"},
    {kHintParallel, "左クリックで選択／ＳＨＩＦＴを押しながらで中間線"},
    {kHintMiddleSecond, "左クリックでもう一方を選択／ＥＳＣで取消"},
    {kHintParallelSide, "左クリックで方向決定／ＥＳＣで取消"},
    {kHintSectionLast, "左クリックで最終ラインのポイント選択／ＥＳＣで取消"},
    {kHintSectionSide, "左クリックで方向決定／ＥＳＣで取消"},
    {kHintConnect,
     "左クリックで選択／左ボタンを押しながらで複数／ＣＴＲＬを押しながらで分割／ＳＨＩＦＴを押しな"
     "がらで角取"},
    {kHintConnectSecond, "左クリックで選択／ＳＨＩＦＴを押しながらで伸縮／ＥＳＣで取消"},
    {kHintGroupFirst, "左を離してライン群を選択／ＥＳＣで取消"},
    {kHintGroupSecondDrag, "左を押しながら移動でもう一方のライン群を選択／ＥＳＣで取消"},
    {kHintGroupSecond, "左を離してライン群の選択終了／ＥＳＣで取消"},
    {kHintChange,
     "左クリックで選択／シフトを押しながら部品を選択／コントロールを押しながらピンを選択/"
     "シフト+コントロールを押しながら点線変換するラインを選択"},
    {kHintFill, "左クリックで選択／ＳＨＩＦＴを押しながらで解除／ＣＴＲＬを押しながらで窓抜き"},
    {kHintWindow, "左クリックで窓を選択／左クリックでランドを選択／ＥＳＣで取消"},
    {kHintWindowNext, "左クリックで次を選択／ＥＳＣで取消"},
    {kHintMultiple,
     "左クリックで選択／ＣＴＲＬを押しながら付加される部品を選択／左を押しながらで複数"},
    {kHintMultipleTaken,
     "左クリックで選択／左を押しながらで複数／ＳＨＩＦＴを押しながらで戻る／ＥＳＣで取消"},
    {kHintMultipleBand, "左を離して選択／ＥＳＣで取消"},
    {kHintMultipleMoveFrom, "左クリックで移動基準設定／ＥＳＣで取消"},
    {kHintMultipleFloating, "左クリックで決定／ＥＳＣで取り消し"},
    {kHintIntersection, "左クリックで選択／ＳＨＩＦＴを押しながら円弧の中心／ＥＳＣで取消"},
    {kHintIntersectionSecond, "左クリックでもう一方選択／ＥＳＣで取消"},
    {kHintZoom, "左クリックで拡大点の一方を選択"},
    {kHintZoomSecond, "左クリックで拡大決定／ＥＳＣで取消"},
    {kHintGridOrigin, "左クリックで座標決定"},
    {kHintCoordinates, "左クリックで決定"},
    {kHintSpacing, "左クリックで選択／シフトを押しながらで端点間／ＥＳＣで取消"},
    {kHintSpacingSecond, "左クリックでもう一方を選択／ＥＳＣで取消"},
    {kHintEquipotential, "左クリックで選択／ＥＳＣで取消"},
    {kHintPinNumbers, "左クリックで部品を選択／ＥＳＣで取消"},
    {kHintChamferSecond, "左クリックでもう一方を選択／ＳＨＩＦＴを押しながら同一Ｒ／ＥＳＣで取消"},
    {kStrGerberFormat,
     "データ形式 : ASCII　単位 : mm　座標 : 整数部4桁 小数部%d桁　小数点なし　"
     "リーディングゼロ省略　区切り : *"},
    {kStrDrillFormatHead, "データ形式 : ASCII　単位 : mm　座標 : 整数部4桁 小数部"},
    {kStrDrillFormatTail, "桁　小数点なし　リーディングゼロ省略　区切り : CR/LF"},
    {kStrPcbFiles, "PCBファイル"},
    {kMsgCannotWriteOutput, "ファイルの書込みができません。"},
    {kMsgDrcClean, "違反個所は見つかりません"},
    {kMsgDrcFound, "違反個所が見つかりました"},
    {kMsgInternalError, "内部エラー"},
    {kMsgNoNetDifference, "ネットに違いはありません"},
    {kMsgNoNets, "ネットが見つかりません"},
    {kMsgCannotReadNetlist, "ネットリストが読み込めません"},
    {kStrExtraNets, "過剰ネット"},
    {kStrUnconnectedNets, "未接続ネット"},
    {kMsgDrcBadRules, "ＤＲＣの設定値が異常です"},
    {kMsgReferenceNotPlaced, "部品番号が付いたグループがあります"},
    {kMsgNothingToOutput, "出力する要素がありません"},
    {kMsgNotABoard, "ボードファイルではありません。"},
    {kMsgOffBoardRemoved, "作画範囲の外にあった要素を削除しました"},
    {kMsgSkippedCommands, "アパーチャーが使えないコマンドを読み飛ばしました : %d 個"},
    {kMsgDCodeTwoApertures, "同じＤコードが二つのアパーチャーに割り当てられているため出力しません"},
    {kStrRoundAperture, "丸アパーチャー"},
    {kStrSquareAperture, "角アパーチャー"},
    {kMsgBoardSizeAdjusted,
     "作画サイズは 100 から 1000 mm までの整数です。X %g mm、Y %g mm にしました。"},
    {kMsgFilesWritten, "%d 個のファイルを出力しました: %s （フォルダ %s）"},
    {kMsgNoFilesWritten, "出力したファイルはありません"},
    {kMsgLibraryNotWritten, "ライブラリファイルに書込めません"},
    {kMsgPartRegistered, "登録されています、上書きしますか？"},
    {kMsgAskFill, "塗潰しますか(Y/N)"},
    {kMsgAskUnfill, "塗潰しを解除しますか(Y/N)"},
    {kMsgAskWindow, "窓抜きしますか(Y/N)"},
    {kMsgDuplicateReferenceAsk, "部品番号が重複します、設定しますか？"},
    {kMsgDuplicatePinAsk, "ピン番号が重複します設定しますか？"},
    {kMsgEstimateCannotStart, "起動できません"},
    {kMsgEstimateCommandError, "Command error"},
    {kMsgEstimateDataFailed, "データ作成失敗"},
    {kMsgEstimateRenameError, "ファイル名変更エラー"},
    {kMsgEstimatePackError, "ファイル圧縮エラー"},
    {kMsgEstimateFileNotPacked, "圧縮エラー ファイル %s"},
    {kMsgEstimateMoveError, "ファイル移動エラー"},
    {kMsgEstimateArchiveMade, "ガーバーファイルを作製／圧縮しました。\n%s"},
    {kStrEstimateHelp,
     "基板メーカー：基板メーカーまたは作成するデータの種類を選びます。\n"
     "Ａ面／Ｂ面：部品面にする面を選びます。\n"
     "半田面視：半田面から見て作画した基板のデータを反転します。\n"
     "データ作成：エディタにデータを出力させ、ファイル名を変更して基板ファイルの隣に"
     "ZIPファイルを作ります。\n"
     "確認：作成したデータを表示します。\n"
     "見積：基板メーカーの注文ページを開きます（設定ファイル Ordavist.ini の URL）。\n"
     "取消：終了します。"},
    {kMsgEstimateModernNotMirrored,
     "最新形式 (X2) のデータは反転しません。半田面視の指定は使われませんでした。"},
    {kStrModernDrillFormat,
     "データ形式 : Excellon (METRIC,TZ)　単位 : mm　座標 : 小数点付き 小数部3桁　区切り : CR/LF"},
};

}  // namespace

std::string_view TableTextJapanese(int id) {
    const auto it = std::lower_bound(std::begin(kTable), std::end(kTable), id,
                                     [](const TableEntry& e, int v) { return e.id < v; });
    return it != std::end(kTable) && it->id == id ? it->text : std::string_view();
}

std::string_view TableText(int id) {
    const std::string_view japanese = TableTextJapanese(id);
    if (UiLanguage() == Language::Japanese || japanese.empty()) return japanese;
    if (const std::string_view own = OverrideForId(id); !own.empty()) return own;
    if (const std::string_view english = TableTextEnglish(id); !english.empty()) return english;
    return japanese;
}

std::string TableTextCp932(int id) {
    return Utf8ToCp932(TableTextJapanese(id));
}

std::span<const TableEntry> AllTableTexts() {
    return {kTable, std::size(kTable)};
}

}  // namespace zevo
