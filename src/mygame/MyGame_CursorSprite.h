#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// A weapon gauge beside the game cursor: a vertical bar filled from the
// bottom. Its animation must be its own, since the fill crops it.
class CursorSprite : public Tundra::Sprite {
    TUN_DECLARE_CLASS(CursorSprite);
    CursorSprite() = default;
    explicit CursorSprite(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    CursorSprite(const CursorSprite& other);

    // After the sprite part: full height, fill height. Reading applies the
    // crop again.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Takes animation 0's frame height as the full gauge's.
    void OnStart() override;
    // A gauge does nothing of its own.
    void Update(float dt) override {}

    // Draws the bottom height pixels (never more than the full gauge) with
    // the bottom edge at baseY - full height / 2. Values that are not
    // finite are refused.
    void SetFill(float height, float baseY);
    float GetFullHeight() const { return m_fullHeight; }
    float GetFillHeight() const { return m_fillHeight; }

private:
    float DrawnHeight() const;

    float m_fullHeight = 0.0f;
    float m_fillHeight = 0.0f;
};
