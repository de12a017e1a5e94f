#pragma once

// A rectangle and an opacity, left to right, top above bottom (y grows
// upward).
struct UiFrameRect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    float alpha = 0.0f;

    bool operator==(const UiFrameRect&) const = default;
};

// The panel menus and dialogs draw behind their content: it shows one
// rectangle and opacity and can glide toward another. Not a game object:
// its one owner deletes it once.
class UiFrame {
public:
    UiFrame(float left, float top, float right, float bottom, float alpha);
    UiFrame(const UiFrame&) = delete;
    UiFrame& operator=(const UiFrame&) = delete;

    // Shown at once.
    void SetRect(float left, float top, float right, float bottom, float alpha);
    // Approached from now on.
    void SetTargetRect(float left, float top, float right, float bottom, float alpha);
    void Animate(float dt);
    // Ends what the panel shows in the level.
    void Destroy();

    const UiFrameRect& GetCurrent() const { return m_current; }
    const UiFrameRect& GetTarget() const { return m_target; }
    bool IsSettled() const { return m_settled; }

private:
    UiFrameRect m_current;
    UiFrameRect m_target;
    bool m_settled = true;
};
