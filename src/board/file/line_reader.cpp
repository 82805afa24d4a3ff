#include "board/file/line_reader.h"

#include <cstring>

namespace zevo {

namespace {
constexpr size_t kWindow = 1 << 20;

std::string_view CutAtNul(std::string_view s) {
    const void* z = std::memchr(s.data(), '\0', s.size());
    return z ? s.substr(0, static_cast<const char*>(z) - s.data()) : s;
}
}  // namespace

LineReader::LineReader(std::string_view data)
    : p_(data.data()),
      end_(data.data() + data.size()),
      nul_(std::memchr(data.data(), '\0', data.size()) != nullptr) {
    buf_.reserve(kMaxLine + 1);
}

LineReader::LineReader(std::FILE* f) : file_(f), window_(new char[kWindow]), eof_(false) {
    p_ = end_ = window_.get();
    buf_.reserve(kMaxLine + 1);
    fill();
}

void LineReader::fill() {
    if (eof_ || static_cast<size_t>(end_ - p_) > kMaxLine) return;
    const size_t left = static_cast<size_t>(end_ - p_);
    char* w = window_.get();
    std::memmove(w, p_, left);
    size_t n = left;
    while (n <= kMaxLine) {
        const size_t got = std::fread(w + n, 1, kWindow - n, file_);
        if (got == 0) {
            eof_ = true;
            failed_ = std::ferror(file_) != 0;
            break;
        }
        if (std::memchr(w + n, '\0', got)) nul_ = true;
        n += got;
    }
    p_ = w;
    end_ = w + n;
}

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
    const std::string_view piece(start, static_cast<size_t>(p_ - start));
    return nul_ ? CutAtNul(piece) : piece;
}

LineReader::Result LineReader::next(std::string_view& line) {
    for (;;) {
        fill();
        if (p_ >= end_) return kEnd;
        if (*p_ == '[') return kHeader;
        lineNo_ = physLine_;
        std::string_view piece = readPiece(kMaxLine);
        if (!piece.empty() && (piece[0] == ';' || piece[0] == '#')) {
            line = piece;
            return kTextLine;
        }
        piece = TrimTrailingControls(piece);
        if (piece.empty()) continue;
        if (p_ == end_ && !eof_) {
            // The next byte is not in the window yet: keep the piece across the refill.
            buf_.assign(piece);
            piece = buf_;
            fill();
        }
        if (p_ < end_ && *p_ == ',' && piece.size() < kMaxLine) {
            if (piece.data() != buf_.data()) buf_.assign(piece);
            for (;;) {
                fill();
                if (!(p_ < end_ && *p_ == ',' && buf_.size() < kMaxLine)) break;
                buf_.append(readPiece(kMaxLine - buf_.size()));
                buf_.resize(TrimTrailingControls(buf_).size());
            }
            line = buf_;
            return kTextLine;
        }
        line = piece;
        return kTextLine;
    }
}

bool LineReader::takeHeader(std::string_view& header) {
    for (;;) {
        fill();
        if (p_ >= end_) return false;
        if (*p_ == '[') {
            lineNo_ = physLine_;
            header = TrimTrailingControls(readPiece(kMaxLine));
            return true;
        }
        readPiece(kMaxLine);
    }
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
