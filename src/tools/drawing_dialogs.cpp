#include "tools/drawing_dialogs.h"

#include <algorithm>
#include <cstdio>

#include "board/eval/evaluator.h"
#include "board/model/board.h"
#include "board/model/intern.h"
#include "text/cp932.h"
#include "text/language.h"
#include "view/stroke_font.h"

namespace zevo {

namespace {

std::string Format(const char* fmt, auto... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

}  // namespace

std::string_view CalculationErrorText() {
    return Tr("計算エラー");
}

std::optional<double> EvaluateInput(std::string_view utf8) {
    return EvaluateField(Utf8ToCp932(utf8));
}

std::string FormatNumber(double v) {
    return Format("%.12g", v);
}

// ------------------------------------------------------------------ layer

LayerSelectModel::LayerSelectModel(const Board& board) : board_(board), layer_(board.currentLayer) {
    for (int l = 1; l < kLayers; ++l)
        if (!View(board.layerName[size_t(l)]).empty() || (board.layerFlags[size_t(l)] & kActiv) ||
            l == board.currentLayer)
            layers_.push_back(l);
}

std::string LayerSelectModel::caption(size_t index) const {
    if (index >= layers_.size()) return {};
    const int l = layers_[index];
    const std::string name = Cp932ToUtf8(View(board_.layerName[size_t(l)]));
    return name.empty() ? Format("%3d", l) : Format("%3d: %s", l, name.c_str());
}

int LayerSelectModel::selectedIndex() const {
    const auto it = std::find(layers_.begin(), layers_.end(), layer_);
    return it == layers_.end() ? -1 : int(it - layers_.begin());
}

void LayerSelectModel::choose(size_t index) {
    if (index >= layers_.size()) return;
    layer_ = layers_[index];
    chosen_ = true;
}

// ------------------------------------------------------------------ apertures

ApertureSelectModel::ApertureSelectModel(const Board& board, const DrawingSettings& settings,
                                         ApertureTool tool, bool squareLineEnabled)
    : board_(board), s_(settings), tool_(tool), squareLineEnabled_(squareLineEnabled) {
    dx = FormatNumber(s_.rectDx);
    dy = FormatNumber(s_.rectDy);
    angle = FormatNumber(s_.rectAngle);
}

std::string ApertureSelectModel::title() const {
    switch (tool_) {
        case ApertureTool::kSquareLand:
            return std::string(Tr("アパーチャ 選択"));
        case ApertureTool::kLine:
            return std::string(Tr("ライン・アパーチャ選択"));
        default:
            return std::string(Tr("アパーチャ選択"));
    }
}

bool ApertureSelectModel::squareTable() const {
    return tool_ == ApertureTool::kSquareLand || (tool_ == ApertureTool::kLine && s_.squareLine);
}

std::string ApertureSelectModel::entry(int n) const {
    const double h = squareTable() ? board_.squareHalf(n) : board_.roundHalf(n);
    return Format("%3d: %.3f", n, 2 * h);
}

int ApertureSelectModel::selected() const {
    switch (tool_) {
        case ApertureTool::kRoundLand:
            return s_.roundLandAperture;
        case ApertureTool::kSquareLand:
            return s_.squareAsRectangle ? s_.rectAperture : s_.squareLandAperture;
        case ApertureTool::kLine:
            return s_.currentLineAperture();
        case ApertureTool::kArc:
            return s_.lineAperture;
        case ApertureTool::kText:
            return s_.textAperture;
    }
    return 0;
}

void ApertureSelectModel::choose(int n) {
    if (n < 0 || n >= kApertures) return;
    switch (tool_) {
        case ApertureTool::kRoundLand:
            s_.roundLandAperture = n;
            break;
        case ApertureTool::kSquareLand:
            (s_.squareAsRectangle ? s_.rectAperture : s_.squareLandAperture) = n;
            break;
        case ApertureTool::kLine:
            (s_.squareLine ? s_.squareLineAperture : s_.lineAperture) = n;
            break;
        case ApertureTool::kArc:
            s_.lineAperture = n;
            break;
        case ApertureTool::kText:
            s_.textAperture = n;
            break;
    }
    closed_ = true;
}

std::optional<FieldError> ApertureSelectModel::close() {
    if (tool_ == ApertureTool::kSquareLand && s_.squareAsRectangle) {
        const auto x = EvaluateInput(dx);
        if (!x) return FieldError{kFieldDx};
        const auto y = EvaluateInput(dy);
        if (!y) return FieldError{kFieldDy};
        const auto a = EvaluateInput(angle);
        if (!a) return FieldError{kFieldAngle};
        // A rectangle needs a size; a non-positive one keeps the old value.
        if (*x > 0) s_.rectDx = *x;
        if (*y > 0) s_.rectDy = *y;
        s_.rectAngle = *a;
    }
    closed_ = true;
    return std::nullopt;
}

// ------------------------------------------------------------------ pads

PadSelectModel::PadSelectModel(const Board& board, int padNumber)
    : board_(board),
      number_(std::clamp(padNumber, 0, std::max(0, int(board.padDefs.size()) - 1))) {}

int PadSelectModel::count() const {
    return int(board_.padDefs.size());
}

std::string PadSelectModel::heading() const {
    return Format("%d / %d", number_ + 1, count());
}

std::vector<std::string> PadSelectModel::pairs() const {
    std::vector<std::string> out;
    if (number_ < 0 || number_ >= count()) return out;
    for (const PadPair& p : board_.padDefs[size_t(number_)])
        out.push_back(
            Format("%3d: %3d (%.3f)", p.layer, p.aperture, 2 * board_.roundHalf(p.aperture)));
    return out;
}

void PadSelectModel::previous() {
    if (number_ > 0) --number_;
}
void PadSelectModel::next() {
    if (number_ + 1 < count()) ++number_;
}

// ------------------------------------------------------------------ arc

ArcDialogModel::ArcDialogModel(const DrawingSettings& s)
    : radius(FormatNumber(s.arcRadius)),
      start(FormatNumber(s.arcStart)),
      end(FormatNumber(s.arcEnd)) {}

std::optional<FieldError> ArcDialogModel::decide() {
    const auto r = EvaluateInput(radius);
    if (!r) return FieldError{kFieldRadius};
    const auto a = EvaluateInput(start);
    if (!a) return FieldError{kFieldStart};
    const auto b = EvaluateInput(end);
    if (!b) return FieldError{kFieldEnd};
    radiusValue = *r, startValue = *a, endValue = *b;
    decided_ = true;
    return std::nullopt;
}

// ------------------------------------------------------------------ text

TextDialogModel::TextDialogModel(const Board& board, const DrawingSettings& s,
                                 std::filesystem::path font)
    : text(Cp932ToUtf8(s.text)),
      aperture(s.textAperture),
      height(FormatNumber(s.textHeight)),
      pitch(FormatNumber(s.textPitch)),
      angle(FormatNumber(s.textAngle)),
      mirror(s.textMirror),
      board_(board),
      font_(std::move(font)) {}

std::string TextDialogModel::apertureEntry(int n) const {
    return Format("%3d: %.3f", n, 2 * board_.roundHalf(n));
}

TextDialogModel::Result TextDialogModel::decide() {
    Result r;
    const auto h = EvaluateInput(height);
    if (!h) return {Outcome::kCalcError, kFieldHeight, {}};
    const auto p = EvaluateInput(pitch);
    if (!p) return {Outcome::kCalcError, kFieldPitch, {}};
    const auto a = EvaluateInput(angle);
    if (!a) return {Outcome::kCalcError, kFieldAngle, {}};
    // A board file cannot hold a tab in a text (it stands for a comma there), nor a line end.
    if (text.find_first_of("\t\r\n") != std::string::npos)
        return {Outcome::kRefused, kFieldText, {}};
    const Coverage c = CheckCoverage(font_, Utf8ToCp932(text));
    switch (c.verdict) {
        case Coverage::kAccepted:
            break;
        case Coverage::kNoFont:
            return {Outcome::kRefusedSilently, kFieldText, {}};
        case Coverage::kUncodedBytes:
            return {Outcome::kRefused, kFieldText, {}};
        case Coverage::kMissingGlyphs:
            return {Outcome::kMissingGlyphs, kFieldText, Cp932ToUtf8(MissingGlyphMessage(c))};
    }
    h_ = *h, p_ = *p, a_ = *a;
    decided_ = true;
    return r;
}

void TextDialogModel::store(DrawingSettings& s) const {
    s.text = Utf8ToCp932(text);
    s.textAperture = std::clamp(aperture, 0, kApertures - 1);
    s.textHeight = h_;
    s.textPitch = p_;
    s.textAngle = a_;
    s.textMirror = mirror;
}

// ------------------------------------------------------------------ numeric input

NumericInputModel::NumericInputModel(bool nextPoint, Memory& memory, Point last, Point origin)
    : next_(nextPoint), memory_(memory), last_(last), origin_(origin) {
    const int form = next_ ? 1 : 0;
    if (memory_.form != form) {
        memory_ = {form, 0, 0};
    }
    x = FormatNumber(memory_.x).substr(0, 256);
    y = FormatNumber(memory_.y).substr(0, 256);
}

std::optional<FieldError> NumericInputModel::press(Button b) {
    if (b == Button::kRelative && !next_) return std::nullopt;
    const auto vx = EvaluateInput(x);
    if (!vx) return FieldError{kFieldX};
    const auto vy = EvaluateInput(y);
    if (!vy) return FieldError{kFieldY};
    memory_.x = *vx, memory_.y = *vy;
    switch (b) {
        case Button::kAbsolute:
            point_ = Point{*vx, *vy};
            break;
        case Button::kOrigin:
            point_ = Point{origin_.x + *vx, origin_.y + *vy};
            break;
        case Button::kRelative:
            point_ = Point{last_.x + *vx, last_.y + *vy};
            break;
    }
    return std::nullopt;
}

}  // namespace zevo
