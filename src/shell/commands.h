// The editor's commands as data: identifiers, captions, the menu bar, the tool bar, the context
// and gesture menus. The windows are built from these tables, so the Qt front end and the tests
// see the same menus.
#pragma once

#include <span>
#include <string_view>

namespace zevo {

// Command identifiers (the menu, the tool bar and the keys all send these).
enum CommandId : int {
    kCmdZoomInKey = 97,  // Page Down
    kCmdLayerItem = 98,  // the menu-bar items of the current definition
    kCmdApertureItem = 99,
    kCmdVersion = 109,
    kCmdLayerSelect = 300,
    kCmdSelectSettings = 301,
    kCmdRoundLand = 303,
    kCmdSquareLand,
    kCmdLine,
    kCmdArc,
    kCmdPad,
    kCmdText,
    kCmdDeform = 310,
    kCmdDeleteTool,
    kCmdParallel,
    kCmdConnect,
    kCmdChange,
    kCmdFill,
    kCmdMultiple = 317,
    kCmdMoveItem,
    kCmdJoinSplitItem,
    kCmdCutItem,
    kCmdCopyItem,
    kCmdPasteItem,
    kCmdMirrorItem,
    kCmdRotateItem,
    kCmdNumericInput = 326,
    kCmdIntersection,
    kCmdZoomTool = 329,
    kCmdZoomOut,
    kCmdPreviousView,
    kCmdFitDrawingButton,
    kCmdMemory1Button,  // 333..336
    kCmdGridDialog = 337,
    kCmdNew = 400,
    kCmdOpen,
    kCmdOpenInNewCopy,
    kCmdSaveAs,
    kCmdSave,
    kCmdSaveOldFormat,
    kCmdPrintCheck,
    kCmdPrintArtwork,
    kCmdGerberOut,
    kCmdGerberIn,
    kCmdHoleOut,
    kCmdNetlistOut,
    kCmdNetlistCompare,
    kCmdPartCoords,
    kCmdDrc,
    kCmdDrcErase,
    kCmdExit,
    kCmdDecideItem,
    kCmdUndo,
    kCmdRedo,
    kCmdStatusBar,
    kCmdCoordinateDisplay,
    kCmdAbsolute,
    kCmdToolBar,
    kCmdFlat,
    kCmdRClickMenu,
    kCmdRClickBack,
    kCmdLongCursor,
    kCmdMirrorView,
    kCmdNumericWindow,
    kCmdRedraw,
    kCmdFitDrawing,
    kCmdFitBoard,
    kCmdPrevious,
    kCmdEquipotential,
    kCmdSpacing,
    kCmdCoordinates,
    kCmdPinNumbers,
    kCmdOnGrid,
    kCmdGridOrigin,
    kCmdRoundApertures,
    kCmdSquareApertures,
    kCmdPads,
    kCmdLayers,
    kCmdLibraries,
    kCmdSwapPairs,
    kCmdPartDelete,
    kCmdStandard,
    kCmdPartSearch,
    kCmdDeleteElements = 450,
    kCmdHelp,
    kCmdClickDelete,
    kCmdEstimate,
    kCmdRecall1 = 461,  // 461..464
    kCmdStore1 = 471,   // 471..474
    kCmdCancel = 499,
};

// The caption of a command in the menu bar (and the tool tip of its button); empty when the
// identifier is unknown.
std::string_view CommandCaption(int id);
// The key that gives the command, as menus show it beside the caption ("Ctrl+S", "Del", "Z"),
// or empty. The keys themselves are the editor's (Editor::keyDown, Editor::character).
std::string_view CommandShortcut(int id);

// A menu as data: entries in order; id 0 is a separator; a submenu has id -1 and its entries.
struct MenuEntry {
    int id;
    std::string_view caption;  // empty: the command's own caption
    std::span<const MenuEntry> submenu = {};
};
struct MenuSpec {
    std::string_view title;
    std::span<const MenuEntry> entries;
};

// The menu bar, in order; items 98 and 99 follow as menu-bar items of their own.
std::span<const MenuSpec> MenuBar();
// The menu of a right click, and the three menus of right-button drags.
std::span<const MenuEntry> ContextMenu();
std::span<const MenuEntry> ViewGestureMenu();
std::span<const MenuEntry> ToolGestureMenu();
std::span<const MenuEntry> EditGestureMenu();

// The tool bar: 39 entries, 0 for a separator. A button's image is number id - 300.
std::span<const int> ToolBarLayout();

}  // namespace zevo
