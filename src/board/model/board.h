// The board document: the element tree, the layer table, the aperture and pad tables, the board
// size and grid, the layer swap table and the library file list.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "board/model/element.h"
#include "board/model/element_index.h"
#include "board/model/pools.h"

namespace zevo {

inline constexpr int kLayers = 256;
inline constexpr int kApertures = 256;
inline constexpr int kMaxLibraryFiles = 128;
inline constexpr int kMaxLibraryPath = 259;
// Groups nest at most this deep. The tree walkers recurse, so the reader refuses deeper nesting
// (and whatever builds groups must keep within it) rather than let a file run the stack out.
inline constexpr int kMaxGroupDepth = 200;

// Layer switches and roles.
enum LayerFlag : uint32_t {
    kActiv = 1,
    kDisp = 2,
    kPrint = 4,
    kRoleOrigin = 8,
    kRoleHole = 16,
    kRoleNonThrough = 32,
    kRoleCut = 64,
    kRolePattern = 128,
    kRoleJumper = 256,
    kRoleNegative = 512,
    kRoleMount = 1024,
    kRoleMask = 8 | 16 | 32 | 64 | 128 | 256 | 512 | 1024,
};

struct PadPair {
    int16_t layer = 0;
    int16_t aperture = 0;
    friend bool operator==(const PadPair&, const PadPair&) = default;
};
using PadDefinition = std::vector<PadPair>;
// Two pad definitions are equal when they have as many pairs and every pair of one is in the
// other, in any order. The list keeps only one of equal definitions.
bool SamePadDefinition(const PadDefinition& a, const PadDefinition& b);

inline constexpr uint32_t PackVersion(uint32_t major, uint32_t minor, uint32_t patch) {
    return (major << 24) | ((minor & 0xFFF) << 12) | (patch & 0xFFF);
}
inline constexpr uint32_t kProgramVersion = PackVersion(0, 63, 9);

// Diameter of aperture n in a new document.
double DefaultApertureDiameter(int n);

// Counts of live nodes per class (for tests and memory reports).
struct PoolCounts {
    size_t lands, lines, arcs, rects, groups, texts, parts;
};

class Pools {
  public:
    NodePool<land> lands;
    NodePool<line> lines;
    NodePool<arc> arcs;
    NodePool<rect> rects;
    NodePool<group> groups;
    NodePool<TextPlacement> texts;
    NodePool<PartPlacement> parts;
};

class Board {
  public:
    Board();
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;
    ~Board() = default;

    // --- the element tree
    ListNode items;  // sentinel of the top-level list
    ListNode& listOf(group* owner) { return owner ? owner->members : items; }
    // Links e at the tail of the owner's list (nullptr: the top level) and sets its parent.
    void AppendElement(group* owner, container* e);
    // Recycles every top-level element and resets version, names, colours and switches.
    void ClearBoard();

    land* CreateLand(int layer, int aperture, bool square, Point p);
    line* CreateLine(int layer, int aperture, bool square, Point s, Point e);
    arc* CreateArc(int layer, int aperture, Point centre, double r, double st, double end);
    rect* CreateRect(int layer, int aperture, Point centre, double dx, double dy, double ang);
    group* CreateGroup(Istr typeWord);
    TextPlacement* CreateTextPlacement(Point p, double angle, double hi, double pit);
    PartPlacement* CreatePartPlacement(Point p, double angle);

    // No land, line, arc or rectangle anywhere inside.
    static bool IsEmptyGroup(const group* g);
    // Box of every drawn element inside the group; false when there is none.
    static bool GroupBounds(const group* g, Box& out);

    // --- version
    void SetVersion(uint32_t major, uint32_t minor, uint32_t patch) {
        version = PackVersion(major, minor, patch);
    }
    uint32_t GetVersion() const { return version; }

    // --- layers
    void SetLayerName(int layer, std::string_view name);
    void SetLayerSwitch(int layer, uint32_t bits);
    void ClearLayerSwitch(int layer, uint32_t bits);
    static uint32_t LayerRoles(std::string_view name);
    bool HasRole(int layer, uint32_t role) const {
        return layer >= 0 && layer < kLayers && (layerFlags[layer] & role);
    }

    // --- apertures (half sizes)
    void SetRoundAperture(int n, double h);
    void SetSquareAperture(int n, double h);
    void ResetApertures();
    double roundHalf(int n) const { return n >= 0 && n < kApertures ? roundAp[n] : 0; }
    double squareHalf(int n) const { return n >= 0 && n < kApertures ? squareAp[n] : 0; }

    // --- pads, swap pairs, size, grid
    void AddPadDefinition(const PadDefinition& pairs);
    bool PairLayers(int a, int b);
    int SwapPartner(int i) const { return i >= 0 && i < kLayers ? swapLayer[i] : i; }
    void ResetSwapTable();
    void SetBoardSize(double x, double y);
    void SetGrid(double spacing, int interval);
    void SetGridOrigin(double x, double y);
    // Adds a path unless already listed (case-insensitive) or the list is full.
    bool AddLibraryFile(std::string_view path);

    // --- state
    uint32_t version = 0;
    std::array<uint8_t, kLayers> layerColour{};
    std::array<uint32_t, kLayers> layerFlags{};
    std::array<Istr, kLayers> layerName{};
    std::array<double, kApertures> roundAp{};   // LineDef
    std::array<double, kApertures> squareAp{};  // FlshDef
    std::vector<PadDefinition> padDefs;
    std::array<int16_t, kLayers> swapLayer{};
    double sizeX = 300, sizeY = 210;
    double gridSpacing = 10;
    int gridInterval = 1;
    Point gridOrigin;
    std::vector<std::string> libraryFiles;
    int currentLayer = 1;

    Pools pools;
    PoolCounts liveCounts() const;

    // Every change of the element tree's links and of an element's bounds (element.h). Bounds
    // are computed from a const board, so the count can advance on one.
    mutable ChangeCount changes;
    // The drawn elements in document order with their bounds, for the repaint and for picking:
    // a cache that follows small edits and empties itself after others (element_index.h). A
    // board is changed from one thread at a time; the repaint reads it from two at once.
    mutable ElementIndex drawnIndex{changes};
};

// Calls f(drawn*) for every land, line, arc and rectangle in the list, at any depth, in order.
template <class F>
void ForEachDrawn(const ListNode& head, F&& f) {
    for (container* c : Items(head)) {
        if (c->kind == kGroup)
            ForEachDrawn(AsGroup(c)->members, f);
        else if (IsDrawn(c))
            f(AsDrawn(c));
    }
}

}  // namespace zevo
