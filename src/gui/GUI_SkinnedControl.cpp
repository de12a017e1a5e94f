#include "gui/GUI_SkinnedControl.h"

#include "core/Core_File.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_ResourcePaths.h"

namespace GUI {

bool IsHudLoading() {
    const HUD* hud = HUD::GetInstance();
    return hud != nullptr && hud->IsLoading();
}

void SkinnedControl::FireClick() {
    if (IsEnabled()) {
        Control::FireClick();
    }
}

void SkinnedControl::FireEvent2() {
    if (IsEnabled()) {
        Control::FireEvent2();
    }
}

void SkinnedControl::FireEvent3() {
    if (IsEnabled()) {
        Control::FireEvent3();
    }
}

void SkinnedControl::FireEvent4() {
    if (IsEnabled()) {
        Control::FireEvent4();
    }
}

void SkinnedControl::FireEvent5() {
    if (IsEnabled()) {
        Control::FireEvent5();
    }
}

void SkinnedControl::FireEvent6() {
    if (IsEnabled()) {
        Control::FireEvent6();
    }
}

void SkinnedControl::FireEvent7() {
    if (IsEnabled()) {
        Control::FireEvent7();
    }
}

void SkinnedControl::FireEvent8() {
    if (IsEnabled()) {
        Control::FireEvent8();
    }
}

void SkinnedControl::FireEvent9(const MouseEventRecord& event) {
    if (IsEnabled()) {
        Control::FireEvent9(event);
    }
}

void SkinnedControl::FireEvent10(const MouseEventRecord& event) {
    if (IsEnabled()) {
        Control::FireEvent10(event);
    }
}

void SkinnedControl::FireMouseDown(const MouseEventRecord& event) {
    if (IsEnabled()) {
        Control::FireMouseDown(event);
    }
}

// The image sits at the absolute position, for a child as for a control
// without parent, whichever way the control was moved.
void SkinnedControl::SetPosition(const Vector2D& position) {
    Control::SetPosition(position);
    if (m_skinImage) {
        m_skinImage->SetPosition(GetAbsolutePosition());
    }
}

void SkinnedControl::UpdatePosition() {
    if (m_skinImage) {
        m_skinImage->SetPosition(GetAbsolutePosition());
    }
    Control::UpdatePosition();
}

void SkinnedControl::SetVisible(bool visible) {
    Control::SetVisible(visible);
    if (m_skinImage) {
        m_skinImage->SetVisible(visible);
    }
}

void SkinnedControl::SetModulationColor(const Color& color) {
    Control::SetModulationColor(color);
    if (m_skinImage) {
        m_skinImage->SetColor(color);
    }
}

void SkinnedControl::FireEvent13() {
    if (m_skinImage) {
        m_skinImage->SetWidth(GetWidth());
        m_skinImage->SetHeight(GetHeight());
    }
    Control::FireEvent13();
}

void SkinnedControl::OnOpacityChanged() {
    if (m_skinImage) {
        m_skinImage->SetOpacity(GetEffectiveOpacity());
    }
}

// The new image keeps the old one's look and takes the control's place at
// once rather than at the next move. Without an image there is no look to
// keep: the constructors make the first one.
void SkinnedControl::OnSkinChanged() {
    if (!m_skinImage) {
        return;
    }
    m_skinImage = m_skinImage->CloneWithSkin(GetSkinFilePath(GetSkin()));
    m_skinImage->SetPosition(GetAbsolutePosition());
}

void SkinnedControl::MakeSkinImage(std::string_view skinName, const Vector2D& size) {
    m_skinImage = TUN_NEW(GuiImage, GetSkinFilePath(skinName), size);
    m_skinImage->SetPosition(GetAbsolutePosition());
}

void SkinnedControl::ShowPieceSet(std::uint32_t index) {
    if (m_skinImage) {
        m_skinImage->SetPieceSet(index);
    }
}

void SkinnedControl::DrawSkin() {
    if (m_skinImage) {
        m_skinImage->SetDepth(GetDepth());
        m_skinImage->Draw(GetDrawClipRectangle());
    }
}

void SkinnedControl::WriteSkinImage(Core::File& file) const { file << m_skinImage.Get(); }

Core::RefPtr<GuiImage> SkinnedControl::ReadSkinImage(Core::File& file) {
    return file.ReadObjectAs<GuiImage>(Core::File::Reference::Owning);
}

}  // namespace GUI
