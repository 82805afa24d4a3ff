#include "checks/netlist_import.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "text/cp932.h"

namespace zevo {

bool NetlistLines::next(std::string_view& line) {
    if (pos_ >= bytes_.size()) return false;
    ++number_;
    const char* const base = bytes_.data();
    const size_t rest = bytes_.size() - pos_;
    // The line feed is looked for no further than a full line reaches, or a file without line
    // feeds (a binary one) would be searched to its end for every piece.
    const size_t window = std::min(rest, kNetlistLineMax + 2);
    const void* lf = std::memchr(base + pos_, '\n', window);
    const size_t end =
        lf ? static_cast<size_t>(static_cast<const char*>(lf) - base) : pos_ + window;
    std::string_view seg(base + pos_, end - pos_);
    // Most lines: no carriage return inside, at most one before the line feed, short enough.
    std::string_view body = seg;
    if (!body.empty() && body.back() == '\r') body.remove_suffix(1);
    if ((lf || window == rest) && body.size() <= kNetlistLineMax &&
        body.find('\r') == std::string_view::npos) {
        line = body;
        pos_ = lf ? end + 1 : end;
    } else {
        buffer_.clear();
        size_t i = pos_;
        while (i < bytes_.size() && buffer_.size() < kNetlistLineMax) {
            const char c = base[i++];
            if (c == '\n') break;
            if (c != '\r') buffer_.push_back(c);
        }
        if (buffer_.size() == kNetlistLineMax) {
            // A full piece: carriage returns and a line feed right behind it still belong to it.
            while (i < bytes_.size() && base[i] == '\r') ++i;
            if (i < bytes_.size() && base[i] == '\n') ++i;
        }
        pos_ = i;
        line = buffer_;
    }
    const size_t nul = line.find('\0');
    if (nul != std::string_view::npos) line = line.substr(0, nul);
    return true;
}

namespace {

using std::string_view;
constexpr size_t npos = string_view::npos;

inline bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

string_view TrimLeft(string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}
string_view Trim(string_view s) {
    s = TrimLeft(s);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}
bool Contains(string_view s, string_view what) {
    return s.find(what) != npos;
}

// `c` outside double-byte characters: a trail byte of Shift-JIS may have the code of a bracket.
size_t FindSingleByte(string_view s, char c) {
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (s[i] == c) return i;
        if (IsCp932LeadByte(b) && i + 1 < s.size() &&
            IsCp932TrailByte(static_cast<unsigned char>(s[i + 1])))
            ++i;
    }
    return npos;
}

// Gathers the nets of a read: a net is kept once it has a pin, the slots are counted against the
// capacity, and what cannot be read is counted with its line.
class NetCollector {
  public:
    NetCollector(NetlistRead& out, size_t capacity) : out_(out), capacity_(capacity) {}

    void startNet() { open_ = true, held_ = false; }
    void endNet() { open_ = false, held_ = false; }
    bool open() const { return open_; }
    bool full() const { return overflow_; }

    void bad(size_t line, const char* reason) {
        ++out_.skipped;
        if (out_.issues.size() < kMaxNetlistIssues) out_.issues.push_back({line, reason});
    }

    // A pin of the current net; the number is a decimal integer, the reference not empty.
    void pin(size_t line, string_view ref, string_view number) {
        if (overflow_) return;
        if (!open_) return bad(line, "pin outside a net");
        ref = Trim(ref);
        number = Trim(number);
        if (ref.empty()) return bad(line, "pin without a reference");
        if (!number.empty() && number[0] == '+') number.remove_prefix(1);
        int value = 0;
        const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
        if (number.empty() || r.ec != std::errc() || r.ptr != number.data() + number.size())
            return bad(line, "pin number is not a decimal integer");
        const size_t need = held_ ? 1 : 2;
        if (used_ + need > capacity_) {
            overflow_ = true;
            return;
        }
        used_ += need;
        if (!held_) {
            out_.nets.emplace_back();
            held_ = true;
        }
        out_.nets.back().push_back({Intern(ref), value, nullptr});
    }

    void finish(NetlistFormat format) {
        out_.format = format;
        if (overflow_) {
            out_.nets.clear();
            out_.status = NetlistRead::kOverflow;
        } else {
            out_.status = out_.nets.empty() ? NetlistRead::kEmpty : NetlistRead::kOk;
        }
    }

  private:
    NetlistRead& out_;
    size_t capacity_;
    size_t used_ = 0;
    bool open_ = false;
    bool held_ = false;  // the current net has its slot
    bool overflow_ = false;
};

// Words separated by blanks (and by `extra`, when given).
template <class F>
void ForEachWord(string_view s, char extra, F&& f) {
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (IsBlank(s[i]) || s[i] == extra)) ++i;
        size_t j = i;
        while (j < s.size() && !IsBlank(s[j]) && s[j] != extra) ++j;
        if (j > i) f(s.substr(i, j - i));
        i = j;
    }
}

// "REF.PIN": the number after the last dot, so that a reference holding a dot reads back.
void DottedPin(NetCollector& nets, size_t line, string_view word) {
    const size_t dot = word.rfind('.');
    if (dot == npos) return nets.bad(line, "pin without '.'");
    nets.pin(line, word.substr(0, dot), word.substr(dot + 1));
}

}  // namespace

NetlistFormat RecogniseNetlist(std::string_view bytes) {
    NetlistLines lines(bytes);
    string_view l;
    int state = 0;
    while (lines.next(l)) {
        switch (state) {
            case 0:
                if (l.starts_with("$PACKAGES"))
                    state = 1;
                else if (l.starts_with("$CCF {"))
                    state = 3;
                else if (l.starts_with("#---part---"))
                    state = 5;
                else if (l.starts_with("PARTS LIST"))
                    state = 7;
                else if (l.starts_with("["))
                    state = 8;
                else if (l.starts_with("COMPONENT"))
                    state = 10;
                else if (l.starts_with("*PART*"))
                    state = 11;
                else if (l.starts_with("ADD"))
                    state = 13;
                else if (l.starts_with("(EXPORT"))
                    state = 14;
                break;
            case 1:
                if (Contains(l, "!")) state = 2;
                break;
            case 2:
                if (l.starts_with("$NETS")) return NetlistFormat::kPackages;
                break;
            case 3:
                if (Contains(l, "DEFINITION {")) state = 4;
                break;
            case 4:
                if (Contains(l, "NET {")) return NetlistFormat::kCcf;
                break;
            case 5:
                if (l.starts_with("#---net---")) state = 6;
                break;
            case 6:
                if (Contains(l, "*NET")) return NetlistFormat::kPartNet;
                break;
            case 7:
                if (l.starts_with("NET LIST")) return NetlistFormat::kPartsList;
                break;
            case 8:
                if (l.starts_with("]")) state = 9;
                break;
            case 9:
                if (l.starts_with("(")) return NetlistFormat::kBracket;
                break;
            case 10:
                if (l.starts_with("NET")) return NetlistFormat::kComponent;
                break;
            case 11:
                if (l.starts_with("*NET*")) state = 12;
                break;
            case 12:
                if (l.starts_with("*SIGNAL*")) return NetlistFormat::kStarSignal;
                break;
            case 13:
                if (l.starts_with("SIGNAL")) return NetlistFormat::kAddSignal;
                break;
            case 14:
                if (TrimLeft(l).starts_with("(NETS")) return NetlistFormat::kExportNets;
                break;
        }
    }
    return NetlistFormat::kBinary;
}

// Format 1. From "$NETS" to "$END": a line with ';' starts a net whose pins follow the first
// blank after the ';'; a line without continues the net (the export wraps after ",").
NetlistRead ReadPackagesNetlist(std::string_view bytes, size_t capacity) {
    NetlistRead r;
    NetCollector nets(r, capacity);
    NetlistLines lines(bytes);
    string_view l;
    bool in = false;
    while (!nets.full() && lines.next(l)) {
        if (!in) {
            in = l.starts_with("$NETS");
            continue;
        }
        if (l.starts_with("$END")) break;
        string_view pins = l;
        const size_t semi = l.find(';');
        if (semi != npos) {
            nets.startNet();
            size_t b = semi + 1;
            while (b < l.size() && !IsBlank(l[b])) ++b;
            pins = b < l.size() ? l.substr(b + 1) : string_view();
        }
        ForEachWord(pins, ',', [&](string_view w) { DottedPin(nets, lines.number(), w); });
    }
    nets.finish(NetlistFormat::kPackages);
    return r;
}

// Format 2. After the line holding "NET {" up to a line holding "}": a line with ':' starts a
// net, its pins after the ':'; a line without continues it. Pins are "REF(PIN)", each followed
// by one separator character; a ';' right after the ')' ends the line's pins.
NetlistRead ReadCcfNetlist(std::string_view bytes, size_t capacity) {
    NetlistRead r;
    NetCollector nets(r, capacity);
    NetlistLines lines(bytes);
    string_view l;
    bool in = false;
    while (!nets.full() && lines.next(l)) {
        if (!in) {
            in = Contains(l, "NET {");
            continue;
        }
        if (FindSingleByte(l, '}') != npos) break;
        const size_t line = lines.number();
        size_t pos = 0;
        const size_t colon = l.find(':');
        if (colon != npos) {
            nets.startNet();
            pos = colon + 1;
        }
        while (pos < l.size()) {
            while (pos < l.size() && IsBlank(l[pos])) ++pos;
            if (pos >= l.size()) break;
            const size_t open = l.find('(', pos);
            if (open == npos) {
                if (Trim(l.substr(pos)) != ";") nets.bad(line, "pin without '('");
                break;
            }
            const size_t close = l.find(')', open + 1);
            if (close == npos) {
                nets.bad(line, "pin without ')'");
                break;
            }
            nets.pin(line, l.substr(pos, open - pos), l.substr(open + 1, close - open - 1));
            pos = close + 1;
            if (pos < l.size() && l[pos] == ';') break;
            ++pos;  // the separator
        }
    }
    nets.finish(NetlistFormat::kCcf);
    return r;
}

// Format 3. From the line holding "*NET"; lines beginning with '#' are left out. A line whose
// second character is a blank or a control character holds 'REF'/'PIN' pairs; any other line
// starts a net.
NetlistRead ReadPartNetNetlist(std::string_view bytes, size_t capacity) {
    NetlistRead r;
    NetCollector nets(r, capacity);
    NetlistLines lines(bytes);
    string_view l;
    bool in = false;
    while (!nets.full() && lines.next(l)) {
        if (!in && !(in = Contains(l, "*NET"))) continue;
        if (l.starts_with("#") || l.empty()) continue;
        if (l.size() >= 2 && !IsBlank(l[1])) {
            nets.startNet();
            continue;
        }
        const size_t line = lines.number();
        size_t pos = 0;
        for (;;) {
            const size_t q1 = l.find('\'', pos);
            if (q1 == npos) break;
            const size_t q2 = l.find('\'', q1 + 1);
            if (q2 == npos || l.substr(q2, 3) != "'/'") {
                nets.bad(line, "pin is not 'REF'/'PIN'");
                break;
            }
            const size_t q3 = l.find('\'', q2 + 3);
            if (q3 == npos) {
                nets.bad(line, "pin number without closing quote");
                break;
            }
            nets.pin(line, l.substr(q1 + 1, q2 - q1 - 1), l.substr(q2 + 3, q3 - q2 - 3));
            pos = q3 + 1;
        }
    }
    nets.finish(NetlistFormat::kPartNet);
    return r;
}

// Format 4. From "NET LIST" to "EOS": a "NODENAME" line holds blank-separated REF PIN pairs up
// to a '$'; any other line starts a net.
NetlistRead ReadPartsListNetlist(std::string_view bytes, size_t capacity) {
    NetlistRead r;
    NetCollector nets(r, capacity);
    NetlistLines lines(bytes);
    string_view l;
    bool in = false;
    while (!nets.full() && lines.next(l)) {
        if (!in && !(in = l.starts_with("NET LIST"))) continue;
        if (l.starts_with("EOS")) break;
        if (!l.starts_with("NODENAME")) {
            nets.startNet();
            continue;
        }
        string_view pairs = l.substr(8);
        const size_t dollar = pairs.find('$');
        if (dollar != npos) pairs = pairs.substr(0, dollar);
        const size_t line = lines.number();
        string_view ref;
        ForEachWord(pairs, 0, [&](string_view w) {
            if (ref.empty()) {
                ref = w;
            } else {
                nets.pin(line, ref, w);
                ref = {};
            }
        });
        if (!ref.empty()) nets.bad(line, "reference without a pin number");
    }
    nets.finish(NetlistFormat::kPartsList);
    return r;
}

// Format 5. From the first line beginning with '(': '(' opens a net, ')' closes it, the line
// after the opening one is the net's name; inside a net a line holding '-' is one pin,
// "REF-PIN", and lines without '-' are left out.
NetlistRead ReadBracketNetlist(std::string_view bytes, size_t capacity) {
    NetlistRead r;
    NetCollector nets(r, capacity);
    NetlistLines lines(bytes);
    string_view l;
    bool in = false, name = false;
    while (!nets.full() && lines.next(l)) {
        if (!in && !(in = l.starts_with("("))) continue;
        if (name) {
            name = false;
        } else if (l.starts_with("(")) {
            nets.startNet();
            name = true;
        } else if (l.starts_with(")")) {
            nets.endNet();
        } else if (const size_t dash = l.find('-'); dash != npos) {
            // Component blocks between the nets hold words with dashes too: not pins.
            if (nets.open())
                nets.pin(lines.number(), l.substr(0, dash), l.substr(dash + 1));
            else
                nets.bad(lines.number(), "pin outside a net");
        }
    }
    nets.finish(NetlistFormat::kBracket);
    return r;
}

// Format 6. Every line beginning with "NET" is one net: after the '=', pins "(REF,PIN)".
NetlistRead ReadComponentNetlist(std::string_view bytes, size_t capacity) {
    NetlistRead r;
    NetCollector nets(r, capacity);
    NetlistLines lines(bytes);
    string_view l;
    while (!nets.full() && lines.next(l)) {
        if (!l.starts_with("NET")) continue;
        nets.startNet();
        const size_t eq = l.find('=');
        if (eq == npos) continue;
        const size_t line = lines.number();
        size_t pos = eq + 1;
        for (;;) {
            const size_t open = l.find('(', pos);
            if (open == npos) break;
            const size_t stop = l.find_first_of("()", open + 1);
            const size_t comma = l.find(',', open + 1);
            if (comma == npos || (stop != npos && stop < comma)) {
                nets.bad(line, "pin is not (REF,PIN)");
                if (stop == npos) break;
                pos = stop;
                if (l[stop] == ')') ++pos;
                continue;
            }
            const size_t end = l.find_first_of("()", comma + 1);
            nets.pin(line, l.substr(open + 1, comma - open - 1),
                     l.substr(comma + 1, (end == npos ? l.size() : end) - comma - 1));
            if (end == npos) break;
            pos = l[end] == ')' ? end + 1 : end;
        }
    }
    nets.finish(NetlistFormat::kComponent);
    return r;
}

// Format 7. From "*SIGNAL*": each "*SIGNAL*" line starts a net, other lines hold blank-separated
// "REF.PIN" words. Another section ("*END*", "*MISC*") ends the net, so its lines are not pins.
NetlistRead ReadStarSignalNetlist(std::string_view bytes, size_t capacity) {
    NetlistRead r;
    NetCollector nets(r, capacity);
    NetlistLines lines(bytes);
    string_view l;
    bool in = false;
    while (!nets.full() && lines.next(l)) {
        if (!in && !(in = l.starts_with("*SIGNAL*"))) continue;
        if (l.starts_with("*SIGNAL*")) {
            nets.startNet();
        } else if (l.starts_with("*")) {
            nets.endNet();
        } else {
            const size_t line = lines.number();
            ForEachWord(l, 0, [&](string_view w) { DottedPin(nets, line, w); });
        }
    }
    nets.finish(NetlistFormat::kStarSignal);
    return r;
}

// Format 8. From "SIGNAL": each "SIGNAL" line starts a net, lines beginning with ';' are left
// out, any other line is one pin: the reference, a blank, the pin number.
NetlistRead ReadAddSignalNetlist(std::string_view bytes, size_t capacity) {
    NetlistRead r;
    NetCollector nets(r, capacity);
    NetlistLines lines(bytes);
    string_view l;
    bool in = false;
    while (!nets.full() && lines.next(l)) {
        if (!in && !(in = l.starts_with("SIGNAL"))) continue;
        if (l.starts_with("SIGNAL")) {
            nets.startNet();
            continue;
        }
        if (l.starts_with(";")) continue;
        const string_view t = TrimLeft(l);
        if (t.empty()) continue;
        size_t e = 0;
        while (e < t.size() && !IsBlank(t[e])) ++e;
        const string_view after = TrimLeft(t.substr(e));
        size_t n = 0;
        while (n < after.size() && !IsBlank(after[n])) ++n;
        if (n == 0) {
            nets.bad(lines.number(), "reference without a pin number");
            continue;
        }
        nets.pin(lines.number(), t.substr(0, e), after.substr(0, n));
    }
    nets.finish(NetlistFormat::kAddSignal);
    return r;
}

// Format 9. After the line beginning (after blanks) with "(NETS": "(NET " starts a net,
// "(NODE (REF r) (PIN n))" is one pin.
NetlistRead ReadExportNetsNetlist(std::string_view bytes, size_t capacity) {
    NetlistRead r;
    NetCollector nets(r, capacity);
    NetlistLines lines(bytes);
    string_view l;
    bool in = false;
    while (!nets.full() && lines.next(l)) {
        const string_view t = TrimLeft(l);
        if (!in) {
            in = t.starts_with("(NETS");
            continue;
        }
        if (t.starts_with("(NET ")) {
            nets.startNet();
            continue;
        }
        if (!t.starts_with("(NODE ")) continue;
        const size_t line = lines.number();
        string_view s = t.substr(6);
        if (!s.starts_with("(REF ")) {
            nets.bad(line, "node without (REF ");
            continue;
        }
        s.remove_prefix(5);
        const size_t close = s.find(')');
        if (close == npos) {
            nets.bad(line, "reference without ')'");
            continue;
        }
        const string_view ref = s.substr(0, close);
        s = TrimLeft(s.substr(close + 1));
        if (!s.starts_with("(PIN ")) {
            nets.bad(line, "node without (PIN ");
            continue;
        }
        s.remove_prefix(5);
        nets.pin(line, ref, s.substr(0, s.find(')')));
    }
    nets.finish(NetlistFormat::kExportNets);
    return r;
}

// Format 10. Records of 96 bytes from byte 112: the net name in bytes 0..15, the reference in
// 16..47 and the pin number in 52..95 (text, ended by a NUL); records with the same name one
// after another form a net. The first record is a net record only when it begins with 'N' and
// holds -256 at byte 48. A record of 64 bytes or fewer ends the file.
NetlistRead ReadBinaryNetlist(std::string_view bytes, size_t capacity) {
    NetlistRead r;
    NetCollector nets(r, capacity);
    char rec[kNetlistBinaryRecord];
    char name[16] = {};
    size_t index = 0;
    for (size_t pos = kNetlistBinaryHeader; !nets.full() && pos < bytes.size();
         pos += kNetlistBinaryRecord) {
        const size_t n = std::min(kNetlistBinaryRecord, bytes.size() - pos);
        if (n <= kNetlistBinaryShort) break;
        std::memset(rec, 0, sizeof rec);
        std::memcpy(rec, bytes.data() + pos, n);
        ++index;
        if (index == 1) {
            // The value is stored little-endian, as the program that writes these files runs.
            const auto* u = reinterpret_cast<const unsigned char*>(rec + 48);
            const uint32_t mark = u[0] | u[1] << 8 | u[2] << 16 | static_cast<uint32_t>(u[3]) << 24;
            if (rec[0] != 'N' || mark != 0xFFFFFF00u) {  // -256
                r.status = NetlistRead::kNotRecognised;
                r.format = NetlistFormat::kBinary;
                return r;
            }
        }
        if (index == 1 || std::memcmp(name, rec, sizeof name) != 0) {
            std::memcpy(name, rec, sizeof name);
            nets.startNet();
        }
        const string_view ref(rec + 16, strnlen(rec + 16, 32));
        const string_view number(rec + 52, strnlen(rec + 52, 44));
        nets.pin(index, ref, number);
    }
    nets.finish(NetlistFormat::kBinary);
    return r;
}

NetlistRead ReadNetlistAs(NetlistFormat format, std::string_view bytes, size_t capacity) {
    switch (format) {
        case NetlistFormat::kPackages:
            return ReadPackagesNetlist(bytes, capacity);
        case NetlistFormat::kCcf:
            return ReadCcfNetlist(bytes, capacity);
        case NetlistFormat::kPartNet:
            return ReadPartNetNetlist(bytes, capacity);
        case NetlistFormat::kPartsList:
            return ReadPartsListNetlist(bytes, capacity);
        case NetlistFormat::kBracket:
            return ReadBracketNetlist(bytes, capacity);
        case NetlistFormat::kComponent:
            return ReadComponentNetlist(bytes, capacity);
        case NetlistFormat::kStarSignal:
            return ReadStarSignalNetlist(bytes, capacity);
        case NetlistFormat::kAddSignal:
            return ReadAddSignalNetlist(bytes, capacity);
        case NetlistFormat::kExportNets:
            return ReadExportNetsNetlist(bytes, capacity);
        case NetlistFormat::kBinary:
            return ReadBinaryNetlist(bytes, capacity);
        case NetlistFormat::kNone:
            break;
    }
    return {};
}

NetlistRead ReadReferenceNetlist(std::string_view bytes, size_t capacity) {
    return ReadNetlistAs(RecogniseNetlist(bytes), bytes, capacity);
}

}  // namespace zevo
