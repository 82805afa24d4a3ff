#include "tools/change_tool.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "board/file/clipboard_format.h"
#include "board/model/intern.h"
#include "text/cp932.h"
#include "text/strings.h"
#include "tools/drawing_tools.h"
#include "tools/multiple_tool.h"
#include "view/stroke_font.h"

namespace zevo {

namespace {

// The strokes of one dotted line at most: more would only be a line drawn very slowly.
constexpr size_t kMaxDots = 10000;

std::tm LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm now{};
#if defined(_WIN32)
    localtime_s(&now, &t);
#else
    localtime_r(&t, &now);
#endif
    return now;
}

bool IsType(const group* g, Istr word) {
    return g && g->type == word;
}

// Bytes a name of the board file cannot hold: below 0x20 (line ends, tabs), and for the names
// written as keys (pin names) the comma that ends a key.
bool HoldsUnwritable(std::string_view s, bool commaEnds) {
    return std::any_of(s.begin(), s.end(), [&](char ch) {
        return static_cast<unsigned char>(ch) < 0x20 || (commaEnds && ch == ',');
    });
}

ToolResult ChangeStart(ToolContext& c) {
    c.overlay.clear();
    c.modes.startTool(kModeChange);
    return ToolResult::Reverted;
}

ToolResult UndoLast(ToolContext& c) {
    if (!c.history.Undo()) return ToolResult::Ignored;
    c.host.Repaint();
    return ToolResult::Reverted;
}

// `made` takes the place of `old` in its list (the document or a group): one committed undo
// step, the old item recorded as removed, the new one as added. Refused, with `made` recycled,
// when the change would take an item that was on the board off it.
ToolResult Replace(ToolContext& c, container* old, container* made) {
    if (OffBoard(c.board, made) && !OffBoard(c.board, old)) {
        made->destroy(c.board);
        return Refuse(c);
    }
    group* parent = old->parent;
    UndoStep* step = c.history.BeginStep();
    ListNode* successor = old->unlink(c.board.changes);
    c.history.RecordRemoved(step, old, successor);
    made->parent = parent;
    made->insertBefore(successor, c.board.changes);
    c.history.RecordAdded(step, made);
    c.history.CommitStep(step);
    c.host.DocumentModified();
    c.host.Repaint();
    return ToolResult::Committed;
}

// What an element keeps when it is made again from its values: its pin and net.
void KeepPin(const drawn* from, drawn* to) {
    to->pinNo = from->pinNo;
    to->pinName = from->pinName;
    to->netName = from->netName;
    to->flags = from->flags;
}

void SetLayerOf(const Board& b, drawn* d, int layer) {
    d->layer = int16_t(layer);
    d->updateBounds(b);
}

bool ValidLayer(int layer) {
    return layer >= 0 && layer < kLayers;
}
bool ValidAperture(int n) {
    return n >= 0 && n < kApertures;
}

// --- 0: an element

ToolResult ChangeLandOrLine(ToolContext& c, drawn* e) {
    ElementChangeModel m(c.board, e->layer, e->aperture, e->square());
    if (!c.host.Run(m)) return ToolResult::Handled;
    if (!ValidLayer(m.layer) || !ValidAperture(m.aperture)) return Refuse(c);
    drawn* made = AsDrawn(e->clone(c.board));
    made->aperture = int16_t(m.aperture);
    SetLayerOf(c.board, made, m.layer);
    return Replace(c, e, made);
}

ToolResult ChangeRect(ToolContext& c, rect* e) {
    RectChangeModel m(c.board, e->dx, e->dy, ToDegrees(e->ang), e->layer);
    c.host.Run(m);
    if (!m.decided()) return ToolResult::Handled;
    if (!ValidLayer(m.layer) || !(m.dxValue > 0) || !(m.dyValue > 0) ||
        !std::isfinite(m.angleValue))
        return Refuse(c);
    rect* made = c.board.CreateRect(m.layer, e->aperture, e->ref(), m.dxValue, m.dyValue,
                                    ToRadians(m.angleValue));
    // A rectangle narrower than its pen is no rectangle: the file could not take it back.
    if ((std::min(made->dx, made->dy) - 0.001) / 2 <= c.board.roundHalf(made->aperture)) {
        made->destroy(c.board);
        return Refuse(c);
    }
    KeepPin(e, made);
    made->updateBounds(c.board);
    return Replace(c, e, made);
}

ToolResult ChangeArc(ToolContext& c, arc* e) {
    ArcChangeModel m(c.board, e->r, ToDegrees(e->st), ToDegrees(e->end), e->layer, e->aperture);
    c.host.Run(m);
    if (!m.decided()) return ToolResult::Handled;
    if (!ValidLayer(m.layer) || !ValidAperture(m.aperture)) return Refuse(c);
    const double r = m.radiusValue;
    if (!std::isfinite(r) || !(r > c.board.roundHalf(m.aperture) + 1e-8)) return Refuse(c);
    double a = m.startValue, b = m.endValue;
    if (!std::isfinite(a) || !std::isfinite(b)) return Refuse(c);
    BringAnglesIntoRange(a, b);
    arc* made = c.board.CreateArc(m.layer, m.aperture, e->centre(), r, ToRadians(a), ToRadians(b));
    KeepPin(e, made);
    made->updateBounds(c.board);
    return Replace(c, e, made);
}

ToolResult ChangeElement(ToolContext& c, drawn* e) {
    switch (e->kind) {
        case kRect:
            return ChangeRect(c, static_cast<rect*>(e));
        case kArc:
            return ChangeArc(c, static_cast<arc*>(e));
        default:
            return ChangeLandOrLine(c, e);
    }
}

// --- 1: a text

const drawn* FirstStroke(const group* g) {
    for (const container* m : Items(g->members))
        if (IsDrawn(m)) return AsDrawn(m);
    return nullptr;
}

ToolResult ChangeText(ToolContext& c, group* text) {
    const drawn* stroke = FirstStroke(text);
    if (!text->ext || text->ext->kind != 1 || !stroke) return Refuse(c);
    const auto* placement = static_cast<const TextPlacement*>(text->ext);
    DrawingSettings values;
    values.text = std::string(View(text->attribute));
    values.textAperture = stroke->aperture;
    values.textHeight = placement->hi;
    values.textPitch = std::fabs(placement->pit);
    values.textAngle = ToDegrees(placement->angle);
    values.textMirror = placement->pit < 0;
    const std::filesystem::path font = c.host.FontFile();
    TextChangeModel m(c.board, values, stroke->layer, font);
    c.host.Run(m);
    if (!m.decided()) return ToolResult::Handled;
    if (!ValidLayer(m.layer)) return Refuse(c);
    m.store(values);
    TextParams params;
    params.text = values.text;
    params.layer = m.layer;
    params.aperture = values.textAperture;
    params.height = values.textHeight;
    params.pitch = values.textPitch;
    params.angle = values.textAngle;
    params.mirror = values.textMirror;
    const TextLayout t = LayoutText(c.board, font, params, placement->pt);
    if (!t.text) return Refuse(c);
    // Strokes dropped at the board's edge: the beep says the text is not whole.
    if (t.dropped > 0) c.host.Beep();
    return Replace(c, text, t.text);
}

// --- 2: a filled area

ToolResult ChangeArea(ToolContext& c, group* area, const drawn* picked) {
    ElementChangeModel m(c.board, picked->layer, -1, false);
    if (!c.host.Run(m)) return ToolResult::Handled;
    if (!ValidLayer(m.layer)) return Refuse(c);
    group* made = AsGroup(area->clone(c.board));
    for (container* member : Items(made->members))
        if (member->kind == kGroup)
            ForEachDrawn(AsGroup(member)->members,
                         [&](drawn* d) { SetLayerOf(c.board, d, m.layer); });
    return Replace(c, area, made);
}

// --- 3: a part

void SwapLayers(const Board& b, container* e) {
    if (e->kind == kGroup) {
        for (container* m : Items(AsGroup(e)->members)) SwapLayers(b, m);
        return;
    }
    if (IsDrawn(e)) SetLayerOf(b, AsDrawn(e), b.SwapPartner(AsDrawn(e)->layer));
}

// The reference as a text over the part's upper left corner, drawn as "InsertText" says on the
// current layer; a member of the part, so it goes where the part goes.
void InsertReferenceText(ToolContext& c, group* part, std::string_view reference) {
    Box box;
    if (reference.empty() || !Board::GroupBounds(part, box)) return;
    const TextDefaults d = c.host.InsertTextDefaults();
    TextParams params;
    params.text = reference;
    params.layer = c.board.currentLayer;
    params.aperture = d.aperture;
    params.height = d.height;
    params.pitch = std::fabs(d.pitch);
    params.mirror = d.pitch < 0;
    const double pen = 2 * c.board.roundHalf(d.aperture);
    const Point at{params.mirror ? box.maxX : box.minX, box.maxY + pen + 0.5};
    const TextLayout t = LayoutText(c.board, c.host.FontFile(), params, at);
    if (t.dropped > 0 || !t.text) c.host.Beep();
    if (t.text) c.board.AppendElement(part, t.text);
}

ToolResult ChangePart(ToolContext& c, group* part) {
    PartChangeModel m(Cp932ToUtf8(View(part->reference)));
    if (!c.host.Run(m)) return ToolResult::Handled;
    const std::string reference = Utf8ToCp932(m.reference);
    // The file keeps 255 bytes of a group's strings, on one line.
    if (reference.size() > 255 || HoldsUnwritable(reference, false)) return Refuse(c);
    const Istr ref = reference.empty() ? kEmptyText : Intern(reference);
    if (!reference.empty()) {
        bool taken = false;
        for (const container* e : Items(c.board.items))
            taken = taken || (e != part && e->kind == kGroup && AsGroup(e)->reference == ref);
        if (taken && !c.host.AskYesNo(TableText(kMsgDuplicateReferenceAsk)))
            return ToolResult::Handled;
    }
    group* made = AsGroup(part->clone(c.board));
    made->reference = ref;
    if (IsBlank(made->type)) made->type = Intern(TemporaryPartName(LocalNow()));
    if (!made->ext || made->ext->kind != 2) {
        const Point origin = SelectionReference(c.view, c.board, made->members);
        if (made->ext) made->ext->recycle(c.board);
        made->ext = c.board.CreatePartPlacement(origin, 0);
    }
    if (m.insertText) InsertReferenceText(c, made, reference);
    if (m.turnOver) {
        SwapLayers(c.board, made);
        made->mirror(c.board, made->ext->pt.x);
    }
    return Replace(c, part, made);
}

// --- 4: a pin

void PinNumbers(const container* e, const drawn* except, std::vector<int>& out) {
    if (e->kind == kGroup) {
        for (const container* m : Items(AsGroup(e)->members)) PinNumbers(m, except, out);
        return;
    }
    if (IsDrawn(e) && e != except && AsDrawn(e)->pinNo != 0)
        out.push_back(std::abs(int(AsDrawn(e)->pinNo)));
}

ToolResult ChangePin(ToolContext& c, drawn* pin) {
    const container* part = topItem(pin);
    std::vector<int> others;
    PinNumbers(part, pin, others);
    int proposed = pin->pinNo;
    if (proposed == 0) {
        // One more than the part's largest number.
        int largest = 0;
        for (int n : others) largest = std::max(largest, n);
        proposed = std::min(largest + 1, 32767);
    }
    PinChangeModel m(Cp932ToUtf8(View(pin->pinName)), proposed);
    c.host.Run(m);
    if (!m.decided()) return ToolResult::Handled;
    const std::string name = Utf8ToCp932(m.name);
    if (name.size() > 255 || HoldsUnwritable(name, true)) return Refuse(c);
    const int number = m.numberValue;
    if (number != 0 && std::find(others.begin(), others.end(), std::abs(number)) != others.end() &&
        !c.host.AskYesNo(TableText(kMsgDuplicatePinAsk)))
        return ToolResult::Handled;
    drawn* made = AsDrawn(pin->clone(c.board));
    made->pinName = name.empty() ? nullptr : Intern(name);
    made->pinNo = int16_t(number);
    return Replace(c, pin, made);
}

// --- 5: a dotted line

ToolResult MakeDotted(ToolContext& c, container* e) {
    if (e->kind != kLine) return Refuse(c);
    line* l = static_cast<line*>(e);
    DrawingSettings& s = *c.drawing.settings;
    DottedLineModel m(s.dotLength, s.dotGap);
    c.host.Run(m);
    if (!m.decided()) return ToolResult::Handled;
    if (!(m.dotValue > 0) || !(m.gapValue >= 0) || !std::isfinite(m.dotValue) ||
        !std::isfinite(m.gapValue))
        return Refuse(c);
    s.dotLength = m.dotValue, s.dotGap = m.gapValue;
    const auto strokes = DottedStrokes(l->start(), l->end(), m.dotValue, m.gapValue, kMaxDots);
    if (strokes.empty()) return Refuse(c);
    group* dotted = c.board.CreateGroup(Reserved().dottedLine);
    for (const auto& [a, b] : strokes)
        c.board.AppendElement(dotted, c.board.CreateLine(l->layer, l->aperture, l->square(), a, b));
    return Replace(c, l, dotted);
}

// --- the click

ToolResult ChangeClick(ToolContext& c) {
    container* e = c.pickElement(c.cursorWorld());
    if (!e || !IsDrawn(e)) return Refuse(c);
    drawn* d = AsDrawn(e);
    const ChangeTarget target = ClassifyChange(e, c.keys & kKeyShift, c.keys & kKeyCtrl,
                                               c.drawing.settings->partNumberFirst);
    c.host.ShowScreenNow();
    switch (target) {
        case ChangeTarget::kElement:
            return ChangeElement(c, d);
        case ChangeTarget::kText:
            return ChangeText(c, e->parent);
        case ChangeTarget::kArea:
            return ChangeArea(c, e->parent->parent, d);
        case ChangeTarget::kPart:
            return ChangePart(c, AsGroup(topItem(e)));
        case ChangeTarget::kPin:
            return ChangePin(c, d);
        case ChangeTarget::kDotted:
            return MakeDotted(c, e);
        case ChangeTarget::kRefused:
            break;
    }
    return Refuse(c);
}

ToolResult ChangeCommand(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c, nullptr);
        case EditOp::SelectSettings: {
            ChangeSettingsModel m(c.drawing.settings->partNumberFirst);
            if (c.host.Run(m)) c.drawing.settings->partNumberFirst = m.partNumberFirst;
            return ToolResult::Handled;
        }
        default:
            return ToolResult::Ignored;
    }
}

template <ToolOp F>
constexpr ToolOp O = Overlaid<F>;

constexpr ToolState kChangeStates[] = {
    {NoOp, O<ChangeClick>, NoOp, NoOp, O<ChangeCommand>, O<UndoLast>, O<ChangeStart>},
};

}  // namespace

bool IsPart(const container* e) {
    if (!e || e->kind != kGroup) return false;
    const std::string_view type = View(AsGroup(e)->type);
    return type.empty() || type.front() != ' ';
}

ChangeTarget ClassifyChange(const container* e, bool shift, bool ctrl, bool partNumberFirst) {
    const group* parent = e->parent;
    if (shift && ctrl) return parent ? ChangeTarget::kRefused : ChangeTarget::kDotted;
    const container* top = topItem(const_cast<container*>(e));
    if ((shift || partNumberFirst) && IsPart(top)) return ChangeTarget::kPart;
    if (ctrl) {
        if (IsPart(top)) return ChangeTarget::kPin;
        const ReservedWords& r = Reserved();
        if (parent && ((parent->type == r.pad && !parent->parent) ||
                       (parent->type != r.text && parent->type != r.pad && parent->type != r.loop &&
                        parent->type != r.window && parent->type != r.lines)))
            return ChangeTarget::kPin;
    }
    if (!parent) return ChangeTarget::kElement;
    if (IsType(parent, Reserved().text)) return ChangeTarget::kText;
    if (IsType(parent->parent, Reserved().painted)) return ChangeTarget::kArea;
    return ChangeTarget::kElement;
}

std::vector<std::pair<Point, Point>> DottedStrokes(Point a, Point b, double dot, double gap,
                                                   size_t limit) {
    std::vector<std::pair<Point, Point>> out;
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (!(dot > 0) || !(gap >= 0) || !std::isfinite(len) || len < 1e-8) return out;
    const double period = dot + gap;
    if (len / period > double(limit)) return out;
    const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
    for (size_t i = 0;; ++i) {
        const double from = double(i) * period;
        if (len - from < 1e-8) break;
        const double to = std::min(from + dot, len);
        const Point p{a.x + ux * from, a.y + uy * from};
        const Point q = to >= len ? b : Point{a.x + ux * to, a.y + uy * to};
        out.emplace_back(p, q);
    }
    return out;
}

void InstallChangeTool(ModeTable& table) {
    table[kModeChange] = kChangeStates;
}

}  // namespace zevo
