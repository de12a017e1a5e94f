#pragma once

#include "core/Core_RefPtr.h"
#include "gui/GUI_Control.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace guitest {

template <class T, class... Args>
Core::RefPtr<T> New(Args&&... args) {
    return Core::RefPtr<T>(TUN_NEW(T, std::forward<Args>(args)...));
}

// Appends its list number to a log when invoked.
class LoggedEvent final : public GUI::EventHandler {
public:
    LoggedEvent(std::vector<int>& log, int list) : m_log(log), m_list(list) {}
    void Invoke(GUI::Control*, const GUI::MouseEventRecord*) override { m_log.push_back(m_list); }
    const void* GetTarget() const override { return &m_log; }
    bool IsSameAs(const GUI::EventHandler& other) const override {
        const auto* same = dynamic_cast<const LoggedEvent*>(&other);
        return same != nullptr && &same->m_log == &m_log && same->m_list == m_list;
    }

private:
    std::vector<int>& m_log;
    int m_list;
};

// Runs an action when invoked (each instance is its own handler).
class ActionEvent final : public GUI::EventHandler {
public:
    explicit ActionEvent(std::function<void(GUI::Control*)> action) : m_action(std::move(action)) {}
    void Invoke(GUI::Control* sender, const GUI::MouseEventRecord*) override { m_action(sender); }
    const void* GetTarget() const override { return this; }
    bool IsSameAs(const GUI::EventHandler& other) const override { return &other == this; }

private:
    std::function<void(GUI::Control*)> m_action;
};

// Every list of the control logs into log.
inline void LogEvents(GUI::Control& control, std::vector<int>& log) {
    for (int list = 1; list <= static_cast<int>(GUI::kControlEventCount); ++list) {
        control.AddEventHandler(static_cast<GUI::ControlEvent>(list), std::make_shared<LoggedEvent>(log, list));
    }
}

inline void OnEvent(GUI::Control& control, GUI::ControlEvent list, std::function<void(GUI::Control*)> action) {
    control.AddEventHandler(list, std::make_shared<ActionEvent>(std::move(action)));
}

inline Core::RefPtr<GUI::Control> MakeControl(float x, float y, float width, float height) {
    return New<GUI::Control>(Vector2D{x, y}, width, height);
}

// A control with a client area inset like a window's, that counts the
// HUD's modal alerts.
class FramedControl : public GUI::Control {
public:
    FramedControl(float x, float y, float width, float height) : Control({x, y}, width, height) {}
    Vector2D GetClientOffset() const override { return {8.0f, 8.0f}; }
    void UpdateClientRectangle() override {
        const GUI::NRectangle& outer = GetRectangle();
        SetClientRectangle({outer.GetX() + 8.0f, outer.GetY() + 8.0f, outer.GetWidth() - 16.0f,
                            outer.GetHeight() - 16.0f});
    }
    void OnModalAlert() override { ++alerts; }

    int alerts = 0;
};

inline Core::RefPtr<FramedControl> MakeFramed(float x, float y, float width, float height) {
    return New<FramedControl>(x, y, width, height);
}

}  // namespace guitest
