#include "mygame/MyGame_CenteredText.h"

#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_WidgetClone.h"
#include "mygame/MyGame_WidgetStream.h"

#include <cmath>

TUN_DEFINE_CLASS(CenteredText)

namespace {

// An anchor x below this is "not set yet".
constexpr float kUnsetAnchor = -10000.0f;

}  // namespace

CenteredText::CenteredText(const Core::String& text, const Core::String& fontPath)
    : Text(text, fontPath), m_anchor(-10001.0f, -10001.0f) {}

CenteredText::CenteredText(const CenteredText& other) : Text(other) {}

void CenteredText::Save(Core::File& file) const {
    Text::Save(file);
    WriteVector(file, m_anchor);
    file.WriteU32(m_textLength);
    file.WriteU8(m_showPending);
}

void CenteredText::Load(Core::File& file) {
    Text::Load(file);
    Vector2D anchor = m_anchor;
    std::uint32_t length = m_textLength;
    std::uint8_t showPending = m_showPending;
    ReadVector(file, anchor);
    file.ReadU32(length);
    ReadFlagByte(file, showPending);
    if (file.HasFailed()) {
        return;
    }
    m_anchor = anchor;
    m_textLength = length;
    m_showPending = showPending;
}

void CenteredText::Update(float dt) {
    Text::Update(dt);
    FadeInAndShowPending(*this, m_showPending, dt);
}

void CenteredText::SetText(const Core::String& text) {
    if (m_anchor.x < kUnsetAnchor) {
        m_anchor = GetPosition();
    }
    Text::SetText(text);
    m_textLength = static_cast<std::uint32_t>(text.size());
    // Half advances of the default bitmap font; only the first row counts.
    const float scale = GetScaleX();
    float x = m_anchor.x;
    for (const char c : text) {
        if (c == '\n') {
            break;
        }
        x = x - (c == ' ' ? scale * 4.25f : scale * 8.5f);
    }
    SetPosition({std::trunc(x) + 2.0f, std::trunc(m_anchor.y - 9.0f)});
}

CenteredText* CreateCenteredText(const Vector2D& position, const Core::String& text) {
    auto* label = CloneTemplateToHud<CenteredText>(kCenteredTextTemplate);
    if (label == nullptr) {
        return nullptr;
    }
    label->SetVisible(true);
    label->SetAnchor(position);
    label->SetText(text);
    return label;
}
