#include "shell/editor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "board/file/settings_document.h"
#include "board/model/intern.h"
#include "text/cp932.h"
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

// Commands whose windows or tools come with later work: shown, greyed, and refused.
bool Unbuilt(int id) {
    switch (id) {
        case 310: case 311: case 312: case 313: case 314: case 315: case 317:
        case 318: case 319: case 320: case 321: case 322: case 323: case 324:
        case 329:
        case 406: case 407:
        case 435: case 436: case 437: case 439:
        case 444: case 446: case 453:
            return true;
        default: return false;
    }
}

// Items enabled only when idle (the file, output, check, bar, option and settings items).
bool IdleOnly(int id) {
    return (id >= 400 && id <= 416) || (id >= 420 && id <= 429) || (id >= 440 && id <= 448) ||
           id == 452 || id == 453;
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

Editor::Editor(Host& h, Paths p)
    : host(h), paths(std::move(p)), history(doc.board), mouse_(*this) {
    ResetToBuiltInDefaults(doc.board);
    tools = std::make_unique<ToolContext>(doc.board, history, view, static_cast<ToolHost&>(*this),
                                          EditorModeTable());
    tools->screen = &screen_;
    tools->back = &back_;
    // The drawing tools
    tools->scratch = &scratch_;
    tools->drawing = &drawing;
    view.SetBoardSize(doc.board.sizeX, doc.board.sizeY);
    resize(view.clientWidth, view.clientHeight);
    initialToolBar();
}

Editor::~Editor() = default;

// ------------------------------------------------------------------ start-up and shutdown

void Editor::initialToolBar() {
    for (int id = kFirstToolBarId; id < kFirstToolBarId + kToolBarIds; ++id) {
        if (IsToolBarSeparator(id)) continue;
        const bool off = (id >= 318 && id <= 324 && id != 319) || (id == 308 && !fontAvailable) ||
                         (id == 331 && !view.previousAvailable()) ||
                         (id >= 333 && id <= 336 && !view.memoryAvailable(id - 332));
        tools->setToolBarEnabled(id, !off);
    }
}

void Editor::startUp(std::span<const std::string> arguments) {
    paths.EnsureSettingsFile();
    options = LoadOptions(paths.settingsFile());
    history.SetUndoLimit(options.undoneMax);
    selection.deleteOnClick = options.fastDelete;
    drawing.squareAsRectangle = options.rectangle;
    drawing.arcByClicks = options.arcHit;
    drawing.lineEightAlways = options.lineAngle8;
    drawing.textAperture = options.drawText.aperture;
    drawing.textHeight = options.drawText.height;
    drawing.textPitch = std::fabs(options.drawText.pitch);
    drawing.textMirror = options.drawText.pitch < 0;
    fontAvailable = fs::exists(paths.fontFile());
    resetDocument(doc.board);
    initialToolBar();
    // The line tool is the tool of a new editor.
    tools->startTool(kModeLine);
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
    tools->setToolBarEnabled(322, host.clipboardData().has_value());
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

void Editor::requestBoardSize(Board& board) { runDefinitionDialog(194); }

void Editor::ShowHint(int stringId) {
    host.setStatusText(options.displayPosition ? 2 : 0, TableText(stringId));
}

// ------------------------------------------------------------------ drawing

void Editor::redraw() {
    host.setWaitCursor(true);
    RenderOptions o;
    o.boardEdge = true;
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
    tools->highlightSelection(true);
    tools->overlayLost();
    tools->showOverlay();
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
    tools->setToolBarEnabled(331, view.previousAvailable());
    for (int n = 1; n <= 4; ++n) tools->setToolBarEnabled(332 + n, view.memoryAvailable(n));
}

void Editor::FramesPopped() {
    // The frame gave back the buttons as they were when it was pushed; the views and the
    // clipboard may have changed since.
    refreshViewButtons();
    if (idle()) tools->setToolBarEnabled(322, host.clipboardData().has_value());
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

bool Editor::available(int id) const { return !Unbuilt(id); }

uint8_t Editor::toolBarState(int id) const {
    if (id < kFirstToolBarId || id >= kFirstToolBarId + kToolBarIds) return 0;
    uint8_t s = tools->toolBar[size_t(id - kFirstToolBarId)];
    if (!available(id)) s &= uint8_t(~kTbEnabled);
    return s;
}

MenuItemState Editor::menuState(int id) const {
    MenuItemState s;
    if (id >= 300 && id <= 337) {
        const uint8_t b = toolBarState(id);
        return {bool(b & kTbEnabled), bool(b & kTbChecked)};
    }
    if (!available(id)) return s;
    s.enabled = true;
    if (IdleOnly(id)) s.enabled = idle();
    switch (id) {
        case 98: s.enabled = tools->toolBarEnabled(300); break;
        case 99: s.enabled = tools->toolBarEnabled(301); break;
        case 417: s.enabled = !idle() && (tools->mode() == kModeLine || tools->mode() == kModeDelete); break;
        case 418: s.enabled = tools->backspaceRoutes(); break;
        case 419: s.enabled = idle() && history.CanRedo(); break;
        case 499: s.enabled = !idle(); break;
        case 433: s.enabled = view.previousAvailable(); break;
        case 438: s.enabled = tools->toolBarEnabled(337); break;
        case 437: s.enabled = tools->mode() == kModePinNumbers; break;
        case 424: s.enabled = idle() && options.toolBar; break;
        default:
            if (id >= 461 && id <= 464) s.enabled = view.memoryAvailable(id - 460);
    }
    switch (id) {
        case 420: s.checked = options.statusBar; break;
        case 423: s.checked = options.toolBar; break;
        case 421: s.checked = options.displayPosition; break;
        case 422: s.checked = options.positionAbsolute; break;
        case 424: s.checked = options.toolBarFlat; break;
        case 425: s.checked = options.rClickMenu; break;
        case 426: s.checked = options.rClickBsKey; break;
        case 427: s.checked = options.longCursor; break;
        case 428: s.checked = view.mirrored(); break;
        case 429: s.checked = options.digitInDlg; break;
        case 438: s.checked = view.onGrid(); break;
        case 452: s.checked = selection.deleteOnClick; break;
        default: break;
    }
    return s;
}

std::string Editor::layerItemText() const { return LayerItemText(doc.board, drawing); }
std::string Editor::definitionItemText() const {
    return DefinitionItemText(doc.board, drawing, tools->currentDefKind);
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

void Editor::editOperation(int code) {
    tools->command(code);
    keepDrawingOptions();
    refresh();
}

bool Editor::viewTool(int mode, int hint, std::initializer_list<int> disable,
                      std::initializer_list<int> enable, int check, bool greyItems) {
    // The frame below keeps the buttons as they were, so leaving the view tool gives them back:
    // push first, then grey the tools.
    if (!tools->pushMode(mode, hint)) {
        host.beep();
        return false;
    }
    for (int id : {303, 304, 305, 306, 307, 308, 310, 311, 312, 313, 314, 315, 317, 319, 322})
        tools->setToolBarEnabled(id, false);
    for (int id : disable) tools->setToolBarEnabled(id, false);
    for (int id : enable) tools->setToolBarEnabled(id, true);
    if (check) tools->setToolBarChecked(check, true);
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
    const TextDefaults text{drawing.textAperture, drawing.textHeight,
                            drawing.textMirror ? -drawing.textPitch : drawing.textPitch};
    if (!(text == options.drawText)) {
        options.drawText = text;
        saveOption(Option::kDrawText);
    }
}

void Editor::saveOption(Option option) {
    const SettingWrite w = WriteOption(paths.settingsFile(), options, option);
    if (w.status == kSettingFailed && w.message) host.message(TableText(w.message));
}

bool Editor::command(int id) {
    if (!ready_) return false;
    if (id >= 300 && id <= 337 && !(toolBarState(id) & kTbEnabled)) return false;
    if (!available(id)) return false;
    switch (id) {
        case 97: applyViewChange(view.ZoomIn()); return true;
        case 98:
        case 300: editOperation(kCmdLayer); return true;
        case 99:
        case 301: editOperation(kCmdSettings); return true;
        case 109: {
            host.showVersion(VersionLine(ZEVO_VERSION_MAJOR, ZEVO_VERSION_MINOR, ZEVO_VERSION_PATCH),
                             "Copyright (C) 2026 the Zevo developers");
            return true;
        }
        case 303: case 304: case 305: case 306: case 307: case 308:
            chooseTool(id - 303);
            return true;
        case 310: case 311: case 312: case 313: case 314: case 315:
            chooseTool(id - 310 + kModeDeform);
            return true;
        case 317: chooseTool(kModeMultiple); return true;
        case 318: editOperation(kCmdMove); return true;
        case 319:
            chooseTool(kModeMultiple);
            editOperation(kCmdJoinSplit);
            return true;
        case 320: editOperation(kCmdCut); return true;
        case 321: editOperation(kCmdCopy); return true;
        case 322:
            if (!idle()) return true;
            chooseTool(kModeMultiple);
            editOperation(kCmdPaste);
            return true;
        case 323: editOperation(kCmdMirror); return true;
        case 324: editOperation(kCmdRotate); return true;
        case 326: editOperation(kCmdNumeric); return true;
        case 327:
            OpenIntersectionInput(*tools);
            if (!viewTool(kModeIntersection, kHintIntersection, {300, 301, 326, 327}, {}, 327, true))
                CancelIntersectionInput(*tools);  // the stack was full: the tool goes on as it was
            return true;
        case 329:
            viewTool(kModeZoom, kHintZoom, {300, 301, 326, 327, 329, 330, 337}, {}, 329, true);
            return true;
        case 330: applyViewChange(view.ZoomOut()); return true;
        case 331:
        case 433: applyViewChange(view.PreviousView()); return true;
        case 332:
        case 431: applyViewChange(view.FitDrawing(doc.board)); return true;
        case 333: case 334: case 335: case 336: return command(id - 333 + 461);
        case 337: runDefinitionDialog(157); return true;
        case 400:
            if (NewDocument(doc, *this) == CommandStatus::kDone) afterDocumentChange(true);
            return true;
        case 401:
            if (OpenDocument(doc, *this).status == CommandStatus::kDone) afterDocumentChange(true);
            return true;
        case 402: OpenInNewEditor(doc, *this); return true;
        case 403: SaveDocumentAs(doc, *this); updateTitle(); return true;
        case 404: SaveDocument(doc, *this); updateTitle(); return true;
        case 405:
            // The command gives its own warning first.
            SaveInOldFormat(doc, *this);
            return true;
        case 408: gerberOutput(); return true;
        case 409: gerberInput(); return true;
        case 410: holeOutput(); return true;
        case 411: netlistOutput(); return true;
        case 412: netlistCompare(); return true;
        case 413: partCoordinates(); return true;
        case 414: drcCheck(); return true;
        case 415: drcErase(); return true;
        case 416: host.closeWindow(); return true;
        case 417:
            if (!idle() && (tools->mode() == kModeLine || tools->mode() == kModeDelete))
                editOperation(kCmdDecide);
            return true;
        case 418: keyDown(EditorKey::kBackspace); return true;
        case 419:
            if (idle() && history.Redo()) {
                doc.modified = true;
                redraw();
            }
            return true;
        case 420:
            options.statusBar = !options.statusBar;
            host.barsChanged();
            saveOption(Option::kStatusBar);
            return true;
        case 423:
            options.toolBar = !options.toolBar;
            host.barsChanged();
            saveOption(Option::kToolBar);
            return true;
        case 421:
            options.displayPosition = !options.displayPosition;
            if (!options.displayPosition) {
                options.positionAbsolute = false;
                saveOption(Option::kPositionAbsolute);
            }
            host.barsChanged();
            ShowHint(tools->frame().hint);
            saveOption(Option::kDisplayPosition);
            return true;
        case 422:
            options.positionAbsolute = !options.positionAbsolute;
            saveOption(Option::kPositionAbsolute);
            return true;
        case 424:
            options.toolBarFlat = !options.toolBarFlat;
            host.barsChanged();
            saveOption(Option::kToolBarFlat);
            return true;
        case 425:
            options.rClickMenu = !options.rClickMenu;
            if (options.rClickMenu) options.rClickBsKey = false;
            saveOption(Option::kRClickMenu);
            saveOption(Option::kRClickBsKey);
            return true;
        case 426:
            options.rClickBsKey = !options.rClickBsKey;
            if (options.rClickBsKey) options.rClickMenu = false;
            saveOption(Option::kRClickMenu);
            saveOption(Option::kRClickBsKey);
            return true;
        case 427:
            showCursor(false);
            options.longCursor = !options.longCursor;
            if (options.longCursor) showCursor(true);
            host.updateScreen();
            saveOption(Option::kCursor);
            return true;
        case 428:
            view.ToggleMirror();
            applyViewChange(true);
            return true;
        case 429:
            options.digitInDlg = !options.digitInDlg;
            saveOption(Option::kDigitInDlg);
            return true;
        case 430: redraw(); return true;
        case 432: applyViewChange(view.FitBoard()); return true;
        case 434:
            viewTool(kModeEquipotential, kHintEquipotential, {300, 301, 326, 327}, {}, 0, true);
            return true;
        case 438:
            if (!tools->toolBarEnabled(337)) return true;
            view.ToggleOnGrid();
            redraw();
            return true;
        case 440: case 441: case 442: case 443: case 445:
            runDefinitionDialog(id);
            return true;
        case 447: {
            int message = 0;
            if (!SaveSettings(paths.settingsFile(), doc.board, options, &message) && message)
                host.message(TableText(message));
            return true;
        }
        case 448: partSearch(); return true;
        case 450:
            if (tools->toolBarEnabled(320)) editOperation(kCmdDelete);
            return true;
        case 451: host.showHelp(); return true;
        case 452:
            selection.deleteOnClick = !selection.deleteOnClick;
            options.fastDelete = selection.deleteOnClick;
            saveOption(Option::kDelete);
            return true;
        case 461: case 462: case 463: case 464:
            applyViewChange(view.RecallMemory(id - 460));
            return true;
        case 471: case 472: case 473: case 474:
            view.StoreMemory(id - 470);
            applyViewChange(true);
            return true;
        case 499: character(kCharEscape); return true;
        default: return false;
    }
}

void Editor::partSearch() {
    std::string number;
    if (!host.askPartNumber(number)) return;
    const std::string wanted = Utf8ToCp932(number);
    std::vector<const group*> found;
    CollectParts(doc.board.items, wanted, found);
    if (found.empty()) {
        host.message("部品が見つかりません");
        return;
    }
    if (found.size() > 1) host.message("同じ部品番号が複数あります");
    double sx = 0, sy = 0;
    for (const group* g : found) sx += g->ext->pt.x, sy += g->ext->pt.y;
    sx /= double(found.size()), sy /= double(found.size());
    view.previous = {view.scale, view.viewLeft, view.viewBottom};
    // Through SetView, so that the view stays on the board and the scroll bars follow.
    view.SetView(view.scale, sx - view.viewWidth / 2, sy - view.viewHeight / 2);
    applyViewChange(true);
    highlighted_.clear();
    for (const group* g : found) ForEachDrawn(g->members, [&](const drawn* d) { highlighted_.push_back(d); });
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
            if (tools->toolBarEnabled(330)) command(330);
            return true;
        case EditorKey::kPageDown:
            if (tools->toolBarEnabled(329)) command(97);
            return true;
        case EditorKey::kHome:
            if (tools->toolBarEnabled(329) && view.previousAvailable()) command(433);
            return true;
        case EditorKey::kLeft:
        case EditorKey::kRight:
        case EditorKey::kUp:
        case EditorKey::kDown: {
            const ArrowKey a = key == EditorKey::kLeft    ? ArrowKey::kLeft
                               : key == EditorKey::kRight ? ArrowKey::kRight
                               : key == EditorKey::kUp    ? ArrowKey::kUp
                                                          : ArrowKey::kDown;
            if (view.Arrow(a, false)) redraw();
            return true;
        }
        case EditorKey::kDelete:
            if (tools->toolBarEnabled(320)) command(450);
            return true;
        case EditorKey::kF1: host.showHelp(); return true;
    }
    return false;
}

void Editor::character(int ch, bool control) {
    if (!ready_) return;
    if (ch == ' ' && tools->currentCommand == kCmdSettings) ch = kCharReturn;
    if (ch == kCharReturn && !control) {
        command(417);
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
        const int letter = ch >= 1 && ch <= 26 ? 'A' + ch - 1 : (ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
        switch (letter) {
            case 'C': if (tools->toolBarEnabled(321)) command(321); return;
            case 'V': if (tools->toolBarEnabled(322)) command(322); return;
            case 'X': if (tools->toolBarEnabled(320)) command(320); return;
            case 'Z': if (menuState(418).enabled) command(418); return;
            case 'Y': if (menuState(419).enabled) command(419); return;
            case 'F': if (menuState(448).enabled) command(448); return;
            case 'S':
                if (!idle()) {
                    host.beep();
                    return;
                }
                if (doc.modified) {
                    if (doc.neverSaved)
                        command(403);
                    else
                        command(404);
                }
                return;
            default: return;
        }
    }
    if (ch == '?') {
        showInformation();
        return;
    }
    int c = ch;
    if (c >= 'a' && c <= 'z') c -= 32;
    auto button = [&](int cmd) {
        if (tools->toolBarEnabled(cmd) && available(cmd)) command(cmd);
    };
    switch (c) {
        case '1': case '2': case '3': case '4':
            if (tools->toolBarEnabled(333 + c - '1')) command(461 + c - '1');
            return;
        case 'A': if (menuState(431).enabled) command(431); return;
        case 'D': if (menuState(435).enabled) command(435); return;
        case 'P': if (menuState(434).enabled) command(434); return;
        case 'E': button(310); return;
        case 'F': button(314); return;
        case 'H': button(313); return;
        case 'I':
            if (tools->toolBarEnabled(318) && available(318)) {
                command(318);
                editOperation(15);
            }
            return;
        case 'J': button(337); return;
        case 'K': button(311); return;
        case 'L': button(300); return;
        case 'M': button(323); return;
        case 'N': button(305); return;
        case 'Q': button(307); return;
        case 'R': button(324); return;
        case 'S': button(326); return;
        case 'T': button(327); return;
        case 'W': button(317); return;
        case 'X': button(308); return;
        case 'Y': button(301); return;
        case 'Z': button(329); return;
        case 'G':
        case 'B':
            if (tools->mode() == kModeMultiple && tools->frame().stateIndex == 0 && idle())
                editOperation(c == 'G' ? 13 : 14);
            return;
        default: return;
    }
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
    host.message(Format("%s\n%s: %g", Cp932ToUtf8(View(part->type)).c_str(), "角度", a * 180 / M_PI));
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

void Editor::leftDown(int x, int y, uint32_t f) { buttonEvent(&MouseMachine::leftDown, x, y, f); }
void Editor::leftUp(int x, int y, uint32_t f) { buttonEvent(&MouseMachine::leftUp, x, y, f); }
void Editor::rightDown(int x, int y, uint32_t f) { buttonEvent(&MouseMachine::rightDown, x, y, f); }
void Editor::rightUp(int x, int y, uint32_t f) { buttonEvent(&MouseMachine::rightUp, x, y, f); }
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
    const uint64_t overlays = tools->overlayToggles();
    mouse_.move(x, y, f);
    if (options.longCursor) showCursor(true);
    if (moved || wasShown != longCursorShown_ || overlays != tools->overlayToggles())
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
    if (const ToolState* s = tools->currentToolState(); s && s->onHover) s->onHover(*tools);
}

void Editor::click() {
    if (const ToolState* s = tools->currentToolState(); s && s->onClick) s->onClick(*tools);
    keepDrawingOptions();  // the text tool asks for its text and sizes on a click
    refresh();
}

void Editor::dragStart() {
    if (const ToolState* s = tools->currentToolState(); s && s->onDragStart) s->onDragStart(*tools);
}

void Editor::reset() {
    tools->escape();
    refresh();
}

void Editor::gesture(Gesture g, int x, int y, uint32_t flags) {
    switch (g) {
        case Gesture::kRightClick: rightClick(x, y, flags); return;
        case Gesture::kViewMenu: command(host.popupMenu(ViewGestureMenu(), x, y)); return;
        case Gesture::kToolMenu: command(host.popupMenu(ToolGestureMenu(), x, y)); return;
        case Gesture::kEditMenu: command(host.popupMenu(EditGestureMenu(), x, y)); return;
    }
}

void Editor::rightClick(int x, int y, uint32_t flags) {
    if (!ready_) return;
    if (idle() || options.rClickMenu) {
        if (flags & kMkShift)
            host.windowMenu(x, y);
        else if (int id = host.popupMenu(ContextMenu(), x, y))
            command(id);
        return;
    }
    if (options.rClickBsKey || tools->mode() != kModeLine)
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
