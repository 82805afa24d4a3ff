#include "output/output_settings.h"

#include <climits>
#include <vector>

#include "output/text_out.h"

namespace zevo {

DCodeTables DCodeTables::Defaults() {
    DCodeTables t;
    for (int i = 0; i < kApertures; ++i) {
        t.round[i] = 2 * i + 10;
        t.square[i] = 2 * i + 11;
    }
    return t;
}

void MapInputDCode(DCodeTables& t, int aperture, bool isSquare, int code) {
    for (int i = 0; i < kApertures; ++i) {
        if (t.round[i] == code) t.round[i] = kNoDCode;
        if (t.square[i] == code) t.square[i] = kNoDCode;
    }
    (isSquare ? t.square : t.round)[aperture & 0xFF] = code;
}

TCodeTable TCodeTable::Defaults() {
    TCodeTable t;
    for (int i = 0; i < kApertures; ++i) t.code[i] = i + 10;
    return t;
}

namespace {

void AddUsed(const drawn* d, UsedApertures& used) {
    const int ap = d->aperture & 0xFF;
    if ((d->kind == kLand || d->kind == kLine) && d->square())
        used.square.set(ap);
    else
        used.round.set(ap);
}

}  // namespace

void CollectUsedApertures(const Board& b, int layer, UsedApertures& used) {
    ForEachDrawn(b.items, [&](const drawn* d) {
        if (d->layer == layer) AddUsed(d, used);
    });
}

std::array<UsedApertures, kLayers> UsedAperturesByLayer(const Board& b) {
    std::array<UsedApertures, kLayers> used;
    ForEachDrawn(b.items, [&](const drawn* d) {
        if (d->layer >= 0 && d->layer < kLayers) AddUsed(d, used[d->layer]);
    });
    return used;
}

namespace {

bool AnyOnLayer(const ListNode& head, int layer) {
    for (container* c : Items(head)) {
        if (c->kind == kGroup) {
            if (AnyOnLayer(AsGroup(c)->members, layer)) return true;
        } else if (IsDrawn(c) && AsDrawn(c)->layer == layer) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool LayerHasElements(const Board& b, int layer) {
    return AnyOnLayer(b.items, layer);
}

DCodeTables AutomaticDCodes(const DCodeTables& base, const UsedApertures& used) {
    DCodeTables t = base;
    int next = 11;
    for (int i = 0; i < kApertures; ++i)
        if (used.round[i]) t.round[i] = next++;
    for (int i = 0; i < kApertures; ++i)
        if (used.square[i]) t.square[i] = next++;
    return t;
}

bool ScanInt(std::string_view s, int& value, std::size_t* used) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const std::size_t digits = i;
    long long v = 0;
    bool overflow = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (!overflow) {
            v = v * 10 + (s[i] - '0');
            if (v > static_cast<long long>(INT_MAX) + 1) overflow = true;
        }
        ++i;
    }
    if (i == digits) return false;
    if (negative) v = -v;
    if (overflow || v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<int>(v);
    if (used) *used = i;
    return true;
}

namespace {

bool IsSectionHeader(std::string_view line, std::string_view name) {
    return line.size() >= name.size() + 2 && line[0] == '[' &&
           line.substr(1, name.size()) == name && line[name.size() + 1] == ']';
}

bool StartsWithDigit(std::string_view s) {
    return !s.empty() && s[0] >= '0' && s[0] <= '9';
}

// "name:LE=n" or ";name:LE=n". The colon is looked for after the last folder separator, so a
// full path with a drive letter keeps its colon.
bool ReadLayerFileLine(std::string_view line, LayerFiles& files) {
    bool selected = true;
    if (!line.empty() && line[0] == ';') {
        selected = false;
        line.remove_prefix(1);
    }
    const std::size_t sep = line.find_last_of("\\/");
    const std::size_t colon = line.find(':', sep == std::string_view::npos ? 0 : sep + 1);
    if (colon == std::string_view::npos || colon == 0 || colon > kMaxOutputName) return false;
    const std::string_view rest = line.substr(colon + 1);
    int layer = -1;
    if (rest.substr(0, 3) != "LE=" || !ScanInt(rest.substr(3), layer)) return false;
    if (layer < 0 || layer >= kLayers) return false;
    files.name[layer] = std::string(line.substr(0, colon));
    files.selected[layer] = selected;
    return true;
}

void WriteLayerFileLines(OutputText& out, const LayerFiles& files) {
    for (int layer = 0; layer < kLayers; ++layer) {
        if (files.name[layer].empty()) continue;
        if (!files.selected[layer]) out.put(';');
        out.put(files.name[layer]);
        out.put(":LE=");
        out.putInt(layer);
        out.newline();
    }
}

// "n:Xcode" with an aperture number 0..255 and a code in [low, high].
bool ReadCodeLine(std::string_view line, char letter, int low, int high, int& index, int& code) {
    if (!StartsWithDigit(line)) return false;
    const char key[3] = {':', letter, 0};
    const std::size_t at = line.find(key);
    if (at == std::string_view::npos) return false;
    if (!ScanInt(line, index) || !ScanInt(line.substr(at + 2), code)) return false;
    return index >= 0 && index < kApertures && code >= low && code <= high;
}

void WriteCodeSection(OutputText& out, std::string_view name, char letter,
                      const std::array<int, kApertures>& codes) {
    out.newline();
    out.put('[');
    out.put(name);
    out.put(']');
    out.newline();
    for (int i = 0; i < kApertures; ++i) {
        out.putInt(i);
        out.put(':');
        out.put(letter);
        out.putInt(codes[i]);
        out.newline();
    }
}

enum class Section { kNone, kFiles, kRound, kSquare, kHoles, kAperture };

}  // namespace

GerberOutSettings ReadGerberOutSettings(std::string_view bytes, SettingsReadResult* r) {
    GerberOutSettings s;
    int skipped = 0;
    Section section = Section::kNone;
    ForEachTextLine(bytes, [&](std::string_view line) {
        if (!line.empty() && line[0] == '[') {
            section = IsSectionHeader(line, "Output")    ? Section::kFiles
                      : IsSectionHeader(line, "LineDef") ? Section::kRound
                      : IsSectionHeader(line, "FlshDef") ? Section::kSquare
                                                         : Section::kNone;
            return;
        }
        if (line.empty() || section == Section::kNone) return;
        int index = 0, code = 0;
        switch (section) {
            case Section::kFiles:
                if (!ReadLayerFileLine(line, s.files)) ++skipped;
                break;
            case Section::kRound:
            case Section::kSquare:
                if (!ReadCodeLine(line, 'D', kMinDCode, kMaxDCode, index, code)) {
                    ++skipped;
                    break;
                }
                (section == Section::kRound ? s.codes.round : s.codes.square)[index] = code;
                break;
            default:
                break;
        }
    });
    if (r) r->skipped = skipped;
    return s;
}

std::string WriteGerberOutSettings(const LayerFiles& files, const DCodeTables& codes) {
    OutputText out;
    out.put("[Output]");
    out.newline();
    WriteLayerFileLines(out, files);
    WriteCodeSection(out, "LineDef", 'D', codes.round);
    WriteCodeSection(out, "FlshDef", 'D', codes.square);
    return out.take();
}

HoleOutSettings ReadHoleOutSettings(std::string_view bytes, SettingsReadResult* r) {
    HoleOutSettings s;
    int skipped = 0;
    Section section = Section::kNone;
    ForEachTextLine(bytes, [&](std::string_view line) {
        if (!line.empty() && line[0] == '[') {
            section = IsSectionHeader(line, "Output")    ? Section::kFiles
                      : IsSectionHeader(line, "HoleDef") ? Section::kHoles
                                                         : Section::kNone;
            return;
        }
        if (line.empty() || section == Section::kNone) return;
        int index = 0, code = 0;
        if (section == Section::kFiles) {
            if (!ReadLayerFileLine(line, s.files)) ++skipped;
        } else if (ReadCodeLine(line, 'T', 0, INT_MAX, index, code)) {
            s.codes.code[index] = code;
        } else {
            ++skipped;
        }
    });
    if (r) r->skipped = skipped;
    return s;
}

std::string WriteHoleOutSettings(const LayerFiles& files, const TCodeTable& codes) {
    OutputText out;
    out.put("[Output]");
    out.newline();
    WriteLayerFileLines(out, files);
    WriteCodeSection(out, "HoleDef", 'T', codes.code);
    return out.take();
}

GerberInSettings ReadGerberInSettings(std::string_view bytes, SettingsReadResult* r) {
    GerberInSettings s;
    int skipped = 0;
    Section section = Section::kNone;
    ForEachTextLine(bytes, [&](std::string_view line) {
        if (!line.empty() && line[0] == '[') {
            section = IsSectionHeader(line, "Input")      ? Section::kFiles
                      : IsSectionHeader(line, "Aperture") ? Section::kAperture
                                                          : Section::kNone;
            return;
        }
        if (line.empty() || section == Section::kNone) return;
        if (section == Section::kFiles) {
            if (!ReadLayerFileLine(line, s.files)) ++skipped;
            return;
        }
        // "D<code>:<aperture>,CIR" or ",SQ". Codes 0..3 are exposure codes, never apertures.
        int code = 0, aperture = 0;
        std::size_t used = 0;
        const std::size_t colon = line.find(':');
        const std::size_t comma = line.find(',');
        if (line[0] != 'D' || colon == std::string_view::npos || comma == std::string_view::npos ||
            !ScanInt(line.substr(1, colon - 1), code, &used) || used != colon - 1 ||
            !ScanInt(line.substr(colon + 1), aperture) || code < 4 || code > kMaxDCode ||
            aperture < 0 || aperture >= kApertures) {
            ++skipped;
            return;
        }
        // A line for a code replaces whatever the defaults gave that code.
        const std::string_view kind = line.substr(comma + 1);
        if (kind.substr(0, 3) == "CIR")
            MapInputDCode(s.codes, aperture, false, code);
        else if (kind.substr(0, 2) == "SQ")
            MapInputDCode(s.codes, aperture, true, code);
        else
            ++skipped;
    });
    if (r) r->skipped = skipped;
    return s;
}

std::string WriteGerberInSettings(const LayerFiles& files, const DCodeTables& codes) {
    OutputText out;
    out.put("[Input]");
    out.newline();
    WriteLayerFileLines(out, files);
    out.newline();
    out.put("[Aperture]");
    out.newline();
    // Every mapped code in increasing order; a code can stand for a square and a round aperture.
    std::array<std::vector<int>, kMaxDCode + 1> squareOf, roundOf;
    for (int i = 0; i < kApertures; ++i) {
        if (codes.square[i] >= 0 && codes.square[i] <= kMaxDCode)
            squareOf[codes.square[i]].push_back(i);
        if (codes.round[i] >= 0 && codes.round[i] <= kMaxDCode)
            roundOf[codes.round[i]].push_back(i);
    }
    for (int d = 0; d <= kMaxDCode; ++d) {
        for (int i : squareOf[d]) {
            out.put('D');
            out.putInt(d);
            out.put(':');
            out.putInt(i);
            out.put(",SQ");
            out.newline();
        }
        for (int i : roundOf[d]) {
            out.put('D');
            out.putInt(d);
            out.put(':');
            out.putInt(i);
            out.put(",CIR");
            out.newline();
        }
    }
    return out.take();
}

}  // namespace zevo
