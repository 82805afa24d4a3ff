// The editor's commands by name. Menus, the tool bar, keys, the settings and the messages
// between the programs know a command by its number; this table is the one place where those
// numbers are written. Everything else names the command (`Cmd::RoundLand`).
#pragma once

#include <cstdint>
#include <string_view>

namespace zevo {

// name, number, caption (menu text or tool tip)
#define ZEVO_COMMAND_TABLE(X)                  \
    X(ZoomInKey, 97, "拡大")                   \
    X(LayerItem, 98, "レイヤー選択")           \
    X(ApertureItem, 99, "選択/設定")           \
    X(Version, 109, "バージョン")              \
    X(LayerSelect, 300, "レイヤー選択")        \
    X(SelectSettings, 301, "選択/設定")        \
    X(RoundLand, 303, "丸ランド")              \
    X(SquareLand, 304, "角ランド")             \
    X(Line, 305, "ライン")                     \
    X(Arc, 306, "円弧")                        \
    X(Pad, 307, "パット")                      \
    X(Text, 308, "文字列")                     \
    X(Deform, 310, "変形")                     \
    X(DeleteTool, 311, "削除")                 \
    X(Parallel, 312, "平行線／中間線")         \
    X(Connect, 313, "接続／伸縮／分割／角取")  \
    X(Change, 314, "変更")                     \
    X(Fill, 315, "塗潰し／解除／窓抜き")       \
    X(Multiple, 317, "複数")                   \
    X(Move, 318, "移動")                       \
    X(JoinSplit, 319, "結合／分解／部品")      \
    X(Cut, 320, "切取り")                      \
    X(Copy, 321, "コピー")                     \
    X(Paste, 322, "貼付け")                    \
    X(Mirror, 323, "反転")                     \
    X(Rotate, 324, "回転")                     \
    X(NumericInput, 326, "数値入力")           \
    X(Intersection, 327, "交点選択")           \
    X(ZoomTool, 329, "拡大")                   \
    X(ZoomOut, 330, "縮小")                    \
    X(PreviousButton, 331, "前回の表示")       \
    X(FitDrawingButton, 332, "全作画表示")     \
    X(Memory1Button, 333, "表示１")            \
    X(Memory2Button, 334, "表示２")            \
    X(Memory3Button, 335, "表示３")            \
    X(Memory4Button, 336, "表示４")            \
    X(GridDialog, 337, "グリッド")             \
    X(New, 400, "新規作成(&N)")                \
    X(Open, 401, "開く(&O)")                   \
    X(OpenInNewCopy, 402, "別のZEVOで開く")    \
    X(SaveAs, 403, "保存(&S)")                 \
    X(Save, 404, "上書き保存")                 \
    X(SaveOldFormat, 405, "旧形式で保存")      \
    X(PrintCheck, 406, "確認図印刷(&P)")       \
    X(PrintArtwork, 407, "版下印刷")           \
    X(GerberOut, 408, "ガーバー出力")          \
    X(GerberIn, 409, "ガーバー入力")           \
    X(HoleOut, 410, "ホール出力")              \
    X(NetlistOut, 411, "ネットリスト出力")     \
    X(NetlistCompare, 412, "ネットリスト照合") \
    X(PartCoords, 413, "部品座標出力")         \
    X(Drc, 414, "DRCチェック")                 \
    X(DrcErase, 415, "DRCマーク消去")          \
    X(Exit, 416, "終了(&X)")                   \
    X(Decide, 417, "決定")                     \
    X(Undo, 418, "元に戻す")                   \
    X(Redo, 419, "元に戻すを戻す")             \
    X(StatusBar, 420, "ステータスバー 表示")   \
    X(CoordinateDisplay, 421, "座標表示")      \
    X(Absolute, 422, "絶対座標")               \
    X(ToolBar, 423, "ツールバー 表示")         \
    X(Flat, 424, "フラット")                   \
    X(RClickMenu, 425, "右クリックメニュー")   \
    X(RClickBack, 426, "右クリックで戻る")     \
    X(LongCursor, 427, "ロングカーソル")       \
    X(MirrorView, 428, "鏡像表示")             \
    X(NumericWindow, 429, "数値入力 Window")   \
    X(Redraw, 430, "再表示")                   \
    X(FitDrawing, 431, "全作画表示")           \
    X(FitBoard, 432, "全体表示")               \
    X(Previous, 433, "前回の表示")             \
    X(Equipotential, 434, "等電位")            \
    X(Spacing, 435, "間隔")                    \
    X(Coordinates, 436, "座標")                \
    X(PinNumbers, 437, "ピン番号表示")         \
    X(OnGrid, 438, "オングリッド")             \
    X(GridOrigin, 439, "グリッド原点")         \
    X(RoundApertures, 440, "丸ランド設定")     \
    X(SquareApertures, 441, "角ランド設定")    \
    X(Pads, 442, "パッド設定")                 \
    X(Layers, 443, "レイヤー設定")             \
    X(Libraries, 444, "ライブラリー設定")      \
    X(SwapPairs, 445, "部品面変更設定")        \
    X(PartDelete, 446, "部品削除")             \
    X(Standard, 447, "標準に設定")             \
    X(PartSearch, 448, "部品検索")             \
    X(DeleteElements, 450, "要素削除")         \
    X(Help, 451, "ヘルプ")                     \
    X(ClickDelete, 452, "クリックで削除")      \
    X(Estimate, 453, "基板製作見積")           \
    X(English, 454, "English")                 \
    X(Recall1, 461, "表示１")                  \
    X(Recall2, 462, "表示２")                  \
    X(Recall3, 463, "表示３")                  \
    X(Recall4, 464, "表示４")                  \
    X(Store1, 471, "表示１")                   \
    X(Store2, 472, "表示２")                   \
    X(Store3, 473, "表示３")                   \
    X(Store4, 474, "表示４")                   \
    X(Cancel, 499, "取消")

enum class Cmd : int32_t {
    None = 0,  // no command: a separator, a submenu, a menu closed without a choice
#define ZEVO_COMMAND_ENUM(name, number, caption) name = number,
    ZEVO_COMMAND_TABLE(ZEVO_COMMAND_ENUM)
#undef ZEVO_COMMAND_ENUM
};

// The number of a command, as the settings and the other programs know it.
constexpr int CommandNumber(Cmd c) {
    return int(c);
}
// The command of a number; Cmd::None when no command has it.
Cmd CommandFromNumber(int number);
// The command's caption in the menu bar (and the tool tip of its button) in the interface
// language; empty for Cmd::None.
std::string_view CommandCaption(Cmd c);
// The command's name in the code ("RoundLand"), for messages of tests and scripts.
std::string_view CommandName(Cmd c);

// The n-th command of a run of consecutive numbers (the four display memories and their
// buttons): Nth(Cmd::Recall1, 3) is Cmd::Recall3.
constexpr Cmd Nth(Cmd first, int n) {
    return Cmd(int(first) + n - 1);
}
// Where a command stands in a run: Ordinal(Cmd::Recall1, Cmd::Recall3) is 3.
constexpr int Ordinal(Cmd first, Cmd c) {
    return int(c) - int(first) + 1;
}
// Whether c lies in the run first..last.
constexpr bool InRange(Cmd c, Cmd first, Cmd last) {
    return int(c) >= int(first) && int(c) <= int(last);
}

// The tool bar's commands run from Cmd::LayerSelect to Cmd::GridDialog; the numbers in between
// that name no command are the bar's separators.
inline constexpr Cmd kFirstToolBarCmd = Cmd::LayerSelect;
inline constexpr Cmd kLastToolBarCmd = Cmd::GridDialog;
inline constexpr int kToolBarIds = int(kLastToolBarCmd) - int(kFirstToolBarCmd) + 1;
constexpr bool IsToolBarCmd(Cmd c) {
    return InRange(c, kFirstToolBarCmd, kLastToolBarCmd);
}
// The slot of a tool bar command in the saved states, and the command of a slot.
constexpr size_t ToolBarSlot(Cmd c) {
    return size_t(int(c) - int(kFirstToolBarCmd));
}
constexpr Cmd ToolBarCmd(size_t slot) {
    return Cmd(int(kFirstToolBarCmd) + int(slot));
}
// The image of a tool bar button in the strip of button pictures.
constexpr int ToolBarImage(Cmd c) {
    return int(ToolBarSlot(c));
}

}  // namespace zevo
