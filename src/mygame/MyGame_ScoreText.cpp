#include "mygame/MyGame_ScoreText.h"

#include "mygame/MyGame_WidgetClone.h"
#include "mygame/MyGame_WidgetStream.h"

#include <cmath>
#include <string>

TUN_DEFINE_CLASS(ScoreText)

namespace {

// A base x below kUnsetBaseX means "not placed yet": the first update takes
// the position.
const Vector2D kUnsetBase{-10001.0f, -10001.0f};
constexpr float kUnsetBaseX = -10000.0f;
// A step makes the text this much larger; the next step waits until the
// pulse has decayed to 1 or below.
constexpr float kStepPulse = 1.5f;

}  // namespace

ScoreText::ScoreText(const Core::String& text, const Core::String& fontPath)
    : CenteredText(text, fontPath), m_basePosition(kUnsetBase) {}

ScoreText::ScoreText(const ScoreText& other) : CenteredText(other), m_basePosition(kUnsetBase) {}

void ScoreText::Save(Core::File& file) const {
    CenteredText::Save(file);
    file.WriteI32(m_target);
    file.WriteI32(m_shown);
    file.WriteF32(m_pulse);
    file.WriteF32(m_rate);
    WriteVector(file, m_basePosition);
    file.WriteU8(m_finished);
    file << m_prefix << m_suffix;
}

void ScoreText::Load(Core::File& file) {
    CenteredText::Load(file);
    std::int32_t target = m_target;
    std::int32_t shown = m_shown;
    float pulse = m_pulse;
    float rate = m_rate;
    Vector2D base = m_basePosition;
    std::uint8_t finished = m_finished;
    Core::String prefix = m_prefix;
    Core::String suffix = m_suffix;
    file.ReadI32(target);
    file.ReadI32(shown);
    ReadFinite(file, pulse);
    ReadFinite(file, rate);
    ReadVector(file, base);
    ReadFlagByte(file, finished);
    file >> prefix >> suffix;
    // A counter's pulse stays within [0, 1.5] and its rate is never negative;
    // anything else would swell the text without bound.
    if (!(pulse >= 0.0f && pulse <= kStepPulse) || rate < 0.0f) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_target = target;
    m_shown = shown;
    m_pulse = pulse;
    m_rate = rate;
    m_basePosition = base;
    m_finished = finished;
    m_prefix = std::move(prefix);
    m_suffix = std::move(suffix);
}

void ScoreText::Update(float dt) {
    if (m_basePosition.x < kUnsetBaseX) {
        m_basePosition = GetPosition();
    }
    CenteredText::Update(dt);
    if (m_finished != 0) {
        return;
    }
    m_pulse = m_pulse + (0.0f - m_pulse) * dt * m_rate;
    if (m_pulse <= 1.0f) {
        if (m_shown != m_target) {
            m_pulse = kStepPulse;
            SetShownValue(m_shown > m_target ? m_shown - 1 : m_shown + 1);
        } else {
            m_pulse = 1.0f;
            m_finished = 1;
        }
    }
    SetScale(m_pulse, m_pulse);
    PlaceAtPulse();
}

void ScoreText::PlaceAtPulse() {
    const float length = static_cast<float>(GetTextLength());
    const float x = m_basePosition.x - (length * m_pulse * 8.5f - 3.0f);
    const float y = m_basePosition.y - (m_pulse * 9.0f - 2.0f);
    SetPosition({std::trunc(x), std::trunc(y)});
}

void ScoreText::SetTargetValue(std::int32_t value) {
    m_target = value;
    m_finished = 0;
}

// A finished counter set below its target (the results click) steps back
// up to it instead of showing one less.
void ScoreText::SetShownValue(std::int32_t value) {
    m_shown = value;
    m_finished = 0;
    Core::String text = m_prefix;
    text += std::to_string(value);
    text += m_suffix;
    SetText(text);
}

void ScoreText::SetRate(float rate) {
    if (std::isfinite(rate) && rate >= 0.0f) {
        m_rate = rate;
    }
}

void ScoreText::SetBasePosition(const Vector2D& position) {
    if (std::isfinite(position.x) && std::isfinite(position.y)) {
        m_basePosition = position;
    }
}

void ScoreText::SetAffixes(const Core::String& prefix, const Core::String& suffix) {
    m_prefix = prefix;
    m_suffix = suffix;
}

ScoreText* CreateScoreText(const Vector2D& position, std::int32_t start, std::int32_t target, float rate,
                           const Core::String& prefix, const Core::String& suffix) {
    auto* score = CloneTemplateToHud<ScoreText>(kScoreTextTemplate);
    if (score == nullptr) {
        return nullptr;
    }
    score->SetBasePosition(position);
    score->SetPosition(position);
    score->SetAnchor(position);
    score->SetVisible(true);
    score->SetRate(rate);
    score->SetTargetValue(target);
    score->SetAffixes(prefix, suffix);
    score->SetShownValue(start);
    return score;
}
