#include "view/view_state.h"

#include <algorithm>
#include <cmath>

#include "board/model/board.h"

namespace zevo {

int PickRadiusPixels(int desktopWidth, int desktopHeight) {
    const int side = std::min(desktopWidth, desktopHeight);
    return std::max(2, int(std::trunc(side * 5.0 / 1080 + 0.5)));
}

ViewState::ViewState() {
    Update();
}

// --- conversions

Point ViewState::ScreenToWorld(double sx, double sy) const {
    const double x = mirrored() ? viewRight - sx / scale : sx / scale + viewLeft;
    const double y = viewTop - sy / scale;
    return {RoundToInput(x), RoundToInput(y)};
}

Point ViewState::ScreenToWorldSnapped(double sx, double sy) const {
    const double x = mirrored() ? viewRight - sx / scale : sx / scale + viewLeft;
    const double y = viewTop - sy / scale;
    // The tie rule follows the direction in which screen x runs through the world.
    return {SnapToGrid(x, gridOriginX, gridSpacing, !mirrored()),
            SnapToGrid(y, gridOriginY, gridSpacing, false)};
}

Point ViewState::WorldToScreen(double x, double y) const {
    const double sx = mirrored() ? (viewRight - x) * scale : (x - viewLeft) * scale;
    return {sx, (viewTop - y) * scale};
}

Point ViewState::GridPointOnScreen(double x, double y) const {
    return WorldToScreen(SnapToGrid(x, gridOriginX, gridSpacing, !mirrored()),
                         SnapToGrid(y, gridOriginY, gridSpacing, false));
}

void ViewState::SnapPixel(int& sx, int& sy) const {
    if (!onGrid()) return;
    auto snap = [&](int v, double phase) {
        const double k = std::floor((v - phase) / gridSpacingPx + 0.5);
        return int(std::trunc(k * gridSpacingPx + phase + 0.5));
    };
    sx = snap(sx, gridPhaseX);
    sy = snap(sy, gridPhaseY);
}

double ViewState::BoardFitScale() const {
    return std::max(clientWidth / boardWidth, clientHeight / boardHeight);
}

// --- setters

void ViewState::Update() {
    viewWidth = (clientWidth - 1) / scale;
    viewHeight = (clientHeight - 1) / scale;
    viewRight = viewLeft + viewWidth;
    viewTop = viewBottom + viewHeight;
    gridSpacingPx = gridSpacing * scale;
    pickRadiusWorld = pickRadiusPx / scale;
    pickRadiusWorldSq = pickRadiusWorld * pickRadiusWorld;
    if (!mirrored()) {
        const double f = (viewLeft - gridOriginX) * scale;
        const double k = std::floor(f / gridSpacingPx + 0.5);
        gridPhaseX = k * gridSpacingPx - f;
    } else {
        const double f = (viewRight - gridOriginX) * scale;
        const double k = std::floor(f / gridSpacingPx + 0.5);
        gridPhaseX = f - k * gridSpacingPx;
    }
    const double f = (viewTop - gridOriginY) * scale;
    const double k = std::floor(f / gridSpacingPx + 0.5);
    gridPhaseY = f - k * gridSpacingPx;
}

void ViewState::UpdateScrollBars() {
    auto range = [&](double board, int client) {
        const double r = scale * (board - client / scale) / kScrollUnit;
        return int(std::clamp(r, 1.0, 65535.0));
    };
    hScrollRange = range(boardWidth, clientWidth);
    vScrollRange = range(boardHeight, clientHeight);
    const double slackX = boardWidth - clientWidth / scale;
    const double slackY = boardHeight - clientHeight / scale;
    if (std::fabs(slackX) < 0.001) {
        hScrollPos = mirrored() ? hScrollRange / 2 : hScrollRange;
    } else {
        const int pos = int(std::lround(viewLeft * hScrollRange / slackX));
        hScrollPos = mirrored() ? hScrollRange - pos : pos;
    }
    if (std::fabs(slackY) < 0.001) {
        vScrollPos = vScrollRange / 2;
    } else {
        vScrollPos = vScrollRange - int(std::lround(viewBottom * vScrollRange / slackY));
    }
}

void ViewState::SetScale(double s) {
    // NaN would slip through the clamp; it is no scale at all.
    if (!(s == s)) return;
    scale = std::clamp(s, kMinScale, kMaxScale);
    Update();
}

void ViewState::SetGrid(double spacing, int every) {
    if (spacing == spacing) gridSpacing = std::clamp(spacing, kMinGrid, kMaxGrid);
    gridDisplayEvery = std::max(1, every);
    Update();
}

void ViewState::SetGridOrigin(double x, double y) {
    gridOriginX = x;
    gridOriginY = y;
    Update();
}

void ViewState::SetOrigin(double left, double bottom) {
    viewLeft = left;
    viewBottom = bottom;
    Update();
}

void ViewState::SetClientSize(int w, int h) {
    if (w < 8 || h < 8) return;
    clientWidth = w;
    clientHeight = h;
    Update();
}

void ViewState::SetView(double s, double left, double bottom) {
    SetScale(s);
    if (left < 0) left = 0;
    if (bottom < 0) bottom = 0;
    if (left + clientWidth / scale > boardWidth) left = boardWidth - clientWidth / scale;
    if (bottom + clientHeight / scale > boardHeight) bottom = boardHeight - clientHeight / scale;
    // A view wider than the board starts at its edge rather than before it.
    if (left < 0) left = 0;
    if (bottom < 0) bottom = 0;
    SetOrigin(left, bottom);
    UpdateScrollBars();
    invalid = true;
}

void ViewState::SetMirror(bool on) {
    flags = on ? flags | kViewMirror : flags & ~uint32_t(kViewMirror);
    Update();
    UpdateScrollBars();
    invalid = true;
}

void ViewState::SetBoardSize(double w, double h) {
    if (w > 0) boardWidth = w;
    if (h > 0) boardHeight = h;
    UpdateScrollBars();
}

void ViewState::SetPickRadiusPixels(int px) {
    pickRadiusPx = std::max(2, px);
    Update();
}

void ViewState::TakeBoardGrid(const Board& board) {
    SetBoardSize(board.sizeX, board.sizeY);
    SetGrid(board.gridSpacing, board.gridInterval);
    SetGridOrigin(board.gridOrigin.x, board.gridOrigin.y);
}

void ViewState::CentreOnBoard() {
    SetOrigin((boardWidth - clientWidth / scale) / 2, (boardHeight - clientHeight / scale) / 2);
    UpdateScrollBars();
    invalid = true;
}

// --- commands

bool ViewState::ZoomIn() {
    if (scale >= kMaxScale) return false;
    StorePrevious();
    const double cx = viewLeft + viewWidth / 2, cy = viewBottom + viewHeight / 2;
    const double s = std::min(2 * scale, kMaxScale);
    SetView(s, cx - (clientWidth - 1) / s / 2, cy - (clientHeight - 1) / s / 2);
    return true;
}

bool ViewState::ZoomOut() {
    const double s = std::max(scale / 2, BoardFitScale());
    if (std::fabs(s - scale) < 0.001) return false;
    StorePrevious();
    const double cx = viewLeft + viewWidth / 2, cy = viewBottom + viewHeight / 2;
    SetView(s, cx - (clientWidth - 1) / s / 2, cy - (clientHeight - 1) / s / 2);
    return true;
}

bool ViewState::FitDrawing(const Board& board) {
    bool any = false;
    Box extent;
    ForEachDrawn(board.items, [&](const drawn* d) {
        if (!any)
            extent = d->bounds, any = true;
        else
            extent.grow(d->bounds);
    });
    if (!any) return false;
    const double ew = extent.maxX - extent.minX, eh = extent.maxY - extent.minY;
    // A drawing without width or height (a lone point) is fitted by its other side, or shown
    // at the largest scale.
    const double sx = ew > 0 ? clientWidth / ew : kMaxScale;
    const double sy = eh > 0 ? clientHeight / eh : kMaxScale;
    double s = 0.98 * std::min(sx, sy);
    StorePrevious();
    const double fit = BoardFitScale();
    if (fit > s) {
        SetView(fit, 0, 0);
        return true;
    }
    s = std::clamp(s, kMinScale, kMaxScale);
    const double left = std::max(0.0, (extent.minX + extent.maxX) / 2 - clientWidth / s / 2);
    const double bottom = std::max(0.0, (extent.minY + extent.maxY) / 2 - clientHeight / s / 2);
    SetView(s, left, bottom);
    return true;
}

bool ViewState::FitBoard() {
    StorePrevious();
    SetView(BoardFitScale(), 0, 0);
    return true;
}

bool ViewState::PreviousView() {
    if (previous.empty()) return false;
    const StoredView back = previous;
    previous = Current();
    SetView(back.scale, back.left, back.bottom);
    return true;
}

bool ViewState::RecallMemory(int n) {
    if (!memoryAvailable(n)) return false;
    StorePrevious();
    const StoredView& m = memories[n - 1];
    SetView(m.scale, m.left, m.bottom);
    return true;
}

bool ViewState::StoreMemory(int n) {
    if (n < 1 || n > 4) return false;
    StorePrevious();
    memories[n - 1] = Current();
    return true;
}

void ViewState::ToggleMirror() {
    SetMirror(!mirrored());
}

void ViewState::ToggleOnGrid() {
    flags ^= kViewOnGrid;
    invalid = true;
}

// --- input

bool ViewState::Wheel(int delta, int sx, int sy) {
    if (delta == 0) return false;
    const double s =
        delta > 0 ? std::min(scale * 1.2, kMaxScale) : std::max(scale * 0.8, BoardFitScale());
    if (std::fabs(s - scale) < 0.001) return false;
    // The world point under the cursor stays under it.
    const double wy = viewTop - sy / scale;
    const double bottom = wy + sy / s - (clientHeight - 1) / s;
    double left;
    if (mirrored()) {
        const double wx = viewRight - sx / scale;
        left = wx + sx / s - (clientWidth - 1) / s;
    } else {
        const double wx = viewLeft + sx / scale;
        left = wx - sx / s;
    }
    SetView(s, left, bottom);
    return true;
}

bool ViewState::MiddleButton(int sx, int sy) {
    StorePrevious();
    const double wx = mirrored() ? viewRight - sx / scale : viewLeft + sx / scale;
    const double wy = viewTop - sy / scale;
    SetView(scale, wx - viewWidth / 2, wy - viewHeight / 2);
    return true;
}

bool ViewState::HorizontalScroll(ScrollRequest r, int thumb) {
    const double dir = mirrored() ? -1 : 1;  // thumb to the right moves the view this way
    const double slack = boardWidth - clientWidth / scale;
    auto toThumb = [&](int pos) {
        const double f =
            mirrored() ? double(hScrollRange - pos) / hScrollRange : double(pos) / hScrollRange;
        return slack * f;
    };
    switch (r) {
        case ScrollRequest::kLineUp:
            SetView(scale, viewLeft - dir * kScrollUnit / scale, viewBottom);
            break;
        case ScrollRequest::kLineDown:
            SetView(scale, viewLeft + dir * kScrollUnit / scale, viewBottom);
            break;
        case ScrollRequest::kPageUp:
            StorePrevious();
            SetView(scale, viewLeft - dir * 0.8 * clientWidth / scale, viewBottom);
            break;
        case ScrollRequest::kPageDown:
            StorePrevious();
            SetView(scale, viewLeft + dir * 0.8 * clientWidth / scale, viewBottom);
            break;
        case ScrollRequest::kThumb:
            SetView(scale, toThumb(std::clamp(thumb, 0, hScrollRange)), viewBottom);
            break;
        case ScrollRequest::kTop:
            StorePrevious();
            SetView(scale, toThumb(0), viewBottom);
            break;
        case ScrollRequest::kBottom:
            StorePrevious();
            SetView(scale, toThumb(hScrollRange), viewBottom);
            break;
    }
    return true;
}

bool ViewState::VerticalScroll(ScrollRequest r, int thumb) {
    const double slack = boardHeight - clientHeight / scale;
    auto toThumb = [&](int pos) { return slack * double(vScrollRange - pos) / vScrollRange; };
    switch (r) {
        case ScrollRequest::kLineUp:
            SetView(scale, viewLeft, viewBottom + kScrollUnit / scale);
            break;
        case ScrollRequest::kLineDown:
            SetView(scale, viewLeft, viewBottom - kScrollUnit / scale);
            break;
        case ScrollRequest::kPageUp:
            StorePrevious();
            SetView(scale, viewLeft, viewBottom + 0.8 * clientHeight / scale);
            break;
        case ScrollRequest::kPageDown:
            StorePrevious();
            SetView(scale, viewLeft, viewBottom - 0.8 * clientHeight / scale);
            break;
        case ScrollRequest::kThumb:
            SetView(scale, viewLeft, toThumb(std::clamp(thumb, 0, vScrollRange)));
            break;
        case ScrollRequest::kTop:
            StorePrevious();
            SetView(scale, viewLeft, toThumb(0));
            break;
        case ScrollRequest::kBottom:
            StorePrevious();
            SetView(scale, viewLeft, toThumb(vScrollRange));
            break;
    }
    return true;
}

bool ViewState::Arrow(ArrowKey key, bool rectangleBand) {
    if (rectangleBand) return false;
    const double dx = 0.13 * clientWidth / scale * (mirrored() ? -1 : 1);
    const double dy = 0.13 * clientHeight / scale;
    switch (key) {
        case ArrowKey::kUp:
            SetView(scale, viewLeft, viewBottom + dy);
            break;
        case ArrowKey::kDown:
            SetView(scale, viewLeft, viewBottom - dy);
            break;
        case ArrowKey::kLeft:
            SetView(scale, viewLeft - dx, viewBottom);
            break;
        case ArrowKey::kRight:
            SetView(scale, viewLeft + dx, viewBottom);
            break;
    }
    return true;
}

bool ViewState::Resize(int w, int h) {
    if (w < 2 || h < 2) return false;
    SetClientSize(w, h);
    SetView(std::max(scale, BoardFitScale()), viewLeft, viewBottom);
    previous = {};
    memories = {};
    return true;
}

}  // namespace zevo
