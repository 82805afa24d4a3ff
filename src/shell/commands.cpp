#include "shell/commands.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zevo {

namespace {

using E = MenuEntry;

constexpr E kRecall[] = {{Cmd::Recall1}, {Cmd::Recall2}, {Cmd::Recall3}, {Cmd::Recall4}};
constexpr E kStore[] = {{Cmd::Store1}, {Cmd::Store2}, {Cmd::Store3}, {Cmd::Store4}};

constexpr E kFileMenu[] = {
    {Cmd::New},
    {Cmd::Open},
    {Cmd::OpenInNewCopy},
    {Cmd::None},
    {Cmd::Save},
    {Cmd::SaveAs},
    {Cmd::SaveOldFormat},
    {Cmd::None},
    {Cmd::PrintCheck},
    {Cmd::PrintArtwork},
    {Cmd::None},
    {Cmd::GerberOut},
    {Cmd::HoleOut},
    {Cmd::GerberIn},
    {Cmd::None},
    {Cmd::NetlistOut},
    {Cmd::NetlistCompare},
    {Cmd::PartCoords},
    {Cmd::None},
    {Cmd::Drc},
    {Cmd::DrcErase},
    {Cmd::None},
    {Cmd::Estimate},
    {Cmd::None},
    {Cmd::Exit},
};
constexpr E kEditMenu[] = {
    {Cmd::Undo},   {Cmd::Redo},         {Cmd::None},         {Cmd::Decide},
    {Cmd::Cancel}, {Cmd::None},         {Cmd::LayerSelect},  {Cmd::SelectSettings},
    {Cmd::None},   {Cmd::NumericInput}, {Cmd::Intersection}, {Cmd::None},
    {Cmd::Move},   {Cmd::JoinSplit},    {Cmd::Cut},          {Cmd::Copy},
    {Cmd::Paste},  {Cmd::Mirror},       {Cmd::Rotate},       {Cmd::DeleteElements},
    {Cmd::None},   {Cmd::PartSearch},
};
constexpr E kToolMenu[] = {
    {Cmd::RoundLand}, {Cmd::SquareLand}, {Cmd::Line},   {Cmd::Arc},        {Cmd::Pad},
    {Cmd::Text},      {Cmd::None},       {Cmd::Deform}, {Cmd::DeleteTool}, {Cmd::Parallel},
    {Cmd::Connect},   {Cmd::Change},     {Cmd::Fill},   {Cmd::None},       {Cmd::Multiple},
};
constexpr E kViewMenu[] = {
    {Cmd::ZoomTool},
    {Cmd::ZoomOut},
    {Cmd::Redraw},
    {Cmd::Previous},
    {Cmd::FitDrawing},
    {Cmd::FitBoard},
    {Cmd::None, "表示呼出", kRecall},
    {Cmd::None, "表示記憶", kStore},
    {Cmd::MirrorView},
    {Cmd::None},
    {Cmd::GridDialog},
    {Cmd::OnGrid},
    {Cmd::GridOrigin},
    {Cmd::None},
    {Cmd::Equipotential},
    {Cmd::Spacing},
    {Cmd::Coordinates},
    {Cmd::PinNumbers},
};
constexpr E kSettingsMenu[] = {
    {Cmd::RoundApertures}, {Cmd::SquareApertures}, {Cmd::Pads},
    {Cmd::Layers},         {Cmd::SwapPairs},       {Cmd::None},
    {Cmd::Libraries},      {Cmd::PartDelete},      {Cmd::None},
    {Cmd::Standard},
};
constexpr E kOptionMenu[] = {
    {Cmd::ToolBar},    {Cmd::Flat},          {Cmd::StatusBar},   {Cmd::CoordinateDisplay},
    {Cmd::Absolute},   {Cmd::None},          {Cmd::RClickMenu},  {Cmd::RClickBack},
    {Cmd::LongCursor}, {Cmd::NumericWindow}, {Cmd::ClickDelete}, {Cmd::None},
    {Cmd::English},
};
constexpr E kHelpMenu[] = {{Cmd::Help}, {Cmd::Version}};

constexpr MenuSpec kMenuBar[] = {
    {"ファイル(&F)", kFileMenu}, {"編集(&E)", kEditMenu},     {"ツール(&T)", kToolMenu},
    {"表示(&V)", kViewMenu},     {"設定(&S)", kSettingsMenu}, {"オプション(&O)", kOptionMenu},
    {"ヘルプ(&H)", kHelpMenu},
};

constexpr E kDrawSub[] = {{Cmd::RoundLand, "丸ランド"}, {Cmd::SquareLand, "角ランド"},
                          {Cmd::Line, "ライン"},        {Cmd::Arc, "円弧"},
                          {Cmd::Pad, "パット"},         {Cmd::Text, "文字列"}};
constexpr E kEditSub[] = {{Cmd::Deform, "変形"},
                          {Cmd::DeleteTool, "削除"},
                          {Cmd::Parallel, "平行線／中間線"},
                          {Cmd::Connect, "接続／伸縮／分割／角取"},
                          {Cmd::Change, "変更"},
                          {Cmd::Fill, "塗潰し／解除／窓抜き"}};
constexpr E kMultipleSub[] = {{Cmd::Multiple, "複数"},
                              {Cmd::Move, "移動"},
                              {Cmd::JoinSplit, "結合/分解/部品"},
                              {Cmd::Copy, "コピー"},
                              {Cmd::DeleteElements, "要素削除"},
                              {Cmd::Cut, "切取"},
                              {Cmd::Paste, "貼付"},
                              {Cmd::Mirror, "鏡像"},
                              {Cmd::Rotate, "回転"}};

constexpr E kContext[] = {
    {Cmd::Decide, "決定"},
    {Cmd::Cancel, "取消"},
    {Cmd::Undo, "元に戻す"},
    {Cmd::Redo, "元に戻すを戻す"},
    {Cmd::LayerSelect, "レイヤー"},
    {Cmd::SelectSettings, "選択/設定"},
    {Cmd::ZoomTool, "拡大"},
    {Cmd::ZoomOut, "縮小"},
    {Cmd::Redraw, "再表示"},
    {Cmd::Previous, "前回の表示"},
    {Cmd::FitDrawing, "全作画表示"},
    {Cmd::None, "表示呼出", kRecall},
    {Cmd::None, "表示記憶", kStore},
    {Cmd::MirrorView, "鏡像表示"},
    {Cmd::None},
    {Cmd::NumericInput, "数値入力"},
    {Cmd::Intersection, "交点/端点入力"},
    {Cmd::None, "作画", kDrawSub},
    {Cmd::None, "編集", kEditSub},
    {Cmd::None, "複数", kMultipleSub},
};

constexpr E kViewGesture[] = {
    {Cmd::ZoomTool, "拡大"},         {Cmd::ZoomOut, "縮小"},          {Cmd::Previous, "前回の表示"},
    {Cmd::FitDrawing, "全作画表示"}, {Cmd::FitBoard, "全体表示"},     {Cmd::Redraw, "再表示"},
    {Cmd::Recall1, "表示１"},        {Cmd::Recall2, "表示２"},        {Cmd::Recall3, "表示３"},
    {Cmd::Recall4, "表示４"},        {Cmd::None, "表示記憶", kStore}, {Cmd::MirrorView, "鏡像表示"},
    {Cmd::GridDialog, "グリッド"},
};
constexpr E kToolGesture[] = {
    {Cmd::LayerSelect, "レイヤー"},
    {Cmd::SelectSettings, "選択/設定"},
    {Cmd::RoundLand, "丸ランド"},
    {Cmd::SquareLand, "角ランド"},
    {Cmd::Line, "ライン"},
    {Cmd::Arc, "円弧"},
    {Cmd::Pad, "パット"},
    {Cmd::Text, "文字列"},
    {Cmd::Deform, "変形"},
    {Cmd::DeleteTool, "削除"},
    {Cmd::Parallel, "平行線／中間線"},
    {Cmd::Connect, "接続／伸縮／分割／角取"},
    {Cmd::Change, "変更"},
    {Cmd::Fill, "塗潰し／解除／窓抜き"},
    {Cmd::Multiple, "複数"},
    {Cmd::Move, "移動"},
    {Cmd::JoinSplit, "結合/分解/部品"},
};
constexpr E kEditGesture[] = {
    {Cmd::Undo, "元に戻す"},
    {Cmd::Redo, "元に戻すを戻す"},
    {Cmd::NumericInput, "数値入力"},
    {Cmd::Intersection, "交点/端点入力"},
    {Cmd::Move, "移動"},
    {Cmd::Mirror, "鏡像"},
    {Cmd::Rotate, "回転"},
    {Cmd::Copy, "コピー"},
    {Cmd::DeleteElements, "要素削除"},
    {Cmd::Cut, "切取"},
    {Cmd::Paste, "貼付"},
    {Cmd::Spacing, "間隔測定"},
    {Cmd::Equipotential, "等電位"},
    {Cmd::Coordinates, "座標"},
    {Cmd::PinNumbers, "ピン番号表示"},
    {Cmd::PartSearch, "部品検索"},
};

// Keys: letters and digits, and Ctrl + letter. Ctrl+S and the keys G, B and I of the multiple
// tool have rules of their own in the editor.
constexpr KeyBinding kKeys[] = {
    {'C', true, Cmd::Copy, Cmd::Copy},
    {'V', true, Cmd::Paste, Cmd::Paste},
    {'X', true, Cmd::Cut, Cmd::Cut},
    {'Z', true, Cmd::Undo, Cmd::Undo},
    {'Y', true, Cmd::Redo, Cmd::Redo},
    {'F', true, Cmd::PartSearch, Cmd::PartSearch},
    {'1', false, Cmd::Recall1, Cmd::Memory1Button},
    {'2', false, Cmd::Recall2, Cmd::Memory2Button},
    {'3', false, Cmd::Recall3, Cmd::Memory3Button},
    {'4', false, Cmd::Recall4, Cmd::Memory4Button},
    {'A', false, Cmd::FitDrawing, Cmd::FitDrawing},
    {'D', false, Cmd::Spacing, Cmd::Spacing},
    {'P', false, Cmd::Equipotential, Cmd::Equipotential},
    {'E', false, Cmd::Deform, Cmd::Deform},
    {'F', false, Cmd::Change, Cmd::Change},
    {'H', false, Cmd::Connect, Cmd::Connect},
    {'I', false, Cmd::Move, Cmd::Move},
    {'J', false, Cmd::GridDialog, Cmd::GridDialog},
    {'K', false, Cmd::DeleteTool, Cmd::DeleteTool},
    {'L', false, Cmd::LayerSelect, Cmd::LayerSelect},
    {'M', false, Cmd::Mirror, Cmd::Mirror},
    {'N', false, Cmd::Line, Cmd::Line},
    {'Q', false, Cmd::Pad, Cmd::Pad},
    {'R', false, Cmd::Rotate, Cmd::Rotate},
    {'S', false, Cmd::NumericInput, Cmd::NumericInput},
    {'T', false, Cmd::Intersection, Cmd::Intersection},
    {'W', false, Cmd::Multiple, Cmd::Multiple},
    {'X', false, Cmd::Text, Cmd::Text},
    {'Y', false, Cmd::SelectSettings, Cmd::SelectSettings},
    {'Z', false, Cmd::ZoomTool, Cmd::ZoomTool},
};

constexpr Cmd kToolBar[] = {
    Cmd::None,
    Cmd::LayerSelect,
    Cmd::SelectSettings,
    Cmd::None,
    Cmd::RoundLand,
    Cmd::SquareLand,
    Cmd::Line,
    Cmd::Arc,
    Cmd::Pad,
    Cmd::Text,
    Cmd::None,
    Cmd::Deform,
    Cmd::DeleteTool,
    Cmd::Parallel,
    Cmd::Connect,
    Cmd::Change,
    Cmd::Fill,
    Cmd::None,
    Cmd::Multiple,
    Cmd::Move,
    Cmd::JoinSplit,
    Cmd::Cut,
    Cmd::Copy,
    Cmd::Paste,
    Cmd::Mirror,
    Cmd::Rotate,
    Cmd::None,
    Cmd::NumericInput,
    Cmd::Intersection,
    Cmd::None,
    Cmd::ZoomTool,
    Cmd::ZoomOut,
    Cmd::PreviousButton,
    Cmd::FitDrawingButton,
    Cmd::Memory1Button,
    Cmd::Memory2Button,
    Cmd::Memory3Button,
    Cmd::Memory4Button,
    Cmd::GridDialog,
};
static_assert(std::size(kToolBar) == 39);

}  // namespace

std::string CommandShortcut(Cmd id) {
    // Keys with rules of their own in the editor.
    static constexpr struct {
        Cmd id;
        std::string_view key;
    } kOwnKeys[] = {
        {Cmd::LayerItem, "L"}, {Cmd::ApertureItem, "Y"},     {Cmd::ZoomOut, "PgUp"},
        {Cmd::Save, "Ctrl+S"}, {Cmd::Decide, "Enter"},       {Cmd::Previous, "Home"},
        {Cmd::Help, "F1"},     {Cmd::DeleteElements, "Del"}, {Cmd::Cancel, "Esc"},
    };
    for (const auto& k : kOwnKeys)
        if (k.id == id) return std::string(k.key);
    for (const KeyBinding& k : kKeys)
        if (k.command == id) return (k.control ? "Ctrl+" : "") + std::string(1, k.key);
    return {};
}

std::span<const MenuSpec> MenuBar() {
    return kMenuBar;
}
std::span<const MenuEntry> ContextMenu() {
    return kContext;
}
std::span<const MenuEntry> ViewGestureMenu() {
    return kViewGesture;
}
std::span<const MenuEntry> ToolGestureMenu() {
    return kToolGesture;
}
std::span<const MenuEntry> EditGestureMenu() {
    return kEditGesture;
}
std::span<const Cmd> ToolBarLayout() {
    return kToolBar;
}
std::span<const KeyBinding> KeyBindings() {
    return kKeys;
}

bool IsToolChoice(Cmd id) {
    return (InRange(id, Cmd::RoundLand, Cmd::Multiple) && !CommandCaption(id).empty()) ||
           id == Cmd::Intersection || id == Cmd::ZoomTool;
}

bool IsOptionItem(Cmd id) {
    return InRange(id, Cmd::StatusBar, Cmd::NumericWindow) || id == Cmd::OnGrid ||
           id == Cmd::ClickDelete || id == Cmd::English;
}

const KeyBinding* FindKey(int key, bool control) {
    for (const KeyBinding& k : kKeys)
        if (k.key == key && k.control == control) return &k;
    return nullptr;
}

}  // namespace zevo
