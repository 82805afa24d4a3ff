#include "output/gerber_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <string>

namespace zevo {

namespace {

// Coordinates and sizes beyond this many millimetres are nonsense for any board.
constexpr double kMaxMagnitude = 1e6;
constexpr std::size_t kCommandBuffer = 4096;
constexpr int kMaxMacroVariables = 1000;
constexpr int kMaxOutlineVertices = 10000;
constexpr int kMaxHatchLines = 10000;
constexpr int kMaxExpressionDepth = 32;

bool Finite(double v) {
    return std::isfinite(v) && std::fabs(v) <= kMaxMagnitude;
}

// A decimal number: sign, digits, an optional point and fraction. Arbitrarily long digit runs
// are read without overflow (the value then becomes huge, and callers refuse it).
bool ParseNumber(std::string_view s, std::size_t& i, double& v, bool* hadPoint = nullptr) {
    std::size_t k = i;
    bool negative = false;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
    double value = 0;
    int digits = 0;
    while (k < s.size() && s[k] >= '0' && s[k] <= '9') {
        if (value < 1e300) value = value * 10 + (s[k] - '0');
        ++k, ++digits;
    }
    bool point = false;
    if (k < s.size() && s[k] == '.') {
        point = true;
        ++k;
        double scale = 0.1;
        while (k < s.size() && s[k] >= '0' && s[k] <= '9') {
            if (scale > 1e-300) value += (s[k] - '0') * scale;
            scale *= 0.1;
            ++k, ++digits;
        }
    }
    if (digits == 0) return false;
    v = negative ? -value : value;
    if (hadPoint) *hadPoint = point;
    i = k;
    return true;
}

// A whole number for codes (G, D, M, tool numbers); false when absent or beyond int range.
bool ParseCode(std::string_view s, std::size_t& i, long long& code) {
    std::size_t k = i;
    bool negative = false;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
    long long v = 0;
    int digits = 0;
    bool overflow = false;
    while (k < s.size() && s[k] >= '0' && s[k] <= '9') {
        if (v < (1LL << 40))
            v = v * 10 + (s[k] - '0');
        else
            overflow = true;
        ++k, ++digits;
    }
    if (digits == 0) return false;
    i = k;
    code = overflow ? (1LL << 41) : (negative ? -v : v);
    return true;
}

}  // namespace

int NearestRoundAperture(const Board& b, double r) {
    if (!(r >= 0.0005)) r = 0.0005;
    for (int i = 0; i < kApertures; ++i)
        if (std::fabs(b.roundAp[i] - r) < kEps) return i;
    int best = 0;
    double bestDiff = std::fabs(b.roundAp[0] - r);
    for (int i = 1; i < kApertures; ++i) {
        const double d = std::fabs(b.roundAp[i] - r);
        if (d < bestDiff) best = i, bestDiff = d;
    }
    return best;
}

namespace {

int NearestSquareAperture(const Board& b, double side) {
    for (int i = 0; i < kApertures; ++i)
        if (std::fabs(2 * b.squareAp[i] - side) < kEps) return i;
    int best = 0;
    double bestDiff = std::fabs(2 * b.squareAp[0] - side);
    for (int i = 1; i < kApertures; ++i) {
        const double d = std::fabs(2 * b.squareAp[i] - side);
        if (d < bestDiff) best = i, bestDiff = d;
    }
    return best;
}

// The pen that paints a filled shape whose smaller side is s. The pen must also be narrower
// than the shape (a rectangle wider than its pen is what the board file can hold), so pens of
// `limit` half size or more are passed over; -1 when no aperture fits.
int FillPen(const Board& b, double s, double limit) {
    double v;
    if (s < 0.25)
        v = std::max(s / 5, 0.01);
    else if (s < 20)
        v = 0.05;
    else if (s < 200)
        v = std::floor(s / 10 + 0.5) / 40;
    else
        v = 0.5;
    int best = -1;
    double bestDiff = 0;
    for (int i = 0; i < kApertures; ++i) {
        const double h = b.roundAp[i];
        if (h < 0.01 || h >= limit) continue;
        const double d = std::fabs(h - v);
        if (d < kEps) return i;
        if (best < 0 || d < bestDiff) best = i, bestDiff = d;
    }
    return best;
}

// Half size a rectangle of smaller side s leaves for its pen.
double PenLimit(double s) {
    return (s - 0.001) / 2;
}

struct Primitive {
    int code = 0;
    std::vector<double> p;  // after the code: exposure and the rest
};

// kRefused: the file defined the code but the definition could not be taken; the code draws
// nothing (it does not fall back on the slot the tables preset).
enum class SlotKind { kNone, kRefused, kRound, kSquare, kRect, kObround, kMacro };

struct Slot {
    SlotKind kind = SlotKind::kNone;
    int aperture = 0;  // round or square aperture; the pen of a rectangle
    double w = 0, h = 0, angle = 0;
    double halfLength = 0;  // obround: half the difference of the sides
    bool vertical = false;
    std::shared_ptr<const std::vector<Primitive>> macro;
};

struct MacroBody {
    std::vector<std::string> statements;
};

// Arithmetic of macro bodies: numbers, $n, + - x X / and parentheses.
class MacroExpression {
  public:
    MacroExpression(std::string_view s, const std::vector<double>& vars) : s_(s), vars_(vars) {}
    bool eval(double& out) {
        out = sum(0);
        return ok_ && i_ == s_.size() && std::isfinite(out);
    }

  private:
    double sum(int depth) {
        double v = product(depth);
        while (ok_ && i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) {
            const char op = s_[i_++];
            const double r = product(depth);
            v = op == '+' ? v + r : v - r;
        }
        return v;
    }
    double product(int depth) {
        double v = unary(depth);
        while (ok_ && i_ < s_.size() && (s_[i_] == 'x' || s_[i_] == 'X' || s_[i_] == '/')) {
            const char op = s_[i_++];
            const double r = unary(depth);
            v = op == '/' ? (r != 0 ? v / r : (ok_ = false, 0.0)) : v * r;
        }
        return v;
    }
    double unary(int depth) {
        if (depth > kMaxExpressionDepth) return ok_ = false, 0.0;
        if (i_ < s_.size() && (s_[i_] == '-' || s_[i_] == '+')) {
            const bool neg = s_[i_++] == '-';
            const double v = unary(depth + 1);
            return neg ? -v : v;
        }
        if (i_ < s_.size() && s_[i_] == '(') {
            ++i_;
            const double v = sum(depth + 1);
            if (i_ < s_.size() && s_[i_] == ')')
                ++i_;
            else
                ok_ = false;
            return v;
        }
        if (i_ < s_.size() && s_[i_] == '$') {
            ++i_;
            long long n = 0;
            if (!ParseCode(s_, i_, n) || n < 1 || n > kMaxMacroVariables) return ok_ = false, 0.0;
            return n <= static_cast<long long>(vars_.size()) ? vars_[n - 1] : 0.0;
        }
        double v = 0;
        if (!ParseNumber(s_, i_, v)) return ok_ = false, 0.0;
        return v;
    }

    std::string_view s_;
    const std::vector<double>& vars_;
    std::size_t i_ = 0;
    bool ok_ = true;
};

class GerberReader {
  public:
    GerberReader(Board& b, const GerberReadOptions& o, InputResult& r) : b_(b), o_(o), r_(r) {
        unit_ = o.inch ? 25.4 : 1;
        scale_ = std::pow(10.0, -std::clamp(o.decimals, 0, 9));
        // Every D code of the tables: square apertures first, so that a round aperture with
        // the same code wins.
        for (int i = 0; i < kApertures; ++i) preset(o.codes.square[i], SlotKind::kSquare, i);
        for (int i = 0; i < kApertures; ++i) preset(o.codes.round[i], SlotKind::kRound, i);
    }

    void run(std::string_view bytes) {
        std::string cmd;
        cmd.reserve(256);
        bool cut = false;
        for (char ch : bytes) {
            const unsigned char c = static_cast<unsigned char>(ch);
            if (ch == '\n') ++line_;
            if (c <= 32 || c == 127) continue;  // blanks, line ends, NUL and other controls
            if (cmd.empty()) commandLine_ = line_;
            if (ch == '%') {
                if (!cmd.empty()) command(cmd);
                cmd.clear();
                cut = false;
                param_ = !param_;
                if (!param_) macro_ = nullptr;
                continue;
            }
            if (ch == '*') {
                command(cmd);
                cmd.clear();
                cut = false;
                continue;
            }
            if (cmd.size() < kCommandBuffer)
                cmd.push_back(ch);
            else if (!cut)
                cut = true, r_.warn(kWarnUnterminated);
        }
        if (!cmd.empty() || param_) r_.warn(kWarnUnterminated);
    }

  private:
    void preset(int code, SlotKind kind, int aperture) {
        if (code < 4 || code > kMaxDCode) return;
        Slot& s = slots_[code];
        s = Slot{};
        s.kind = kind;
        s.aperture = aperture;
    }

    bool room() {
        if (r_.elements.size() + made_ < kMaxElementsPerFile) return true;
        if (!limitWarned_) r_.warn(kWarnLimit), limitWarned_ = true;
        return false;
    }
    void add(container* e) {
        if (e) r_.elements.push_back(e);
    }

    void command(const std::string& c) {
        if (c.empty()) return;
        ++r_.commands;
        if (param_)
            parameter(c);
        else
            data(c);
    }

    // ---- parameters
    void parameter(std::string_view c) {
        if (macro_) {
            if (macro_->statements.size() < 100000) macro_->statements.emplace_back(c);
            return;
        }
        if (c.substr(0, 2) == "AM") {
            const std::string name(c.substr(2));
            if (name.empty()) return r_.warn(kWarnBadParameter);
            macro_ = &macros_[name];
            macro_->statements.clear();
        } else if (c.substr(0, 2) == "AD") {
            apertureDefinition(c.substr(2));
        } else if (c.substr(0, 2) == "FS") {
            formatSpec(c.substr(2));
        } else if (c.substr(0, 2) == "MO") {
            if (c.substr(2, 2) == "MM")
                unit_ = 1;
            else if (c.substr(2, 2) == "IN")
                unit_ = 25.4;
            else
                r_.warn(kWarnBadParameter);
        }
        // Other parameters (AS, OF, IP, LP, SR, ...) have no effect here.
    }

    void formatSpec(std::string_view c) {
        const std::size_t x = c.find('X');
        const std::size_t y = c.find('Y');
        auto digit = [&](std::size_t at) { return at < c.size() && c[at] >= '0' && c[at] <= '9'; };
        if (x == std::string_view::npos || y == std::string_view::npos || !digit(x + 1) ||
            !digit(x + 2) || !digit(y + 1) || !digit(y + 2))
            return r_.warn(kWarnBadParameter);
        const std::string_view mode = c.substr(0, x);
        if (mode.find('I') != std::string_view::npos) incremental_ = true;
        if (mode.find('A') != std::string_view::npos) incremental_ = false;
        const int dx = c[x + 2] - '0', dy = c[y + 2] - '0';
        if (dx != dy) r_.warn(kWarnDecimalsDiffer);
        scale_ = std::pow(10.0, -dx);
    }

    // The sizes after the comma, separated by "X".
    bool sizes(std::string_view s, std::vector<double>& out, std::size_t most) {
        std::size_t i = 0;
        while (i < s.size()) {
            double v = 0;
            if (out.size() >= most || !ParseNumber(s, i, v) || !std::isfinite(v)) return false;
            out.push_back(v);
            if (i < s.size()) {
                if (s[i] != 'X') return false;
                ++i;
            }
        }
        return true;
    }

    void apertureDefinition(std::string_view c) {
        if (c.empty() || c[0] != 'D') return r_.warn(kWarnBadAperture);
        std::size_t i = 1;
        long long code = 0;
        if (!ParseCode(c, i, code) || code < 4 || code > kMaxDCode)
            return r_.warn(kWarnBadAperture);
        // Until the definition is taken the code stands for nothing, whatever the tables say.
        slots_[code] = Slot{};
        slots_[code].kind = SlotKind::kRefused;
        const std::size_t comma = c.find(',', i);
        const std::string_view name =
            c.substr(i, comma == std::string_view::npos ? c.size() - i : comma - i);
        std::vector<double> v;
        if (comma != std::string_view::npos && !sizes(c.substr(comma + 1), v, 64))
            return r_.warn(kWarnBadAperture);
        Slot s;
        if (name == "C" || name == "R" || name == "O" || name == "P") {
            for (double& x : v) x *= unit_;
            if (v.empty() || !Finite(v[0]) || v[0] < 0) return r_.warn(kWarnBadAperture);
        }
        if (name == "C") {
            if (v.size() > 1) r_.warn(kWarnApertureHole);
            s.kind = SlotKind::kRound;
            s.aperture = NearestRoundAperture(b_, v[0] / 2);
        } else if (name == "R" || name == "O") {
            if (v.size() < 2 || !Finite(v[1]) || v[1] < 0) return r_.warn(kWarnBadAperture);
            if (v.size() > 2) r_.warn(kWarnApertureHole);
            double w = v[0], h = v[1];
            if (name == "R") {
                w = std::max(RoundToInput(w), 0.01);
                h = std::max(RoundToInput(h), 0.01);
                if (std::fabs(w - h) < kEps) {
                    s.kind = SlotKind::kSquare;
                    s.aperture = NearestSquareAperture(b_, w);
                } else {
                    const double small = std::min(w, h);
                    const int pen = small < 0.03 ? -1 : FillPen(b_, small, PenLimit(small));
                    if (pen < 0) return r_.warn(kWarnBadAperture);
                    s.kind = SlotKind::kRect;
                    s.aperture = pen;
                    s.w = w;
                    s.h = h;
                }
            } else {
                s.kind = std::fabs(w - h) < kEps ? SlotKind::kRound : SlotKind::kObround;
                s.aperture = NearestRoundAperture(b_, std::min(w, h) / 2);
                s.halfLength = std::fabs(w - h) / 2;
                s.vertical = h > w;
            }
        } else if (name == "P") {
            const double side = v[0] / std::sqrt(2.0);
            if (side <= 0.01) return r_.warn(kWarnBadAperture);
            const int pen = FillPen(b_, side, PenLimit(side));
            if (pen < 0) return r_.warn(kWarnBadAperture);
            s.kind = SlotKind::kRect;
            s.aperture = pen;
            s.w = s.h = side;
            s.angle = kPi / 4;
        } else {
            const auto it = macros_.find(std::string(name));
            if (it == macros_.end()) return r_.warn(kWarnBadAperture);
            auto prims = std::make_shared<std::vector<Primitive>>();
            if (!expandMacro(it->second, v, *prims)) return r_.warn(kWarnBadAperture);
            s.kind = SlotKind::kMacro;
            s.macro = std::move(prims);
        }
        slots_[code] = s;
    }

    // Evaluates the statements of a macro with the parameters of one definition.
    bool expandMacro(const MacroBody& m, std::vector<double> vars, std::vector<Primitive>& out) {
        for (const std::string& st : m.statements) {
            if (st.empty() || st[0] == '0') continue;  // comment primitive
            if (st[0] == '$') {                        // variable definition: $n=expression
                std::size_t i = 1;
                long long n = 0;
                const std::size_t eq = st.find('=');
                if (!ParseCode(st, i, n) || i != eq || n < 1 || n > kMaxMacroVariables) {
                    r_.warn(kWarnMacro);
                    continue;
                }
                double value = 0;
                if (!MacroExpression(std::string_view(st).substr(eq + 1), vars).eval(value)) {
                    r_.warn(kWarnMacro);
                    continue;
                }
                if (vars.size() < static_cast<std::size_t>(n)) vars.resize(n, 0.0);
                vars[n - 1] = value;
                continue;
            }
            Primitive p;
            std::size_t start = 0;
            bool first = true, bad = false;
            while (start <= st.size()) {
                std::size_t end = st.find(',', start);
                if (end == std::string::npos) end = st.size();
                double value = 0;
                if (!MacroExpression(std::string_view(st).substr(start, end - start), vars)
                         .eval(value)) {
                    bad = true;
                    break;
                }
                if (first)
                    p.code = static_cast<int>(std::clamp(value, -1.0, 1000.0)), first = false;
                else if (p.p.size() < 2 * kMaxOutlineVertices + 8)
                    p.p.push_back(value * 1.0);
                else
                    bad = true;
                start = end + 1;
            }
            if (bad) {
                r_.warn(kWarnMacro);
                continue;
            }
            out.push_back(std::move(p));
        }
        return true;
    }

    // ---- data blocks
    void data(std::string_view c) {
        if (ended_ && !afterEndWarned_) r_.warn(kWarnAfterEnd), afterEndWarned_ = true;
        double nx = cur_.x, ny = cur_.y, ci = 0, cj = 0;
        bool coords = false, bad = false;
        long long d = -1;
        std::size_t i = 0;
        while (i < c.size()) {
            const char letter = c[i++];
            if (letter == 'G') {
                long long g = 0;
                if (!ParseCode(c, i, g)) {
                    r_.warn(kWarnUnknownCode);
                    continue;
                }
                switch (g) {
                    case 1:
                    case 2:
                    case 3:
                        mode_ = static_cast<int>(g);
                        break;
                    case 4:
                        return;  // a comment: the whole block
                    case 20:
                    case 70:
                        unit_ = 25.4;
                        break;
                    case 21:
                    case 71:
                        unit_ = 1;
                        break;
                    case 54:
                    case 74:
                    case 75:
                    case 90:
                        break;
                    case 36:
                    case 37:
                        r_.warn(kWarnRegion);
                        break;
                    default:
                        r_.warn(kWarnUnknownCode);
                        break;
                }
            } else if (letter == 'D') {
                long long v = 0;
                if (!ParseCode(c, i, v) || v < 1 || v > kMaxDCode) {
                    r_.warn(kWarnUnknownCode);
                    continue;
                }
                if (v <= 3) {
                    d = v;
                } else {
                    slot_ = static_cast<int>(v);
                }
            } else if (letter == 'M') {
                long long m = 0;
                if (!ParseCode(c, i, m)) r_.warn(kWarnUnknownCode);
                if (m == 2) ended_ = true;
            } else if (letter == 'X' || letter == 'Y' || letter == 'I' || letter == 'J') {
                double v = 0;
                bool point = false;
                if (!ParseNumber(c, i, v, &point)) {
                    r_.warn(kWarnBadNumber);
                    bad = true;
                    continue;
                }
                v = (point ? v : v * scale_) * unit_;
                if (!Finite(v)) {
                    r_.warn(kWarnBadNumber);
                    bad = true;
                    continue;
                }
                if (letter == 'X') nx = incremental_ ? cur_.x + v : v, coords = true;
                if (letter == 'Y') ny = incremental_ ? cur_.y + v : v, coords = true;
                if (letter == 'I') ci = RoundToInput(v);
                if (letter == 'J') cj = RoundToInput(v);
            } else {
                r_.warn(kWarnUnknownCode);
                // Skip the rest of an unknown word (its number).
                while (i < c.size() && !(c[i] >= 'A' && c[i] <= 'Z')) ++i;
            }
        }
        if (bad) return;
        const Point next{RoundToInput(nx), RoundToInput(ny)};
        if (!Finite(next.x) || !Finite(next.y)) return r_.warn(kWarnBadNumber);
        // D01 and D02 stay in force for the following blocks; D03 flashes once.
        if (d == 1 || d == 2) exposure_ = static_cast<int>(d);
        if (d == 3)
            flash(next);
        else if (coords && exposure_ == 1)
            draw(next, ci, cj);  // "D01*" alone only sets the exposure, as plain files use it
        cur_ = next;
    }

    // The slot of a flash or draw; nothing (and the command counted as skipped) when the code
    // has no aperture.
    const Slot* currentSlot() {
        const SlotKind kind = slot_ < 4 ? SlotKind::kNone : slots_[slot_].kind;
        if (kind == SlotKind::kNone || kind == SlotKind::kRefused) {
            // A refused definition was reported where it stood.
            if (kind == SlotKind::kNone) r_.warn(kWarnUndefinedAperture);
            skipped();
            return nullptr;
        }
        return &slots_[slot_];
    }
    void skipped() { r_.skip(o_.layer, commandLine_); }

    void flash(Point p) {
        const Slot* s = currentSlot();
        if (!s || !room()) return;
        const int layer = o_.layer;
        switch (s->kind) {
            case SlotKind::kRound:
                add(b_.CreateLand(layer, s->aperture, false, p));
                break;
            case SlotKind::kSquare:
                add(b_.CreateLand(layer, s->aperture, true, p));
                break;
            case SlotKind::kRect:
                add(b_.CreateRect(layer, s->aperture, p, s->w, s->h, s->angle));
                break;
            case SlotKind::kObround: {
                group* g = b_.CreateGroup(kEmptyText);
                const Point d = s->vertical ? Point{0, s->halfLength} : Point{s->halfLength, 0};
                b_.AppendElement(
                    g, b_.CreateLine(layer, s->aperture, false, p, {p.x + d.x, p.y + d.y}));
                b_.AppendElement(
                    g, b_.CreateLine(layer, s->aperture, false, p, {p.x - d.x, p.y - d.y}));
                made_ += 2;
                add(g);
                break;
            }
            case SlotKind::kMacro:
                macroFlash(*s, p);
                break;
            default:
                break;
        }
    }

    void draw(Point to, double ci, double cj) {
        const Slot* s = currentSlot();
        if (!s || !room()) return;
        const int layer = o_.layer;
        if (mode_ == 1 || mode_ == 0) {
            if (SamePoint(to, cur_)) return flash(to);
            if (s->kind == SlotKind::kRound || s->kind == SlotKind::kObround)
                add(b_.CreateLine(layer, s->aperture, false, cur_, to));
            else if (s->kind == SlotKind::kSquare)
                add(b_.CreateLine(layer, s->aperture, true, cur_, to));
            else
                r_.warn(kWarnUndefinedAperture), skipped();  // rectangles and macros do not draw
            return;
        }
        int ap;
        if (s->kind == SlotKind::kRound || s->kind == SlotKind::kObround)
            ap = s->aperture;
        else if (s->kind == SlotKind::kSquare)
            ap = NearestRoundAperture(b_, b_.squareAp[s->aperture]);
        else
            return r_.warn(kWarnUndefinedAperture), skipped();
        const Point c{RoundToInput(cur_.x + ci), RoundToInput(cur_.y + cj)};
        const double radius = RoundToInput(std::hypot(ci, cj));
        if (radius < 0.001) return r_.warn(kWarnBadArc);
        const Point from = mode_ == 3 ? cur_ : to;
        const Point till = mode_ == 3 ? to : cur_;
        double st = NormaliseAngle(std::atan2(from.y - c.y, from.x - c.x));
        double en = NormaliseAngle(std::atan2(till.y - c.y, till.x - c.x));
        if (SamePoint(from, till))
            en = st + kTwoPi;
        else if (en < st)
            en += kTwoPi;
        add(b_.CreateArc(layer, ap, c, radius, st, en));
    }

    // A macro flash: circles become lands, lines become lines, rectangles and polygons become
    // rectangle elements, outlines are hatched with lines; several shapes form one group.
    void macroFlash(const Slot& s, Point at) {
        std::vector<container*> parts;
        const int layer = o_.layer;
        auto rotated = [&](double x, double y, double deg) {
            const double a = ToRadians(deg), ca = std::cos(a), sa = std::sin(a);
            return Point{at.x + (x * ca - y * sa) * unit_, at.y + (x * sa + y * ca) * unit_};
        };
        auto rectangle = [&](Point c, double w, double h, double angle) {
            const double small = std::min(w, h);
            if (!(small >= 0.03) || !Finite(w) || !Finite(h)) return r_.warn(kWarnMacro);
            const int pen = FillPen(b_, small, PenLimit(small));
            if (pen < 0) return r_.warn(kWarnMacro);
            parts.push_back(b_.CreateRect(layer, pen, c, w, h, angle));
        };
        for (const Primitive& p : *s.macro) {
            if (parts.size() + made_ + r_.elements.size() >= kMaxElementsPerFile) {
                room();
                break;
            }
            const std::vector<double>& v = p.p;
            auto arg = [&](std::size_t k) { return k < v.size() ? v[k] : 0.0; };
            if (v.empty() || arg(0) == 0) {
                if (!v.empty()) r_.warn(kWarnMacro);  // clear exposure is not drawn
                continue;
            }
            switch (p.code) {
                case 1: {  // circle: exposure, diameter, x, y, rotation
                    const double d = arg(1) * unit_;
                    if (!Finite(d) || d < 0) {
                        r_.warn(kWarnMacro);
                        break;
                    }
                    parts.push_back(b_.CreateLand(layer, NearestRoundAperture(b_, d / 2), false,
                                                  rotated(arg(2), arg(3), arg(4))));
                    break;
                }
                case 2:
                case 20: {  // vector line: exposure, width, start, end, rotation
                    const double w = arg(1) * unit_;
                    if (!Finite(w) || w < 0) {
                        r_.warn(kWarnMacro);
                        break;
                    }
                    parts.push_back(b_.CreateLine(layer, NearestRoundAperture(b_, w / 2), false,
                                                  rotated(arg(2), arg(3), arg(6)),
                                                  rotated(arg(4), arg(5), arg(6))));
                    break;
                }
                case 21:  // centre line: exposure, width, height, centre, rotation
                    rectangle(rotated(arg(3), arg(4), arg(5)), arg(1) * unit_, arg(2) * unit_,
                              ToRadians(arg(5)));
                    break;
                case 22:  // lower-left line: exposure, width, height, corner, rotation
                    rectangle(rotated(arg(3) + arg(1) / 2, arg(4) + arg(2) / 2, arg(5)),
                              arg(1) * unit_, arg(2) * unit_, ToRadians(arg(5)));
                    break;
                case 5: {  // polygon: exposure, vertices, centre, diameter, rotation
                    const double d = arg(4) * unit_;
                    rectangle(rotated(arg(2), arg(3), arg(5)), d / std::sqrt(2.0),
                              d / std::sqrt(2.0), kPi / 4 + ToRadians(arg(5)));
                    break;
                }
                case 4:
                    outline(v, at, layer, parts);
                    break;
                default:
                    r_.warn(kWarnMacro);  // moire, thermal and unknown primitives
                    break;
            }
        }
        if (parts.empty()) return;
        if (parts.size() == 1) return add(parts.front());
        group* g = b_.CreateGroup(kEmptyText);
        for (container* e : parts) b_.AppendElement(g, e);
        made_ += parts.size();
        add(g);
    }

    // Outline primitive: exposure, n, n + 1 points, rotation. Filled with horizontal strokes.
    void outline(const std::vector<double>& v, Point at, int layer,
                 std::vector<container*>& parts) {
        if (v.size() < 2 || !(v[1] >= 1) || v[1] > kMaxOutlineVertices) return r_.warn(kWarnMacro);
        const std::size_t n = static_cast<std::size_t>(v[1]);
        if (v.size() < 2 + 2 * (n + 1) + 1) return r_.warn(kWarnMacro);
        const double a = ToRadians(v[2 + 2 * (n + 1)]), ca = std::cos(a), sa = std::sin(a);
        std::vector<Point> pts;
        pts.reserve(n + 1);
        Box box{1e300, 1e300, -1e300, -1e300};
        for (std::size_t k = 0; k <= n; ++k) {
            const double x = v[2 + 2 * k], y = v[3 + 2 * k];
            const Point p{at.x + (x * ca - y * sa) * unit_, at.y + (x * sa + y * ca) * unit_};
            if (!Finite(p.x) || !Finite(p.y)) return r_.warn(kWarnMacro);
            pts.push_back(p);
            box.grow({p.x, p.y, p.x, p.y});
        }
        const double small = std::min(box.maxX - box.minX, box.maxY - box.minY);
        const int pen = FillPen(b_, std::max(small, 0.03), PenLimit(std::max(small, 0.03)));
        if (pen < 0) return r_.warn(kWarnMacro);
        const double r = b_.roundAp[pen];
        const double step = 2 * r * 0.95;
        int lines = 0;
        std::vector<double> xs;
        for (double y = box.minY + r; y <= box.maxY - r + 1e-9 && lines < kMaxHatchLines;
             y += step) {
            xs.clear();
            for (std::size_t k = 0; k + 1 < pts.size(); ++k) {
                const Point p = pts[k], q = pts[k + 1];
                if ((p.y <= y) == (q.y <= y)) continue;
                xs.push_back(p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
                const double x1 = xs[k] + r, x2 = xs[k + 1] - r;
                const Point s{RoundToInput(x1), RoundToInput(y)};
                const Point e{RoundToInput(std::max(x1, x2)), RoundToInput(y)};
                parts.push_back(b_.CreateLine(layer, pen, false, s, e));
                ++lines;
            }
        }
        if (lines >= kMaxHatchLines) r_.warn(kWarnLimit);
    }

    Board& b_;
    const GerberReadOptions& o_;
    InputResult& r_;
    double unit_ = 1;
    double scale_ = 0.001;
    bool incremental_ = false;
    bool param_ = false;
    bool ended_ = false;
    bool afterEndWarned_ = false;
    bool limitWarned_ = false;
    MacroBody* macro_ = nullptr;
    std::map<std::string, MacroBody> macros_;
    std::array<Slot, kMaxDCode + 1> slots_{};
    int slot_ = -1;
    int mode_ = 1;
    int exposure_ = 2;
    Point cur_{0, 0};
    std::size_t made_ = 0;       // members of groups, counted against the limit
    long long line_ = 1;         // the line of the file being read
    long long commandLine_ = 1;  // the line where the current command began
};

}  // namespace

void ReadGerber(Board& b, std::string_view bytes, const GerberReadOptions& options,
                InputResult& result) {
    auto reader = std::make_unique<GerberReader>(b, options, result);
    reader->run(bytes);
}

bool LooksLikeDrillFile(std::string_view bytes) {
    int lines = 0;
    bool found = false, drill = false;
    ForEachTextLine(bytes.substr(0, 1 << 16), [&](std::string_view line) {
        if (found || ++lines > 29) return;
        if (!line.empty() && line[0] == 'X') {
            found = true;
            return;
        }
        if (line.find('*') != std::string_view::npos) {
            found = true;
            return;
        }
        if (line.size() >= 2 && line[0] == 'T' && line[1] >= '0' && line[1] <= '9') {
            found = true;
            drill = line.find('C') != std::string_view::npos;
        }
    });
    return drill;
}

void ReadDrill(Board& b, std::string_view bytes, const DrillReadOptions& o, InputResult& r) {
    double unit = o.inch ? 25.4 : 1;
    bool incremental = false;
    std::array<int, kApertures> tools;
    tools.fill(-1);
    int tool = -1;
    bool asked = false;
    double scale = 0.001;
    Point cur{0, 0};
    bool stop = false;
    ForEachTextLine(bytes, [&](std::string_view line) {
        if (stop) return;
        // Drop blanks and control characters (CR-only files come as one line: split them too).
        std::string clean;
        for (char ch : line) {
            if (ch == '\r') {
                clean.push_back('\n');
                continue;
            }
            if (static_cast<unsigned char>(ch) > 32 && ch != 127) clean.push_back(ch);
        }
        ForEachTextLine(clean, [&](std::string_view l) {
            if (stop || l.empty()) return;
            ++r.commands;
            if (l.substr(0, 4) == "INCH") unit = 25.4;
            if (l.substr(0, 6) == "METRIC") unit = 1;
            if (l[0] == 'G' || l[0] == 'M') {
                std::size_t i = 1;
                long long code = 0;
                if (!ParseCode(l, i, code)) return;
                if (l[0] == 'G') {
                    if (code == 20 || code == 70) unit = 25.4;
                    if (code == 21 || code == 71) unit = 1;
                    if (code == 90) incremental = false;
                    if (code == 91) incremental = true;
                } else {
                    if (code == 72) unit = 25.4;
                    if (code == 71) unit = 1;
                }
                return;
            }
            if (l[0] == 'T') {
                std::size_t i = 1;
                long long n = 0;
                if (!ParseCode(l, i, n)) return;
                const std::size_t c = l.find('C', i);
                if (c != std::string_view::npos) {
                    std::size_t k = c + 1;
                    double d = 0;
                    const bool number = ParseNumber(l, k, d);
                    const double radius = d * unit / 2;
                    if (n < 0 || n > 255 || !number || !std::isfinite(radius) || radius < 0.025 ||
                        radius > kMaxMagnitude) {
                        r.warn(kWarnDrillStopped);
                        stop = true;
                        return;
                    }
                    tools[n] = NearestRoundAperture(b, radius);
                    return;
                }
                if (!asked) {
                    int decimals = o.askDecimals ? o.askDecimals() : 3;
                    if (decimals > 6 || decimals < 0) decimals = 3;
                    scale = std::pow(10.0, -decimals);
                    asked = true;
                }
                if (n < 0 || n > 255 || tools[n] < 0) {  // above 255 no tool can be defined
                    r.warn(kWarnDrillStopped);
                    stop = true;
                    return;
                }
                tool = static_cast<int>(n);
                cur = {0, 0};
                return;
            }
            if (l[0] == 'X' || l[0] == 'Y') {
                if (tool < 0) {
                    r.warn(kWarnDrillStopped);
                    stop = true;
                    return;
                }
                Point p = cur;
                std::size_t i = 0;
                bool bad = false;
                bool seenX = false, seenY = false;
                while (i < l.size()) {
                    const char letter = l[i++];
                    if (letter != 'X' && letter != 'Y') break;  // M05, G85 slots, ...
                    double v = 0;
                    bool point = false;
                    if (!ParseNumber(l, i, v, &point)) {
                        bad = true;
                        break;
                    }
                    v = point ? v * unit : v * scale * unit;
                    if (!Finite(v)) {
                        bad = true;
                        break;
                    }
                    if (letter == 'X') p.x = incremental ? cur.x + v : v, seenX = true;
                    if (letter == 'Y') p.y = incremental ? cur.y + v : v, seenY = true;
                }
                if (bad || !(seenX || seenY)) return r.warn(kWarnBadNumber);
                p = {RoundToInput(p.x), RoundToInput(p.y)};
                if (r.elements.size() >= kMaxElementsPerFile) {
                    r.warn(kWarnLimit);
                    stop = true;
                    return;
                }
                r.elements.push_back(b.CreateLand(o.layer, tools[tool], false, p));
                cur = p;
            }
        });
    });
}

}  // namespace zevo
