#pragma once

#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"
#include "os/OS_Window.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace Input {

// Snapshot of a mouse as a peer sees it (28 bytes, little-endian):
//   0-14  left, middle, right button: pressed, triggered, held, down, up
//   15    zero
//   16    x, signed 32-bit, client pixels from the left
//   20    y, signed 32-bit, client pixels from the bottom
//   24    cursor inside the client area, 25 moved at the last poll,
//   26    cursor visible, 27 zero
constexpr std::uint32_t kMouseSnapshotBytes = 28;
using MouseSnapshot = std::array<std::uint8_t, kMouseSnapshotBytes>;

// Cursor movement of the last poll (20 bytes, little-endian, screen pixels):
//   0 previous x, 4 previous y, 8 moved, 9-11 zero, 12 current x, 16 current y
constexpr std::uint32_t kMouseMovementBytes = 20;
using MouseMovementRecord = std::array<std::uint8_t, kMouseMovementBytes>;
constexpr std::size_t kMovementPreviousX = 0;
constexpr std::size_t kMovementPreviousY = 4;
constexpr std::size_t kMovementMoved = 8;
constexpr std::size_t kMovementCurrentX = 12;
constexpr std::size_t kMovementCurrentY = 16;

// Buttons: 0 left, 1 middle, 2 right.
constexpr int kMouseButtonCount = 3;

// The polled mouse. Positions are client pixels counted from the window's
// bottom-left corner. A remote mouse is never polled: it is fed with a
// peer's snapshots or event lists.
class Mouse : public Core::Object {
public:
    virtual void Update() = 0;
    virtual void SetPosition(std::int32_t x, std::int32_t y) = 0;
    virtual Vector2D GetPosition() const = 0;
    virtual void GetPositionXY(std::int32_t* x, std::int32_t* y) const = 0;
    virtual std::int32_t GetPositionX() const = 0;
    virtual std::int32_t GetPositionY() const = 0;
    virtual bool IsInWindow() const = 0;
    virtual bool IsMoved() const = 0;
    // Buttons other than 0, 1 and 2 answer false.
    virtual bool IsPressed(int button) const = 0;
    virtual bool IsTriggered(int button) const = 0;
    virtual bool IsDown(int button) const = 0;
    virtual bool IsUp(int button) const = 0;
    virtual void ShowCursor(bool show) = 0;
    virtual bool IsCursorVisible() const = 0;
    virtual void SetWindow(os::WindowHandle window) = 0;
    virtual os::WindowHandle GetWindow() const = 0;
    virtual void Reset() = 0;
    virtual void ReadSnapshot(std::span<const std::uint8_t> record) = 0;
    // Empty for a remote mouse; the bytes stay valid until the next call.
    virtual std::span<const std::uint8_t> WriteSnapshot() = 0;
    // The movement record, and the buttons the last poll listed with their
    // five state bytes each. True when buttons were listed, else whether the
    // cursor moved (the lists are then empty).
    virtual bool GetEvents(MouseMovementRecord& movement, std::vector<std::uint8_t>& buttons,
                           std::vector<std::uint8_t>& states) const = 0;
    // Takes a peer's events: the position from the record, every button
    // released, then the listed buttons' states (buttons above 2 skipped).
    // Returns the number of listed buttons; lists whose lengths disagree
    // (five state bytes per button) are refused whole and give 0.
    virtual std::uint32_t ApplyEvents(const MouseMovementRecord& movement, std::span<const std::uint8_t> buttons,
                                      std::span<const std::uint8_t> states) = 0;
};

}  // namespace Input
