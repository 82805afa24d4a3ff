#include "glyph_editor/glyph_editor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace zevo {

GridCell CellOfPixel(int px, int py) {
    const int column = std::clamp(px / kGridCellPixels, 0, kGlyphGrid - 1);
    const int row = std::clamp(py / kGridCellPixels, 0, kGlyphGrid - 1);
    return {column, kGlyphGrid - 1 - row};
}

// ---- glyph buffer

GlyphBuffer::Entry GlyphBuffer::entry(int i) const {
    const uint8_t a = raw_[1 + 2 * i], b = raw_[2 + 2 * i];
    return {(a & kPenDown) != 0, uint8_t(a & kValueMask), uint8_t(b & kValueMask)};
}

void GlyphBuffer::set(int i, Entry e) {
    raw_[1 + 2 * i] = uint8_t((e.pen ? kPenDown : 0) | kKindXY | (e.x & kValueMask));
    raw_[2 + 2 * i] = uint8_t(e.y & kValueMask);
}

bool GlyphBuffer::append(Entry e) {
    if (count() >= kMaxGlyphEntries) return false;
    set(count(), e);
    ++raw_[0];
    return true;
}

void GlyphBuffer::remove(int i) {
    const int n = count();
    if (i < 0 || i >= n) return;
    std::memmove(&raw_[1 + 2 * i], &raw_[3 + 2 * i], 2 * std::size_t(n - 1 - i));
    --raw_[0];
}

GridCell GlyphBuffer::lastPoint() const {
    if (count() == 0) return {0, 0};
    const Entry e = entry(count() - 1);
    return {e.x, e.y};
}

GlyphBuffer GlyphBuffer::FromRecord(std::span<const uint8_t> record) {
    GlyphBuffer g;
    GlyphDecoder d(record.data(), record.size());
    for (GlyphPoint p; d.next(p);) g.append({p.pen, uint8_t(p.x), uint8_t(p.y)});
    return g;
}

std::vector<uint8_t> GlyphBuffer::encode() const {
    std::vector<uint8_t> out;
    out.reserve(1 + 2 * std::size_t(count()));
    out.push_back(0);
    int px = 0, py = 0, n = 0;
    for (int i = 0; i < count(); ++i) {
        const Entry e = entry(i);
        const uint8_t pen = e.pen ? kPenDown : 0;
        if (e.x == px && e.y == py) continue;
        if (e.x == px) {
            out.push_back(uint8_t(pen | kKindY | e.y));
        } else if (e.y == py) {
            out.push_back(uint8_t(pen | kKindX | e.x));
        } else {
            out.push_back(uint8_t(pen | kKindXY | e.x));
            out.push_back(e.y);
        }
        px = e.x, py = e.y;
        ++n;
    }
    if (n == 0) return {};
    out[0] = uint8_t(n);
    return out;
}

std::vector<GlyphStroke> StrokesOf(const GlyphBuffer& g) {
    std::vector<GlyphStroke> out;
    GridCell prev{0, 0};
    for (int i = 0; i < g.count(); ++i) {
        const GlyphBuffer::Entry e = g.entry(i);
        const GridCell p{e.x, e.y};
        if (e.pen) out.push_back({prev, p});
        prev = p;
    }
    return out;
}

// ---- the editor

FontLoadResult GlyphEditor::LoadFont(const std::filesystem::path& path) {
    const FontLoadResult r = image_.LoadFile(path);
    code_ = kNoCode;
    glyph_.clear();
    modified_ = false;
    history_.clear();
    state_ = State::kIdle;
    return r;
}

FontCode GlyphEditor::CodeOfBoxText(std::string_view text) {
    text = text.substr(0, 8);
    TextCodes codes(text);
    TextChar ch;
    if (!codes.next(ch) || ch.code == kNoCode) return kIdeographicSpace;
    return ch.code;
}

bool GlyphEditor::SelectText(std::string_view text) {
    SpliceBack();
    return SelectCode(CodeOfBoxText(text));
}

bool GlyphEditor::SelectCode(FontCode code) {
    if (code == kIdeographicSpace || FontCellOfCode(code) < 0) return false;
    // The grid's pointer state belongs to the glyph: a stroke in progress ends with it.
    SpliceBack();
    code_ = code;
    loadGlyph();
    return true;
}

void GlyphEditor::loadGlyph() {
    history_.clear();
    modified_ = false;
    state_ = State::kIdle;
    moving_ = -1;
    glyph_ = GlyphBuffer::FromRecord(image_.record(FontCellOfCode(code_)));
}

bool GlyphEditor::SpliceBack() {
    if (!modified_ || code_ == kNoCode) return true;
    if (!image_.Splice(FontCellOfCode(code_), glyph_.encode())) return false;
    // The glyph now matches the image; splicing again would change nothing.
    modified_ = false;
    return true;
}

bool GlyphEditor::PrepareClose() {
    SpliceBack();
    return image_.needsSave();
}

void GlyphEditor::snapshot() {
    if (history_.size() == kGlyphUndoDepth) history_.pop_front();
    history_.push_back(glyph_);
}

void GlyphEditor::dropSnapshot() {
    if (history_.empty()) return;
    glyph_ = history_.back();
    history_.pop_back();
}

bool GlyphEditor::Undo() {
    if (!canUndo()) return false;
    dropSnapshot();
    return true;
}

void GlyphEditor::LeftDown(GridCell c) {
    if (state_ == State::kIdle) pressed_ = c;
    pointer_ = c;
}

void GlyphEditor::LeftUp(GridCell c, bool rightHeld) {
    refusedFull_ = false;
    switch (state_) {
        case State::kIdle: {
            if (rightHeld || code_ == kNoCode) return;
            const int n = glyph_.count();
            const bool elsewhere = !(c == glyph_.lastPoint());
            // A stroke needs room for its start and one more point.
            if (n >= kMaxGlyphEntries || (elsewhere && n >= kMaxGlyphEntries - 1)) {
                refusedFull_ = true;
                return;
            }
            if (elsewhere) glyph_.append({false, uint8_t(c.x), uint8_t(c.y)});
            anchor_ = glyph_.lastPoint();
            pointer_ = c;
            state_ = State::kDrawing;
            return;
        }
        case State::kDrawing: {
            if (rightHeld || c == anchor_) return;
            if (glyph_.count() >= kMaxGlyphEntries) {
                refusedFull_ = true;
                return;
            }
            snapshot();
            modified_ = true;
            glyph_.append({true, uint8_t(c.x), uint8_t(c.y)});
            anchor_ = c;
            pointer_ = c;
            return;
        }
        case State::kMoving: {
            GlyphBuffer::Entry e = glyph_.entry(moving_);
            e.x = uint8_t(c.x), e.y = uint8_t(c.y);
            glyph_.set(moving_, e);
            if (c == moveStart_)
                dropSnapshot();  // a click without movement leaves no undo step
            else
                modified_ = true;
            moving_ = -1;
            state_ = State::kIdle;
            return;
        }
    }
}

void GlyphEditor::RightUp(GridCell c, bool leftHeld) {
    if (leftHeld) return;
    switch (state_) {
        case State::kIdle:
            deleteSegmentAt(c);
            return;
        case State::kDrawing: {
            const int n = glyph_.count();
            if (n > 0 && !glyph_.entry(n - 1).pen) glyph_.remove(n - 1);
            state_ = State::kIdle;
            return;
        }
        case State::kMoving:
            return;
    }
}

void GlyphEditor::Move(GridCell c, bool leftHeld) {
    const bool entered = !(c == pointer_);
    pointer_ = c;
    if (!entered) return;
    switch (state_) {
        case State::kIdle: {
            if (!leftHeld) return;
            for (int i = 0; i < glyph_.count(); ++i) {
                const GlyphBuffer::Entry e = glyph_.entry(i);
                if (std::abs(e.x - pressed_.x) > 1 || std::abs(e.y - pressed_.y) > 1) continue;
                snapshot();
                moveStart_ = {e.x, e.y};
                moving_ = i;
                state_ = State::kMoving;
                glyph_.set(i, {e.pen, uint8_t(c.x), uint8_t(c.y)});
                return;
            }
            return;
        }
        case State::kDrawing:
            return;  // only the rubber band follows
        case State::kMoving: {
            GlyphBuffer::Entry e = glyph_.entry(moving_);
            e.x = uint8_t(c.x), e.y = uint8_t(c.y);
            glyph_.set(moving_, e);
            return;
        }
    }
}

std::optional<GlyphStroke> GlyphEditor::rubberBand() const {
    if (state_ != State::kDrawing) return std::nullopt;
    return GlyphStroke{anchor_, pointer_};
}

namespace {

// Does the segment a-b pass within one grid unit of c?
bool SegmentNear(GridCell a, GridCell b, GridCell c) {
    if (a.y == b.y)
        return std::abs(c.y - a.y) <= 1 && c.x >= std::min(a.x, b.x) && c.x <= std::max(a.x, b.x);
    if (a.x == b.x)
        return std::abs(c.x - a.x) <= 1 && c.y >= std::min(a.y, b.y) && c.y <= std::max(a.y, b.y);
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = ((c.x - a.x) * dx + (c.y - a.y) * dy) / (dx * dx + dy * dy);
    if (t < 0 || t > 1) return false;
    const double fx = a.x + t * dx - c.x, fy = a.y + t * dy - c.y;
    return fx * fx + fy * fy <= 1;
}

}  // namespace

bool GlyphEditor::deleteSegmentAt(GridCell c) {
    GridCell prev{0, 0};
    for (int i = 0; i < glyph_.count(); ++i) {
        GlyphBuffer::Entry e = glyph_.entry(i);
        const GridCell p{e.x, e.y};
        if (!e.pen || !SegmentNear(prev, p, c)) {
            prev = p;
            continue;
        }
        snapshot();
        modified_ = true;
        e.pen = false;
        glyph_.set(i, e);
        // Tidy: a move followed by this move is pointless; so is a move followed by a move or
        // by nothing.
        if (i > 0 && !glyph_.entry(i - 1).pen) glyph_.remove(--i);
        if (i + 1 >= glyph_.count() || !glyph_.entry(i + 1).pen) glyph_.remove(i);
        return true;
    }
    return false;
}

}  // namespace zevo
