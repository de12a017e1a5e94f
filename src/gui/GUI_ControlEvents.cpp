#include "gui/GUI_Control.h"

#include "gui/GUI_CursorManager.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_Input.h"
#include "input/Input_KeyTable.h"

#include <algorithm>

// The per-frame update of a control, its events and the focus moves.
namespace GUI {
namespace {

std::size_t ListIndex(ControlEvent list) { return static_cast<std::size_t>(list) - 1; }

bool IsListValid(ControlEvent list) {
    const auto number = static_cast<std::uint32_t>(list);
    return number >= 1 && number <= kControlEventCount;
}

MouseEventRecord MakeRecord(std::uint32_t button) {
    MouseEventRecord record;
    record.button = button;
    record.position = input::GetMousePosition();
    return record;
}

// Left if held, else right, else middle, else none.
std::uint32_t MoveButton() {
    if (input::IsMouseButtonPressed(0)) {
        return kMouseButtonLeft;
    }
    if (input::IsMouseButtonDown(2)) {
        return kMouseButtonRight;
    }
    return input::IsMouseButtonDown(1) ? kMouseButtonMiddle : kMouseButtonNone;
}

// Left, else middle, else right, of the buttons the query names.
template <class Query>
std::uint32_t FirstButton(Query query) {
    if (query(0)) {
        return kMouseButtonLeft;
    }
    return query(1) ? kMouseButtonMiddle : kMouseButtonRight;
}

}  // namespace

// --- Handlers ---

bool Control::AddEventHandler(ControlEvent list, std::shared_ptr<EventHandler> handler) {
    if (!IsListValid(list) || handler == nullptr) {
        return false;
    }
    auto& handlers = m_eventLists[ListIndex(list)];
    const bool duplicate = std::any_of(handlers.begin(), handlers.end(), [&handler](const auto& entry) {
        return entry->IsSameAs(*handler);
    });
    if (duplicate) {
        return false;
    }
    handlers.push_back(std::move(handler));
    return true;
}

void Control::RemoveEventHandlersFor(const void* target) {
    for (auto& handlers : m_eventLists) {
        std::erase_if(handlers, [target](const auto& entry) { return entry->GetTarget() == target; });
    }
}

std::uint32_t Control::GetEventHandlerCount(ControlEvent list) const {
    return IsListValid(list) ? static_cast<std::uint32_t>(m_eventLists[ListIndex(list)].size()) : 0;
}

void Control::InvokeHandlers(ControlEvent list, const MouseEventRecord* event) {
    const auto& handlers = m_eventLists[ListIndex(list)];
    if (handlers.empty()) {
        return;
    }
    const Core::RefPtr<Control> self(this);
    const auto snapshot = handlers;
    for (const auto& handler : snapshot) {
        handler->Invoke(this, event);
    }
}

void Control::FireClick() { InvokeHandlers(ControlEvent::Click, nullptr); }
void Control::FireEvent2() { InvokeHandlers(ControlEvent::DoubleClick, nullptr); }
void Control::FireEvent3() { InvokeHandlers(ControlEvent::Event3, nullptr); }
void Control::FireEvent4() { InvokeHandlers(ControlEvent::AfterClick, nullptr); }
void Control::FireEvent5() { InvokeHandlers(ControlEvent::AfterDoubleClick, nullptr); }
void Control::FireEvent6() { InvokeHandlers(ControlEvent::MouseEnter, nullptr); }
void Control::FireEvent7() { InvokeHandlers(ControlEvent::MouseRest, nullptr); }
void Control::FireEvent8() { InvokeHandlers(ControlEvent::MouseLeave, nullptr); }
void Control::FireEvent9(const MouseEventRecord& event) { InvokeHandlers(ControlEvent::MouseMove, &event); }
void Control::FireEvent10(const MouseEventRecord& event) { InvokeHandlers(ControlEvent::MouseUp, &event); }
void Control::FireEvent12(const MouseEventRecord& event) { InvokeHandlers(ControlEvent::Event12, &event); }
void Control::FireEvent13() { InvokeHandlers(ControlEvent::SizeChanged, nullptr); }

void Control::FireMouseDown(const MouseEventRecord& event) {
    const Core::RefPtr<Control> self(this);
    Control* target = m_passActivationToParent && m_parent != nullptr ? m_parent : this;
    const Core::RefPtr<Control> heldTarget(target);
    Control* parent = target->m_parent;
    if (parent != nullptr) {
        // Only a control that is in its parent's tab order takes that slot.
        const auto& order = parent->m_tabOrder;
        const std::int32_t index = target->m_tabIndex;
        const bool inOrder =
            index >= 0 && index < static_cast<std::int32_t>(order.size()) && order[index] == target;
        if (inOrder && parent->SetFocusIndex(index)) {
            parent->FocusNextChild();
        }
    } else if (HUD* hud = HUD::GetInstance(); hud != nullptr && hud->GetFocusedControl() != nullptr) {
        const Core::RefPtr<Control> owner(hud->GetFocusedControl());
        owner->OnFocusOwnerPressed();
    }
    target->BringToFront();
    if (target->m_parent != nullptr) {
        target->Activate();
    } else {
        target->ReselectChild();
    }
    InvokeHandlers(ControlEvent::MouseDown, &event);
}

void Control::Activate() {
    if (m_parent == nullptr || !IsEnabled() || !IsVisible()) {
        return;
    }
    if (HUD* hud = HUD::GetInstance()) {
        hud->SetActiveControl(this);
    }
    m_parent->m_selectedChild = this;
}

void Control::ReselectChild() {
    if (m_selectedChild == nullptr) {
        return;
    }
    const bool stillChild = std::find(m_children.begin(), m_children.end(), m_selectedChild) != m_children.end();
    if (!stillChild) {
        m_selectedChild = nullptr;
    } else if (m_selectedChild->IsEnabled() && m_selectedChild->IsVisible()) {
        if (HUD* hud = HUD::GetInstance()) {
            hud->SetActiveControl(m_selectedChild);
        }
    }
}

void Control::BringToFront() {
    HUD* hud = HUD::GetInstance();
    if (hud == nullptr) {
        return;
    }
    Control* root = GetRoot();
    if (root == hud->GetActiveForm()) {
        return;
    }
    const Core::RefPtr<Control> heldRoot(root);
    if (hud->GetTopForm() != nullptr) {
        hud->RequestFront(root);
    }
    if (Control* active = hud->GetActiveForm()) {
        const Core::RefPtr<Control> heldActive(active);
        active->LoseFocus();
    }
    hud->SetActiveForm(root);
    root->GainFocus();
}

// --- Focus ---

void Control::GainFocus() {
    if (!IsEnabled()) {
        return;
    }
    m_focused = true;
    if (HUD* hud = HUD::GetInstance()) {
        hud->SetFocusedControl(this);
    }
}

void Control::LoseFocus() {
    if (!IsEnabled()) {
        return;
    }
    m_focused = false;
    if (HUD* hud = HUD::GetInstance(); hud != nullptr && hud->GetFocusedControl() == this) {
        hud->SetFocusedControl(nullptr);
    }
}

bool Control::IsFocusable() const { return IsEnabled() && IsVisible(); }

void Control::SortTabOrder() {
    std::stable_sort(m_tabOrder.begin(), m_tabOrder.end(),
                     [](const Core::RefPtr<Control>& a, const Core::RefPtr<Control>& b) {
                         return a->m_tabIndex < b->m_tabIndex;
                     });
    for (std::size_t position = 0; position < m_tabOrder.size(); ++position) {
        m_tabOrder[position]->m_tabIndex = static_cast<std::int32_t>(position);
    }
}

void Control::SetTabStop(bool tabStop) {
    if (tabStop == m_tabStop) {
        return;
    }
    m_tabStop = tabStop;
    if (m_parent == nullptr) {
        return;
    }
    auto& order = m_parent->m_tabOrder;
    if (tabStop) {
        order.emplace_back(this);
    } else {
        std::erase(order, Core::RefPtr<Control>(this));
        const auto count = static_cast<std::int32_t>(order.size());
        if (m_parent->m_tabCursor >= count) {
            m_parent->m_tabCursor = -1;
        }
        if (m_parent->m_previousTabCursor >= count) {
            m_parent->m_previousTabCursor = -1;
        }
    }
    m_parent->SortTabOrder();
}

void Control::FocusNext() {
    if (SelectNextTabIndex()) {
        FocusNextChild();
    }
}

bool Control::SelectNextTabIndex() {
    const auto count = static_cast<std::int32_t>(m_tabOrder.size());
    const auto focusable = [](const Core::RefPtr<Control>& entry) { return entry->IsFocusable(); };
    if (std::none_of(m_tabOrder.begin(), m_tabOrder.end(), focusable)) {
        return false;
    }
    m_previousTabCursor = m_tabCursor;
    std::int32_t cursor = std::clamp(m_tabCursor, -1, count - 1);
    do {
        cursor = (cursor + 1) % count;
    } while (!m_tabOrder[cursor]->IsFocusable());
    m_tabCursor = cursor;
    return m_tabCursor != m_previousTabCursor;
}

bool Control::SetFocusIndex(std::int32_t index) {
    if (index == m_tabCursor || index < 0 || index >= static_cast<std::int32_t>(m_tabOrder.size()) ||
        !m_tabOrder[index]->IsFocusable()) {
        return false;
    }
    m_previousTabCursor = m_tabCursor;
    m_tabCursor = index;
    return true;
}

void Control::FocusNextChild() {
    const auto count = static_cast<std::int32_t>(m_tabOrder.size());
    if (m_tabCursor < 0 || m_tabCursor >= count || !m_tabOrder[m_tabCursor]->IsFocusable()) {
        return;
    }
    const Core::RefPtr<Control> next = m_tabOrder[m_tabCursor];
    if (m_previousTabCursor != m_tabCursor && m_previousTabCursor >= 0 && m_previousTabCursor < count) {
        const Core::RefPtr<Control> previous = m_tabOrder[m_previousTabCursor];
        previous->LoseFocus();
    }
    next->GainFocus();
}

void Control::FocusFirstChild() {
    const auto first = std::find_if(m_tabOrder.begin(), m_tabOrder.end(),
                                    [](const Core::RefPtr<Control>& entry) { return entry->IsFocusable(); });
    if (first == m_tabOrder.end()) {
        return;
    }
    m_tabCursor = m_previousTabCursor = static_cast<std::int32_t>(first - m_tabOrder.begin());
    const Core::RefPtr<Control> held = *first;
    held->GainFocus();
}

void Control::SetUpChoiceGroup() {
    std::vector<Core::RefPtr<Control>> group;
    for (const Core::RefPtr<Control>& child : m_children) {
        if (child->IsGroupChoice()) {
            group.push_back(child);
        }
    }
    if (std::any_of(group.begin(), group.end(), [](const auto& choice) { return choice->IsChecked(); })) {
        return;
    }
    const auto first =
        std::find_if(group.begin(), group.end(), [](const auto& choice) { return choice->IsEnabled(); });
    if (first != group.end()) {
        (*first)->SetChecked(true);
    }
}

// --- Per frame ---

void Control::TakePendingRemovals() {
    if (m_pendingChildRemovals.empty()) {
        return;
    }
    std::vector<Core::RefPtr<Control>> pending;
    pending.swap(m_pendingChildRemovals);
    HUD* hud = HUD::GetInstance();
    for (const Core::RefPtr<Control>& entry : pending) {
        if (entry == nullptr || entry == this) {
            continue;
        }
        EraseChild(entry.Get());
        if (hud != nullptr) {
            hud->UnregisterControl(entry.Get());
        }
    }
}

void Control::Update(float dt) {
    const Core::RefPtr<Control> self(this);
    if (m_frontChildRequest) {
        const auto found = std::find(m_children.begin(), m_children.end(), m_frontChildRequest);
        if (found != m_children.end()) {
            Core::RefPtr<Control> moved = *found;
            m_children.erase(found);
            m_children.push_back(std::move(moved));
            m_frontChildRequest = nullptr;
        }
    }
    HUD::AdvanceUpdateCounter();
    StampUpdateOrder();
    TakePendingRemovals();
    if (m_needsInitialFocus) {
        FocusFirstChild();
        SetUpChoiceGroup();
        m_needsInitialFocus = false;
    }
    HUD* hud = HUD::GetInstance();
    m_mouseOver = hud != nullptr && hud->GetHoveredControl() == this;
    m_mousePosition = input::GetMousePosition();
    if (m_parent == nullptr && hud != nullptr && hud->GetActiveForm() == this &&
        input::IsKeyTriggered(Input::kKeyTab)) {
        FocusNext();
    }
    if (PassesModalRule() && m_focused && m_acceptsEnter && input::IsKeyTriggered(Input::kKeyReturn)) {
        FireClick();
    }
    const bool hovered = hud != nullptr && hud->GetHoveredControl() == this;
    const bool pressed = hud != nullptr && hud->GetPressedControl() == this;
    const bool free = hud == nullptr || hud->GetPressedControl() == nullptr;
    RunMouseStep(hovered, pressed, free);
    if (m_doubleClickMaximum < m_clickTimer) {
        m_clickTimerArmed = false;
        m_clickTimer = 0.0f;
    } else if (m_clickTimerArmed) {
        m_clickTimer += dt;
    }
    if (pressed) {
        ReleaseCheck();
    }
    m_previousMousePosition = m_mousePosition;
    PreChildrenUpdate(dt);
    const auto children = m_children;
    for (const Core::RefPtr<Control>& child : children) {
        child->Update(dt);
    }
    UpdateVisual(dt);
}

void Control::RunMouseStep(bool hovered, bool pressed, bool free) {
    HUD* hud = HUD::GetInstance();
    const bool mayTake = hovered && (pressed || free);
    if (mayTake) {
        if (PassesModalRule() && IsEnabled() && m_mouseOver && m_cursor && hud != nullptr &&
            hud->GetCursorManager() != nullptr) {
            hud->GetCursorManager()->SetCursor(m_cursor);
        }
        if (PassesModalRule() && m_mouseOver && !m_mouseInside) {
            m_mouseInside = true;
            FireEvent6();
        }
    }
    if ((pressed || free) && PassesModalRule() && !m_mouseOver && m_mouseInside) {
        m_mouseInside = false;
        FireEvent8();
    }
    if (!mayTake) {
        return;
    }
    const bool still = m_mousePosition == m_previousMousePosition;
    if (PassesModalRule() && m_mouseOver && still) {
        FireEvent7();
    }
    if (PassesModalRule() && m_mouseOver && !still) {
        FireEvent9(MakeRecord(MoveButton()));
    }
    if (m_mouseOver && input::IsAnyMouseButtonDown()) {
        if (!PassesModalRule()) {
            if (hud != nullptr) {
                hud->AlertModalForm();
            }
            return;
        }
        m_buttonDown = true;
        FireMouseDown(MakeRecord(FirstButton(input::IsMouseButtonDown)));
    }
}

void Control::ReleaseCheck() {
    if (!PassesModalRule() || !m_buttonDown || !input::IsAnyMouseButtonUp()) {
        return;
    }
    m_buttonDown = false;
    if (m_mouseInside) {
        if (m_clickTimerArmed && m_doubleClickMinimum <= m_clickTimer && m_clickTimer <= m_doubleClickMaximum) {
            m_clickTimerArmed = false;
            FireEvent2();
            FireEvent5();
        } else {
            FireClick();
            m_clickTimerArmed = true;
            FireEvent4();
        }
        m_clickTimer = 0.0f;
    }
    FireEvent10(MakeRecord(FirstButton(input::IsMouseButtonUp)));
}

}  // namespace GUI
