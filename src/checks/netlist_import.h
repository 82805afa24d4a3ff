// Reference netlists for the comparison: the format of a file is recognised from its lines, then
// the file is read again from the start by the reader of that format. Ten formats are read: our
// own export and the netlists of common schematic programs (text in nine forms, one binary).
// Every reader gives the same result, nets of pins with pooled references.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "checks/netlist.h"

namespace zevo {

enum class NetlistFormat : int {
    kNone = 0,
    kPackages = 1,    // "$PACKAGES" ... "$NETS": the form ExportNetlist writes
    kCcf = 2,         // "$CCF {" ... "NET {": "REF(PIN)" after the net's ':'
    kPartNet = 3,     // "#---part---" ... "#---net---": 'REF'/'PIN' pairs
    kPartsList = 4,   // "PARTS LIST" ... "NET LIST": "NODENAME" lines of REF PIN pairs
    kBracket = 5,     // "[" component blocks, "(" nets ")": one "REF-PIN" per line
    kComponent = 6,   // "COMPONENT" ... "NET name = (REF,PIN) ..."
    kStarSignal = 7,  // "*PART*" ... "*NET*" ... "*SIGNAL*": "REF.PIN" words
    kAddSignal = 8,   // "ADD" ... "SIGNAL": one "REF PIN" per line
    kExportNets = 9,  // "(EXPORT" ... "(NETS": "(NODE (REF r) (PIN n))"
    kBinary = 10,     // fixed records of 96 bytes from byte 112
};

// Room of the result: one slot per net and one per pin. A reader that would need more fails.
inline constexpr size_t kNetlistCapacity = size_t{1} << 21;
// Text lines are cut into pieces of at most this many characters (carriage returns not counted).
inline constexpr size_t kNetlistLineMax = 8191;
// Binary files: the header before the first record, the record size, the shortest record read.
inline constexpr size_t kNetlistBinaryHeader = 112;
inline constexpr size_t kNetlistBinaryRecord = 96;
inline constexpr size_t kNetlistBinaryShort = 64;
// Diagnostics kept per read (the count of skipped pieces goes on).
inline constexpr size_t kMaxNetlistIssues = 100;

// A pin or line a reader could not take: the line (binary: the record, from 1) and why.
struct NetlistIssue {
    size_t line = 0;
    std::string reason;
};

struct NetlistRead {
    enum Status {
        kOk,             // at least one net with a pin
        kEmpty,          // nothing read
        kOverflow,       // more than the capacity: nothing kept
        kNotRecognised,  // a binary file whose first record is not a net record
    } status = kEmpty;
    NetlistFormat format = NetlistFormat::kNone;
    PinNets nets;                      // pins in file order; `part` is null, numbers as written
    size_t skipped = 0;                // pins and lines that could not be read
    std::vector<NetlistIssue> issues;  // the first kMaxNetlistIssues of them

    bool ok() const { return status == kOk; }
};

// The format of a netlist file from its lines; kBinary when no text form is recognised.
NetlistFormat RecogniseNetlist(std::string_view bytes);

// The readers of the ten formats. `capacity` counts slots as kNetlistCapacity does.
NetlistRead ReadPackagesNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);
NetlistRead ReadCcfNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);
NetlistRead ReadPartNetNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);
NetlistRead ReadPartsListNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);
NetlistRead ReadBracketNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);
NetlistRead ReadComponentNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);
NetlistRead ReadStarSignalNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);
NetlistRead ReadAddSignalNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);
NetlistRead ReadExportNetsNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);
NetlistRead ReadBinaryNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);

// The reader of `format` (kNone reads nothing).
NetlistRead ReadNetlistAs(NetlistFormat format, std::string_view bytes,
                          size_t capacity = kNetlistCapacity);
// Recognises the format and reads the file with its reader: what the comparison takes.
NetlistRead ReadReferenceNetlist(std::string_view bytes, size_t capacity = kNetlistCapacity);

// The lines of a netlist file as every reader and the recognition see them: a line ends at a line
// feed or after kNetlistLineMax characters (the rest is the next line), carriage returns are
// dropped wherever they stand, and a NUL ends the line's text as it ends a C string.
class NetlistLines {
  public:
    explicit NetlistLines(std::string_view bytes) : bytes_(bytes) {}
    bool next(std::string_view& line);
    size_t number() const { return number_; }

  private:
    std::string_view bytes_;
    size_t pos_ = 0;
    size_t number_ = 0;
    std::string buffer_;
};

}  // namespace zevo
