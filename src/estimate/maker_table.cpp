#include "estimate/maker_table.h"

#include "paths/file_io.h"
#include "text/cp932.h"

namespace zevo {

namespace {

const std::vector<RenameRow>& MakerRows() {
    static const std::vector<RenameRow> rows = {
        {"PatternA", "ptn_top.grb", "ptn_btm.grb"}, {"PatternB", "ptn_btm.grb", "ptn_top.grb"},
        {"SilkA", "slk_top.grb", "slk_btm.grb"},    {"SilkB", "slk_btm.grb", "slk_top.grb"},
        {"MaskA", "res_top.grb", "res_btm.grb"},    {"MaskB", "res_btm.grb", "res_top.grb"},
        {"Board", "outline.grb", "outline.grb"},    {"Drill", "dri.grb", "dri.grb"},
        {"DrillNTH", "npth.grb", "npth.grb"},       {"InnerLy1", "ptn_sec.grb", "ptn_sec.grb"},
        {"InnerLy2", "ptn_thi.grb", "ptn_thi.grb"}, {"InnerLy3", "ptn_fou.grb", "ptn_fou.grb"},
        {"InnerLy4", "ptn_fiv.grb", "ptn_fiv.grb"},
    };
    return rows;
}

// The generic rows up to the outline; the drill rows follow, then the inner layers.
std::vector<RenameRow> GenericRows(std::initializer_list<RenameRow> drill) {
    std::vector<RenameRow> rows = {
        {"PatternA", ".GTL", ".GBL"}, {"PatternB", ".GBL", ".GTL"}, {"SilkA", ".GTO", ".GBO"},
        {"SilkB", ".GBO", ".GTO"},    {"MaskA", ".GTS", ".GBS"},    {"MaskB", ".GBS", ".GTS"},
        {"Board", ".GML", ".GML"},
    };
    rows.insert(rows.end(), drill);
    static constexpr std::string_view kInner[] = {"InnerLy1", "InnerLy2", "InnerLy3", "InnerLy4",
                                                  "InnerLy5", "InnerLy6", "InnerLy7", "InnerLy8"};
    static constexpr std::string_view kInnerExt[] = {".GL2", ".GL3", ".GL4", ".GL5",
                                                     ".GL6", ".GL7", ".GL8", ".GL9"};
    for (size_t i = 0; i < 8; ++i) rows.push_back({kInner[i], kInnerExt[i], kInnerExt[i]});
    return rows;
}

// Option rows of the board maker, in the order the form takes them.
enum { kLayers, kSilk, kResist, kThickness };

std::vector<MakerOption> MakerOptions() {
    return {
        {"層数",
         "layers",
         -1,
         {{"片面(１層)", "1"}, {"両面(２層)", "2"}, {"４層", "4"}, {"６層", "6"}}},
        {"シルク",
         "silk_layer",
         -1,
         {{"両面", "1"}, {"部品面のみ", "0"}, {"半田面のみ", "2"}, {"不要", "3"}}},
        {"レジスト",
         "sm_layers",
         -1,
         {{"両面", "1"}, {"部品面のみ", "2"}, {"半田面のみ", "3"}, {"不要", "4"}}},
        {"基板厚",
         "substrate",
         3,
         {{"0.6mm", "6"},
          {"0.8mm", "1"},
          {"1.0mm", "2"},
          {"1.6mm", "3"},
          {"2.4mm", "4"},
          {"3.2mm", "5"}}},
    };
}

// Item of the silk and resist rows: both, component side only, solder side only, none.
int SidesItem(bool a, bool b, bool sideB) {
    if (a && b) return 0;
    if (a) return sideB ? 2 : 1;
    if (b) return sideB ? 1 : 2;
    return 3;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

void MakerSideCallback(const EstimateArguments& args, bool sideB, std::vector<int>& sel) {
    if (sel.size() <= size_t(kThickness)) sel.resize(kThickness + 1, -1);
    const uint32_t f = args.layerMask;
    if (args.innerLayers == 0)
        sel[kLayers] = (f & 3) == 3 ? 1 : 0;
    else
        sel[kLayers] = args.innerLayers <= 2 ? 2 : 3;
    sel[kSilk] = SidesItem(f & 4, f & 8, sideB);
    sel[kResist] = SidesItem(f & 16, f & 32, sideB);
}

MakerSettings ParseMakerSettings(std::string_view bytes) {
    MakerSettings s{std::string(kDefaultMakerName), {}};
    bool inSection = false;
    while (!bytes.empty()) {
        const size_t nl = bytes.find('\n');
        const std::string_view line = Trim(bytes.substr(0, nl));
        bytes.remove_prefix(nl == std::string_view::npos ? bytes.size() : nl + 1);
        if (line.starts_with('[')) {
            inSection = line == "[Maker]";
            continue;
        }
        if (!inSection) continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, eq));
        const std::string value = Cp932ToUtf8(Trim(line.substr(eq + 1)));
        if (key == "Name" && !value.empty()) s.name = value;
        if (key == "URL") s.url = value;
    }
    return s;
}

MakerSettings ReadMakerSettings(const std::filesystem::path& file) {
    const auto bytes = ReadWholeFile(file);
    return ParseMakerSettings(bytes ? *bytes : std::string());
}

std::vector<MakerEntry> MakerTable(const MakerSettings& settings) {
    std::vector<MakerEntry> t;
    MakerEntry maker;
    maker.name = settings.name;
    maker.url = settings.url;
    maker.maker = true;
    maker.rows = MakerRows();
    maker.side = MakerSideCallback;
    maker.defaultX = "50";
    maker.defaultY = "50";
    maker.defaultQuantity = "4";
    maker.options = MakerOptions();
    t.push_back(std::move(maker));

    MakerEntry nc;
    nc.name = "データ作成 (ﾄﾞﾘﾙ=NC)";
    nc.rows = GenericRows({{"DrillNC", ".TXT", ".TXT"}});
    t.push_back(nc);
    MakerEntry thNth;
    thNth.name = "データ作成 (ﾄﾞﾘﾙ=TH/NTH)";
    thNth.rows =
        GenericRows({{"DrillNC1", ".TXT", ".TXT"}, {"DrillNC2", "-NPTH.TXT", "-NPTH.TXT"}});
    t.push_back(thNth);
    MakerEntry gerber;
    gerber.name = "データ作成 (ﾄﾞﾘﾙ=ｶﾞｰﾊﾞｰ)";
    gerber.rows = GenericRows({{"Drills", ".TXT", ".TXT"}});
    t.push_back(gerber);
    return t;
}

std::string NewFileName(const RenameRow& row, bool sideB, std::string_view boardName) {
    const std::string_view name = sideB ? row.sideB : row.sideA;
    if (!name.starts_with('.') && !name.starts_with('-')) return std::string(name);
    const size_t dot = boardName.rfind('.');
    return std::string(boardName.substr(0, dot)) + std::string(name);
}

}  // namespace zevo
