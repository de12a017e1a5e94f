#include "mygame/MyGame_FadingText.h"

#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_WidgetClone.h"
#include "mygame/MyGame_WidgetStream.h"

TUN_DEFINE_CLASS(FadingText)

FadingText::FadingText(const Core::String& text, const Core::String& fontPath) : Text(text, fontPath) {}

FadingText::FadingText(const FadingText& other) : Text(other) {}

void FadingText::Save(Core::File& file) const {
    Text::Save(file);
    file.WriteU8(m_showPending);
}

void FadingText::Load(Core::File& file) {
    Text::Load(file);
    ReadFlagByte(file, m_showPending);
}

void FadingText::OnStart() {
    Text::OnStart();
    m_showPending = 0;
}

void FadingText::Update(float dt) {
    Text::Update(dt);
    FadeInAndShowPending(*this, m_showPending, dt);
}

FadingText* CreateFadingText(float x, float y, const Core::String& text) {
    auto* label = CloneTemplateToHud<FadingText>(kFadingTextTemplate);
    if (label == nullptr) {
        return nullptr;
    }
    label->SetVisible(true);
    label->SetOpacity(-3.0f);
    label->SetPosition({x, y});
    label->SetOldPosition({x, y});
    label->Text::SetText(text);
    return label;
}
