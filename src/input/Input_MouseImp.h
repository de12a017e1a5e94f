#pragma once

#include "core/Core_RefPtr.h"
#include "input/Input_KeyState.h"
#include "input/Input_Mouse.h"
#include "os/OS_Geometry.h"

namespace Input {

class MouseImp : public Mouse {
public:
    explicit MouseImp(bool remote = false);
    ~MouseImp() override;

    // Not registered by name, and neither Clone nor GetType is overridden:
    // a clone is a plain Core::Object and GetType reports "Object".
    std::uint32_t GetSize() const override { return sizeof(MouseImp); }

    // The script class whose methods scripts call on it.
    static constexpr const char* kScriptName = "MouseImp";
    void PushToLua(lua_State* state) const override { PushToLuaAs(state, kScriptName); }

    // The local mouse, also kept as the process-wide one.
    static Core::RefPtr<MouseImp> CreateInstance();
    // A mouse fed by a peer; not kept anywhere.
    static Core::RefPtr<MouseImp> CreateRemote();
    // The process-wide mouse (it owns nothing); null when there is none.
    static MouseImp* GetInstance();

    void Update() override;
    void SetPosition(std::int32_t x, std::int32_t y) override;
    Vector2D GetPosition() const override;
    void GetPositionXY(std::int32_t* x, std::int32_t* y) const override;
    std::int32_t GetPositionX() const override;
    std::int32_t GetPositionY() const override;
    bool IsInWindow() const override;
    bool IsMoved() const override { return m_moved != 0; }
    bool IsPressed(int button) const override;
    bool IsTriggered(int button) const override;
    bool IsDown(int button) const override;
    bool IsUp(int button) const override;
    void ShowCursor(bool show) override;
    bool IsCursorVisible() const override;
    void SetWindow(os::WindowHandle window) override;
    os::WindowHandle GetWindow() const override { return m_window; }
    void Reset() override;
    void ReadSnapshot(std::span<const std::uint8_t> record) override;
    std::span<const std::uint8_t> WriteSnapshot() override;
    bool GetEvents(MouseMovementRecord& movement, std::vector<std::uint8_t>& buttons,
                   std::vector<std::uint8_t>& states) const override;
    std::uint32_t ApplyEvents(const MouseMovementRecord& movement, std::span<const std::uint8_t> buttons,
                              std::span<const std::uint8_t> states) override;

private:
    // The button's state, or null for a number other than 0, 1, 2.
    const KeyState* Button(int button) const;
    // Whether the poll may go on after a Reset: no button held, cursor still.
    bool WaitIsOver();

    MouseSnapshot m_snapshot{};
    std::array<KeyState, kMouseButtonCount> m_buttons{};
    std::uint8_t m_remote = 0;
    os::Point m_previous;
    os::WindowHandle m_window = os::kNoWindow;
    std::uint8_t m_wait = 1;
    std::uint8_t m_moved = 0;
    os::Point m_current;
    std::vector<std::uint8_t> m_eventButtons;
    std::vector<KeyState> m_eventStates;
};

}  // namespace Input
