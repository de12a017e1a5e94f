#include "gui/GUI_HUD.h"

#include "engine/Engine_RenderQueue.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_Cursor.h"
#include "gui/GUI_CursorManager.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_HUDTestHooks.h"
#include "gui/GUI_Input.h"

#include <algorithm>
#include <initializer_list>

namespace GUI {
namespace {
HUD* g_hud = nullptr;
float g_updateCounter = 0.0f;
HudCalls g_calls;

// Controls leaving the HUD let go of their user data, which breaks any
// cycle through it (a form holding itself would otherwise never be freed).
void ReleaseUserData(std::initializer_list<const std::vector<Core::RefPtr<Control>>*> lists) {
    for (const auto* list : lists) {
        for (const Core::RefPtr<Control>& control : *list) {
            control->ReleaseUserData();
        }
    }
}

template <class List>
bool ListHolds(const List& list, const Control* control) {
    return std::find(list.begin(), list.end(), control) != list.end();
}

// The candidate of highest depth; among equal depths the later one, as a
// stable ascending sort would leave it last.
template <class Accepts>
Control* HighestDepth(const std::vector<Control*>& controls, Accepts accepts) {
    Control* best = nullptr;
    for (Control* control : controls) {
        if (accepts(*control) && (best == nullptr || control->GetDepth() >= best->GetDepth())) {
            best = control;
        }
    }
    return best;
}

}  // namespace

HudCalls& GetHudCallsForTesting() { return g_calls; }

HUD::HUD()
    : m_graphics(std::make_unique<Graphics>()),
      m_cursorManager(TUN_NEW(CursorManager)),
      m_defaultCursor(MakeArrowCursor()) {
    g_hud = this;
    input::ShowSystemCursor(false);
}

HUD::~HUD() {
    if (g_hud == this) {
        g_hud = nullptr;
    }
    DropAllControls();
}

void HUD::DropAllControls() {
    // Forms that call back while they go find the lists already empty.
    const auto forms = std::move(m_forms);
    const auto removals = std::move(m_pendingFormRemovals);
    const auto destroys = std::move(m_pendingDestroys);
    m_forms.clear();
    m_pendingFormRemovals.clear();
    m_pendingDestroys.clear();
    m_registeredControls.clear();
    for (Control** special : Specials()) {
        *special = nullptr;
    }
    ReleaseUserData({&forms, &removals, &destroys});
}

HUD* HUD::GetInstance() { return g_hud; }

float HUD::GetUpdateCounter() { return g_updateCounter; }

float HUD::AdvanceUpdateCounter() { return g_updateCounter += 1.0f; }

void HUD::SetUpdateCounter(float counter) { g_updateCounter = counter; }

std::array<Control**, 7> HUD::Specials() {
    return {&m_activeForm,      &m_selectedControl, &m_focusedControl, &m_pressedControl,
            &m_hoveredControl, &m_frontRequest,    &m_modalForm};
}

std::array<Control* const*, 7> HUD::Specials() const {
    return {&m_activeForm,      &m_selectedControl, &m_focusedControl, &m_pressedControl,
            &m_hoveredControl, &m_frontRequest,    &m_modalForm};
}

// --- Forms and the registry ---

bool HUD::IsForm(const Control* control) const { return control != nullptr && ListHolds(m_forms, control); }

void HUD::AddForm(Control* form) {
    if (form == nullptr || form->GetParent() != nullptr) {
        return;
    }
    const Core::RefPtr<Control> held(form);
    const bool pending = ListHolds(m_pendingFormRemovals, form);
    if (IsForm(form) && !pending) {
        return;
    }
    if (pending) {
        std::erase(m_pendingFormRemovals, held);
    } else {
        m_forms.push_back(held);
    }
    RegisterSubtree(form);
    form->OnAddedToHud();
    form->BringToFront();
}

Control* HUD::GetForm(std::string_view name) const {
    const auto found = std::find_if(m_forms.begin(), m_forms.end(),
                                    [name](const Core::RefPtr<Control>& form) { return form->GetName() == name; });
    return found != m_forms.end() ? found->Get() : nullptr;
}

Control* HUD::GetForm(std::uint32_t index) const { return index < m_forms.size() ? m_forms[index].Get() : nullptr; }

void HUD::RemoveForm(Control* form) {
    if (form == nullptr) {
        return;
    }
    if (IsForm(form) && !ListHolds(m_pendingFormRemovals, form)) {
        m_pendingFormRemovals.emplace_back(form);
    }
    UnregisterSubtree(form);
}

void HUD::RegisterControl(Control* control) {
    if (control != nullptr) {
        m_registeredControls.push_back(control);
    }
}

void HUD::RegisterSubtree(Control* control) {
    if (!IsRegistered(control)) {
        RegisterControl(control);
    }
    for (const Core::RefPtr<Control>& child : control->GetChildren()) {
        RegisterSubtree(child.Get());
    }
}

void HUD::UnregisterControl(Control* control) {
    if (control == nullptr) {
        return;
    }
    std::erase(m_registeredControls, control);
    ForgetControl(control);
}

void HUD::UnregisterSubtree(Control* control) {
    for (const Core::RefPtr<Control>& child : control->GetChildren()) {
        UnregisterSubtree(child.Get());
    }
    UnregisterControl(control);
}

bool HUD::IsRegistered(const Control* control) const { return ListHolds(m_registeredControls, control); }

void HUD::QueueDestroy(Control* control) {
    if (control != nullptr && !ListHolds(m_pendingDestroys, control)) {
        m_pendingDestroys.emplace_back(control);
    }
}

void HUD::ForgetControl(const Control* control) {
    if (control == nullptr) {
        return;
    }
    for (Control** special : Specials()) {
        if (*special == control) {
            *special = nullptr;
        }
    }
}

void HUD::SetModalForm(Control* form) { m_frontRequest = m_activeForm = m_modalForm = form; }

void HUD::AlertModalForm() {
    if (m_modalForm != nullptr) {
        const Core::RefPtr<Control> held(m_modalForm);
        held->OnModalAlert();
    }
}

// --- The frame ---

void HUD::UpdateSystemCursor() {
    const bool inWindow = input::IsMouseInWindow();
    if (inWindow && m_systemCursorShown) {
        m_systemCursorShown = false;
        input::ShowSystemCursor(false);
    } else if (!inWindow && !m_systemCursorShown) {
        m_systemCursorShown = true;
        input::ShowSystemCursor(true);
    }
}

void HUD::TakePendingFormRemovals() {
    const auto removals = std::move(m_pendingFormRemovals);
    m_pendingFormRemovals.clear();
    for (const Core::RefPtr<Control>& form : removals) {
        std::erase(m_forms, form);
    }
}

void HUD::TakeFrontRequest() {
    Control* request = std::exchange(m_frontRequest, nullptr);
    const auto found = std::find(m_forms.begin(), m_forms.end(), request);
    if (request == nullptr || found == m_forms.end()) {
        return;
    }
    Core::RefPtr<Control> moved = *found;
    m_forms.erase(found);
    m_forms.push_back(std::move(moved));
}

void HUD::UpdatePressedControl() {
    if (!input::IsAnyMouseButtonPressed()) {
        m_pressedControl = nullptr;
    } else if (m_pressedControl == nullptr) {
        m_pressedControl = m_hoveredControl;
    }
}

void HUD::RunQueuedDestroys() {
    const auto destroys = std::move(m_pendingDestroys);
    m_pendingDestroys.clear();
    for (const Core::RefPtr<Control>& control : destroys) {
        control->DestroyNow();
    }
}

void HUD::Update(float dt) {
    UpdateSystemCursor();
    TakePendingFormRemovals();
    SetUpdateCounter(0.0f);
    TakeFrontRequest();
    for (const Core::RefPtr<Control>& form : m_forms) {
        form->ResetDepth();
    }
    const auto forms = m_forms;
    for (const Core::RefPtr<Control>& form : forms) {
        form->Update(dt);
        form->PostUpdate(dt);
    }
    for (const Core::RefPtr<Control>& form : m_forms) {
        form->RefreshLayout();
    }
    m_cursorManager->Update(dt);
    m_hoveredControl = GetControlUnderMouse();
    if (m_hoveredControl == nullptr) {
        m_cursorManager->SetCursor(m_cursorVisible ? m_defaultCursor : nullptr);
    }
    UpdatePressedControl();
    if (!m_pendingDestroys.empty()) {
        RunQueuedDestroys();
    }
}

Control* HUD::GetControlUnderMouse() const {
    const Vector2D mouse = input::GetMousePosition();
    return HighestDepth(m_registeredControls,
                        [&mouse](const Control& control) { return control.IsEnabled() && control.HitTest(mouse); });
}

Control* HUD::GetTopForm() const {
    return HighestDepth(m_registeredControls, [](const Control& control) {
        return control.GetParent() == nullptr && control.IsEnabled() && control.IsVisible();
    });
}

void HUD::Render() {
    ++g_calls.renders;
    if (RenderQueue* queue = RenderQueue::GetInstance()) {
        queue->DrawScreenObjects();
    }
}

void HUD::Clear() {
    ++g_calls.clears;
    m_systemCursorShown = false;
    input::ShowSystemCursor(false);
    if (RenderQueue* queue = RenderQueue::GetInstance()) {
        queue->ClearScreenObjects();
    }
    m_loading = false;
    DropAllControls();
}

}  // namespace GUI

void UpdateHud(float dt) {
    ++GUI::GetHudCallsForTesting().updates;
    if (GUI::HUD* hud = GUI::HUD::GetInstance()) {
        hud->Update(dt);
    }
}
