#pragma once

#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

class CursorSprite;

// The game's own mouse cursor ("MainCursor"), in HUD coordinates, carrying
// a gauge for each weapon hand ("LeftCursor", "RightCursor") tinted in the
// colour of that hand's weapon. The weapons give the gauges their fill
// every frame. The GUI's cursor is off while it runs.
class CursorClass : public Tundra::Sprite {
    TUN_DECLARE_CLASS(CursorClass);
    CursorClass() = default;
    explicit CursorClass(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    CursorClass(const CursorClass& other);

    // After the sprite part: the left fill, then the right. The gauges are
    // found again by name before their next use.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Switches the GUI's cursor off, finds and mounts the gauges, tints them.
    void OnStart() override;
    // Follows the mouse: client pixels less half of viewport 0's size,
    // brought in toward the centre by its depth in the HUD's perspective,
    // so that it is drawn under the pointer.
    void Update(float dt) override;

    // Tints the left gauge after the high half of the selected weapons and
    // the right after the low half; a half naming no weapon leaves its
    // gauge's colour.
    void UpdateGaugeColours();

    // Fractions of a full gauge, filled from the cursor's y; NaN and
    // infinities are refused.
    void SetLeftGauge(float fraction);
    void SetRightGauge(float fraction);
    float GetLeftGauge() const { return m_leftFill; }
    float GetRightGauge() const { return m_rightFill; }
    CursorSprite* GetLeftGaugeSprite();
    CursorSprite* GetRightGaugeSprite();

private:
    void FindGauges();
    void FindGaugesAfterLoad();
    void FillGauge(CursorSprite* gauge, float fraction) const;

    // Found by name; the level owns them.
    CursorSprite* m_leftGauge = nullptr;
    CursorSprite* m_rightGauge = nullptr;
    float m_leftFill = 0.0f;
    float m_rightFill = 0.0f;
    // Set by a load: the gauges are found again before their next use.
    std::uint8_t m_gaugesPending = 0;
};
