#include "gui/GUI_RadioButton.h"

#include "core/Core_File.h"

#include <algorithm>

namespace GUI {

GUI_DEFINE_CONTROL_CLASS(RadioButton, "GUI::RadioButton");

RadioButton::RadioButton() {
    if (IsHudLoading()) {
        return;
    }
    StoreSize(kSize, kSize);
    RefreshLayout();
    MakeSkinImage(kDefaultSkin, {kSize, kSize});
    Show(IsFocused() ? Look::Focused : Look::Normal);
}

void RadioButton::Show(Look look) {
    const auto index = static_cast<std::uint32_t>(look);
    ShowPieceSet(m_checked ? index + kCheckedOffset : index);
}

void RadioButton::ShowResting() {
    if (IsFocused()) {
        Show(Look::Focused);
    } else {
        Show(IsEnabled() ? Look::Normal : Look::Disabled);
    }
}

// The handlers run before the others are unchecked, so they may find two
// checked; the group is walked over a copy, since they may change it.
void RadioButton::SetChecked(bool checked) {
    const Core::RefPtr<RadioButton> self(this);
    if (!m_checked && checked) {
        m_checked = true;
        FireChecked();
        if (const Control* parent = GetParent()) {
            const auto group = parent->GetChildren();
            for (const Core::RefPtr<Control>& member : group) {
                auto* other = dynamic_cast<RadioButton*>(member.Get());
                if (other != nullptr && other != this && other->m_checked) {
                    other->SetChecked(false);
                }
            }
        }
    } else {
        m_checked = checked;
    }
    ShowResting();
}

void RadioButton::FireChecked() {
    if (m_checkedHandlers.empty()) {
        return;
    }
    const Core::RefPtr<RadioButton> self(this);
    const auto handlers = m_checkedHandlers;
    for (const auto& handler : handlers) {
        handler->Invoke(this, nullptr);
    }
}

bool RadioButton::AddCheckedHandler(std::shared_ptr<EventHandler> handler) {
    if (handler == nullptr || std::any_of(m_checkedHandlers.begin(), m_checkedHandlers.end(),
                                          [&handler](const auto& entry) { return entry->IsSameAs(*handler); })) {
        return false;
    }
    m_checkedHandlers.push_back(std::move(handler));
    return true;
}

// --- Events and looks ---

void RadioButton::FireClick() {
    if (IsEnabled()) {
        SetChecked(true);
    }
    SkinnedControl::FireClick();
}

void RadioButton::FireEvent6() {
    if (IsEnabled()) {
        Show(Look::Hover);
    }
    SkinnedControl::FireEvent6();
}

void RadioButton::FireEvent8() {
    if (IsEnabled()) {
        Show(IsFocused() ? Look::Focused : Look::Normal);
    }
    SkinnedControl::FireEvent8();
}

void RadioButton::FireEvent10(const MouseEventRecord& event) {
    if (IsEnabled()) {
        Show(Look::Hover);
    }
    SkinnedControl::FireEvent10(event);
}

void RadioButton::FireMouseDown(const MouseEventRecord& event) {
    if (IsEnabled()) {
        Show(Look::Pressed);
    }
    SkinnedControl::FireMouseDown(event);
}

void RadioButton::OnEnabledChanged() { Show(IsEnabled() ? Look::Normal : Look::Disabled); }

void RadioButton::GainFocus() {
    if (IsEnabled()) {
        Control::GainFocus();
        Show(Look::Focused);
    }
}

void RadioButton::LoseFocus() {
    if (IsEnabled()) {
        Control::LoseFocus();
        Show(Look::Normal);
    }
}

void RadioButton::UpdateVisual(float) {
    if (IsVisible()) {
        DrawSkin();
    }
}

// --- Stream ---

void RadioButton::Save(Core::File& file) const {
    Control::Save(file);
    WriteSkinImage(file);
    file.WriteU8(m_checked ? 1 : 0);
}

void RadioButton::Load(Core::File& file) {
    Control::Load(file);
    Core::RefPtr<GuiImage> skinImage = ReadSkinImage(file);
    bool checked = m_checked;
    file.ReadBool(checked);
    if (!file.HasFailed()) {
        SetSkinImage(skinImage);
        m_checked = checked;
    }
}

}  // namespace GUI
