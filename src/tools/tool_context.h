// The tool framework of the board editor: tool states of seven operations grouped into twenty
// modes, and the context a tool works on. The context is made of pieces, each with its own
// interface: the mode stack with its status hints and saved tool-bar states (`modes`), the
// selection set (`selection`: elements lifted out of the document while their removal waits in
// pending undo steps), the exclusive-or overlay of the drawing tools (`overlay`) and what the
// drawing tools keep between operations (`drawing`); so a tool shows which of them it uses.
//
// Everything here is free of the window system. The shell feeds mouse events in client pixels,
// keys and routed commands into a ToolContext and answers its few requests through ToolHost.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "board/file/settings.h"
#include "board/model/board.h"
#include "board/undo/undo.h"
#include "tools/command_ids.h"
#include "tools/deform_work.h"
#include "tools/drawing_dialogs.h"
#include "tools/drawing_settings.h"
#include "tools/fill_work.h"
#include "view/framebuffer.h"
#include "view/view_state.h"

namespace zevo {

class ToolContext;

// What the tools ask of the window around them.
class ToolHost {
  public:
    virtual ~ToolHost() = default;
    virtual void Beep() = 0;  // the plain warning sound
    // A message box with an OK button (UTF-8).
    virtual void Message(std::string_view) {}
    // A message box with Yes and No (UTF-8): true for Yes. A window without boxes answers No.
    virtual bool AskYesNo(std::string_view) { return false; }
    virtual void ShowHint(int stringId) = 0;  // status bar text
    // Menu-bar items 98 (layer) and 99 (aperture) follow tool-bar buttons 300 and 301.
    virtual void SetDefinitionItemsEnabled(bool layerItem, bool apertureItem) = 0;
    // The Close item of the system menu; greyed while a nested frame is open.
    virtual void SetCloseEnabled(bool enabled) = 0;
    // The tool-bar states of the context changed; the shell shows them.
    virtual void ToolBarChanged() = 0;
    // The whole view must be drawn again.
    virtual void Repaint() = 0;
    // What the tool drew into the screen buffer is shown at once (before a dialog opens over it).
    virtual void ShowScreenNow() {}
    // Frames were popped and their tool-bar states restored: buttons that follow something
    // outside the tools (the stored views, the clipboard) are brought up to date.
    virtual void FramesPopped() {}

    // A dialog over its model (tools/dialog.h): true when it took its values. A window without
    // dialogs answers as if each was closed at once.
    virtual bool Run(DialogModel&) { return false; }
    // An element was placed or removed: the document is modified.
    virtual void DocumentModified() {}
    // The current layer or a definition changed: menu-bar items 98 and 99 show it.
    virtual void DefinitionsChanged() {}
    // The right-click menu or right-click-goes-back option is on (the line tool's hint).
    virtual bool RightClickOptionsOn() const { return false; }
    // The delete tool removes at the click without asking (the option "クリックで削除"), and the
    // tool's settings dialog changes it.
    virtual bool DeleteOnClick() const { return false; }
    virtual void SetDeleteOnClick(bool) {}
    // The selection settings ("選択方法設定", "変形方法設定"); a change is kept in the settings.
    virtual SelectionSettings SelectionOptions() const { return {}; }
    virtual void SetSelectionOptions(const SelectionSettings&) {}
    // The hourglass while a click works its way through the document.
    virtual void WaitCursor(bool) {}
    // The stroke font of the text tool.
    virtual std::filesystem::path FontFile() const { return {}; }
    // The coordinate display's reference ("基準座標設定"): relative to the grid origin.
    virtual bool CoordinatesRelative() const { return false; }
    virtual void SetCoordinatesRelative(bool) {}
    // The clipboard in the editor's own format, shared with the other running copies: false
    // when it could not be set, nothing when it holds none.
    virtual bool SetClipboard(std::string_view) { return false; }
    virtual std::optional<std::string> Clipboard() { return std::nullopt; }
    // Aperture, height and pitch (negative: mirrored) of a text inserted into a part
    // ("InsertText").
    virtual TextDefaults InsertTextDefaults() const { return {}; }
    // The file an entry of the library file list names.
    virtual std::filesystem::path LibraryPath(std::string_view entry) const {
        return std::filesystem::path(entry);
    }
    // The file a change of that library is written to; nothing when there is none to write.
    virtual std::optional<std::filesystem::path> LibraryWritePath(std::string_view entry) const {
        return std::filesystem::path(entry);
    }
};

// What a tool operation did, so that the shell and the tests can tell. When one operation does
// several things the first of this list that applies is told: Refused, Committed, Reverted,
// Pending, PopFrame, NextState, Handled.
enum class ToolResult : uint8_t {
    Ignored,    // nothing to do for this input in this state
    Handled,    // taken: a dialog, a preview or a setting changed, the document did not
    Refused,    // refused with a beep; nothing changed
    Pending,    // the document changed by a pending step of the operation in progress
    Committed,  // the document changed by one committed undo step
    Reverted,   // pending changes were taken back, or an undo step undone
    NextState,  // the tool went on to another of its states (a frame may have been pushed)
    PopFrame,   // the tool closed its frame (or frames) without changing the document
};

// A tool state: seven operations, in the order the dispatcher knows them.
using ToolOp = ToolResult (*)(ToolContext&);
struct ToolState {
    ToolOp onHover;
    ToolOp onClick;
    ToolOp onDragStart;
    ToolOp onPointInput;
    ToolOp onCommand;
    ToolOp onBack;
    ToolOp onReset;
};
// The shared do-nothing operation of the empty slots (Ignored).
ToolResult NoOp(ToolContext&);

inline constexpr int kModeCount = 20;
inline constexpr int kEditingModes = 13;  // modes 0..12 are tools; 13..19 nest on top of one
inline constexpr int kFrameCount = 10;

enum ToolMode : int32_t {
    kModeRoundLand = 0,
    kModeSquareLand,
    kModeLine,
    kModeArc,
    kModePad,
    kModeText,
    kModeDeform,
    kModeDelete,
    kModeParallel,
    kModeConnect,
    kModeChange,
    kModeFill,
    kModeMultiple,
    kModeIntersection,
    kModeZoom,
    kModeGridOrigin,
    kModeSpacing,
    kModeCoordinates,
    kModeEquipotential,
    kModePinNumbers,
};

struct ModeInfo {
    Cmd start;      // the command (menu item, tool-bar button) that starts the mode
    int states;     // number of states
    int startHint;  // string id of the first state's hint
};
extern const std::array<ModeInfo, kModeCount> kModes;

// The states of every mode; a mode's first state is the one entered when it starts.
using ModeTable = std::array<std::span<const ToolState>, kModeCount>;
// Placeholder states for modes whose tools are not written yet: the first state of an editing
// tool starts the tool on Esc and undoes the last step on Backspace; a nested mode closes on Esc;
// any later state cancels the selection on Esc.
const ModeTable& DefaultModeTable();

// The saved states of the tool-bar buttons (Cmd::LayerSelect .. Cmd::GridDialog) and their bits.
enum ToolBarBits : uint8_t { kTbEnabled = 1, kTbChecked = 2, kTbSeparator = 4 };
using ToolBarStates = std::array<uint8_t, kToolBarIds>;
// A slot of the tool bar that holds no button.
bool IsToolBarSeparator(size_t slot);

// The buttons that start something new: greyed while a tool is busy or a view tool is open.
inline constexpr Cmd kToolChoiceButtons[] = {
    Cmd::RoundLand, Cmd::SquareLand, Cmd::Line,       Cmd::Arc,       Cmd::Pad,
    Cmd::Text,      Cmd::Deform,     Cmd::DeleteTool, Cmd::Parallel,  Cmd::Connect,
    Cmd::Change,    Cmd::Fill,       Cmd::Multiple,   Cmd::JoinSplit, Cmd::Paste,
};

// The edit operations the commands route to the current tool state (`currentCommand`). The
// numbers are those the tools have always been told.
enum class EditOp : int32_t {
    None = 0,
    LayerSelect = 1,
    SelectSettings = 2,
    Move = 3,
    JoinSplit = 4,
    DeleteElements = 5,
    Cut = 6,
    Copy = 7,
    Paste = 8,
    Mirror = 9,
    Rotate = 10,
    NumericInput = 11,
    Decide = 12,
    Join = 13,       // key G in the multiple tool: join without the dialog
    Split = 14,      // key B: split without the dialog
    MoveByKey = 15,  // key I: the move that the key started
};

// What the menu bar shows for the current definition.
enum DefKind : int32_t {
    kDefRoundLand = 0,
    kDefSquareLand,
    kDefLine,
    kDefArc,
    kDefPad,
    kDefText,
    kDefParallel,
    kDefSelection,
};

struct ModeFrame {
    int32_t mode = 0;
    int32_t hint = 0;
    int32_t stateIndex = 0;
    const ToolState* state = nullptr;
    ToolBarStates toolBar{};
};

enum KeyFlags : uint32_t { kKeyShift = 1, kKeyCtrl = 2, kKeyLeft = 4 };

struct ReferenceLine {
    Point a, b;
    bool shown = false;
};

// The mode stack: up to ten frames, each a mode, its current state and hint, and the tool-bar
// states saved when the next frame was pushed; the 38 tool-bar states as shown; the kind of the
// current definition. It tells the host of each change of hint, tool bar and Close item.
class ModeStack {
  public:
    ModeStack(ToolHost& host, const ModeTable& table);
    ModeStack(const ModeStack&) = delete;
    ModeStack& operator=(const ModeStack&) = delete;

    // Enters the mode's first state on the bottom frame, closing every nested frame.
    void enterTool(int mode, int hint);
    // The common start of an editing tool (modes 0..12): its check mark, the buttons that do not
    // apply greyed, the definition kind, then enterTool with its first hint.
    void startTool(int mode);
    // Another state of the top frame's mode.
    bool gotoState(int k, int hint);
    // A new frame over the top one: a state of the same mode, or the first state of a mode.
    bool pushState(int k, int hint);
    bool pushMode(int mode, int hint);
    // Closes n frames (never the bottom one) and brings back the tool-bar states saved with the
    // frame that is on top now; true when only the bottom frame is left.
    bool popModes(int n);
    int depth() const { return top_ + 1; }
    const ModeFrame& frame() const { return frames_[size_t(top_)]; }
    int mode() const { return frame().mode; }
    // The state the dispatcher runs.
    const ToolState* current() const { return current_; }
    // Makes s the state the dispatcher runs without touching the frames (the tool's reset,
    // run next, enters it properly).
    void setCurrent(const ToolState* s) { current_ = s; }
    const ToolState* firstState(int mode) const;
    const ToolState* stateOf(int mode, int k) const;
    int32_t currentDefKind = kDefLine;

    // The 38 tool-bar states as shown, by ToolBarSlot.
    ToolBarStates toolBar{};
    uint8_t& toolBarState(Cmd id) { return toolBar[ToolBarSlot(id)]; }
    bool toolBarEnabled(Cmd id) const { return toolBar[ToolBarSlot(id)] & kTbEnabled; }
    void setToolBarEnabled(Cmd id, bool on);
    void setToolBarChecked(Cmd id, bool on);

  private:
    void refreshDefinitionItems();

    ToolHost& host_;
    const ModeTable& table_;
    std::array<ModeFrame, kFrameCount> frames_{};
    int top_ = 0;
    const ToolState* current_ = nullptr;
};

// The selection set: elements lifted out of the document into `list` while their removal waits
// in pending undo steps, the element attached to the cursor and the reference line. Confirming
// commits the steps; cancelling reverts them. Nothing lifted is ever lost: a selection that goes
// away with something still lifted puts it back.
class Selection {
  public:
    Selection(Board& board, UndoHistory& history, const ViewState& view, ToolHost& host,
              Framebuffer* const& screen);
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection();

    ListNode list;
    std::vector<UndoStep*> pending;
    container* attached = nullptr;
    // Where the attached element of the intersection input stood.
    ListNode* attachedSuccessor = nullptr;
    ReferenceLine referenceLine;
    bool empty() const { return list.emptyList(); }
    size_t count() const;

    // Moves e from the document to the end of the selection, recording it in `step`.
    void lift(container* e, UndoStep* step);
    // Takes everything touching or inside the box; the step, or none when nothing was taken.
    UndoStep* rectangleSelect(Point corner1, Point corner2);
    // A pending step, or its destruction when it holds nothing.
    void addPending(UndoStep* step);
    // The common click: pick at `at`, widen with `unit`, lift, highlight. False (after a beep)
    // when nothing was hit.
    bool takePicked(Point at, container* (*unit)(container*));
    // Draws the selection, the attached element and the reference line in the highlight pen
    // (`show`), or in black to take the highlight away.
    void highlight(bool show = true);
    // Black over the highlight, then the lifted elements again in their layer colours.
    void eraseHighlight();
    // Everything lifted goes back where it stood, copies are destroyed, a repaint is asked for.
    void restore();
    // Confirms: the pending steps become undo steps in the order they were taken.
    void commit();
    // Confirms the pending steps as one undo step (one operation, one step). False when there
    // was none.
    bool commitAsOne();
    // Empties the selection without touching the elements (the undo steps own the lifted ones).
    void clear();

  private:
    void draw(Pen pen);
    // The pending steps reverted (what they took out goes back), the copies destroyed.
    void revertPending();

    Board& board_;
    UndoHistory& history_;
    const ViewState& view_;
    ToolHost& host_;
    Framebuffer* const& screen_;
};

// The drawing tools' overlay: unlinked elements drawn over the screen with exclusive-or (twice
// leaves no trace): what follows the cursor (the land, line and pad tools), the rubber segment of
// a chain, the arc being drawn; and the cursor elements put aside while the intersection input
// is open. The lists change only while the overlay is off the screen.
class Overlay {
  public:
    Overlay(Board& board, const ViewState& view, Framebuffer* const& screen);
    Overlay(const Overlay&) = delete;
    Overlay& operator=(const Overlay&) = delete;
    ~Overlay();

    std::vector<drawn*> cursorPreview, lineChain, arcPreview, putAside;
    // Scratch buffer of the land ghosts (the screen's size).
    Framebuffer* scratch = nullptr;
    // A rectangle rubber band from `bandAnchor` to `bandCursor` (client pixels), while `band`;
    // with `bandLine` a rubber line between the two instead.
    bool band = false;
    bool bandLine = false;
    PixelPoint bandAnchor{}, bandCursor{};

    bool shown() const { return shown_; }
    // Counts every drawing or erasing of the overlay (the screen changed when it moved on).
    uint64_t toggles() const { return toggles_; }
    void show();
    void hide();
    // The screen was copied from the back buffer: the overlay is gone from it.
    void lost() { shown_ = false; }
    // Hides the overlay and recycles its lists (not putAside).
    void clear();

  private:
    void toggle();

    Board& board_;
    const ViewState& view_;
    Framebuffer* const& screen_;
    bool shown_ = false;
    uint64_t toggles_ = 0;
};

// What the drawing tools keep between operations.
struct DrawingState {
    DrawingState() = default;
    DrawingState(const DrawingState&) = delete;
    DrawingState& operator=(const DrawingState&) = delete;

    // The settings the tools draw with; the owner may point them elsewhere.
    DrawingSettings ownSettings;
    DrawingSettings* settings = &ownSettings;
    // The last point placed: the origin of relative numeric input.
    Point lastPoint;
    bool arcReversed = false;
    // The centre cross of an arc drawn by clicks sits in the buffers until the next repaint.
    bool arcCross = false;
    NumericInputModel::Memory numericMemory;
    // The line groups of the connect tool are stretched (Shift was held when the first drag
    // began) rather than joined.
    bool groupStretch = false;
};

// The bundle a tool works on: the document, the view and the host, the input as the operations
// read it, and the pieces above. The dispatch of input to the current state is here.
class ToolContext {
  public:
    // A drag starts once the cursor has left the press point by more than this in x or y.
    static constexpr int kDragPixels = 4;

    ToolContext(Board& board, UndoHistory& history, ViewState& view, ToolHost& host,
                const ModeTable& table = DefaultModeTable());
    ToolContext(const ToolContext&) = delete;
    ToolContext& operator=(const ToolContext&) = delete;

    Board& board;
    UndoHistory& history;
    ViewState& view;
    ToolHost& host;
    // Where the highlight is drawn; none in a context without a screen.
    Framebuffer* screen = nullptr;
    // The back buffer: what is drawn there stays until the next repaint.
    Framebuffer* back = nullptr;

    ModeStack modes;
    Selection selection;
    Overlay overlay;
    DrawingState drawing;
    // The deform under way (the deform tool's own).
    DeformWork deform;
    // The multiple tool's own: the first item was picked with Ctrl (the others join it), and
    // the point the floating items hang on.
    struct MultipleWork {
        bool attach = false;
        Point floatRef;
    } multiple;
    // The outline the fill tool is gathering.
    FillWork fill;

    // --- input, as the operations read it
    int cursorX = 0, cursorY = 0;  // client pixels
    uint32_t keys = 0;
    Point inputPoint;
    EditOp currentCommand = EditOp::None;
    // The cursor in board coordinates without grid snapping (what picking uses).
    Point cursorWorld() const { return view.ScreenToWorld(cursorX, cursorY); }
    // The first element under p on a layer open for editing, within the pick radius.
    container* pickElement(Point p) const;

    // --- tool choice: the first state of another tool, entered through its reset; false while
    // a nested frame is open.
    bool selectTool(const ToolState* firstState);
    bool selectToolMode(int mode) { return selectTool(modes.firstState(mode)); }
    // The current state takes left-button drags (the mouse machine starts onDragStart): it has
    // an operation for the drag's start.
    bool acceptsDrags() const { return modes.current()->onDragStart != NoOp; }
    // Where the left button went down (client pixels): the anchor of a drag.
    int pressX = 0, pressY = 0;

    // --- dispatch (the shell calls these). Each returns what the tool did, and keeps it in
    // lastResult().
    ToolResult mouseMove(int x, int y, uint32_t keyFlags);
    void leftDown(int x, int y, uint32_t keyFlags);
    ToolResult leftUp(int x, int y, uint32_t keyFlags);
    ToolResult pointInput(Point p);
    // Runs one operation of the current state (the shell's mouse machine calls onHover, onClick
    // and onDragStart through this).
    ToolResult run(ToolOp ToolState::*op) { return call(modes.current()->*op); }
    // Esc, and the menu item "取消".
    ToolResult escape();
    // Backspace and the menu item "元に戻す"; false when the rule lets nothing happen.
    bool backspace();
    // Routes an edit operation when its tool-bar button allows it; false when not routed.
    bool command(EditOp op);
    bool backspaceRoutes() const;
    bool commandRoutes(EditOp op) const;
    bool dragging() const { return dragging_; }
    // What the last operation run through this context did.
    ToolResult lastResult() const { return last_; }

    // Cancels the operation in progress: the selection is restored and the frames close.
    void cancel();

  private:
    ToolResult call(ToolOp op) { return last_ = op ? op(*this) : ToolResult::Ignored; }

    bool leftHeld_ = false;
    bool dragging_ = false;
    ToolResult last_ = ToolResult::Ignored;
    int downX_ = 0, downY_ = 0;
};

// Every operation hides the exclusive-or overlay before it changes what the overlay shows and
// draws it again afterwards, so a moved or removed preview leaves no trace on the screen.
template <ToolOp F>
ToolResult Overlaid(ToolContext& c) {
    c.overlay.hide();
    const ToolResult r = F(c);
    c.overlay.show();
    return r;
}

// --- units of picking
// The outermost group holding e, or e.
container* topItem(container* e);
// The unit of Ctrl-picking in deform and similar tools.
container* editUnit(container* e);
// The unit of Ctrl-picking in the delete tool.
container* deleteUnit(container* e);

// A land, line, arc or rectangle on a layer open for editing.
bool OnActiveLayer(const Board& board, const drawn* e);
// The first element, in document order and depth first through groups, that the point hits.
container* PickElement(const Board& board, Point p, double tolerance);

}  // namespace zevo
