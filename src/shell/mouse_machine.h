// The screen window's mouse state machine: button presses and releases become a tool's click,
// drag, hover and reset, chords of both buttons become Return and Backspace, and right-button
// drags become the gesture menus.
#pragma once

#include <cstdint>

namespace zevo {

// Key flags of a mouse event: the buttons held after the event and the modifier keys.
enum MouseFlags : uint32_t {
    kMkLeft = 1,
    kMkRight = 2,
    kMkShift = 4,
    kMkControl = 8,
    kMkMiddle = 16,
};

enum class MouseState { kIdle, kLeftHeld, kRightHeld, kDragging, kChord, kChordBack, kWaitAllUp };

// What a right-button release far from its press opens.
enum class Gesture { kRightClick, kViewMenu, kToolMenu, kEditMenu };

// What the machine drives.
class MouseTarget {
  public:
    virtual ~MouseTarget() = default;
    // The cursor moved: onHover when it reached another grid point.
    virtual void hover(int x, int y, uint32_t flags) = 0;
    virtual void click() = 0;      // onClick, then refresh
    virtual void dragStart() = 0;  // onDragStart
    virtual void reset() = 0;      // onReset, then refresh
    virtual bool acceptsDrags() const = 0;
    virtual void sendBackspace() = 0;
    virtual void sendReturn() = 0;
    // Right button released in place (kRightClick, at the release point) or after a drag.
    virtual void gesture(Gesture g, int x, int y, uint32_t flags) = 0;
};

class MouseMachine {
  public:
    // A drag starts beyond this many pixels from the press point in x or y.
    static constexpr int kDragPixels = 4;
    // A right release within this many pixels of its press in both x and y is a click.
    static constexpr int kClickPixels = 10;

    explicit MouseMachine(MouseTarget& target) : target_(target) {}

    // `flags` are those of the event: the buttons still held after it, Shift and Control.
    void leftDown(int x, int y, uint32_t flags);
    void leftUp(int x, int y, uint32_t flags);
    void rightDown(int x, int y, uint32_t flags);
    void rightUp(int x, int y, uint32_t flags);
    void move(int x, int y, uint32_t flags);

    MouseState state() const { return state_; }
    int pressX() const { return pressX_; }
    int pressY() const { return pressY_; }

  private:
    MouseTarget& target_;
    MouseState state_ = MouseState::kIdle;
    int pressX_ = 0, pressY_ = 0;
};

}  // namespace zevo
