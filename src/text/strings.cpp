#include "text/strings.h"

#include <algorithm>
#include <iterator>

#include "text/cp932.h"

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
    {kMsgFontNoGlyph, "zevofont.datに該当する文字フォントがありません"},
    {kCaptionFontEditor, "Strokel"},
    {kMsgFontWriteAsk, "ファイルに書き込みますか？(Y/N)"},
    {kMsgFontCannotWrite, "ファイルに書き込めません！"},
    {kStrLayer, "レイヤー"},
    {kStrPcbFiles, "PCBファイル"},
};

}  // namespace

std::string_view TableText(int id) {
    const auto it = std::lower_bound(std::begin(kTable), std::end(kTable), id,
                                     [](const TableEntry& e, int v) { return e.id < v; });
    return it != std::end(kTable) && it->id == id ? it->text : std::string_view();
}

std::string TableTextCp932(int id) {
    return Utf8ToCp932(TableText(id));
}

std::span<const TableEntry> AllTableTexts() {
    return {kTable, std::size(kTable)};
}

}  // namespace zevo
