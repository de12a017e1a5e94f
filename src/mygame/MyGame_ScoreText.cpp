#include "mygame/MyGame_ScoreText.h"

#include "mygame/MyGame_WidgetClone.h"
#include "mygame/MyGame_WidgetStream.h"

#include <string>

TUN_DEFINE_CLASS(ScoreText)

namespace {

// A base x below this means "not placed yet".
const Vector2D kUnsetBase{-10001.0f, -10001.0f};

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

void ScoreText::SetTargetValue(std::int32_t value) {
    m_target = value;
    m_finished = 0;
}

void ScoreText::SetShownValue(std::int32_t value) {
    m_shown = value;
    Core::String text = m_prefix;
    text += std::to_string(value);
    text += m_suffix;
    SetText(text);
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
