// The design rule check: the rule file, the check of the clearances between conductors of
// different nets, the marks it leaves on the board, and their removal.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "board/model/board.h"
#include "checks/progress.h"
#include "files/output_files.h"

namespace zevo {

// A gap the rule leaves unset: no distance is ever below it.
inline constexpr double kNeverGap = -1.0e30;
inline constexpr int kNoLayer = 65535;
inline constexpr size_t kMaxDrcRules = 128;

struct DrcRule {
    int le1 = kNoLayer, le2 = kNoLayer;
    int clr = kNoLayer;                   // clearance layer of a hole-through-plane rule
    int holeLayer = -1, otherLayer = -1;  // of a CLR rule
    // Stored 0.00001 below the typed value.
    double pp = kNeverGap, pl = kNeverGap, ll = kNeverGap;
    bool joins(int a, int b) const { return (a == le1 && b == le2) || (a == le2 && b == le1); }
};

enum class DrcRulesStatus { kOk, kNoSection, kBadOutputLayer, kBadRule, kNoRule };

struct DrcRules {
    DrcRulesStatus status = DrcRulesStatus::kNoSection;
    int outputLayer = 0;
    std::vector<DrcRule> rules;
    int badLine = 0;  // 1-based line of the first bad rule
};

// Reads the lines after "[DrcDatas]". The board gives the layer roles a CLR rule needs.
DrcRules ReadDrcRules(std::string_view text, const Board& b);

struct DrcViolation {
    enum Kind { kOverlapOneLayer, kOverlapTwoLayers, kGap } kind = kGap;
    Point at;                  // the mark's centre
    const drawn* a = nullptr;  // earlier in document order
    const drawn* b = nullptr;
    double gap = 0, required = 0;  // for kGap: the distance found and the rule's (stored) gap
    friend bool operator==(const DrcViolation&, const DrcViolation&) = default;
};

// The pair tests of one check over a board whose nets are built: the candidate chain, the
// clearance lands, the margin. DrcCommand walks the pairs through a grid; the tests walk all of
// them and must find the same.
class DrcSession {
  public:
    DrcSession(const Board& b, const DrcRules& rules);
    size_t size() const { return chain_.size(); }
    const drawn* candidate(size_t i) const { return chain_[i].e; }
    double margin() const { return margin_; }
    // Tests candidate i against the later candidate j; a counted violation is appended.
    void testPair(size_t i, size_t j);
    std::vector<DrcViolation> violations;

  private:
    struct Candidate {
        const drawn* e;
        const group* top;
    };
    bool exemptByClearance(const DrcRule& r, const drawn* a, const drawn* b) const;
    bool padExempt(const drawn* a, const drawn* b) const;
    const Board& b_;
    const DrcRules& rules_;
    std::vector<Candidate> chain_;
    std::vector<const land*> clearance_;
    double margin_ = kNeverGap;
};

struct DrcReport {
    int result = -1;  // violations found; 0 for none; -1 when nothing was checked
    bool aborted = false;
    std::vector<DrcViolation> violations;
    std::vector<OutputMessage> messages;  // the message boxes, in order
};

// The check with rules already read: erases the old marks, builds the nets, tests the pairs and
// appends one " DRC" group per violation; switches the output layer's display on when it found
// any. Messages: the bad-rule message, or the found / not found message after a check.
DrcReport DrcCommand(Board& b, const DrcRules& rules, ProgressMonitor* monitor = nullptr);
// The same from a rule file; no file (nullptr) or an unreadable one checks nothing.
DrcReport DrcCommand(Board& b, const std::filesystem::path* ruleFile,
                     ProgressMonitor* monitor = nullptr);

// The mark groups of one violation: lines on `layer` with `aperture` about the point.
group* MakeDrcMark(Board& b, DrcViolation::Kind kind, Point at, int layer, int aperture);
// The round aperture marks are drawn with: the lowest-numbered of the smallest.
int DrcMarkAperture(const Board& b);

// Removes every " DRC" group, also inside other groups, and every group left empty by that.
// With `removed`, the unlinked groups are handed over (in the order removed) instead of being
// recycled, for the undo record. Returns the number of groups removed.
size_t EraseDrcMarks(Board& b, std::vector<container*>* removed = nullptr);

}  // namespace zevo
