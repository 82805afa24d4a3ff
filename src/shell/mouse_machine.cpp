#include "shell/mouse_machine.h"

#include <cstdlib>

namespace zevo {

namespace {
constexpr uint32_t kAnyButton = kMkLeft | kMkRight | kMkMiddle;
}

void MouseMachine::leftDown(int x, int y, uint32_t flags) {
    switch (state_) {
        case MouseState::kIdle:
        case MouseState::kRightHeld:
            if (state_ == MouseState::kRightHeld) {
                state_ = MouseState::kChord;
                return;
            }
            if (flags & (kMkRight | kMkMiddle)) return;
            pressX_ = x, pressY_ = y;
            state_ = MouseState::kLeftHeld;
            return;
        default:
            return;
    }
}

void MouseMachine::leftUp(int x, int y, uint32_t flags) {
    switch (state_) {
        case MouseState::kLeftHeld:
            if (flags & (kMkRight | kMkMiddle)) {
                state_ = MouseState::kWaitAllUp;
                return;
            }
            state_ = MouseState::kIdle;
            target_.click();
            return;
        case MouseState::kRightHeld:
            state_ = (flags & (kMkRight | kMkMiddle)) ? MouseState::kWaitAllUp : MouseState::kIdle;
            return;
        case MouseState::kDragging:
            if (flags & (kMkRight | kMkMiddle)) {
                state_ = MouseState::kWaitAllUp;
                target_.reset();
                return;
            }
            state_ = MouseState::kIdle;
            target_.click();
            return;
        case MouseState::kChord:
            // Holding the right button, each left click steps back once.
            state_ = MouseState::kChordBack;
            target_.sendBackspace();
            return;
        case MouseState::kChordBack:
            target_.sendBackspace();
            return;
        case MouseState::kWaitAllUp:
            if (!(flags & kAnyButton)) state_ = MouseState::kIdle;
            return;
        default:
            return;
    }
}

void MouseMachine::rightDown(int x, int y, uint32_t flags) {
    switch (state_) {
        case MouseState::kIdle:
            if (flags & (kMkLeft | kMkMiddle)) return;
            pressX_ = x, pressY_ = y;
            state_ = MouseState::kRightHeld;
            return;
        case MouseState::kLeftHeld:
            state_ = MouseState::kChord;
            return;
        default:
            return;
    }
}

void MouseMachine::rightUp(int x, int y, uint32_t flags) {
    switch (state_) {
        case MouseState::kLeftHeld:
            state_ = (flags & (kMkLeft | kMkMiddle)) ? MouseState::kWaitAllUp : MouseState::kIdle;
            return;
        case MouseState::kRightHeld: {
            if (flags & (kMkControl | kMkMiddle)) {
                state_ = MouseState::kWaitAllUp;
                return;
            }
            state_ = MouseState::kIdle;
            const int dx = x - pressX_, dy = y - pressY_;
            if (std::abs(dx) <= kClickPixels && std::abs(dy) <= kClickPixels)
                target_.gesture(Gesture::kRightClick, x, y, flags);
            else if (std::abs(dx) < std::abs(dy))
                target_.gesture(Gesture::kViewMenu, x, y, flags);
            else if (dx > 0)
                target_.gesture(Gesture::kToolMenu, x, y, flags);
            else
                target_.gesture(Gesture::kEditMenu, x, y, flags);
            return;
        }
        case MouseState::kChord:
            // Holding the left button, a right click confirms.
            state_ = MouseState::kWaitAllUp;
            target_.sendReturn();
            return;
        case MouseState::kChordBack:
            state_ = (flags & kAnyButton) ? MouseState::kWaitAllUp : MouseState::kIdle;
            return;
        case MouseState::kWaitAllUp:
            if (!(flags & kAnyButton)) state_ = MouseState::kIdle;
            return;
        default:
            return;
    }
}

void MouseMachine::move(int x, int y, uint32_t flags) {
    switch (state_) {
        case MouseState::kIdle:
        case MouseState::kRightHeld:
            target_.hover(x, y, flags);
            return;
        case MouseState::kLeftHeld:
            if (target_.acceptsDrags()) {
                if (flags & kMkMiddle) {
                    state_ = MouseState::kWaitAllUp;
                    return;
                }
                if ((flags & kAnyButton) == kMkLeft &&
                    (std::abs(x - pressX_) > kDragPixels || std::abs(y - pressY_) > kDragPixels)) {
                    state_ = MouseState::kDragging;
                    target_.dragStart();
                    return;
                }
            }
            target_.hover(x, y, flags);
            return;
        case MouseState::kWaitAllUp:
            if (!(flags & kAnyButton)) state_ = MouseState::kIdle;
            return;
        default:
            return;
    }
}

}  // namespace zevo
