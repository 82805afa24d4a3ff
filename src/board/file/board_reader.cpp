#include "board/file/board_reader.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "board/file/file_text.h"

namespace zevo {

const char* Describe(ReadIssueKind kind) {
    switch (kind) {
        case ReadIssueKind::kNoKnownSection:
            return "no known section in the file";
        case ReadIssueKind::kBadVersion:
            return "no valid version line";
        case ReadIssueKind::kBadLayerDef:
            return "bad layer definition";
        case ReadIssueKind::kBadPadDef:
            return "bad pad definition";
        case ReadIssueKind::kBadApertureDef:
            return "bad aperture definition";
        case ReadIssueKind::kBadSwapLayer:
            return "bad layer pairing";
        case ReadIssueKind::kBadLibraryFile:
            return "bad library file line";
        case ReadIssueKind::kUnknownItem:
            return "unknown item";
        case ReadIssueKind::kMissingLayer:
            return "layer (LE=) missing";
        case ReadIssueKind::kMissingAperture:
            return "aperture (AP= or SQ=) missing";
        case ReadIssueKind::kLayerOutOfRange:
            return "layer out of range 0..255";
        case ReadIssueKind::kApertureOutOfRange:
            return "aperture out of range 0..255";
        case ReadIssueKind::kArcTooSmall:
            return "arc radius below 0.001";
        case ReadIssueKind::kArcTooShort:
            return "arc shorter than 0.001 degrees";
        case ReadIssueKind::kRectSizeOutOfRange:
            return "rectangle size out of range 0.02..500";
        case ReadIssueKind::kRectSquareKey:
            return "SQ= on a rectangle";
        case ReadIssueKind::kRectNarrowerThanPen:
            return "rectangle not wider than its pen";
        case ReadIssueKind::kGroupMemberFailed:
            return "group dropped: a member line failed";
        case ReadIssueKind::kGroupEmpty:
            return "group dropped: it is empty";
        case ReadIssueKind::kGroupTooDeep:
            return "group dropped: nested too deep";
        case ReadIssueKind::kReadFailed:
            return "the file could not be read to its end";
    }
    return "?";
}

namespace {

bool StartsWith(std::string_view s, std::string_view w) {
    return s.size() >= w.size() && std::memcmp(s.data(), w.data(), w.size()) == 0;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Calls f(key, value) for every "key=value" piece of a comma-separated list; pieces without "="
// are no keys. The value runs to the next comma.
template <class F>
void ForEachKey(std::string_view list, F&& f) {
    const char* p = list.data();
    const char* end = p + list.size();
    while (p < end) {
        const char* q = p;
        while (q < end && *q != '=' && *q != ',') ++q;
        if (q == end) return;
        if (*q == ',') {
            p = q + 1;
            continue;
        }
        const char* v = q + 1;
        const char* comma = v;
        while (comma < end && *comma != ',') ++comma;
        f(std::string_view(p, q - p), std::string_view(v, comma - v));
        p = comma + 1;
    }
}

// ---------------------------------------------------------------- item keys

enum KeyId {
    kKeyX,
    kKeyY,
    kKeyXS,
    kKeyYS,
    kKeyXE,
    kKeyYE,
    kKeyR,
    kKeyST,
    kKeyEND,
    kKeyDX,
    kKeyDY,
    kKeyANG,
    kKeyHI,
    kKeyPIT,  // reals up to here
    kKeyLE,
    kKeyAP,
    kKeySQ,
    kKeyNO,  // integers
    kKeyNE,
    kKeyPN,  // strings
    kKeyNone,
};
constexpr int kRealKeys = kKeyPIT + 1;

// Keys are matched with their letters in either case.
KeyId MatchKey(std::string_view k) {
    char u[3] = {};
    if (k.empty() || k.size() > 3) return kKeyNone;
    for (size_t i = 0; i < k.size(); ++i) u[i] = Upper(k[i]);
    switch (k.size()) {
        case 1:
            if (u[0] == 'X') return kKeyX;
            if (u[0] == 'Y') return kKeyY;
            if (u[0] == 'R') return kKeyR;
            return kKeyNone;
        case 2:
            switch (u[0]) {
                case 'X':
                    return u[1] == 'S' ? kKeyXS : u[1] == 'E' ? kKeyXE : kKeyNone;
                case 'Y':
                    return u[1] == 'S' ? kKeyYS : u[1] == 'E' ? kKeyYE : kKeyNone;
                case 'S':
                    return u[1] == 'T' ? kKeyST : u[1] == 'Q' ? kKeySQ : kKeyNone;
                case 'D':
                    return u[1] == 'X' ? kKeyDX : u[1] == 'Y' ? kKeyDY : kKeyNone;
                case 'H':
                    return u[1] == 'I' ? kKeyHI : kKeyNone;
                case 'L':
                    return u[1] == 'E' ? kKeyLE : kKeyNone;
                case 'A':
                    return u[1] == 'P' ? kKeyAP : kKeyNone;
                case 'N':
                    return u[1] == 'O' ? kKeyNO : u[1] == 'E' ? kKeyNE : kKeyNone;
                case 'P':
                    return u[1] == 'N' ? kKeyPN : kKeyNone;
            }
            return kKeyNone;
        case 3:
            if (u[0] == 'E' && u[1] == 'N' && u[2] == 'D') return kKeyEND;
            if (u[0] == 'A' && u[1] == 'N' && u[2] == 'G') return kKeyANG;
            if (u[0] == 'P' && u[1] == 'I' && u[2] == 'T') return kKeyPIT;
            return kKeyNone;
    }
    return kKeyNone;
}

struct Fields {
    uint32_t present = 0;
    double real[kRealKeys] = {};
    int le = 0, ap = 0, sq = 0, no = 0;
    std::string_view ne, pn;

    bool has(KeyId k) const { return present & (1u << k); }
    double r(KeyId k) const { return real[k]; }
};

bool IsDigitByte(char c) {
    return static_cast<unsigned char>(c - '0') <= 9;
}

// ParseReal for the usual value, a plain decimal such as "-123.456" right after its "=": read
// here without a call. With at most 15 digits and no exponent, digits / 10^decimals is one
// correctly rounded division of two exact doubles (what ParseReal gives); anything else goes to
// ParseReal.
inline double ReadReal(const char* p, const char* end, const char** stop) {
    static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* s = p;
    const bool neg = s < end && *s == '-';
    if (neg) ++s;
    const char* const first = s;
    int64_t m = 0;
    while (s < end && IsDigitByte(*s) && s - first < 16) m = m * 10 + (*s++ - '0');
    const int64_t whole = s - first;
    int64_t decimals = 0;
    if (s < end && *s == '.') {
        const char* const point = ++s;
        while (s < end && IsDigitByte(*s) && s - first <= 16) m = m * 10 + (*s++ - '0');
        decimals = s - point;
    }
    if (whole == 0 || whole + decimals > 15 ||
        (s < end && (*s == 'e' || *s == 'E' || IsDigitByte(*s))))
        return ParseReal(p, end, stop);
    *stop = s;
    const double v = static_cast<double>(m) / kPow10[decimals];
    return neg ? -v : v;
}

// ParseInt for up to nine digits with an optional minus sign; anything else goes to ParseInt.
inline int ReadInt(const char* p, const char* end, const char** stop) {
    const char* s = p;
    const bool neg = s < end && *s == '-';
    if (neg) ++s;
    const char* const first = s;
    int v = 0;
    while (s < end && IsDigitByte(*s) && s - first < 9) v = v * 10 + (*s++ - '0');
    if (s == first || (s < end && IsDigitByte(*s))) return ParseInt(p, end, stop);
    *stop = s;
    return neg ? -v : v;
}

// Keys may come in any order; a later key overrides an earlier one; unknown keys are ignored.
// The pieces are those of ForEachKey, taken in one pass: a number is read straight from behind
// its "=" (it cannot run past the comma that ends its value, as no number holds a comma or
// starts with one), so only the rest of a value after its number is looked at again.
void ParseFields(std::string_view list, Fields& f) {
    const char* p = list.data();
    const char* const end = p + list.size();
    while (p < end) {
        const char* q = p;
        while (q < end && *q != '=' && *q != ',') ++q;
        if (q == end) return;
        if (*q == ',') {
            p = q + 1;
            continue;
        }
        const KeyId id = MatchKey(std::string_view(p, static_cast<size_t>(q - p)));
        const char* const v = q + 1;
        const char* stop = v;  // the value's text is read up to here
        if (id < kRealKeys) {
            f.real[id] = ReadReal(v, end, &stop);
        } else {
            switch (id) {
                case kKeyLE:
                    f.le = ReadInt(v, end, &stop);
                    break;
                case kKeyAP:
                    f.ap = ReadInt(v, end, &stop);
                    break;
                case kKeySQ:
                    f.sq = ReadInt(v, end, &stop);
                    break;
                case kKeyNO:
                    f.no = ReadInt(v, end, &stop);
                    break;
                default:
                    break;
            }
        }
        const char* comma = stop;
        while (comma < end && *comma != ',') ++comma;
        if (id != kKeyNone) {
            f.present |= 1u << id;
            if (id == kKeyNE) f.ne = std::string_view(v, static_cast<size_t>(comma - v));
            if (id == kKeyPN) f.pn = std::string_view(v, static_cast<size_t>(comma - v));
        }
        p = comma + 1;
    }
}

// ---------------------------------------------------------------- lines as the writer puts them

// An item line as this program writes it: the keys of its word in the writer's order, upper case,
// each value a plain number, then NE, PN and NO as far as present, nothing else. Such a line is
// read here without looking for keys; what ParseFields makes of it is the same, since every key
// comes once and every value ends where its number ends. Any other line is left to ParseFields.
struct WrittenKey {
    std::string_view text;  // with the comma before it
    KeyId id;
};
constexpr WrittenKey kLandKeys[] = {{"X=", kKeyX}, {",Y=", kKeyY}, {",LE=", kKeyLE}};
constexpr WrittenKey kLineKeys[] = {
    {"XS=", kKeyXS}, {",YS=", kKeyYS}, {",XE=", kKeyXE}, {",YE=", kKeyYE}, {",LE=", kKeyLE}};
constexpr WrittenKey kArcKeys[] = {{"X=", kKeyX},    {",Y=", kKeyY},     {",R=", kKeyR},
                                   {",ST=", kKeyST}, {",END=", kKeyEND}, {",LE=", kKeyLE}};
constexpr WrittenKey kRectKeys[] = {{"X=", kKeyX},    {",Y=", kKeyY},     {",DX=", kKeyDX},
                                    {",DY=", kKeyDY}, {",ANG=", kKeyANG}, {",LE=", kKeyLE}};

bool Expect(const char*& p, const char* end, std::string_view w) {
    if (static_cast<size_t>(end - p) < w.size()) return false;
    // A few bytes: compared here rather than through a call.
    for (size_t i = 0; i < w.size(); ++i)
        if (p[i] != w[i]) return false;
    p += w.size();
    return true;
}

// A number that is the whole value.
template <class T, class Read>
bool WholeValue(const char*& p, const char* end, T& out, Read read) {
    const char* stop = p;
    out = read(p, end, &stop);
    if (stop == p || (stop < end && *stop != ',')) return false;
    p = stop;
    return true;
}

bool ParseWrittenForm(std::string_view list, ItemReader::ItemWord word, Fields& f) {
    const WrittenKey* keys;
    size_t count;
    switch (word) {
        case ItemReader::kLandWord:
        case ItemReader::kFlshWord:
            keys = kLandKeys, count = std::size(kLandKeys);
            break;
        case ItemReader::kLineWord:
            keys = kLineKeys, count = std::size(kLineKeys);
            break;
        case ItemReader::kArcWord:
            keys = kArcKeys, count = std::size(kArcKeys);
            break;
        case ItemReader::kRectWord:
            keys = kRectKeys, count = std::size(kRectKeys);
            break;
        default:
            return false;
    }
    const char* p = list.data();
    const char* const end = p + list.size();
    for (size_t i = 0; i < count; ++i) {
        const KeyId id = keys[i].id;
        if (!Expect(p, end, keys[i].text)) return false;
        if (id < kRealKeys) {
            if (!WholeValue(p, end, f.real[id], ReadReal)) return false;
        } else if (!WholeValue(p, end, f.le, ReadInt)) {
            return false;
        }
        f.present |= 1u << id;
    }
    // The aperture: AP= (SQ= for a line with a square pen).
    if (Expect(p, end, ",AP=")) {
        if (!WholeValue(p, end, f.ap, ReadInt)) return false;
        f.present |= 1u << kKeyAP;
    } else if (word == ItemReader::kLineWord && Expect(p, end, ",SQ=")) {
        if (!WholeValue(p, end, f.sq, ReadInt)) return false;
        f.present |= 1u << kKeySQ;
    } else {
        return false;
    }
    auto name = [&](std::string_view& out, KeyId id) {
        const char* comma = p;
        while (comma < end && *comma != ',') ++comma;
        out = std::string_view(p, static_cast<size_t>(comma - p));
        f.present |= 1u << id;
        p = comma;
    };
    if (Expect(p, end, ",NE=")) name(f.ne, kKeyNE);
    if (Expect(p, end, ",PN=")) name(f.pn, kKeyPN);
    if (Expect(p, end, ",NO=")) {
        if (!WholeValue(p, end, f.no, ReadInt)) return false;
        f.present |= 1u << kKeyNO;
    }
    return p == end;
}

bool InTable(int n) {
    return n >= 0 && n < 256;
}

void AppendTo(Board& b, ListNode& list, group* owner, container* e) {
    e->insertBefore(&list, b.changes);
    e->parent = owner;
}

// The three strings of a GROUP line, interned: a tab stands for a comma.
Istr GroupString(std::string_view s, std::string& scratch) {
    if (s.find('\t') != std::string_view::npos) {
        scratch.assign(s);
        for (char& c : scratch)
            if (c == '\t') c = ',';
        s = scratch;
    }
    Istr i = Intern(s);
    return i ? i : kEmptyText;
}

// A reserved type word is taken as it stands; any other name loses its leading control bytes.
Istr GroupTypeWord(std::string_view name, std::string& scratch) {
    if (!name.empty() && name[0] == ' ') {
        const ReservedWords& r = Reserved();
        for (Istr w : {r.text, r.pad, r.painted, r.loop, r.lines, r.window, r.drc, r.dottedLine})
            if (name == View(w)) return w;
    }
    while (!name.empty() && static_cast<unsigned char>(name.front()) < 0x20 && name.front() != '\t')
        name.remove_prefix(1);
    return GroupString(name, scratch);
}

}  // namespace

// ---------------------------------------------------------------- items

ItemReader::ItemWord ItemReader::Classify(std::string_view line) {
    auto is = [&](std::string_view w) {
        return line.size() > w.size() && std::memcmp(line.data(), w.data(), w.size()) == 0 &&
               line[w.size()] == ':';
    };
    if (line.empty()) return kNotItem;
    switch (line[0]) {
        case 'L':
            if (is("LINE")) return kLineWord;
            if (is("LAND")) return kLandWord;
            break;
        case 'F':
            if (is("FLSH")) return kFlshWord;
            break;
        case 'A':
            if (is("ARC")) return kArcWord;
            break;
        case 'R':
            if (is("RECT")) return kRectWord;
            break;
        case 'G':
            if (is("GROUP")) return kGroupWord;
            break;
        case 'E':
            if (is("ENDGR")) return kEndGroupWord;
            break;
    }
    return kNotItem;
}

drawn* ItemReader::readElement(std::string_view line, ItemWord word, ReadIssueKind& why) {
    Fields f;
    const size_t colon = word == kArcWord ? 3 : 4;
    const std::string_view list = line.substr(colon + 1);
    if (!ParseWrittenForm(list, word, f)) {
        f = Fields();
        ParseFields(list, f);
    }
    // The names' places in the string pool are fetched while the element is made.
    InternPrefetch(f.ne);
    InternPrefetch(f.pn);

    // The aperture: AP= or SQ= (SQ= makes a land or a line square).
    const bool squareKey = f.has(kKeySQ);
    int ap = 0;
    bool haveAp = true;
    if (word == kRectWord) {
        const double dx = f.r(kKeyDX), dy = f.r(kKeyDY);
        if (!(dx >= 0.02 && dx <= 500 && dy >= 0.02 && dy <= 500)) {
            why = ReadIssueKind::kRectSizeOutOfRange;
            return nullptr;
        }
        if (squareKey) {
            why = ReadIssueKind::kRectSquareKey;
            return nullptr;
        }
        haveAp = f.has(kKeyAP);
        ap = f.ap;
    } else if (word == kArcWord || word == kFlshWord) {
        haveAp = f.has(kKeyAP) || squareKey;
        ap = f.has(kKeyAP) ? f.ap : f.sq;
    } else {
        haveAp = f.has(kKeyAP) || squareKey;
        ap = squareKey ? f.sq : f.ap;
    }
    if (!f.has(kKeyLE)) {
        why = ReadIssueKind::kMissingLayer;
        return nullptr;
    }
    if (!haveAp) {
        why = ReadIssueKind::kMissingAperture;
        return nullptr;
    }
    // A negative number is as far out of the tables as one of 256.
    if (!InTable(f.le)) {
        why = ReadIssueKind::kLayerOutOfRange;
        return nullptr;
    }
    if (!InTable(ap)) {
        why = ReadIssueKind::kApertureOutOfRange;
        return nullptr;
    }

    drawn* e = nullptr;
    switch (word) {
        case kLandWord:
        case kFlshWord:
            e = b_.CreateLand(f.le, ap, word == kFlshWord || squareKey, {f.r(kKeyX), f.r(kKeyY)});
            break;
        case kLineWord: {
            const Point s{f.r(kKeyXS), f.r(kKeyYS)}, en{f.r(kKeyXE), f.r(kKeyYE)};
            if (IsZero(en.x - s.x) && IsZero(en.y - s.y))
                e = b_.CreateLand(f.le, ap, squareKey, s);
            else
                e = b_.CreateLine(f.le, ap, squareKey, s, en);
            break;
        }
        case kArcWord: {
            const double r = f.r(kKeyR), st = f.r(kKeyST), end = f.r(kKeyEND);
            if (!(r >= 0.001)) {
                why = ReadIssueKind::kArcTooSmall;
                return nullptr;
            }
            if (!(std::fabs(end - st) >= 0.001)) {
                why = ReadIssueKind::kArcTooShort;
                return nullptr;
            }
            e = b_.CreateArc(f.le, ap, {f.r(kKeyX), f.r(kKeyY)}, r, ToRadians(st), ToRadians(end));
            break;
        }
        case kRectWord: {
            const double dx = f.r(kKeyDX), dy = f.r(kKeyDY);
            if (!((std::min(dx, dy) - 0.001) / 2 > b_.roundHalf(ap))) {
                why = ReadIssueKind::kRectNarrowerThanPen;
                return nullptr;
            }
            e = b_.CreateRect(f.le, ap, {f.r(kKeyX), f.r(kKeyY)}, dx, dy, ToRadians(f.r(kKeyANG)));
            break;
        }
        default:
            return nullptr;
    }
    e->netName = Intern(f.ne);
    e->pinName = Intern(f.pn);
    if (f.no != 0)
        e->pinNo = static_cast<int16_t>(f.no < -32768 ? -32768 : f.no > 32767 ? 32767 : f.no);
    return e;
}

bool ItemReader::readSection(LineReader& in, ListNode& list) {
    bool ok = true;
    std::string_view line;
    while (in.next(line) == LineReader::kTextLine) {
        const ItemWord word = Classify(line);
        if (word == kEndGroupWord) continue;  // no group open: nothing to close
        if (word == kNotItem) {
            note(in.lineNumber(), ReadIssueKind::kUnknownItem);
            ok = false;
            continue;
        }
        if (word == kGroupWord) {
            if (group* g = readGroup(in, line, 1))
                AppendTo(b_, list, nullptr, g);
            else
                ok = false;
            continue;
        }
        ReadIssueKind why{};
        if (drawn* e = readElement(line, word, why)) {
            AppendTo(b_, list, nullptr, e);
        } else {
            note(in.lineNumber(), why);
            ok = false;
        }
    }
    return ok;
}

group* ItemReader::readGroup(LineReader& in, std::string_view groupLine, int depth) {
    const int lineNo = in.lineNumber();
    std::string_view line;
    if (depth > kMaxGroupDepth) {
        // Skip the group with everything inside it by counting its GROUP and ENDGR lines.
        int level = 1;
        while (level > 0 && in.next(line) == LineReader::kTextLine) {
            const ItemWord w = Classify(line);
            if (w == kGroupWord) ++level;
            if (w == kEndGroupWord) --level;
        }
        note(lineNo, ReadIssueKind::kGroupTooDeep);
        return nullptr;
    }

    // Name, attribute, reference: the text up to the first three commas; the rest holds the keys.
    std::string_view rest = groupLine.substr(6);
    std::string_view part[3];
    for (auto& s : part) {
        const size_t c = rest.find(',');
        s = rest.substr(0, c);
        rest = c == std::string_view::npos ? std::string_view() : rest.substr(c + 1);
    }
    Fields f;
    f.real[kKeyHI] = 3.2;
    f.real[kKeyPIT] = 3.4;
    ParseFields(rest, f);

    group* g = b_.CreateGroup(GroupTypeWord(part[0], scratch_));
    g->attribute = GroupString(part[1], scratch_);
    const bool placed = f.has(kKeyX) && f.has(kKeyY) && f.has(kKeyANG);
    if (g->type == Reserved().text) {
        const Point p = placed ? Point{f.r(kKeyX), f.r(kKeyY)} : Point{};
        const double ang = placed ? ToRadians(f.r(kKeyANG)) : 0.0;
        g->ext = b_.CreateTextPlacement(p, ang, f.r(kKeyHI), f.r(kKeyPIT));
    } else {
        if (placed)
            g->ext = b_.CreatePartPlacement({f.r(kKeyX), f.r(kKeyY)}, ToRadians(f.r(kKeyANG)));
        g->reference = GroupString(part[2], scratch_);
    }

    bool membersOk = true;
    while (in.next(line) == LineReader::kTextLine) {
        const ItemWord word = Classify(line);
        if (word == kEndGroupWord) break;
        if (word == kNotItem) {
            note(in.lineNumber(), ReadIssueKind::kUnknownItem);
            membersOk = false;
            continue;
        }
        if (word == kGroupWord) {
            if (group* sub = readGroup(in, line, depth + 1))
                AppendTo(b_, g->members, g, sub);
            else
                membersOk = false;
            continue;
        }
        ReadIssueKind why{};
        if (drawn* e = readElement(line, word, why)) {
            AppendTo(b_, g->members, g, e);
        } else {
            note(in.lineNumber(), why);
            membersOk = false;
        }
    }

    if (!membersOk || Board::IsEmptyGroup(g)) {
        note(lineNo, membersOk ? ReadIssueKind::kGroupEmpty : ReadIssueKind::kGroupMemberFailed);
        g->recycle(b_);
        return nullptr;
    }

    // A filled area needs its fill strokes: without them its member groups are dissolved in place
    // and it becomes a plain group.
    if (g->type == Reserved().painted) {
        int members = 0;
        bool lines = false;
        for (container* c : Items(g->members)) {
            ++members;
            if (c->kind == kGroup && AsGroup(c)->type == Reserved().lines) lines = true;
        }
        if (members < 2 || !lines) {
            for (container* c : Items(g->members)) {
                if (c->kind != kGroup) continue;
                group* sub = AsGroup(c);
                while (!sub->members.emptyList()) {
                    container* m = AsElement(sub->members.next);
                    m->unlink(b_.changes);
                    m->insertBefore(sub, b_.changes);
                    m->parent = g;
                }
                sub->recycle(b_);
            }
            g->type = kEmptyText;
        }
    }
    return g;
}

// ---------------------------------------------------------------- sections

namespace {

class SectionReader {
  public:
    SectionReader(Board& b, const ReadOptions& o, ReadResult& r) : b_(b), opt_(o), res_(r) {}

    void read(LineReader& in);

  private:
    using Handler = bool (SectionReader::*)(LineReader&);
    bool version(LineReader& in);
    bool boardSize(LineReader& in);
    bool layerDef(LineReader& in);
    bool padDef(LineReader& in);
    bool flshDef(LineReader& in) { return apertureDef(in, true); }
    bool lineDef(LineReader& in) { return apertureDef(in, false); }
    bool apertureDef(LineReader& in, bool square);
    bool swapLayer(LineReader& in);
    bool libraryFiles(LineReader& in);
    bool drawItems(LineReader& in);

    void note(int line, ReadIssueKind k) { res_.issues.push_back({line, k}); }
    static void skip(LineReader& in) {
        std::string_view l;
        while (in.next(l) == LineReader::kTextLine) {
        }
    }

    Board& b_;
    const ReadOptions& opt_;
    ReadResult& res_;
    int headerLine_ = 0;
    char squeezed_[LineReader::kMaxLine + 1];
};

// The sections, in the order their names are matched against a header.
constexpr std::string_view kSectionNames[] = {"Version",   "BoardSize",    "LayerDef",
                                              "PadDef",    "FlshDef",      "LineDef",
                                              "SwapLayer", "LibraryFiles", "DrawItems"};

bool IsKnownHeader(std::string_view header) {
    const std::string_view name = header.substr(1);
    for (std::string_view s : kSectionNames)
        if (StartsWith(name, s)) return true;
    return false;
}

bool AnyKnownHeader(LineReader& in) {
    std::string_view header;
    while (in.takeHeader(header))
        if (IsKnownHeader(header)) return true;
    return false;
}

void SectionReader::read(LineReader& in) {
    static const struct {
        std::string_view name;
        Handler handler;
    } kSections[] = {
        {"Version", &SectionReader::version},     {"BoardSize", &SectionReader::boardSize},
        {"LayerDef", &SectionReader::layerDef},   {"PadDef", &SectionReader::padDef},
        {"FlshDef", &SectionReader::flshDef},     {"LineDef", &SectionReader::lineDef},
        {"SwapLayer", &SectionReader::swapLayer}, {"LibraryFiles", &SectionReader::libraryFiles},
        {"DrawItems", &SectionReader::drawItems},
    };
    bool known = false;
    std::string_view header;
    while (in.takeHeader(header)) {
        headerLine_ = in.lineNumber();
        const std::string_view name = header.substr(1);
        Handler h = nullptr;
        for (const auto& s : kSections)
            if (StartsWith(name, s.name)) {
                h = s.handler;
                break;
            }
        if (!h) {
            skip(in);
            continue;
        }
        known = true;
        if ((this->*h)(in)) res_.error = true;
    }
    if (in.readFailed()) {
        res_.error = true;
        note(0, ReadIssueKind::kReadFailed);
    }
    if (!known) {
        res_.error = true;
        note(0, ReadIssueKind::kNoKnownSection);
    }
}

bool SectionReader::version(LineReader& in) {
    bool valid = false;
    uint32_t part[3] = {};
    std::string_view line;
    while (in.next(line) == LineReader::kTextLine) {
        if (!StartsWith(line, "ZEVO:")) continue;
        size_t i = 5;
        while (i < line.size() && !IsDigit(line[i])) ++i;
        if (i == line.size()) continue;
        const uint32_t limits[3] = {255, 4095, 4095};
        uint32_t v[3] = {};
        for (int k = 0; k < 3; ++k) {
            if (k > 0) {
                if (!(i + 1 < line.size() && line[i] == '.' && IsDigit(line[i + 1]))) break;
                ++i;
            }
            for (; i < line.size() && IsDigit(line[i]); ++i) {
                v[k] = v[k] * 10 + (line[i] - '0');
                if (v[k] > limits[k]) v[k] = limits[k];
            }
        }
        valid = true;
        part[0] = v[0], part[1] = v[1], part[2] = v[2];
    }
    if (!valid) note(headerLine_, ReadIssueKind::kBadVersion);
    if (opt_.applyVersion) b_.SetVersion(part[0], part[1], part[2]);
    return !valid;
}

bool SectionReader::boardSize(LineReader& in) {
    // Sizes as read and clamped here decide whether the origin lies on the board; a size that was
    // not read counts as 100.
    int w = 100, h = 100;
    bool haveW = false, haveH = false;
    std::string_view raw;
    while (in.next(raw) == LineReader::kTextLine) {
        const std::string_view line = SqueezeUpper(raw, squeezed_);
        const char* end = line.data() + line.size();
        if (StartsWith(line, "X:")) {
            int v = ParseInt(line.data() + 2, end);
            v = v < 100 ? 100 : v > 1000 ? 1000 : (v + 9) / 10 * 10;
            w = v;
            haveW = true;
        } else if (StartsWith(line, "Y:")) {
            int v = ParseInt(line.data() + 2, end);
            h = v < 100 ? 100 : v > 1000 ? 1000 : v;
            haveH = true;
        } else if (StartsWith(line, "GRID:")) {
            const char* stop = nullptr;
            const double spacing = ParseReal(line.data() + 5, end, &stop);
            int interval = 1;
            const char* comma = static_cast<const char*>(std::memchr(stop, ',', end - stop));
            if (comma) interval = ParseInt(comma + 1, end);
            b_.SetGrid(spacing, interval <= 0 ? 1 : interval);
        } else if (StartsWith(line, "ORIGIN:")) {
            double x = 0, y = 0;
            ForEachKey(line.substr(7), [&](std::string_view k, std::string_view v) {
                if (k == "X") x = ParseReal(v);
                if (k == "Y") y = ParseReal(v);
            });
            if (x >= 0 && x <= w && y >= 0 && y <= h)
                b_.gridOrigin = {x, y};
            else
                b_.gridOrigin = {0, 0};
        }
    }
    if (haveW || haveH) b_.SetBoardSize(haveW ? w : b_.sizeX, haveH ? h : b_.sizeY);
    return false;
}

bool SectionReader::layerDef(LineReader& in) {
    bool error = false;
    std::string_view line;
    while (in.next(line) == LineReader::kTextLine) {
        if (!IsDigit(line[0])) continue;
        const int layer = ParseInt(line);
        const size_t colon = line.find(':');
        bool bad = colon == std::string_view::npos;
        const bool apply = InTable(layer);
        auto onOff = [&](std::string_view v, uint32_t bits) {
            if (v == "ON") {
                if (apply) b_.SetLayerSwitch(layer, bits);
            } else if (v == "OFF") {
                if (apply) b_.ClearLayerSwitch(layer, bits);
            } else {
                bad = true;
            }
        };
        if (!bad) {
            std::string_view rest = line.substr(colon + 1);
            while (!rest.empty()) {
                const size_t c = rest.find(',');
                const std::string_view item = rest.substr(0, c);
                rest = c == std::string_view::npos ? std::string_view() : rest.substr(c + 1);
                if (item.empty()) continue;
                if (StartsWith(item, "NAME=")) {
                    if (apply) b_.SetLayerName(layer, item.substr(5));
                } else if (StartsWith(item, "COLOR=")) {
                    const std::string_view v = item.substr(6);
                    const int colour = ParseInt(v);
                    if (!v.empty() && IsDigit(v[0]) && colour < 16 && apply)
                        b_.layerColour[layer] = static_cast<uint8_t>(colour);
                } else if (StartsWith(item, "DISP=")) {
                    onOff(item.substr(5), kDisp);
                } else if (StartsWith(item, "ACTIV=")) {
                    onOff(item.substr(6), kActiv);
                } else if (StartsWith(item, "PRINT=")) {
                    onOff(item.substr(6), kPrint);
                } else {
                    bad = true;
                }
            }
        }
        if (bad) {
            note(in.lineNumber(), ReadIssueKind::kBadLayerDef);
            error = true;
        }
    }
    return error;
}

bool SectionReader::padDef(LineReader& in) {
    bool error = false;
    std::string_view raw;
    while (in.next(raw) == LineReader::kTextLine) {
        const std::string_view line = SqueezeUpper(raw, squeezed_);
        const size_t colon = line.find(':');
        bool ok = !line.empty() && IsDigit(line[0]) && colon != std::string_view::npos;
        PadDefinition pairs;
        std::string_view rest = ok ? line.substr(colon + 1) : std::string_view();
        while (ok) {
            const size_t bar = rest.find('|');
            const std::string_view pair = rest.substr(0, bar);
            int le = -1, ap = -1;
            bool haveLe = false, haveAp = false;
            std::string_view items = pair;
            while (ok) {
                const size_t c = items.find(',');
                const std::string_view item = items.substr(0, c);
                if (StartsWith(item, "LE=")) {
                    le = ParseInt(item.substr(3));
                    haveLe = true;
                } else if (StartsWith(item, "AP=")) {
                    ap = ParseInt(item.substr(3));
                    haveAp = true;
                } else {
                    ok = false;
                }
                if (c == std::string_view::npos) break;
                items = items.substr(c + 1);
            }
            if (ok && haveLe && haveAp && InTable(le) && InTable(ap))
                pairs.push_back({static_cast<int16_t>(le), static_cast<int16_t>(ap)});
            else
                ok = false;
            if (bar == std::string_view::npos) break;
            rest = rest.substr(bar + 1);
        }
        if (ok) {
            b_.AddPadDefinition(pairs);
        } else {
            note(in.lineNumber(), ReadIssueKind::kBadPadDef);
            error = true;
        }
    }
    return error;
}

bool SectionReader::apertureDef(LineReader& in, bool square) {
    bool error = false;
    std::string_view raw;
    while (in.next(raw) == LineReader::kTextLine) {
        const std::string_view line = SqueezeUpper(raw, squeezed_);
        const size_t colon = line.find(':');
        bool ok = !line.empty() && IsDigit(line[0]) && colon != std::string_view::npos;
        if (ok) {
            const int n = ParseInt(line);
            const double d = ParseReal(line.substr(colon + 1));
            ok = InTable(n) && d >= 0.001 && d <= 100;
            if (ok) {
                // Whole thousandths of the diameter. In doubles 1.001 * 1000 is 1000.999..., so a
                // hair is added before flooring, or the file would read back one thousandth low.
                const double half = std::floor(d * 1000 + 1e-6) * 0.001 / 2;
                if (square)
                    b_.SetSquareAperture(n, half);
                else
                    b_.SetRoundAperture(n, half);
            }
        }
        if (!ok) {
            note(in.lineNumber(), ReadIssueKind::kBadApertureDef);
            error = true;
        }
    }
    return error;
}

bool SectionReader::swapLayer(LineReader& in) {
    bool error = false;
    std::string_view raw;
    while (in.next(raw) == LineReader::kTextLine) {
        const std::string_view line = SqueezeUpper(raw, squeezed_);
        bool ok = StartsWith(line, "LAYER") && line.size() > 5 && IsDigit(line[5]);
        if (ok) {
            const char* end = line.data() + line.size();
            const char* stop = nullptr;
            const int a = ParseInt(line.data() + 5, end, &stop);
            ok = stop + 1 < end && *stop == ':' && IsDigit(stop[1]);
            if (ok) ok = b_.PairLayers(a, ParseInt(stop + 1, end));
        }
        if (!ok) {
            note(in.lineNumber(), ReadIssueKind::kBadSwapLayer);
            error = true;
        }
    }
    return error;
}

bool SectionReader::libraryFiles(LineReader& in) {
    bool error = false;
    std::string_view line;
    while (in.next(line) == LineReader::kTextLine) {
        bool ok = line.size() > 8 && line[8] == ':';
        for (size_t i = 0; ok && i < 8; ++i) ok = Upper(line[i]) == "FILENAME"[i];
        if (!ok) {
            note(in.lineNumber(), ReadIssueKind::kBadLibraryFile);
            error = true;
            continue;
        }
        if (static_cast<int>(b_.libraryFiles.size()) >= kMaxLibraryFiles) {
            skip(in);
            break;
        }
        if (line.size() > 9) b_.AddLibraryFile(line.substr(9));
    }
    return error;
}

bool SectionReader::drawItems(LineReader& in) {
    ItemReader items(b_, res_.issues);
    if (opt_.keepItems) return !items.readSection(in, b_.items);
    ListNode scratch;
    scratch.initHead();
    const bool ok = items.readSection(in, scratch);
    while (!scratch.emptyList()) AsElement(scratch.next)->recycle(b_);
    return !ok;
}

}  // namespace

bool HasKnownSection(std::string_view data) {
    LineReader in(data);
    return AnyKnownHeader(in);
}

bool HasKnownSection(std::FILE* file) {
    LineReader in(file);
    return AnyKnownHeader(in);
}

std::string Describe(const OffBoardElement& e) {
    const char* word = "GROUP";
    switch (e.kind) {
        case kLand:
            word = e.square ? "FLSH" : "LAND";
            break;
        case kLine:
            word = "LINE";
            break;
        case kArc:
            word = "ARC";
            break;
        case kRect:
            word = "RECT";
            break;
        default:
            break;
    }
    char buf[160];
    if (e.layer >= 0)
        std::snprintf(buf, sizeof buf, "%s layer %d at (%.14g, %.14g)", word, e.layer, e.at.x,
                      e.at.y);
    else
        std::snprintf(buf, sizeof buf, "%s at (%.14g, %.14g)", word, e.at.x, e.at.y);
    return buf;
}

ReadResult ReadSections(std::string_view data, Board& board, const ReadOptions& options) {
    ReadResult result;
    LineReader in(data);
    SectionReader(board, options, result).read(in);
    return result;
}

ReadResult ReadSections(std::FILE* file, Board& board, const ReadOptions& options) {
    ReadResult result;
    LineReader in(file);
    SectionReader(board, options, result).read(in);
    return result;
}

}  // namespace zevo
