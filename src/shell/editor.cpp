#include "shell/editor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "board/file/settings_document.h"
#include "board/model/intern.h"
#include "text/cp932.h"
#include "text/language.h"
#include "text/strings.h"
#include "tools/drawing_tools.h"
#include "tools/view_tools.h"
#include "view/board_renderer.h"

namespace zevo {

namespace {

constexpr int kMaxFoundParts = 8;

std::string Format(const char* fmt, auto... args) {
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

// Items enabled only when idle (the file, output, check, bar, option and settings items).
bool IdleOnly(Cmd id) {
    return InRange(id, Cmd::New, Cmd::Exit) || InRange(id, Cmd::StatusBar, Cmd::NumericWindow) ||
           InRange(id, Cmd::RoundApertures, Cmd::PartSearch) || id == Cmd::ClickDelete ||
           id == Cmd::Estimate || id == Cmd::English;
}

bool IsPart(const container* c) {
    if (c->kind != kGroup) return false;
    const group* g = AsGroup(c);
    const std::string_view type = View(g->type);
    return !type.empty() && type[0] != ' ' && g->ext && g->ext->kind == 2;
}

void CollectParts(const ListNode& head, std::string_view number, std::vector<const group*>& out) {
    for (container* c : Items(head)) {
        if (out.size() >= size_t(kMaxFoundParts)) return;
        if (c->kind != kGroup) continue;
        if (IsPart(c) && View(AsGroup(c)->reference) == number) out.push_back(AsGroup(c));
        CollectParts(AsGroup(c)->members, number, out);
    }
}

}  // namespace

std::string VersionLine(int major, int minor, int patch, int build) {
    if (build != 0) return Format("ZEVO Version %d.%d.%d.%d", major, minor, patch, build);
    if (patch != 0) return Format("ZEVO Version %d.%d.%d", major, minor, patch);
    return Format("ZEVO Version %d.%d", major, minor);
}

Editor::Editor(Host& h, Paths p) : host(h), paths(std::move(p)), history(doc.board), mouse_(*this) {
    ResetToBuiltInDefaults(doc.board);
    tools = std::make_unique<ToolContext>(doc.board, history, view, static_cast<ToolHost&>(*this),
                                          EditorModeTable());
    tools->screen = &screen_;
    tools->back = &back_;
    // The drawing tools
    tools->overlay.scratch = &scratch_;
    tools->drawing.settings = &drawing;
    view.SetBoardSize(doc.board.sizeX, doc.board.sizeY);
    resize(view.clientWidth, view.clientHeight);
    initialToolBar();
}

Editor::~Editor() = default;

// ------------------------------------------------------------------ start-up and shutdown

void Editor::initialToolBar() {
    for (size_t slot = 0; slot < size_t(kToolBarIds); ++slot) {
        if (IsToolBarSeparator(slot)) continue;
        const Cmd id = ToolBarCmd(slot);
        const bool off = (InRange(id, Cmd::Move, Cmd::Rotate) && id != Cmd::JoinSplit) ||
                         (id == Cmd::Text && !fontAvailable) ||
                         (id == Cmd::PreviousButton && !view.previousAvailable()) ||
                         (InRange(id, Cmd::Memory1Button, Cmd::Memory4Button) &&
                          !view.memoryAvailable(Ordinal(Cmd::Memory1Button, id)));
        tools->modes.setToolBarEnabled(id, !off);
    }
}

void Editor::startUp(std::span<const std::string> arguments) {
    paths.EnsureSettingsFile();
    options = LoadOptions(paths.settingsFile());
    history.SetUndoLimit(options.undoneMax);
    selection.deleteOnClick = options.fastDelete;
    selection.selectSingleByDefault = options.selectSingle;
    selection.anyAngleRotation = options.anyAngle;
    selection.deformEightAlways = options.deformAngle8;
    gerberChoices_.modern = holeChoices_.modern = options.modernOutput;
    drawing.squareAsRectangle = options.rectangle;
    drawing.arcByClicks = options.arcHit;
    drawing.lineEightAlways = options.lineAngle8;
    drawing.singleLineParallel = options.paraMode;
    drawing.textAperture = options.drawText.aperture;
    drawing.textHeight = options.drawText.height;
    drawing.textPitch = std::fabs(options.drawText.pitch);
    drawing.textMirror = options.drawText.pitch < 0;
    fontAvailable = fs::exists(paths.fontFile());
    resetDocument(doc.board);
    initialToolBar();
    // The line tool is the tool of a new editor.
    tools->modes.startTool(kModeLine);
    // A new document is "untitled.pcb" in the folder of the last document (the file dialogs
    // start there too); no file holds it yet.
    const fs::path untitled = fs::path(options.fileName).parent_path() /
                              fs::path(std::u8string(kUntitledName.begin(), kUntitledName.end()));
    doc.path = untitled;
    doc.neverSaved = true;
    updateTitle();

    const fs::path recovery = paths.recoveryFile();
    if (RecoveryExists(recovery)) {
        if (host.askYesNo(TableText(kMsgRecover))) {
            const std::string lastDocument = options.fileName;
            const OpenOutcome o = OpenDocumentFile(doc, *this, recovery);
            if (o.status == CommandStatus::kDone) {
                // The recovered work is saved nowhere yet: it is a new document, and the last
                // document stays the one the user had.
                doc.path = untitled;
                doc.neverSaved = true;
                doc.modified = true;
                options.fileName = lastDocument;
                saveOption(Option::kFileName);
            }
        }
        DeleteRecovery(recovery);
    } else if (!arguments.empty() && !arguments[0].empty()) {
        std::string name = arguments[0];
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
            name = name.substr(1, name.size() - 2);
        else if (!name.empty() && name.front() == '"')
            name.erase(0, 1);
        OpenDocumentFile(doc, *this, fs::path(name));
    }
    history.ClearHistory();
    view.TakeBoardGrid(doc.board);
    view.SetBoardSize(doc.board.sizeX, doc.board.sizeY);
    updateTitle();
}

void Editor::finishStartUp() {
    // The view starts on the middle of the board; a drawing, when there is one, is fitted.
    view.CentreOnBoard();
    view.FitDrawing(doc.board);
    view.previous = {};
    view.memories = {};
    initialToolBar();
    clipboardChanged();
    host.toolBarChanged();
    host.barsChanged();
    redraw();
}

bool Editor::close() {
    if (!ready_) return false;
    if (!AskToSaveChanges(doc, *this)) return false;
    // Only the text defaults go now (the window writes its position); the board sections of
    // the settings file are the template of every document and change only through 447.
    for (const Option o : {Option::kDrawText, Option::kInsertText}) {
        const SettingWrite w = WriteOption(paths.settingsFile(), options, o);
        if (w.status != kSettingFailed) continue;
        if (w.message) host.message(TableText(w.message));
        break;
    }
    return true;
}

void Editor::writeRecovery() {
    if (recoveryWritten_) return;
    recoveryWritten_ = true;
    SaveRecovery(doc.board, paths.recoveryFile());
}

bool Editor::openFile(const fs::path& file) {
    if (!ready_ || !idle()) {
        host.beep();
        return false;
    }
    // Unsaved work is never dropped for a request from outside.
    if (!AskToSaveChanges(doc, *this)) return false;
    const OpenOutcome o = OpenDocumentFile(doc, *this, file);
    if (o.status != CommandStatus::kDone) return false;
    afterDocumentChange(true);
    return true;
}

void Editor::clipboardChanged() {
    // Pasting is for the idle editor; a tool in progress keeps its buttons.
    if (!idle()) return;
    tools->modes.setToolBarEnabled(Cmd::Paste, host.clipboardData().has_value());
    host.toolBarChanged();
}

void Editor::displayChanged(int w, int h) {
    view.SetPickRadiusPixels(PickRadiusPixels(w, h));
}

// ------------------------------------------------------------------ DocumentUi

void Editor::resetDocument(Board& board) {
    ResetDocument(board, paths.settingsFile());
}

void Editor::documentNamed(const fs::path& path) {
    options.fileName = path.string();
    saveOption(Option::kFileName);
}

void Editor::requestBoardSize(Board& board) {
    runBoardSizeDialog();
}

void Editor::ShowHint(int stringId) {
    host.setStatusText(options.displayPosition ? 2 : 0, TableText(stringId));
}

// ------------------------------------------------------------------ drawing

void Editor::redraw() {
    host.setWaitCursor(true);
    RenderOptions o;
    o.boardEdge = true;
    o.memory = &repaintMemory_;
    // A long repaint shows what it has drawn so far.
    o.partialCopy = [this](const Framebuffer& part) {
        screen_ = part;
        host.updateScreenNow();
    };
    RenderBoard(doc.board, view, back_, o);
    view.invalid = false;
    host.setWaitCursor(false);
    refresh();
}

void Editor::refresh() {
    screen_ = back_;
    longCursorShown_ = false;
    // The view may have moved under the cursor: the crosshair goes to the grid point now there.
    snapCursorPixel();
    tools->selection.highlight(true);
    tools->overlay.lost();
    tools->overlay.show();
    if (options.longCursor) showCursor(true);
    host.updateScreen();
}

void Editor::showCursor(bool on) {
    if (on == longCursorShown_) return;
    DrawLongCursor(screen_, cursorPixelX_, cursorPixelY_);
    longCursorShown_ = on;
}

bool Editor::snapCursorPixel() {
    int x = cursorX_, y = cursorY_;
    view.SnapPixel(x, y);
    const bool moved = x != cursorPixelX_ || y != cursorPixelY_;
    cursorPixelX_ = x, cursorPixelY_ = y;
    return moved;
}

void Editor::refreshViewButtons() {
    tools->modes.setToolBarEnabled(Cmd::PreviousButton, view.previousAvailable());
    for (int n = 1; n <= 4; ++n)
        tools->modes.setToolBarEnabled(Nth(Cmd::Memory1Button, n), view.memoryAvailable(n));
}

void Editor::FramesPopped() {
    // The frame gave back the buttons as they were when it was pushed; the views and the
    // clipboard may have changed since.
    refreshViewButtons();
    if (idle()) tools->modes.setToolBarEnabled(Cmd::Paste, host.clipboardData().has_value());
    host.toolBarChanged();
}

void Editor::applyViewChange(bool changed) {
    if (!changed) return;
    refreshViewButtons();
    host.toolBarChanged();
    redraw();
    // The cursor stands over another point of the board now: what follows it goes there.
    lastGridPoint_ = {1e300, 1e300};
    hover(cursorX_, cursorY_, keyFlags_);
    host.updateScreen();
}

// ------------------------------------------------------------------ commands

uint8_t Editor::toolBarState(Cmd id) const {
    if (!IsToolBarCmd(id)) return 0;
    return tools->modes.toolBar[ToolBarSlot(id)];
}

MenuItemState Editor::menuState(Cmd id) const {
    MenuItemState s;
    if (IsToolBarCmd(id)) {
        const uint8_t b = toolBarState(id);
        return {bool(b & kTbEnabled), bool(b & kTbChecked)};
    }
    s.enabled = true;
    if (IdleOnly(id)) s.enabled = idle();
    switch (id) {
        case Cmd::LayerItem:
            s.enabled = tools->modes.toolBarEnabled(Cmd::LayerSelect);
            break;
        case Cmd::ApertureItem:
            s.enabled = tools->modes.toolBarEnabled(Cmd::SelectSettings);
            break;
        case Cmd::Decide:
            s.enabled =
                !idle() && (tools->modes.mode() == kModeLine || tools->modes.mode() == kModeDelete);
            break;
        case Cmd::Undo:
            s.enabled = tools->backspaceRoutes();
            break;
        case Cmd::Redo:
            s.enabled = idle() && history.CanRedo();
            break;
        case Cmd::Cancel:
            s.enabled = !idle();
            break;
        case Cmd::Previous:
            s.enabled = view.previousAvailable();
            break;
        case Cmd::OnGrid:
        case Cmd::GridOrigin:
            s.enabled = tools->modes.toolBarEnabled(Cmd::GridDialog);
            break;
        case Cmd::PinNumbers:
            s.checked = tools->modes.mode() == kModePinNumbers;
            break;
        case Cmd::Flat:
            s.enabled = idle() && options.toolBar;
            break;
        default:
            if (InRange(id, Cmd::Recall1, Cmd::Recall4))
                s.enabled = view.memoryAvailable(Ordinal(Cmd::Recall1, id));
    }
    switch (id) {
        case Cmd::StatusBar:
            s.checked = options.statusBar;
            break;
        case Cmd::ToolBar:
            s.checked = options.toolBar;
            break;
        case Cmd::CoordinateDisplay:
            s.checked = options.displayPosition;
            break;
        case Cmd::Absolute:
            s.checked = options.positionAbsolute;
            break;
        case Cmd::Flat:
            s.checked = options.toolBarFlat;
            break;
        case Cmd::RClickMenu:
            s.checked = options.rClickMenu;
            break;
        case Cmd::RClickBack:
            s.checked = options.rClickBsKey;
            break;
        case Cmd::LongCursor:
            s.checked = options.longCursor;
            break;
        case Cmd::MirrorView:
            s.checked = view.mirrored();
            break;
        case Cmd::NumericWindow:
            s.checked = options.digitInDlg;
            break;
        case Cmd::OnGrid:
            s.checked = view.onGrid();
            break;
        case Cmd::ClickDelete:
            s.checked = selection.deleteOnClick;
            break;
        case Cmd::English:
            s.checked = UiLanguage() == Language::English;
            break;
        default:
            break;
    }
    return s;
}

std::string Editor::layerItemText() const {
    return LayerItemText(doc.board, drawing);
}
std::string Editor::definitionItemText() const {
    return DefinitionItemText(doc.board, drawing, tools->modes.currentDefKind);
}

std::string Editor::title() const {
    std::string t =
        Format("%s %s", "Zevo",
               doc.path.empty() ? std::string(kUntitledName).c_str() : doc.path.string().c_str());
    if (doc.modified) t += " *";
    return t;
}

void Editor::chooseTool(int mode) {
    if (!idle()) return;
    tools->selectToolMode(mode);
}

void Editor::editOperation(EditOp code) {
    tools->command(code);
    keepDrawingOptions();
    refresh();
}

bool Editor::viewTool(int mode, int hint, std::initializer_list<Cmd> disable,
                      std::initializer_list<Cmd> enable, Cmd check, bool greyItems) {
    // The frame below keeps the buttons as they were, so leaving the view tool gives them back:
    // push first, then grey the tools.
    if (!tools->modes.pushMode(mode, hint)) {
        host.beep();
        return false;
    }
    for (Cmd id : kToolChoiceButtons) tools->modes.setToolBarEnabled(id, false);
    for (Cmd id : disable) tools->modes.setToolBarEnabled(id, false);
    for (Cmd id : enable) tools->modes.setToolBarEnabled(id, true);
    if (check != Cmd::None) tools->modes.setToolBarChecked(check, true);
    host.toolBarChanged();
    host.definitionItemsChanged();
    return true;
}

void Editor::afterDocumentChange(bool fit) {
    history.ClearHistory();
    view.TakeBoardGrid(doc.board);
    view.SetBoardSize(doc.board.sizeX, doc.board.sizeY);
    if (fit && !view.FitDrawing(doc.board)) {
        // Nothing drawn yet: the middle of the board, which may be smaller than the last one.
        view.SetScale(std::max(view.scale, view.BoardFitScale()));
        view.CentreOnBoard();
    }
    updateTitle();
    host.definitionItemsChanged();
    applyViewChange(true);
}

void Editor::keepDrawingOptions() {
    auto keep = [&](bool& option, bool value, Option key) {
        if (option == value) return;
        option = value;
        saveOption(key);
    };
    keep(options.rectangle, drawing.squareAsRectangle, Option::kRectangle);
    keep(options.arcHit, drawing.arcByClicks, Option::kArcMode);
    keep(options.lineAngle8, drawing.lineEightAlways, Option::kLineAngle8);
    keep(options.paraMode, drawing.singleLineParallel, Option::kParaMode);
    const TextDefaults text{drawing.textAperture, drawing.textHeight,
                            drawing.textMirror ? -drawing.textPitch : drawing.textPitch};
    if (!(text == options.drawText)) {
        options.drawText = text;
        saveOption(Option::kDrawText);
    }
}

void Editor::SetDeleteOnClick(bool on) {
    if (selection.deleteOnClick == on) return;
    selection.deleteOnClick = options.fastDelete = on;
    saveOption(Option::kDelete);
}

void Editor::SetSelectionOptions(const SelectionSettings& s) {
    SetDeleteOnClick(s.deleteOnClick);
    selection.multiClickDeselects = s.multiClickDeselects;
    auto keep = [&](bool& bit, bool& option, bool value, Option key) {
        if (bit == value) return;
        bit = option = value;
        saveOption(key);
    };
    keep(selection.selectSingleByDefault, options.selectSingle, s.selectSingleByDefault,
         Option::kSelectSingle);
    keep(selection.anyAngleRotation, options.anyAngle, s.anyAngleRotation, Option::kAnyAngle);
    keep(selection.deformEightAlways, options.deformAngle8, s.deformEightAlways,
         Option::kDeformAngle8);
}

void Editor::saveOption(Option option) {
    const SettingWrite w = WriteOption(paths.settingsFile(), options, option);
    if (w.status == kSettingFailed && w.message) host.message(TableText(w.message));
}

bool Editor::command(Cmd id) {
    if (!ready_) return false;
    if (IsToolBarCmd(id) && !(toolBarState(id) & kTbEnabled)) return false;
    switch (id) {
        case Cmd::ZoomInKey:
            applyViewChange(view.ZoomIn());
            return true;
        case Cmd::LayerItem:
        case Cmd::LayerSelect:
            editOperation(EditOp::LayerSelect);
            return true;
        case Cmd::ApertureItem:
        case Cmd::SelectSettings:
            editOperation(EditOp::SelectSettings);
            return true;
        case Cmd::Version: {
            host.showVersion(
                VersionLine(ZEVO_VERSION_MAJOR, ZEVO_VERSION_MINOR, ZEVO_VERSION_PATCH),
                "Copyright (C) 2026 the Zevo developers");
            return true;
        }
        case Cmd::RoundLand:
            chooseTool(kModeRoundLand);
            return true;
        case Cmd::SquareLand:
            chooseTool(kModeSquareLand);
            return true;
        case Cmd::Line:
            chooseTool(kModeLine);
            return true;
        case Cmd::Arc:
            chooseTool(kModeArc);
            return true;
        case Cmd::Pad:
            chooseTool(kModePad);
            return true;
        case Cmd::Text:
            chooseTool(kModeText);
            return true;
        case Cmd::Deform:
            chooseTool(kModeDeform);
            return true;
        case Cmd::DeleteTool:
            chooseTool(kModeDelete);
            return true;
        case Cmd::Parallel:
            chooseTool(kModeParallel);
            return true;
        case Cmd::Connect:
            chooseTool(kModeConnect);
            return true;
        case Cmd::Change:
            chooseTool(kModeChange);
            return true;
        case Cmd::Fill:
            chooseTool(kModeFill);
            return true;
        case Cmd::Multiple:
            chooseTool(kModeMultiple);
            return true;
        case Cmd::Move:
            editOperation(EditOp::Move);
            return true;
        case Cmd::JoinSplit:
            chooseTool(kModeMultiple);
            editOperation(EditOp::JoinSplit);
            return true;
        case Cmd::Cut:
            editOperation(EditOp::Cut);
            return true;
        case Cmd::Copy:
            editOperation(EditOp::Copy);
            return true;
        case Cmd::Paste:
            if (!idle()) return true;
            chooseTool(kModeMultiple);
            editOperation(EditOp::Paste);
            return true;
        case Cmd::Mirror:
            editOperation(EditOp::Mirror);
            return true;
        case Cmd::Rotate:
            editOperation(EditOp::Rotate);
            return true;
        case Cmd::NumericInput:
            editOperation(EditOp::NumericInput);
            return true;
        case Cmd::Intersection:
            OpenIntersectionInput(*tools);
            if (!viewTool(
                    kModeIntersection, kHintIntersection,
                    {Cmd::LayerSelect, Cmd::SelectSettings, Cmd::NumericInput, Cmd::Intersection},
                    {}, Cmd::Intersection, true))
                CancelIntersectionInput(*tools);  // the stack was full: the tool goes on as it was
            return true;
        case Cmd::ZoomTool:
            viewTool(kModeZoom, kHintZoom,
                     {Cmd::LayerSelect, Cmd::SelectSettings, Cmd::NumericInput, Cmd::Intersection,
                      Cmd::ZoomTool, Cmd::ZoomOut, Cmd::GridDialog},
                     {}, Cmd::ZoomTool, true);
            return true;
        case Cmd::ZoomOut:
            applyViewChange(view.ZoomOut());
            return true;
        case Cmd::PreviousButton:
        case Cmd::Previous:
            applyViewChange(view.PreviousView());
            return true;
        case Cmd::FitDrawingButton:
        case Cmd::FitDrawing:
            applyViewChange(view.FitDrawing(doc.board));
            return true;
        case Cmd::Memory1Button:
        case Cmd::Memory2Button:
        case Cmd::Memory3Button:
        case Cmd::Memory4Button:
            return command(Nth(Cmd::Recall1, Ordinal(Cmd::Memory1Button, id)));
        case Cmd::GridDialog:
            runGridDialog();
            return true;
        case Cmd::New:
            if (NewDocument(doc, *this) == CommandStatus::kDone) afterDocumentChange(true);
            return true;
        case Cmd::Open:
            if (OpenDocument(doc, *this).status == CommandStatus::kDone) afterDocumentChange(true);
            return true;
        case Cmd::OpenInNewCopy:
            OpenInNewEditor(doc, *this);
            return true;
        case Cmd::SaveAs:
            SaveDocumentAs(doc, *this);
            updateTitle();
            return true;
        case Cmd::Save:
            SaveDocument(doc, *this);
            updateTitle();
            return true;
        case Cmd::SaveOldFormat:
            // The command gives its own warning first.
            SaveInOldFormat(doc, *this);
            return true;
        case Cmd::GerberOut:
            gerberOutput();
            return true;
        case Cmd::GerberIn:
            gerberInput();
            return true;
        case Cmd::HoleOut:
            holeOutput();
            return true;
        case Cmd::NetlistOut:
            netlistOutput();
            return true;
        case Cmd::NetlistCompare:
            netlistCompare();
            return true;
        case Cmd::PartCoords:
            partCoordinates();
            return true;
        case Cmd::Drc:
            drcCheck();
            return true;
        case Cmd::PrintCheck:
            print(PrintKind::kCheck);
            return true;
        case Cmd::PrintArtwork:
            print(PrintKind::kArtwork);
            return true;
        case Cmd::DrcErase:
            drcErase();
            return true;
        case Cmd::Estimate:
            startEstimate();
            return true;
        case Cmd::Exit:
            host.closeWindow();
            return true;
        case Cmd::Decide:
            if (!idle() && (tools->modes.mode() == kModeLine || tools->modes.mode() == kModeDelete))
                editOperation(EditOp::Decide);
            return true;
        case Cmd::Undo:
            keyDown(EditorKey::kBackspace);
            return true;
        case Cmd::Redo:
            if (idle() && history.Redo()) {
                doc.modified = true;
                redraw();
            }
            return true;
        case Cmd::StatusBar:
            options.statusBar = !options.statusBar;
            host.barsChanged();
            saveOption(Option::kStatusBar);
            return true;
        case Cmd::ToolBar:
            options.toolBar = !options.toolBar;
            host.barsChanged();
            saveOption(Option::kToolBar);
            return true;
        case Cmd::CoordinateDisplay:
            options.displayPosition = !options.displayPosition;
            if (!options.displayPosition) {
                options.positionAbsolute = false;
                saveOption(Option::kPositionAbsolute);
            }
            host.barsChanged();
            ShowHint(tools->modes.frame().hint);
            saveOption(Option::kDisplayPosition);
            return true;
        case Cmd::Absolute:
            options.positionAbsolute = !options.positionAbsolute;
            saveOption(Option::kPositionAbsolute);
            return true;
        case Cmd::Flat:
            options.toolBarFlat = !options.toolBarFlat;
            host.barsChanged();
            saveOption(Option::kToolBarFlat);
            return true;
        case Cmd::RClickMenu:
            options.rClickMenu = !options.rClickMenu;
            if (options.rClickMenu) options.rClickBsKey = false;
            saveOption(Option::kRClickMenu);
            saveOption(Option::kRClickBsKey);
            return true;
        case Cmd::RClickBack:
            options.rClickBsKey = !options.rClickBsKey;
            if (options.rClickBsKey) options.rClickMenu = false;
            saveOption(Option::kRClickMenu);
            saveOption(Option::kRClickBsKey);
            return true;
        case Cmd::LongCursor:
            showCursor(false);
            options.longCursor = !options.longCursor;
            if (options.longCursor) showCursor(true);
            host.updateScreen();
            saveOption(Option::kCursor);
            return true;
        case Cmd::MirrorView:
            view.ToggleMirror();
            applyViewChange(true);
            return true;
        case Cmd::NumericWindow:
            options.digitInDlg = !options.digitInDlg;
            saveOption(Option::kDigitInDlg);
            return true;
        case Cmd::Redraw:
            redraw();
            return true;
        case Cmd::FitBoard:
            applyViewChange(view.FitBoard());
            return true;
        case Cmd::Spacing:
            viewTool(kModeSpacing, kHintSpacing,
                     {Cmd::LayerSelect, Cmd::SelectSettings, Cmd::NumericInput, Cmd::Intersection},
                     {}, Cmd::None, true);
            return true;
        case Cmd::GridOrigin:
            if (!tools->modes.toolBarEnabled(Cmd::GridDialog)) return true;
            viewTool(kModeGridOrigin, kHintGridOrigin,
                     {Cmd::LayerSelect, Cmd::SelectSettings, Cmd::GridDialog},
                     {Cmd::NumericInput, Cmd::Intersection}, Cmd::None, true);
            return true;
        case Cmd::Coordinates:
            viewTool(kModeCoordinates, kHintCoordinates, {Cmd::NumericInput}, {Cmd::Intersection},
                     Cmd::None, false);
            return true;
        case Cmd::PinNumbers:
            viewTool(kModePinNumbers, kHintPinNumbers,
                     {Cmd::NumericInput, Cmd::Intersection, Cmd::LayerSelect, Cmd::SelectSettings},
                     {}, Cmd::None, false);
            return true;
        case Cmd::Equipotential:
            viewTool(kModeEquipotential, kHintEquipotential,
                     {Cmd::LayerSelect, Cmd::SelectSettings, Cmd::NumericInput, Cmd::Intersection},
                     {}, Cmd::None, true);
            return true;
        case Cmd::OnGrid:
            if (!tools->modes.toolBarEnabled(Cmd::GridDialog)) return true;
            view.ToggleOnGrid();
            redraw();
            return true;
        case Cmd::RoundApertures:
        case Cmd::SquareApertures:
        case Cmd::Pads:
        case Cmd::Layers:
        case Cmd::SwapPairs:
            runDefinitionDialog(id);
            return true;
        case Cmd::Libraries:
            runLibrarySettings();
            return true;
        case Cmd::PartDelete:
            runPartDelete();
            return true;
        case Cmd::Standard: {
            int message = 0;
            if (!SaveSettings(paths.settingsFile(), doc.board, options, &message) && message)
                host.message(TableText(message));
            return true;
        }
        case Cmd::PartSearch:
            partSearch();
            return true;
        case Cmd::DeleteElements:
            if (tools->modes.toolBarEnabled(Cmd::Cut)) editOperation(EditOp::DeleteElements);
            return true;
        case Cmd::Help:
            host.showHelp();
            return true;
        case Cmd::ClickDelete:
            SetDeleteOnClick(!selection.deleteOnClick);
            return true;
        case Cmd::English:
            // The other language at once: the windows rebuild their texts and the hint of the
            // current tool is shown again in it. Only the settings file remembers the choice.
            options.language =
                UiLanguage() == Language::English ? Language::Japanese : Language::English;
            saveOption(Option::kLanguage);
            host.languageChanged(*options.language);
            ShowHint(tools->modes.frame().hint);
            return true;
        case Cmd::Recall1:
        case Cmd::Recall2:
        case Cmd::Recall3:
        case Cmd::Recall4:
            applyViewChange(view.RecallMemory(Ordinal(Cmd::Recall1, id)));
            return true;
        case Cmd::Store1:
        case Cmd::Store2:
        case Cmd::Store3:
        case Cmd::Store4:
            view.StoreMemory(Ordinal(Cmd::Store1, id));
            applyViewChange(true);
            return true;
        case Cmd::Cancel:
            character(kCharEscape);
            return true;
        default:
            return false;
    }
}

void Editor::partSearch() {
    std::string number;
    if (!host.askPartNumber(number)) return;
    const std::string wanted = Utf8ToCp932(number);
    std::vector<const group*> found;
    CollectParts(doc.board.items, wanted, found);
    if (found.empty()) {
        host.message(Tr("部品が見つかりません"));
        return;
    }
    if (found.size() > 1) host.message(Tr("同じ部品番号が複数あります"));
    double sx = 0, sy = 0;
    for (const group* g : found) sx += g->ext->pt.x, sy += g->ext->pt.y;
    sx /= double(found.size()), sy /= double(found.size());
    view.previous = {view.scale, view.viewLeft, view.viewBottom};
    // Through SetView, so that the view stays on the board and the scroll bars follow.
    view.SetView(view.scale, sx - view.viewWidth / 2, sy - view.viewHeight / 2);
    applyViewChange(true);
    highlighted_.clear();
    for (const group* g : found)
        ForEachDrawn(g->members, [&](const drawn* d) { highlighted_.push_back(d); });
    host.startTimer(kTimerHighlight, 10);
}

// ------------------------------------------------------------------ keys and characters

bool Editor::keyDown(EditorKey key, uint32_t flags) {
    if (!ready_) return false;
    switch (key) {
        case EditorKey::kBackspace:
            if (tools->backspace()) {
                if (idle()) doc.modified = true;
                refresh();
            }
            return true;
        case EditorKey::kPageUp:
            if (tools->modes.toolBarEnabled(Cmd::ZoomOut)) command(Cmd::ZoomOut);
            return true;
        case EditorKey::kPageDown:
            if (tools->modes.toolBarEnabled(Cmd::ZoomTool)) command(Cmd::ZoomInKey);
            return true;
        case EditorKey::kHome:
            if (tools->modes.toolBarEnabled(Cmd::ZoomTool) && view.previousAvailable())
                command(Cmd::Previous);
            return true;
        case EditorKey::kLeft:
        case EditorKey::kRight:
        case EditorKey::kUp:
        case EditorKey::kDown: {
            const ArrowKey a = key == EditorKey::kLeft    ? ArrowKey::kLeft
                               : key == EditorKey::kRight ? ArrowKey::kRight
                               : key == EditorKey::kUp    ? ArrowKey::kUp
                                                          : ArrowKey::kDown;
            if (view.Arrow(a, tools->overlay.band)) redraw();
            return true;
        }
        case EditorKey::kDelete:
            if (tools->modes.toolBarEnabled(Cmd::Cut)) command(Cmd::DeleteElements);
            return true;
        case EditorKey::kF1:
            host.showHelp();
            return true;
    }
    return false;
}

void Editor::character(int ch, bool control) {
    if (!ready_) return;
    if (ch == ' ' && tools->currentCommand == EditOp::SelectSettings) ch = kCharReturn;
    if (ch == kCharReturn && !control) {
        command(Cmd::Decide);
        return;
    }
    if (ch == kCharEscape) {
        showCursor(false);
        tools->escape();
        refresh();
        return;
    }
    if (control) {
        // Control characters 1..26 are the letters.
        const int letter =
            ch >= 1 && ch <= 26 ? 'A' + ch - 1 : (ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
        if (letter == 'S') {
            if (!idle()) {
                host.beep();
                return;
            }
            if (doc.modified) command(doc.neverSaved ? Cmd::SaveAs : Cmd::Save);
            return;
        }
        if (const KeyBinding* k = FindKey(letter, true)) boundKey(*k);
        return;
    }
    if (ch == '?') {
        showInformation();
        return;
    }
    int c = ch;
    if (c >= 'a' && c <= 'z') c -= 32;
    if (c == 'G' || c == 'B') {
        if (tools->commandRoutes(c == 'G' ? EditOp::Join : EditOp::Split))
            editOperation(c == 'G' ? EditOp::Join : EditOp::Split);
        return;
    }
    const KeyBinding* k = FindKey(c, false);
    if (!k) return;
    // The key I moves at once: the move, then the tool's own step for the key.
    const bool moveKey = k->command == Cmd::Move;
    if (moveKey && !tools->modes.toolBarEnabled(Cmd::Move)) return;
    boundKey(*k);
    if (moveKey) editOperation(EditOp::MoveByKey);
}

void Editor::boundKey(const KeyBinding& k) {
    const bool open =
        IsToolBarCmd(k.gate) ? tools->modes.toolBarEnabled(k.gate) : menuState(k.gate).enabled;
    if (open) command(k.command);
}

void Editor::showInformation() {
    container* e = tools->pickElement(view.ScreenToWorld(cursorX_, cursorY_));
    const group* part = nullptr;
    for (container* c = e; c; c = c->parent)
        if (IsPart(c)) part = AsGroup(c);
    if (!part) {
        host.beep();
        return;
    }
    if (!View(part->attribute).empty()) {
        host.message(Cp932ToUtf8(View(part->attribute)));
        return;
    }
    double a = part->ext->angle;
    if (a > M_PI) a -= 2 * M_PI;
    host.message(Format("%s\n%s: %g", Cp932ToUtf8(View(part->type)).c_str(),
                        std::string(Tr("角度")).c_str(), a * 180 / M_PI));
}

// ------------------------------------------------------------------ the mouse

void Editor::setInput(int x, int y, uint32_t flags) {
    cursorX_ = x, cursorY_ = y, keyFlags_ = flags;
    tools->cursorX = x, tools->cursorY = y;
    tools->keys = ((flags & kMkShift) ? kKeyShift : 0) | ((flags & kMkControl) ? kKeyCtrl : 0) |
                  ((flags & kMkLeft) ? kKeyLeft : 0);
}

void Editor::buttonEvent(void (MouseMachine::*event)(int, int, uint32_t), int x, int y,
                         uint32_t f) {
    if (!ready_) return;
    setInput(x, y, f);
    (mouse_.*event)(x, y, f);
}

void Editor::leftDown(int x, int y, uint32_t f) {
    buttonEvent(&MouseMachine::leftDown, x, y, f);
}
void Editor::leftUp(int x, int y, uint32_t f) {
    buttonEvent(&MouseMachine::leftUp, x, y, f);
}
void Editor::rightDown(int x, int y, uint32_t f) {
    buttonEvent(&MouseMachine::rightDown, x, y, f);
}
void Editor::rightUp(int x, int y, uint32_t f) {
    buttonEvent(&MouseMachine::rightUp, x, y, f);
}
void Editor::middleDown(int x, int y, uint32_t f) {
    if (!ready_) return;
    applyViewChange(view.MiddleButton(x, y));
}

void Editor::mouseMove(int x, int y, uint32_t f) {
    if (!ready_) return;
    // The crosshair stands on the grid point a click would take; it moves, and the screen is
    // shown again, when that point's pixel changes. The tools' overlays follow the cursor
    // whether the crosshair is on or not.
    const bool wasShown = longCursorShown_;
    showCursor(false);
    setInput(x, y, f);
    const bool moved = snapCursorPixel();
    const uint64_t overlays = tools->overlay.toggles();
    // A rectangle rubber band follows every move, also while the button is held for a drag.
    if (tools->overlay.band &&
        (tools->overlay.bandCursor.x != x || tools->overlay.bandCursor.y != y)) {
        tools->overlay.hide();
        tools->overlay.bandCursor = {x, y};
        tools->overlay.show();
    }
    mouse_.move(x, y, f);
    if (options.longCursor) showCursor(true);
    if (moved || wasShown != longCursorShown_ || overlays != tools->overlay.toggles())
        host.updateScreen();
    if (options.displayPosition) showStatusCoordinates();
}

void Editor::showStatusCoordinates() {
    Point p = view.ScreenToInput(cursorX_, cursorY_);
    if (!options.positionAbsolute) p = {p.x - view.gridOriginX, p.y - view.gridOriginY};
    host.setStatusText(0, Format("X:%.3f", p.x));
    host.setStatusText(1, Format("Y:%.3f", p.y));
}

void Editor::hover(int x, int y, uint32_t) {
    const Point g = view.ScreenToInput(x, y);
    if (g.x == lastGridPoint_.x && g.y == lastGridPoint_.y) return;
    lastGridPoint_ = g;
    tools->run(&ToolState::onHover);
}

void Editor::click() {
    tools->run(&ToolState::onClick);
    keepDrawingOptions();  // the text tool asks for its text and sizes on a click
    refresh();
}

void Editor::dragStart() {
    tools->pressX = mouse_.pressX();
    tools->pressY = mouse_.pressY();
    tools->run(&ToolState::onDragStart);
    refresh();
}

void Editor::reset() {
    tools->escape();
    refresh();
}

void Editor::gesture(Gesture g, int x, int y, uint32_t flags) {
    switch (g) {
        case Gesture::kRightClick:
            rightClick(x, y, flags);
            return;
        case Gesture::kViewMenu:
            command(host.popupMenu(ViewGestureMenu(), x, y));
            return;
        case Gesture::kToolMenu:
            command(host.popupMenu(ToolGestureMenu(), x, y));
            return;
        case Gesture::kEditMenu:
            command(host.popupMenu(EditGestureMenu(), x, y));
            return;
    }
}

void Editor::rightClick(int x, int y, uint32_t flags) {
    if (!ready_) return;
    if (idle() || options.rClickMenu) {
        if (flags & kMkShift)
            host.windowMenu(x, y);
        else if (const Cmd id = host.popupMenu(ContextMenu(), x, y); id != Cmd::None)
            command(id);
        return;
    }
    if (options.rClickBsKey || tools->modes.mode() != kModeLine)
        keyDown(EditorKey::kBackspace);
    else
        character(kCharReturn);
}

void Editor::wheel(int delta, int x, int y) {
    if (!ready_) return;
    applyViewChange(view.Wheel(delta, x, y));
}

void Editor::scroll(bool horizontal, ScrollRequest r, int thumb) {
    if (!ready_) return;
    applyViewChange(horizontal ? view.HorizontalScroll(r, thumb) : view.VerticalScroll(r, thumb));
}

void Editor::resize(int w, int h) {
    if (!view.Resize(w, h)) return;
    back_.Resize(w, h);
    screen_.Resize(w, h);
    scratch_.Resize(w, h);
    applyViewChange(true);
}

void Editor::timer(int id) {
    if (id == kTimerRefresh) {
        refresh();
    } else if (id == kTimerHighlight) {
        OutlinePainter painter(doc.board, view, screen_);
        for (const drawn* d : highlighted_) painter.Draw(d, Pen{kGreyPen, RasterOp::kCopy});
        highlighted_.clear();
        host.updateScreen();
    }
}

}  // namespace zevo
