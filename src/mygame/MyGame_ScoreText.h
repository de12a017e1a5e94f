#pragma once

#include "core/Core_String.h"
#include "math/Math_Vector2D.h"
#include "mygame/MyGame_CenteredText.h"

#include <cstdint>

// A centred text showing prefix, a number and suffix; the number counts
// toward a target one unit a step, each step a pulse: the text jumps to 1.5
// times its size, and the next step comes once it has shrunk back below 1.
class ScoreText : public CenteredText {
    TUN_DECLARE_CLASS(ScoreText);
    // Base position (0, 0); the counter is set up by CreateScoreText.
    ScoreText() = default;
    ScoreText(const Core::String& text, const Core::String& fontPath);
    // The text part; the counter starts afresh, as a new one does.
    ScoreText(const ScoreText& other);

    // After the centred text: target, shown value, pulse, rate, base
    // position, finished flag, prefix, suffix.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Places the counter on its first update, then pulses and counts.
    void Update(float dt) override;

    // Counting resumes from the shown value.
    void SetTargetValue(std::int32_t value);
    // Shows the value at once; counting resumes toward the target.
    void SetShownValue(std::int32_t value);
    // The pulse's decay per second; negative or not finite is refused.
    void SetRate(float rate);
    // Not finite is refused.
    void SetBasePosition(const Vector2D& position);
    void SetAffixes(const Core::String& prefix, const Core::String& suffix);

    std::int32_t GetTargetValue() const { return m_target; }
    std::int32_t GetShownValue() const { return m_shown; }
    float GetRate() const { return m_rate; }
    float GetPulse() const { return m_pulse; }
    const Vector2D& GetBasePosition() const { return m_basePosition; }
    bool IsFinished() const { return m_finished != 0; }
    const Core::String& GetPrefix() const { return m_prefix; }
    const Core::String& GetSuffix() const { return m_suffix; }

private:
    // Base less the pulse-scaled half size, truncated toward zero.
    void PlaceAtPulse();

    std::int32_t m_target = 0;
    std::int32_t m_shown = -1;
    float m_pulse = 1.0f;
    float m_rate = 10.0f;
    Vector2D m_basePosition{0.0f, 0.0f};
    std::uint8_t m_finished = 0;
    Core::String m_prefix;
    Core::String m_suffix;
};

// A clone of the score-text template in the HUD layer at the position,
// shown, showing prefix + start + suffix and counting toward the target;
// null without the template or a HUD layer.
ScoreText* CreateScoreText(const Vector2D& position, std::int32_t start, std::int32_t target, float rate,
                           const Core::String& prefix, const Core::String& suffix);
