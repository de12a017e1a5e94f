#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// The game's own mouse cursor with a gauge for each weapon hand; the
// weapons give the gauges their fill every frame.
class CursorClass : public Tundra::Sprite {
    TUN_DECLARE_CLASS(CursorClass);
    CursorClass() = default;
    explicit CursorClass(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    CursorClass(const CursorClass& other);

    // After the sprite part: the left fill, then the right.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Fractions of a full gauge; NaN is refused.
    void SetLeftGauge(float fraction);
    void SetRightGauge(float fraction);
    float GetLeftGauge() const { return m_leftFill; }
    float GetRightGauge() const { return m_rightFill; }

private:
    float m_leftFill = 0.0f;
    float m_rightFill = 0.0f;
};
