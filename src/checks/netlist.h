// Pin netlists of a board: the pins of the nets, the netlist file the board exports, and the
// comparison of the board with a reference netlist (with the exchange of interchangeable pins).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/model/board.h"
#include "checks/connectivity.h"
#include "checks/progress.h"
#include "files/output_files.h"

namespace zevo {

// One pin: a part reference (pooled, so equal references are the same pointer) and a pin
// number. On the board side the number keeps its sign (negative: an interchangeable pin) and
// `part` is the top-level group; pins are printed and compared by the absolute number.
struct NetPin {
    Istr ref = nullptr;
    int pin = 0;
    const group* part = nullptr;
};
using PinNet = std::vector<NetPin>;
using PinNets = std::vector<PinNet>;

// Net names have four base-36 digits: more pin nets than this cannot be exported.
inline constexpr size_t kMaxExportNets = 36u * 36u * 36u * 36u - 1u;  // 1 679 615

// The top-level group of an element (the element itself when it is at the top level).
const group* TopGroup(const container* e);
// The reference carried by more than one top-level group (the first repeated in document
// order), or nullptr when every reference is unique.
Istr DuplicateReference(const Board& b);
// The message of a duplicate reference: the reference, two blanks and the message text.
OutputMessage DuplicateReferenceMessage(Istr ref);

// The pin of a net member: a land, line, arc or rectangle with a non-zero pin number inside a
// part (a top-level group with a non-empty reference). False for anything else.
bool PinOf(const container* e, NetPin& out);
// The pins of each net in member order without repeats (pins -n and n of a part are one pin, the
// first kept); nets with fewer than two pins dropped.
PinNets BoardPinNets(const std::vector<Net>& nets);

// "N" and four base-36 digits (net 1: "N0001"); `number` must be 1 .. kMaxExportNets.
std::string NetName(size_t number);

// The netlist file text ($PACKAGES, $NETS, $END; lines end with CR LF) of a board and its pin
// nets.
std::string NetlistText(const Board& b, const PinNets& nets);

struct NetlistExport {
    enum Status { kOk, kDuplicate, kAborted, kNoNets, kTooManyNets } status = kAborted;
    std::string text;  // the file's bytes when kOk
    std::vector<OutputMessage> messages;
};
// Checks the references, builds the nets and makes the netlist text; the caller asks for the
// file name and writes it (WriteFileAtomically).
NetlistExport ExportNetlist(Board& b, ProgressMonitor* monitor = nullptr);

// The report of a comparison is limited to this many bytes; a piece that would not fit ends it.
inline constexpr size_t kCompareReportCapacity = 4u << 20;

struct NetlistComparison {
    enum Status { kOk, kDuplicate, kAborted, kNoNets } status = kAborted;
    std::string report;  // empty when the board agrees with the reference
    size_t rounds = 0;
    size_t boardDifferences = 0, referenceDifferences = 0;
    // Parts whose two interchangeable pins were exchanged (the board was changed).
    std::vector<const group*> exchanged;
    std::vector<OutputMessage> messages;
};
// Compares the board with `reference` (nets of pins, numbers compared by absolute value) in up
// to five rounds, exchanging interchangeable pins between rounds. The monitor is asked between
// rounds (false: stop without a report) and by the net builder. When the report is not empty the
// caller writes it (NetListErr.txt, CR LF line ends) and opens it; otherwise `messages` holds "no
// difference".
NetlistComparison CompareNetlist(Board& b, const PinNets& reference,
                                 ProgressMonitor* monitor = nullptr,
                                 size_t reportCapacity = kCompareReportCapacity);

}  // namespace zevo

namespace zevo {

// Reads the $NETS section of a netlist in the form ExportNetlist writes (net name and ';', then
// "REF.PIN" words, continuation lines after a ','). References are pooled. Nothing when the
// text has no $NETS section or a word is not REF.PIN with a decimal number.
std::optional<PinNets> ReadExportedNetlist(std::string_view text);

}  // namespace zevo
