// The view of the board editor: scale, origin, mirror and grid, the conversions between client
// pixels and world millimetres, and every way the view changes (zoom, scroll, wheel, memories).
// World units are mm with Y up; screen units are pixels of the screen window's client area with
// Y down.
#pragma once

#include <array>
#include <cstdint>

#include "geometry/geometry.h"

namespace zevo {

class Board;

enum ViewFlags : uint32_t {
    kViewOnGrid = 1,
    kViewMirror = 2,
};

// A stored view; scale <= 0 means none.
struct StoredView {
    double scale = 0;
    double left = 0;
    double bottom = 0;
    bool empty() const { return scale <= 0; }
    friend bool operator==(const StoredView&, const StoredView&) = default;
};

// Pick tolerance in pixels from the desktop size: 5 pixels on a 1080-line desktop, at least 2.
int PickRadiusPixels(int desktopWidth, int desktopHeight);

// Scroll bar requests, in the window system's words.
enum class ScrollRequest { kLineUp, kLineDown, kPageUp, kPageDown, kThumb, kTop, kBottom };
enum class ArrowKey { kLeft, kRight, kUp, kDown };

class ViewState {
  public:
    static constexpr double kMinScale = 0.01;
    static constexpr double kMaxScale = 1000;
    static constexpr double kMinGrid = 0.005;
    static constexpr double kMaxGrid = 100;
    static constexpr int kScrollUnit = 8;  // pixels per scroll unit

    ViewState();

    // --- fields
    uint32_t flags = kViewOnGrid;
    int gridDisplayEvery = 1;
    int pickRadiusPx = 2;
    double pickRadiusWorld = 0;
    double pickRadiusWorldSq = 0;
    double gridOriginX = 0, gridOriginY = 0;
    double viewLeft = 0, viewBottom = 0;
    double viewWidth = 0, viewHeight = 0;  // derived
    double viewRight = 0, viewTop = 0;     // derived
    double scale = 10;
    double gridSpacing = 0.5;
    double gridSpacingPx = 0;               // derived
    double gridPhaseX = 0, gridPhaseY = 0;  // derived
    StoredView previous;
    std::array<StoredView, 4> memories;
    int clientWidth = 640, clientHeight = 480;
    double boardWidth = 300, boardHeight = 210;
    int hScrollRange = 1, vScrollRange = 1;
    int hScrollPos = 0, vScrollPos = 0;
    // Set whenever the window should be repainted; the owner clears it after drawing.
    bool invalid = true;

    bool onGrid() const { return flags & kViewOnGrid; }
    bool mirrored() const { return flags & kViewMirror; }

    // --- conversions
    Point ScreenToWorld(double sx, double sy) const;
    Point ScreenToWorldSnapped(double sx, double sy) const;
    // The form tools take: snapped when the on-grid flag is set.
    Point ScreenToInput(double sx, double sy) const {
        return onGrid() ? ScreenToWorldSnapped(sx, sy) : ScreenToWorld(sx, sy);
    }
    Point WorldToScreen(double x, double y) const;
    Point WorldToScreen(Point p) const { return WorldToScreen(p.x, p.y); }
    Point GridPointOnScreen(double x, double y) const;
    void SnapPixel(int& sx, int& sy) const;
    // The scale at which the board fills the client in one direction.
    double BoardFitScale() const;

    // --- setters (each brings the derived values and the grid phases up to date)
    void SetScale(double s);
    void SetGrid(double spacing, int every);
    void SetGridOrigin(double x, double y);
    void SetOrigin(double left, double bottom);
    void SetClientSize(int w, int h);
    void SetView(double s, double left, double bottom);
    void SetMirror(bool on);
    void SetBoardSize(double w, double h);
    void SetPickRadiusPixels(int px);
    // The grid of the document (spacing, display interval, origin).
    void TakeBoardGrid(const Board& board);
    // Centres the view on the board at the current scale (the start of the editor).
    void CentreOnBoard();

    // --- commands; each returns whether the view changed
    bool ZoomIn();
    bool ZoomOut();
    bool FitDrawing(const Board& board);
    bool FitBoard();
    bool PreviousView();
    bool RecallMemory(int n);  // 1..4
    bool StoreMemory(int n);   // 1..4
    void ToggleMirror();
    void ToggleOnGrid();
    bool previousAvailable() const { return !previous.empty(); }
    bool memoryAvailable(int n) const { return n >= 1 && n <= 4 && !memories[n - 1].empty(); }

    // --- input
    bool Wheel(int delta, int sx, int sy);
    bool MiddleButton(int sx, int sy);
    bool HorizontalScroll(ScrollRequest r, int thumb = 0);
    bool VerticalScroll(ScrollRequest r, int thumb = 0);
    // `rectangleBand`: a rectangle rubber band is shown, and the keys do nothing.
    bool Arrow(ArrowKey key, bool rectangleBand = false);
    // A new client size; false when it is ignored (below 2 x 2).
    bool Resize(int w, int h);

  private:
    void StorePrevious() { previous = {scale, viewLeft, viewBottom}; }
    void Update();
    void UpdateScrollBars();
    StoredView Current() const { return {scale, viewLeft, viewBottom}; }
};

}  // namespace zevo
