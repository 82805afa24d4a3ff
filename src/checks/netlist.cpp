#include "checks/netlist.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "text/cp932.h"
#include "text/strings.h"

namespace zevo {

const group* TopGroup(const container* e) {
    if (!e->parent) return e->kind == kGroup ? AsGroup(e) : nullptr;
    const group* g = e->parent;
    while (g->parent) g = g->parent;
    return g;
}

Istr DuplicateReference(const Board& b) {
    std::unordered_set<Istr> seen;
    for (const container* c : Items(b.items)) {
        if (c->kind != kGroup) continue;
        const Istr ref = AsGroup(c)->reference;
        if (IsBlank(ref)) continue;
        if (!seen.insert(ref).second) return ref;
    }
    return nullptr;
}

OutputMessage DuplicateReferenceMessage(Istr ref) {
    std::string text = Cp932ToUtf8(View(ref));  // references are held as CP932 bytes
    text += "  ";
    text += TableText(kMsgDuplicateReference);
    return {std::move(text), true};
}

bool PinOf(const container* e, NetPin& out) {
    if (!IsDrawn(e) || !e->parent) return false;
    const drawn* d = AsDrawn(e);
    if (d->pinNo == 0) return false;
    const group* part = TopGroup(e);
    if (IsBlank(part->reference)) return false;
    out = {part->reference, d->pinNo, part};
    return true;
}

namespace {
struct PartPinHash {
    size_t operator()(const std::pair<const group*, int>& k) const {
        return std::hash<const void*>()(k.first) * 31u + static_cast<size_t>(k.second);
    }
};
}  // namespace

PinNets BoardPinNets(const std::vector<Net>& nets) {
    PinNets out;
    PinNet pins;
    std::unordered_set<std::pair<const group*, int>, PartPinHash> seen;
    for (const Net& n : nets) {
        pins.clear();
        if (!seen.empty()) seen = {};
        // Pins -n and n of one part are one pin: repeats are found by the absolute number.
        for (const container* e : n) {
            NetPin p;
            if (!PinOf(e, p)) continue;
            const int number = std::abs(p.pin);
            bool repeat;
            if (pins.size() < 16) {  // most nets: a short look back
                repeat = std::any_of(pins.begin(), pins.end(), [&](const NetPin& q) {
                    return q.part == p.part && std::abs(q.pin) == number;
                });
            } else {
                if (seen.empty())
                    for (const NetPin& q : pins) seen.insert({q.part, std::abs(q.pin)});
                repeat = !seen.insert({p.part, number}).second;
            }
            if (!repeat) pins.push_back(p);
        }
        if (pins.size() >= 2) out.push_back(pins);
    }
    return out;
}

std::string NetName(size_t number) {
    static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string s = "N0000";
    for (int i = 4; i >= 1; --i) {
        s[i] = kDigits[number % 36];
        number /= 36;
    }
    return s;
}

namespace {

std::string PinText(const NetPin& p) {
    char num[16];
    std::snprintf(num, sizeof num, ".%d", std::abs(p.pin));
    std::string s = " ";
    s += View(p.ref);
    s += num;
    return s;
}

}  // namespace

std::string NetlistText(const Board& b, const PinNets& nets) {
    // Written as a text file: every line ends with CR LF.
    std::string out = "$PACKAGES\r\n";
    int unnamed = 0;
    for (const container* c : Items(b.items)) {
        if (c->kind != kGroup) continue;
        const group* g = AsGroup(c);
        if (IsBlank(g->reference)) continue;
        if (IsBlank(g->type) || g->type[0] == ' ') {
            char head[32];
            std::snprintf(head, sizeof head, "! ???%03d; ", ++unnamed);
            out += head;
        } else {
            out += "! ";
            out += View(g->type);
            out += "; ";
        }
        out += View(g->reference);
        out += "\r\n";
    }
    out += "$NETS\r\n";
    for (size_t i = 0; i < nets.size(); ++i) {
        out += NetName(i + 1);
        out += ';';
        size_t column = 5;
        for (const NetPin& p : nets[i]) {
            const std::string t = PinText(p);
            if (column + t.size() > 72) {
                out += ",\r\n    ";
                column = t.size() + 4;
            } else {
                column += t.size();
            }
            out += t;
        }
        out += "\r\n";
    }
    out += "$END\r\n";
    return out;
}

NetlistExport ExportNetlist(Board& b, ProgressMonitor* monitor) {
    NetlistExport r;
    if (const Istr dup = DuplicateReference(b)) {
        r.status = NetlistExport::kDuplicate;
        r.messages.push_back(DuplicateReferenceMessage(dup));
        return r;
    }
    const auto nets = BuildNets(b, monitor);
    if (!nets) {
        r.status = NetlistExport::kAborted;
        return r;
    }
    const PinNets pins = BoardPinNets(*nets);
    if (pins.empty()) {
        r.status = NetlistExport::kNoNets;
        r.messages.push_back({std::string(TableText(kMsgNoNets)), false});
        return r;
    }
    if (pins.size() > kMaxExportNets) {
        r.status = NetlistExport::kTooManyNets;
        r.messages.push_back({std::string(TableText(kMsgTooManyNets)), true});
        return r;
    }
    r.text = NetlistText(b, pins);
    r.status = NetlistExport::kOk;
    return r;
}

// --- comparison

namespace {

struct PinKey {
    Istr ref;
    int pin;
    bool operator==(const PinKey&) const = default;
};
struct PinKeyHash {
    size_t operator()(const PinKey& k) const {
        return std::hash<const void*>()(k.ref) * 31u + static_cast<size_t>(k.pin);
    }
};
PinKey KeyOf(const NetPin& p) {
    return {p.ref, std::abs(p.pin)};
}

// For every pin, the nets of one side that hold it (ascending, without repeats).
class PinIndex {
  public:
    explicit PinIndex(const PinNets& nets) : size_(nets.size()) {
        for (size_t i = 0; i < nets.size(); ++i)
            for (const NetPin& p : nets[i]) {
                auto& list = map_[KeyOf(p)];
                if (list.empty() || list.back() != i) list.push_back(static_cast<uint32_t>(i));
            }
    }
    const std::vector<uint32_t>* netsOf(const PinKey& k) const {
        const auto it = map_.find(k);
        return it == map_.end() ? nullptr : &it->second;
    }
    bool holds(size_t net, const NetPin& p) const {
        const auto* list = netsOf(KeyOf(p));
        return list && std::binary_search(list->begin(), list->end(), static_cast<uint32_t>(net));
    }
    size_t size() const { return size_; }

  private:
    size_t size_;
    std::unordered_map<PinKey, std::vector<uint32_t>, PinKeyHash> map_;
};

struct Difference {
    size_t net;
    long match;  // index into the other side, -1 for none
};

// For each net of `side`, the net of the other side holding the most of its pins (the first of
// equals); a net not wholly inside its match is a difference.
std::vector<Difference> Differences(const PinNets& side, const PinIndex& other) {
    std::vector<Difference> out;
    std::vector<size_t> count(other.size(), 0);
    std::vector<uint32_t> touched;
    for (size_t i = 0; i < side.size(); ++i) {
        const PinNet& n = side[i];
        touched.clear();
        for (const NetPin& p : n) {
            const auto* list = other.netsOf(KeyOf(p));
            if (!list) continue;
            for (uint32_t j : *list)
                if (count[j]++ == 0) touched.push_back(j);
        }
        size_t best = 0;
        long match = -1;
        for (uint32_t j : touched) {
            if (count[j] > best || (count[j] == best && static_cast<long>(j) < match)) {
                best = count[j];
                match = j;
            }
            count[j] = 0;
        }
        if (best < n.size()) out.push_back({i, match});
    }
    return out;
}

// The report buffer: pieces are appended whole; the first that does not fit ends the report.
class Report {
  public:
    explicit Report(size_t capacity) : capacity_(capacity) {}
    void add(std::string_view piece) {
        if (full_) return;
        if (text_.size() + piece.size() > capacity_) {
            full_ = true;
            return;
        }
        text_ += piece;
    }
    std::string& text() { return text_; }

  private:
    size_t capacity_;
    bool full_ = false;
    std::string text_;
};

void ListDifferences(Report& r, const PinNets& side, const PinIndex& other,
                     const std::vector<Difference>& diffs) {
    for (const Difference& d : diffs) {
        const PinNet& n = side[d.net];
        if (d.match >= 0) {
            const NetPin* lastFound = nullptr;
            for (const NetPin& p : n) {
                if (other.holds(static_cast<size_t>(d.match), p))
                    lastFound = &p;
                else
                    r.add(PinText(p));
            }
            if (lastFound)
                r.add(PinText(*lastFound) + "\r\n");
            else
                r.add("\r\n");
        } else {
            for (const NetPin& p : n) r.add(PinText(p));
            r.add("\r\n");
        }
        r.add("--------------------\r\n");
    }
}

void CollectInterchangeable(const group* g, std::vector<int>& numbers) {
    ForEachDrawn(g->members, [&](const drawn* d) {
        if (d->pinNo < 0 && std::find(numbers.begin(), numbers.end(), d->pinNo) == numbers.end())
            numbers.push_back(d->pinNo);
    });
}

// Exchanges the two interchangeable pin numbers of every part that has a missing
// interchangeable pin and exactly two such numbers. Returns the parts changed.
std::vector<const group*> ExchangePins(const PinNets& board, const PinIndex& reference,
                                       const std::vector<Difference>& diffs) {
    std::vector<NetPin> missing;
    for (const Difference& d : diffs)
        for (const NetPin& p : board[d.net])
            if (p.pin < 0 && (d.match < 0 || !reference.holds(static_cast<size_t>(d.match), p)))
                missing.push_back(p);
    std::sort(missing.begin(), missing.end(), [](const NetPin& a, const NetPin& b) {
        const int c = std::strcmp(a.ref, b.ref);
        return c != 0 ? c < 0 : std::abs(a.pin) < std::abs(b.pin);
    });
    std::vector<const group*> changed;
    std::vector<int> numbers;
    for (size_t i = 0; i < missing.size(); ++i) {
        if (i > 0 && missing[i].part == missing[i - 1].part) continue;
        const group* part = missing[i].part;
        numbers.clear();
        CollectInterchangeable(part, numbers);
        if (numbers.size() != 2) continue;
        const int a = numbers[0], b = numbers[1];
        ForEachDrawn(part->members, [&](drawn* d) {
            if (d->pinNo == a)
                d->pinNo = static_cast<int16_t>(b);
            else if (d->pinNo == b)
                d->pinNo = static_cast<int16_t>(a);
        });
        changed.push_back(part);
    }
    return changed;
}

constexpr int kCompareRounds = 5;

}  // namespace

NetlistComparison CompareNetlist(Board& b, const PinNets& reference, ProgressMonitor* monitor,
                                 size_t reportCapacity) {
    NetlistComparison r;
    if (const Istr dup = DuplicateReference(b)) {
        r.status = NetlistComparison::kDuplicate;
        r.messages.push_back(DuplicateReferenceMessage(dup));
        return r;
    }
    try {
        const PinIndex refIndex(reference);
        PinNets board;
        std::vector<Difference> boardDiffs;
        for (int round = 1;; ++round) {
            r.rounds = static_cast<size_t>(round);
            const auto nets = BuildNets(b, monitor);
            if (!nets) {
                r.status = NetlistComparison::kAborted;
                return r;
            }
            board = BoardPinNets(*nets);
            if (board.empty()) {
                r.status = NetlistComparison::kNoNets;
                r.messages.push_back({std::string(TableText(kMsgNoNets)), false});
                return r;
            }
            boardDiffs = Differences(board, refIndex);
            if (boardDiffs.empty() || round == kCompareRounds) break;
            for (const group* g : ExchangePins(board, refIndex, boardDiffs))
                if (std::find(r.exchanged.begin(), r.exchanged.end(), g) == r.exchanged.end())
                    r.exchanged.push_back(g);
            if (monitor && !monitor->pump(static_cast<size_t>(round), kCompareRounds)) {
                r.status = NetlistComparison::kAborted;
                return r;
            }
        }
        Report report(reportCapacity);
        const PinIndex boardIndex(board);
        if (!boardDiffs.empty()) {
            report.add(TableTextCp932(kStrExtraNets));
            report.add("\r\n");
            ListDifferences(report, board, refIndex, boardDiffs);
        }
        const std::vector<Difference> refDiffs = Differences(reference, boardIndex);
        if (!refDiffs.empty()) {
            if (!boardDiffs.empty()) report.add("\r\n");
            report.add(TableTextCp932(kStrUnconnectedNets));
            report.add("\r\n");
            ListDifferences(report, reference, boardIndex, refDiffs);
        }
        r.boardDifferences = boardDiffs.size();
        r.referenceDifferences = refDiffs.size();
        r.report = std::move(report.text());
        if (r.report.empty())
            r.messages.push_back({std::string(TableText(kMsgNoNetDifference)), false});
        r.status = NetlistComparison::kOk;
    } catch (const std::bad_alloc&) {
        r.report.clear();
        r.status = NetlistComparison::kAborted;
        r.messages.push_back({std::string(TableText(kMsgInternalError)), true});
    }
    return r;
}

}  // namespace zevo

namespace zevo {

std::optional<PinNets> ReadExportedNetlist(std::string_view text) {
    PinNets nets;
    bool inNets = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!inNets) {
            inNets = line.starts_with("$NETS");
            continue;
        }
        if (line.starts_with("$END")) break;
        if (line.empty()) continue;
        if (line[0] != ' ' && line[0] != '\t') {  // a new net: its name up to ';'
            const size_t semi = line.find(';');
            if (semi == std::string_view::npos) return std::nullopt;
            line.remove_prefix(semi + 1);
            nets.emplace_back();
        } else if (nets.empty()) {
            return std::nullopt;
        }
        size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == ',')) ++i;
            size_t j = i;
            while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != ',') ++j;
            if (j == i) break;
            const std::string_view word = line.substr(i, j - i);
            i = j;
            const size_t dot = word.rfind('.');
            if (dot == std::string_view::npos || dot == 0 || dot + 1 == word.size())
                return std::nullopt;
            int pin = 0;
            for (char ch : word.substr(dot + 1)) {
                if (ch < '0' || ch > '9' || pin > 99999999) return std::nullopt;
                pin = pin * 10 + (ch - '0');
            }
            nets.back().push_back({Intern(word.substr(0, dot)), pin, nullptr});
        }
    }
    if (!inNets) return std::nullopt;
    std::erase_if(nets, [](const PinNet& n) { return n.empty(); });
    return nets;
}

}  // namespace zevo
