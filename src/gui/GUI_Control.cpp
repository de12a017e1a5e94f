#include "gui/GUI_Control.h"

#include "engine/Engine_BitmapFontCache.h"
#include "gui/GUI_Cursor.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_Input.h"
#include "gui/GUI_ResourcePaths.h"
#include "gui/GUI_StringRenderContext.h"

#include <algorithm>
#include <cmath>

namespace GUI {

GUI_DEFINE_CONTROL_CLASS(Control, "GUI::Control")

::Core::Object* Control::Clone() const { return nullptr; }

Control::Control() : Control(Vector2D{}, 64.0f, 64.0f) {}

Control::Control(const Vector2D& position, float width, float height)
    : m_position(position), m_width(width), m_height(height) {
    // The HUD's arrow is shared: only one cursor is drawn a frame.
    if (const HUD* hud = HUD::GetInstance(); hud != nullptr && hud->GetDefaultCursor() != nullptr) {
        m_cursor = hud->GetDefaultCursor();
    } else {
        m_cursor = MakeArrowCursor();
    }
    m_textRenderer = TUN_NEW(Engine::StringRenderContext);
    RefreshLayout();
    m_depth = 0.0f;
}

Control::~Control() {
    if (HUD* hud = HUD::GetInstance()) {
        hud->UnregisterControl(this);
    }
    // Children a script still holds must not keep a link to this control.
    for (const Core::RefPtr<Control>& child : m_children) {
        if (child->m_parent == this) {
            child->m_parent = nullptr;
        }
    }
}

Engine::BitmapFont* Control::GetFont() const { return m_font.Get(); }
Engine::StringRenderContext* Control::GetTextRenderer() const { return m_textRenderer.Get(); }
Cursor* Control::GetCursor() const { return m_cursor.Get(); }
void Control::SetCursor(Cursor* cursor) { m_cursor = cursor; }

// --- Properties ---

void Control::SetVisible(bool visible) {
    m_visible = visible;
    if (m_parent != nullptr && m_focused && m_enabled && m_parent->IsEnabled() && m_parent->SelectNextTabIndex()) {
        m_parent->FocusNextChild();
    }
}

void Control::SetFont(const Core::String& fontName) {
    if (fontName == m_fontName) {
        return;
    }
    m_fontName = fontName;
    m_font = Engine::BitmapFontCache::Get(GetFontFilePath(fontName));
    OnFontChanged();
}

void Control::SetOpacity(float opacity) {
    m_opacity = std::isnan(opacity) ? 0.0f : std::clamp(opacity, 0.0f, 1.0f);
    NotifyOpacityChanged();
}

void Control::SetEnabled(bool enabled) {
    m_enabled = enabled;
    if (m_parent != nullptr && m_focused && !(enabled && m_parent->IsEnabled()) && m_parent->SelectNextTabIndex()) {
        m_parent->FocusNextChild();
    }
    NotifyEnabledChanged();
}

void Control::NotifySubtree(void (Control::*hook)()) {
    const Core::RefPtr<Control> self(this);
    (this->*hook)();
    const auto children = m_children;
    for (const Core::RefPtr<Control>& child : children) {
        child->NotifySubtree(hook);
    }
}

void Control::NotifyEnabledChanged() { NotifySubtree(&Control::OnEnabledChanged); }

void Control::NotifyOpacityChanged() { NotifySubtree(&Control::OnOpacityChanged); }

void Control::SetSkin(const Core::String& skinName) {
    if (skinName != m_skinName) {
        m_skinName = skinName;
        OnSkinChanged();
    }
}

void Control::SetClipMode(std::uint32_t mode) {
    if (mode <= kClipToParentClient) {
        m_clipMode = mode;
    }
}

float Control::GetEffectiveOpacity() const {
    if (m_parent == nullptr) {
        return m_opacity;
    }
    const float parentOpacity = m_parent->GetEffectiveOpacity();
    return parentOpacity < 1.0f ? m_opacity * parentOpacity : m_opacity;
}

bool Control::IsVisible() const { return m_visible && (m_parent == nullptr || m_parent->IsVisible()); }

bool Control::IsEnabled() const { return m_enabled && (m_parent == nullptr || m_parent->IsEnabled()); }

bool Control::IsHovered() const {
    const HUD* hud = HUD::GetInstance();
    return hud != nullptr && hud->GetHoveredControl() == this;
}

bool Control::PassesModalRule() const {
    const HUD* hud = HUD::GetInstance();
    const Control* modal = hud != nullptr ? hud->GetModalForm() : nullptr;
    return modal == nullptr || modal == this || modal == m_parent;
}

// --- Geometry ---

void Control::StoreSize(float width, float height) {
    m_width = width;
    m_height = height;
}

void Control::SetSize(const Vector2D& size) {
    if (std::isfinite(size.x) && std::isfinite(size.y) && size.x >= 0.0f && size.y >= 0.0f) {
        StoreSize(size.x, size.y);
        FireEvent13();
    }
}

void Control::SetWidth(float width) { SetSize({width, m_height}); }

void Control::SetHeight(float height) { SetSize({m_width, height}); }

Vector2D Control::GetAbsolutePosition() const {
    if (m_parent == nullptr) {
        return m_position;
    }
    return m_parent->GetAbsolutePosition() + m_parent->GetClientOffset() + m_position;
}

void Control::SetPosition(const Vector2D& position) {
    m_position = position;
    const auto children = m_children;
    for (const Core::RefPtr<Control>& child : children) {
        child->UpdatePosition();
    }
    RefreshOwnRectangles();
    for (const Core::RefPtr<Control>& child : children) {
        child->RefreshLayout();
    }
}

void Control::UpdatePosition() {
    RefreshLayout();
    const auto children = m_children;
    for (const Core::RefPtr<Control>& child : children) {
        child->UpdatePosition();
    }
}

void Control::RefreshOwnRectangles() {
    const Vector2D absolute = GetAbsolutePosition();
    m_rectangle = NRectangle(absolute.x, absolute.y, m_width, m_height);
    UpdateClientRectangle();
    UpdateClipRectangles();
}

void Control::RefreshLayout() {
    RefreshOwnRectangles();
    for (const Core::RefPtr<Control>& child : m_children) {
        child->RefreshLayout();
    }
}

void Control::UpdateClipRectangles() {
    m_visibleRectangle = m_rectangle;
    m_visibleClientRectangle = m_clientRectangle;
    if (m_clipMode == kClipNone || m_parent == nullptr) {
        return;
    }
    const NRectangle& clip =
        m_clipMode == kClipToParentClient ? m_parent->m_visibleClientRectangle : m_parent->m_visibleRectangle;
    if (!NRectangle::Intersect(m_visibleRectangle, m_visibleRectangle, clip)) {
        m_visibleRectangle = NRectangle();
    }
    if (!NRectangle::Intersect(m_visibleClientRectangle, m_visibleClientRectangle, clip)) {
        m_visibleClientRectangle = NRectangle();
    }
}

NRectangle Control::GetDrawClipRectangle() const {
    if (m_parent == nullptr) {
        return {0.0f, 0.0f, Graphics::GetScreenWidth(), Graphics::GetScreenHeight()};
    }
    return m_clipMode == kClipToParentClient ? m_parent->m_visibleClientRectangle : m_parent->m_visibleRectangle;
}

bool Control::HitTest() const { return HitTest(input::GetMousePosition()); }

bool Control::HitTest(const Vector2D& point) const {
    if (!IsVisible()) {
        return false;
    }
    const Vector2D absolute = GetAbsolutePosition();
    NRectangle area(absolute.x, absolute.y, m_width, m_height);
    if (m_parent != nullptr && m_clipMode != kClipNone) {
        const NRectangle& clip =
            m_clipMode == kClipToParentClient ? m_parent->m_visibleClientRectangle : m_parent->m_visibleRectangle;
        if (!NRectangle::Intersect(area, area, clip)) {
            return false;
        }
    }
    return area.IsInside(point.x, point.y);
}

// --- Tree ---

Control* Control::GetRoot() {
    Control* root = this;
    while (root->m_parent != nullptr) {
        root = root->m_parent;
    }
    return root;
}

bool Control::IsAncestorOf(const Control* control) const {
    for (const Control* link = control != nullptr ? control->m_parent : nullptr; link != nullptr;
         link = link->m_parent) {
        if (link == this) {
            return true;
        }
    }
    return false;
}

void Control::AddControl(Control* child) {
    if (child == nullptr || child == this || child->m_parent != nullptr || child->IsAncestorOf(this)) {
        return;
    }
    HUD* hud = HUD::GetInstance();
    if (hud != nullptr && hud->IsForm(child)) {
        return;
    }
    const Core::RefPtr<Control> held(child);
    child->m_parent = this;
    m_children.push_back(held);
    if (child->m_tabStop) {
        m_tabOrder.push_back(held);
        SortTabOrder();
    }
    child->UpdatePosition();
    m_lastAddedChild = child;
    if (hud != nullptr && hud->IsForm(GetRoot())) {
        hud->RegisterSubtree(child);
    }
}

Control* Control::GetControl(std::uint32_t index) const {
    return index < m_children.size() ? m_children[index].Get() : nullptr;
}

Control* Control::GetControl(std::string_view name) const {
    for (const Core::RefPtr<Control>& child : m_children) {
        if (child->m_name == name) {
            return child.Get();
        }
    }
    return nullptr;
}

void Control::RequestFrontChild(Control* child) {
    if (std::find(m_children.begin(), m_children.end(), child) != m_children.end()) {
        m_frontChildRequest = child;
    }
}

void Control::ForgetChildLinks(const Control* child) {
    if (m_lastAddedChild == child) {
        m_lastAddedChild = nullptr;
    }
    if (m_selectedChild == child) {
        m_selectedChild = nullptr;
    }
    if (m_frontChildRequest == child) {
        m_frontChildRequest = nullptr;
    }
}

void Control::EraseChild(Control* child) {
    const auto erased = [child](const Core::RefPtr<Control>& entry) { return entry == child; };
    const Core::RefPtr<Control> held(child);
    const bool wasChild = std::erase_if(m_children, erased) > 0;
    if (std::erase_if(m_tabOrder, erased) > 0) {
        SortTabOrder();
        if (m_tabCursor >= static_cast<std::int32_t>(m_tabOrder.size())) {
            m_tabCursor = -1;
        }
        if (m_previousTabCursor >= static_cast<std::int32_t>(m_tabOrder.size())) {
            m_previousTabCursor = -1;
        }
    }
    ForgetChildLinks(child);
    if (wasChild && child->m_parent == this) {
        child->m_parent = nullptr;
    }
}

void Control::ResetDepth() {
    m_depth = 0.0f;
    for (const Core::RefPtr<Control>& child : m_children) {
        child->ResetDepth();
    }
}

void Control::StampUpdateOrder() { m_depth = HUD::GetUpdateCounter(); }

void Control::UnregisterSubtree() {
    HUD* hud = HUD::GetInstance();
    std::vector<Core::RefPtr<Control>> children;
    children.swap(m_children);
    m_tabOrder.clear();
    m_pendingChildRemovals.clear();
    m_tabCursor = m_previousTabCursor = -1;
    for (const Core::RefPtr<Control>& child : children) {
        child->UnregisterSubtree();
        if (hud != nullptr) {
            hud->UnregisterControl(child.Get());
        }
        ForgetChildLinks(child.Get());
        if (child->m_parent == this) {
            child->m_parent = nullptr;
        }
    }
}

void Control::DropOwnUserData() {
    // Moved out first: the field is empty when the object's destructor calls back.
    const Core::RefPtr<Core::Object> userData = std::move(m_userData);
}

void Control::ReleaseUserData() { NotifySubtree(&Control::DropOwnUserData); }

void Control::DestroyNow() {
    const Core::RefPtr<Control> self(this);
    ReleaseUserData();
    UnregisterSubtree();
    HUD* hud = HUD::GetInstance();
    if (m_parent != nullptr) {
        auto& pending = m_parent->m_pendingChildRemovals;
        if (std::find(pending.begin(), pending.end(), this) == pending.end()) {
            m_parent->m_pendingChildRemovals.push_back(self);
        }
        if (hud != nullptr) {
            hud->UnregisterControl(this);
        }
    } else if (hud != nullptr) {
        hud->RemoveForm(this);
    }
    if (hud != nullptr) {
        hud->ForgetControl(this);
    }
}

}  // namespace GUI
