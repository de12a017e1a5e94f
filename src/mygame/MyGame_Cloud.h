#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// A background cloud of a stage: it drifts left at its own speed, tinted by
// the stage's theme, and once off the screen comes back at the right edge
// at a new height and speed. Its motion is relative to the ground: once the
// ground stands still, slow clouds drift right.
class Cloud : public Tundra::Sprite {
    TUN_DECLARE_CLASS(Cloud);
    Cloud() = default;
    explicit Cloud(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part; the speed starts at 0.
    Cloud(const Cloud& other);

    // The speed after the sprite part.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Tints by the current stage's theme (theme 0 keeps the placed colour).
    void OnStart() override;
    // Nothing while the game is paused.
    void Update(float dt) override;

    // Back at the right edge: random height, frame and speed, drawn in
    // that order.
    void Reset();
    float GetSpeed() const { return m_speed; }

private:
    friend class CloudTestAccess;
    // Units per second to the left.
    float m_speed = 0.0f;
};

// A clone of the cloud template in the world layer at the depth, reset and
// placed at a random x; null without a cloud template or a world layer.
Cloud* MakeCloud(float depth);
