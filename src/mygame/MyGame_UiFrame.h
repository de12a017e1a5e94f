#pragma once

#include "core/Core_File.h"
#include "core/Core_RefPtr.h"
#include "tundra/Tundra_Sprite.h"

#include <array>
#include <cstdint>
#include <memory>

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

// The panel menus and dialogs draw behind their content: nine HUD sprites (a
// stretched centre, four edge pipes, four corners) laid out on one rectangle
// with one opacity, able to glide toward another. Not a game object: its one
// owner deletes it once (MakeUiFrame gives it that owner).
class UiFrame {
public:
    static constexpr std::size_t kEdges = 4;
    // Pipes: left, top, right, bottom. Corners: bottom-left, top-left,
    // top-right, bottom-right.
    using Pieces = std::array<Core::RefPtr<Tundra::Sprite>, kEdges>;

    // Clones the centre, pipe and corner templates into the HUD layer (an
    // empty slot leaves that piece out) and lays them out on the rectangle.
    UiFrame(float left, float top, float right, float bottom, float alpha);
    UiFrame(const UiFrame&) = delete;
    UiFrame& operator=(const UiFrame&) = delete;

    // Shown at once.
    void SetRect(float left, float top, float right, float bottom, float alpha);
    void SetRect(const UiFrameRect& rect) { SetRect(rect.left, rect.top, rect.right, rect.bottom, rect.alpha); }
    // Approached from now on.
    void SetTargetRect(float left, float top, float right, float bottom, float alpha);
    void SetTargetRect(const UiFrameRect& rect) {
        SetTargetRect(rect.left, rect.top, rect.right, rect.bottom, rect.alpha);
    }
    // One step toward the target; a step of 8 dt at 1 or more lands on it.
    void Animate(float dt);
    // Ends the nine pieces in the level.
    void Destroy();

    // The pieces (object references), the current and target rectangles and
    // the settled flag.
    void Save(Core::File& file) const;
    // A frame read back; null (and the stream failed) when refused.
    static std::unique_ptr<UiFrame> Read(Core::File& file);

    const UiFrameRect& GetCurrent() const { return m_current; }
    const UiFrameRect& GetTarget() const { return m_target; }
    bool IsSettled() const { return m_settled != 0; }
    Tundra::Sprite* GetCentre() const { return m_centre.Get(); }
    const Pieces& GetPipes() const { return m_pipes; }
    const Pieces& GetCorners() const { return m_corners; }

private:
    UiFrame() = default;
    void LayOut();

    // Held, so that a piece the level destroyed first is never named freed.
    Core::RefPtr<Tundra::Sprite> m_centre;
    Pieces m_pipes;
    Pieces m_corners;
    UiFrameRect m_current;
    UiFrameRect m_target;
    std::uint8_t m_settled = 1;
};

// A frame its owner may be without: a flag byte, then the frame.
void SaveOptionalFrame(Core::File& file, const UiFrame* frame);
// Null without one, and null with the stream failed when refused.
std::unique_ptr<UiFrame> ReadOptionalFrame(Core::File& file);

// A frame in tracked memory under its one owner.
std::unique_ptr<UiFrame> MakeUiFrame(float left, float top, float right, float bottom, float alpha);
inline std::unique_ptr<UiFrame> MakeUiFrame(const UiFrameRect& rect) {
    return MakeUiFrame(rect.left, rect.top, rect.right, rect.bottom, rect.alpha);
}

// The frame's target, when there is a frame.
inline void TargetFrame(UiFrame* frame, const UiFrameRect& rect) {
    if (frame != nullptr) {
        frame->SetTargetRect(rect);
    }
}
