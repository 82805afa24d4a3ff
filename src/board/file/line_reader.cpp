#include "board/file/line_reader.h"

#include <cstring>

namespace zevo {

namespace {
std::string_view CutAtNul(std::string_view s) {
    const void* z = std::memchr(s.data(), '\0', s.size());
    return z ? s.substr(0, static_cast<const char*>(z) - s.data()) : s;
}
}  // namespace

// One read of at most `room` bytes that stops after a line feed, as fgets reads.
std::string_view LineReader::readPiece(size_t room) {
    const char* start = p_;
    const size_t avail = static_cast<size_t>(end_ - p_);
    const size_t n = avail < room ? avail : room;
    const void* nl = std::memchr(start, '\n', n);
    if (nl) {
        p_ = static_cast<const char*>(nl) + 1;
        ++physLine_;
    } else {
        p_ = start + n;
    }
    return CutAtNul(std::string_view(start, static_cast<size_t>(p_ - start)));
}

LineReader::Result LineReader::next(std::string_view& line) {
    for (;;) {
        if (p_ >= end_) return kEnd;
        if (*p_ == '[') return kHeader;
        lineNo_ = physLine_;
        std::string_view piece = readPiece(kMaxLine);
        if (!piece.empty() && (piece[0] == ';' || piece[0] == '#')) {
            line = piece;
            return kLine;
        }
        piece = TrimTrailingControls(piece);
        if (piece.empty()) continue;
        if (p_ < end_ && *p_ == ',' && piece.size() < kMaxLine) {
            buf_.assign(piece);
            while (p_ < end_ && *p_ == ',' && buf_.size() < kMaxLine) {
                buf_.append(readPiece(kMaxLine - buf_.size()));
                buf_.resize(TrimTrailingControls(buf_).size());
            }
            line = buf_;
            return kLine;
        }
        line = piece;
        return kLine;
    }
}

bool LineReader::takeHeader(std::string_view& header) {
    while (p_ < end_) {
        if (*p_ == '[') {
            lineNo_ = physLine_;
            header = TrimTrailingControls(readPiece(kMaxLine));
            return true;
        }
        readPiece(kMaxLine);
    }
    return false;
}

std::string_view SqueezeUpper(std::string_view s, char* out) {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (IsShiftJisLead(c)) {
            out[n++] = static_cast<char>(c);
            if (i + 1 < s.size()) out[n++] = s[++i];
        } else if (c > 0x20) {
            out[n++] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        }
    }
    return {out, n};
}

}  // namespace zevo
