#include "tools/change_dialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "board/model/board.h"
#include "board/model/intern.h"
#include "text/cp932.h"

namespace zevo {

namespace {

std::string Format(const char* fmt, auto... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

std::string ApertureEntry(const Board& b, int n, bool square) {
    return Format("%3d: %.3f", n, 2 * (square ? b.squareHalf(n) : b.roundHalf(n)));
}

std::string CaptionAt(const Board& b, const std::vector<int>& layers, size_t index) {
    return index < layers.size() ? ChangeLayerCaption(b, layers[index]) : std::string();
}

}  // namespace

std::vector<int> ChangeLayers(const Board& board, int layer) {
    std::vector<int> out;
    for (int l = 1; l < kLayers; ++l)
        if (!View(board.layerName[size_t(l)]).empty() || (board.layerFlags[size_t(l)] & kActiv) ||
            l == layer)
            out.push_back(l);
    // A layer 0 element (read from a file) keeps its layer on offer.
    if (layer == 0) out.insert(out.begin(), 0);
    return out;
}

std::string ChangeLayerCaption(const Board& board, int layer) {
    if (layer < 0 || layer >= kLayers) return {};
    const std::string name = Cp932ToUtf8(View(board.layerName[size_t(layer)]));
    return name.empty() ? Format("%3d", layer) : Format("%3d: %s", layer, name.c_str());
}

// ------------------------------------------------------------------ element, filled area

ElementChangeModel::ElementChangeModel(const Board& board, int layer, int aperture,
                                       bool squareTable)
    : layer(layer),
      aperture(std::max(aperture, 0)),
      board_(board),
      layers_(ChangeLayers(board, layer)),
      hasAperture_(aperture >= 0),
      square_(squareTable) {}

std::string ElementChangeModel::layerCaption(size_t index) const {
    return CaptionAt(board_, layers_, index);
}

int ElementChangeModel::layerIndex() const {
    const auto it = std::find(layers_.begin(), layers_.end(), layer);
    return it == layers_.end() ? -1 : int(it - layers_.begin());
}

std::string ElementChangeModel::apertureEntry(int n) const {
    return ApertureEntry(board_, n, square_);
}

// ------------------------------------------------------------------ rectangle

RectChangeModel::RectChangeModel(const Board& board, double dx, double dy, double angleDegrees,
                                 int layer)
    : x(FormatNumber(dx)),
      y(FormatNumber(dy)),
      angle(FormatNumber(angleDegrees)),
      layer(layer),
      board_(board),
      layers_(ChangeLayers(board, layer)) {}

std::string RectChangeModel::layerCaption(size_t index) const {
    return CaptionAt(board_, layers_, index);
}

std::optional<FieldError> RectChangeModel::decide() {
    const auto vx = EvaluateInput(x);
    if (!vx) return FieldError{kFieldX};
    const auto vy = EvaluateInput(y);
    if (!vy) return FieldError{kFieldY};
    const auto va = EvaluateInput(angle);
    if (!va) return FieldError{kFieldAngle};
    dxValue = *vx, dyValue = *vy, angleValue = *va;
    decided_ = true;
    return std::nullopt;
}

// ------------------------------------------------------------------ arc

ArcChangeModel::ArcChangeModel(const Board& board, double r, double startDegrees, double endDegrees,
                               int layer, int aperture)
    : radius(FormatNumber(r)),
      start(FormatNumber(startDegrees)),
      end(FormatNumber(endDegrees)),
      layer(layer),
      aperture(aperture),
      board_(board),
      layers_(ChangeLayers(board, layer)) {}

std::string ArcChangeModel::layerCaption(size_t index) const {
    return CaptionAt(board_, layers_, index);
}

std::string ArcChangeModel::apertureEntry(int n) const {
    return ApertureEntry(board_, n, false);
}

std::optional<FieldError> ArcChangeModel::decide() {
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

TextChangeModel::TextChangeModel(const Board& board, const DrawingSettings& values, int layer,
                                 std::filesystem::path font)
    : TextDialogModel(board, values, std::move(font)),
      layer(layer),
      board_(board),
      layers_(ChangeLayers(board, layer)) {}

std::string TextChangeModel::layerCaption(size_t index) const {
    return CaptionAt(board_, layers_, index);
}

TextChangeModel::Result TextChangeModel::decide() {
    // The text field holds 255 bytes of the file's encoding.
    if (Utf8ToCp932(text).size() > kMaxBytes) return {Outcome::kRefused, kFieldText, {}};
    return TextDialogModel::decide();
}

// ------------------------------------------------------------------ pin

PinChangeModel::PinChangeModel(std::string name, int number)
    : name(std::move(name)), number(std::to_string(number)) {}

std::optional<FieldError> PinChangeModel::decide() {
    const auto n = EvaluateInput(number);
    // The file keeps a pin number in 16 bits.
    if (!n || !std::isfinite(*n) || std::fabs(*n) > 32767 || *n != std::floor(*n))
        return FieldError{kFieldNumber};
    numberValue = int(*n);
    decided_ = true;
    return std::nullopt;
}

// ------------------------------------------------------------------ dotted line

DottedLineModel::DottedLineModel(double dot, double gap)
    : dot(FormatNumber(dot)), gap(FormatNumber(gap)) {}

std::optional<FieldError> DottedLineModel::decide() {
    const auto d = EvaluateInput(dot);
    if (!d) return FieldError{kFieldDot};
    const auto g = EvaluateInput(gap);
    if (!g) return FieldError{kFieldGap};
    dotValue = *d, gapValue = *g;
    decided_ = true;
    return std::nullopt;
}

}  // namespace zevo
