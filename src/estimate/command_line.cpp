#include "estimate/command_line.h"

#include <charconv>

namespace zevo {

namespace {

constexpr std::string_view kMarker = "ZEVO ";

bool IsDrivePath(std::string_view p) {
    return !p.empty() && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) &&
           p.find(':') != std::string_view::npos && p.find('\\') != std::string_view::npos;
}

// A path from the root separates with "/" alone; any other (a drive path, or what is derived
// from one) with either. Decided by the first character, so that a path and the archive path
// made from it always split the same way.
size_t LastSeparator(std::string_view p) {
    return p.starts_with('/') ? p.find_last_of('/') : p.find_last_of("\\/");
}

void SkipBlanks(std::string_view& s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
}

// `prefix` then an unsigned number in `base`; at most `maxDigits` digits.
template <class T>
bool Field(std::string_view& s, std::string_view prefix, int base, T& out, size_t maxDigits = 10) {
    SkipBlanks(s);
    if (!s.starts_with(prefix)) return false;
    s.remove_prefix(prefix.size());
    const char* begin = s.data();
    const auto [end, ec] = std::from_chars(begin, begin + s.size(), out, base);
    if (ec != std::errc() || size_t(end - begin) > maxDigits) return false;
    // A number ends at a blank (or at the end for the last field), not at a stray character.
    s.remove_prefix(size_t(end - begin));
    return s.empty() || s.front() == ' ' || s.front() == '\t';
}

}  // namespace

bool IsFullBoardPath(std::string_view path) {
    const bool rooted = IsDrivePath(path) || (!path.empty() && path[0] == '/');
    return rooted && FileNameOf(path).find('.') != std::string_view::npos;
}

std::string_view FileNameOf(std::string_view path) {
    const size_t sep = LastSeparator(path);
    return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::string_view FolderOf(std::string_view path) {
    const size_t sep = LastSeparator(path);
    return sep == std::string_view::npos ? std::string_view() : path.substr(0, sep);
}

ParsedArguments ParseEstimateArguments(std::string_view s) {
    ParsedArguments r;
    if (!s.starts_with(kMarker)) {
        r.error = ArgumentsError::kNotZevo;
        return r;
    }
    s.remove_prefix(kMarker.size());
    EstimateArguments& a = r.args;
    r.error = ArgumentsError::kMalformed;
    // The channel: exactly eight hexadecimal digits and a blank.
    SkipBlanks(s);
    if (s.size() < 9 || s[8] != ' ') return r;
    {
        const auto [end, ec] = std::from_chars(s.data(), s.data() + 8, a.channel, 16);
        if (ec != std::errc() || end != s.data() + 8 || a.channel == 0) return r;
        s.remove_prefix(8);
    }
    if (!Field(s, "X", 10, a.sizeX) || !Field(s, "Y", 10, a.sizeY)) return r;
    if (!Field(s, "LY", 10, a.innerLayers) || a.innerLayers < 0) return r;
    if (!Field(s, "F", 16, a.layerMask, 8)) return r;
    SkipBlanks(s);
    // The path is the rest; trailing blanks (a joined argument list) are not part of it.
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    if (!IsFullBoardPath(s)) return r;
    a.boardPath = std::string(s);
    a.boardName = std::string(FileNameOf(s));
    a.archivePath = std::string(s.substr(0, s.rfind('.'))) + "_zevo.zip";
    r.error = ArgumentsError::kNone;
    return r;
}

}  // namespace zevo
