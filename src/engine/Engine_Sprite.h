#pragma once

#include "core/Core_RefPtrVector.h"
#include "engine/Engine_Node.h"
#include "engine/Engine_SpriteAnimation.h"
#include "math/Math_Color.h"

#include <cstdint>

namespace Engine {

// The leaf that draws the current frame of its current animation as one
// textured quad, placed by its parent and scaled to the frame's size in
// pixels. A new sprite is stopped on frame 0 of animation 0. A sprite
// without animations, or whose animation has no frames or no texture,
// updates and draws nothing.
class Sprite : public Node {
    TUN_DECLARE_CLASS(Sprite);

    // What a stream reader starts from: no animations, colour (0, 0, 0, 1).
    Sprite();
    // The animations are shared, not copied.
    explicit Sprite(const Core::RefPtrVector<SpriteAnimation>& animations);

    // The node part, the animation references, colour, opacity, timer,
    // speed, frame and animation indices and the six switches. An index
    // outside its non-empty list fails the read.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The update callback, then at most one frame of the animation.
    void Update(float dt) override;
    // Queues the frame unless hidden or, for a scene sprite, outside the view.
    void DrawSelf() override;
    void DrawTree() override { DrawSelf(); }

    // Plays (from frame 0 when a stopped sprite had reached its end), or
    // stops on frame 0.
    void SetPlaying(bool playing);
    void Pause();
    bool IsPlaying() const { return m_playing; }
    bool IsPaused() const { return m_paused; }
    bool IsEndOfAnimation() const { return m_endOfAnimation; }
    void SetLoop(bool loop) { m_loop = loop; }
    bool GetLoop() const { return m_loop; }
    // Multiplies the frame time.
    void SetAnimationSpeed(float speed) { m_speed = speed; }
    float GetAnimationSpeed() const { return m_speed; }

    // Ignored past the last frame; without force, choosing the current frame
    // only clears the end flag.
    void SetCurrentFrameIndex(std::uint32_t index, bool force);
    void GoToFirstFrame(bool force);
    void GoToLastFrame(bool force);
    std::uint32_t GetCurrentFrameIndex() const { return m_frame; }
    // A zero record when there is no such frame.
    SpriteFrame GetCurrentFrame() const;

    // Ignored past the last animation, and without force for the current one.
    void SetCurrentAnimationIndex(std::uint32_t index, bool force);
    // The first animation of that name; 0 when none has it.
    std::uint32_t FindAnimationIndex(const Core::String& name) const;
    void SetCurrentAnimationName(const Core::String& name, bool force);
    std::uint32_t GetCurrentAnimationIndex() const { return m_animation; }
    // Empty without a current animation.
    Core::String GetCurrentAnimationName() const;
    std::uint32_t GetAnimationsCount() const { return static_cast<std::uint32_t>(m_animations.size()); }
    // Empty when there is no such animation.
    Core::RefPtr<SpriteAnimation> GetCurrentAnimation() const { return GetAnimation(m_animation); }
    Core::RefPtr<SpriteAnimation> GetAnimation(std::uint32_t index) const;

    // Flips mirror the quad through the parent's origin.
    void SetFlipHorizontal(bool flip) { m_flipHorizontal = flip; }
    bool GetFlipHorizontal() const { return m_flipHorizontal; }
    void SetFlipVertical(bool flip) { m_flipVertical = flip; }
    bool GetFlipVertical() const { return m_flipVertical; }
    // Red, green and blue tint the frame; its alpha is not drawn.
    void SetModulationColor(const Color& color) { m_color = color; }
    const Color& GetModulationColor() const { return m_color; }
    // The drawn alpha.
    void SetOpacity(float opacity) { m_opacity = opacity; }
    float GetOpacity() const { return m_opacity; }
    // The first and last byte of the colour and opacity, which an owner
    // writes every frame: what to ask the caches for ahead of that.
    const void* TintFirstByte() const { return &m_color; }
    const void* TintLastByte() const { return reinterpret_cast<const char*>(&m_opacity + 1) - 1; }
    float GetFrameTimer() const { return m_timer; }
    // Where a stored sprite was within its frame, so that it moves on when
    // the running one would have.
    void RestoreFrameProgress(float timer, bool endOfAnimation) {
        m_timer = timer;
        m_endOfAnimation = endOfAnimation;
    }

    // The unit quad's bounding volume placed by the parent's world matrix
    // and scaled to the frame.
    void GetWorldBoundingVolume(BoundingBox& out);
    // Selects the current frame's cell of the sheet; the identity without a
    // texture of some size.
    Matrix4 GetFrameTextureMatrix() const;

private:
    // Advances the timer and, once the frame's delay has passed, the frame.
    void UpdateAnimation(float dt);
    // The parent's placement times the scale to the (flipped) frame size.
    Matrix4 FrameMatrix(const Matrix4& parentWorld) const;
    Matrix4 FrameMatrix(const Matrix4& parentWorld, const SpriteAnimation* animation) const;
    // GetFrameTextureMatrix for a drawable animation.
    Matrix4 FrameTextureMatrix(const SpriteAnimation& animation) const;
    // An animation with frames and a texture of some size, or null.
    const SpriteAnimation* DrawableAnimation() const;

    Core::RefPtrVector<SpriteAnimation> m_animations;
    Color m_color{0.0f, 0.0f, 0.0f, 1.0f};
    float m_opacity = 1.0f;
    float m_timer = 0.0f;
    float m_speed = 1.0f;
    std::uint32_t m_frame = 0;
    std::uint32_t m_animation = 0;
    bool m_endOfAnimation = false;
    bool m_loop = true;
    bool m_playing = false;
    bool m_paused = false;
    bool m_flipHorizontal = false;
    bool m_flipVertical = false;
};

}  // namespace Engine
