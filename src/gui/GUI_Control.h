#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "gui/GUI_EventHandler.h"
#include "gui/GUI_NRectangle.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_UnclonableClass.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Engine {
class BitmapFont;
class StringRenderContext;
}  // namespace Engine

namespace GUI {

class Control;
class Cursor;

// The thirteen event lists of a control, numbered as handlers and scripts know them.
enum class ControlEvent : std::uint32_t {
    Click = 1,
    DoubleClick = 2,
    Event3 = 3,  // never raised by the toolkit
    AfterClick = 4,
    AfterDoubleClick = 5,
    MouseEnter = 6,
    MouseRest = 7,
    MouseLeave = 8,
    MouseMove = 9,
    MouseUp = 10,
    MouseDown = 11,
    Event12 = 12,  // never raised by the toolkit
    SizeChanged = 13,
};
constexpr std::uint32_t kControlEventCount = 13;

// How a control's drawing and hit test are clipped by its parent.
constexpr std::uint32_t kClipNone = 0;
constexpr std::uint32_t kClipToParent = 1;
constexpr std::uint32_t kClipToParentClient = 2;

using EventHandler = MemberFunctionBase1Param<Control*>;

// The base widget: a position relative to the parent's client origin (y up,
// origin bottom-left), a size and the rectangles derived from them, colours,
// text and font, flags, children with a tab order, thirteen event lists and
// the per-frame mouse and keyboard logic that raises them. The HUD drives
// Update on each top-level form once a frame.
//
// Ownership: children are held by counted references; the parent link and
// lastAddedChild/selectedChild are plain back links, cleared when the child
// leaves. Removal is deferred: DestroyNow queues the control on its parent,
// which erases it at its next update.
class Control : public Core::Object {
    TUN_DECLARE_UNCLONABLE_CLASS(Control);

    static constexpr const char* kScriptName = "Control";

    // A control at (0, 0), 64 x 64 (what the class registry builds).
    Control();
    Control(const Vector2D& position, float width, float height);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    ~Control() override;

    // Controls are not cloned: null.
    ::Core::Object* Clone() const override;
    void PushToLua(lua_State* state) const override { PushToLuaAs(state, kScriptName); }

    // Every field but the handlers, the font and the text renderer, which
    // are rebuilt. Load refuses (fails the stream on) a child list naming
    // the control, an ancestor or a control whose parent link names another
    // control; out-of-range tab cursors read as -1.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // --- Overridable operations, in the order the subclasses know them ---
    virtual void SetPosition(const Vector2D& position);
    virtual void SetText(const Core::String& text) { m_text = text; }
    virtual const Core::String& GetText() const { return m_text; }
    virtual void SetVisible(bool visible);
    virtual void SetFont(const Core::String& fontName);
    virtual void SetModulationColor(const Color& color) { m_modulationColor = color; }
    // Clamped to 0..1 (NaN stores 0), then the opacity hooks of the subtree.
    virtual void SetOpacity(float opacity);
    virtual void SetEnabled(bool enabled);
    virtual void FireClick();
    virtual void FireEvent2();  // double click
    virtual void FireEvent3();
    virtual void FireEvent4();  // right after a click on a mouse release
    virtual void FireEvent5();  // right after a double click
    virtual void FireEvent6();  // mouse enter
    virtual void FireEvent7();  // mouse resting on the control
    virtual void FireEvent8();  // mouse leave
    virtual void FireEvent9(const MouseEventRecord& event);   // mouse move
    virtual void FireEvent10(const MouseEventRecord& event);  // mouse up
    // Focus and activation for the press, then list 11.
    virtual void FireMouseDown(const MouseEventRecord& event);
    virtual void FireEvent12(const MouseEventRecord& event);
    virtual void FireEvent13();  // size changed
    virtual void OnSkinChanged() {}
    virtual void OnFontChanged() {}
    // Called on the HUD's focused control when a control without parent is pressed.
    virtual void OnFocusOwnerPressed() {}
    virtual void PreChildrenUpdate(float) {}
    // Where the subclasses queue their drawing.
    virtual void UpdateVisual(float) {}
    virtual bool IsMouseOver() const { return m_mouseOver; }
    // The client origin relative to the position.
    virtual Vector2D GetClientOffset() const { return {}; }
    // Brings the placement up to date after an ancestor moved, keeping the
    // position: the rectangles of the subtree are refreshed, then each
    // child's UpdatePosition.
    virtual void UpdatePosition();
    virtual void StampUpdateOrder();
    virtual void OnEnabledChanged() {}
    virtual void OnOpacityChanged() {}
    virtual void GainFocus();
    virtual void LoseFocus();
    virtual void FocusNext();
    virtual bool SelectNextTabIndex();
    virtual bool SetFocusIndex(std::int32_t index);
    virtual void FocusNextChild();
    virtual void FocusFirstChild();
    // The HUD calls it on each form after the form's update.
    virtual void PostUpdate(float) {}
    virtual void UpdateClientRectangle() { m_clientRectangle = m_rectangle; }
    // The HUD's AddForm calls it on the form added.
    virtual void OnAddedToHud() {}
    // The HUD's AlertModalForm calls it on the modal form (a form blinks).
    virtual void OnModalAlert() {}
    // Radio-button groups: the children that answer true form their
    // parent's group, set up at the parent's first update.
    virtual bool IsGroupChoice() const { return false; }
    virtual bool IsChecked() const { return false; }
    virtual void SetChecked(bool) {}

    // --- Event handlers ---
    // Appends unless a handler with the same object and member is already in
    // the list; false when refused (duplicate, null, list out of range).
    bool AddEventHandler(ControlEvent list, std::shared_ptr<EventHandler> handler);
    // Takes out every handler calling into target, in every list.
    void RemoveEventHandlersFor(const void* target);
    std::uint32_t GetEventHandlerCount(ControlEvent list) const;

    // --- Tree ---
    // Ignored for null, the control itself, an ancestor or a control that
    // already has a parent.
    void AddControl(Control* child);
    // Null when the index is out of range.
    Control* GetControl(std::uint32_t index) const;
    Control* GetControl(std::string_view name) const;
    std::uint32_t GetControlsCount() const { return static_cast<std::uint32_t>(m_children.size()); }
    Control* GetParent() const { return m_parent; }
    // The top-most ancestor (the control itself without parent).
    Control* GetRoot();
    bool IsAncestorOf(const Control* control) const;
    Control* GetLastAddedChild() const { return m_lastAddedChild; }
    Control* GetSelectedChild() const { return m_selectedChild; }
    const std::vector<Core::RefPtr<Control>>& GetChildren() const { return m_children; }
    const std::vector<Core::RefPtr<Control>>& GetTabOrder() const { return m_tabOrder; }
    // The child moves to the end of the children at this control's next
    // update; a control that is not a child is refused.
    void RequestFrontChild(Control* child);

    // --- Plain properties ---
    void SetName(const Core::String& name) { m_name = name; }
    const Core::String& GetName() const { return m_name; }
    void SetSkin(const Core::String& skinName);
    const Core::String& GetSkin() const { return m_skinName; }
    const Core::String& GetFontName() const { return m_fontName; }
    Engine::BitmapFont* GetFont() const;
    Engine::StringRenderContext* GetTextRenderer() const;
    Cursor* GetCursor() const;
    void SetCursor(Cursor* cursor);
    const Color& GetModulationColor() const { return m_modulationColor; }
    void SetTextModulationColor(const Color& color) { m_textModulationColor = color; }
    const Color& GetTextModulationColor() const { return m_textModulationColor; }
    float GetOpacity() const { return m_opacity; }
    // Own opacity times the parent's effective opacity when that is below 1.
    float GetEffectiveOpacity() const;
    bool GetOwnVisible() const { return m_visible; }
    bool GetOwnEnabled() const { return m_enabled; }
    // Own flag and every ancestor's.
    bool IsVisible() const;
    bool IsEnabled() const;
    bool IsFocused() const { return m_focused; }
    void SetTabStop(bool tabStop);
    bool GetTabStop() const { return m_tabStop; }
    void SetTabIndex(std::int32_t index) { m_tabIndex = index; }
    std::int32_t GetTabIndex() const { return m_tabIndex; }
    std::int32_t GetTabCursor() const { return m_tabCursor; }
    std::int32_t GetPreviousTabCursor() const { return m_previousTabCursor; }
    void SetClipMode(std::uint32_t mode);
    std::uint32_t GetClipMode() const { return m_clipMode; }
    void SetAcceptsEnter(bool accepts) { m_acceptsEnter = accepts; }
    bool GetAcceptsEnter() const { return m_acceptsEnter; }
    void SetPassActivationToParent(bool pass) { m_passActivationToParent = pass; }
    bool GetPassActivationToParent() const { return m_passActivationToParent; }
    // Free for the application: held (counted) until the control is
    // destroyed, leaves the HUD through Clear or is freed, so that a control
    // never hands out a freed object; a cycle through it (a control holding
    // itself or its form) is broken on those removals. Saved as an owned
    // object reference: a stream whose user data names the control itself or
    // a control still being read is refused, as that cycle would never be freed.
    void SetUserData(Core::Object* userData) { m_userData = userData; }
    Core::Object* GetUserData() const { return m_userData.Get(); }
    // Lets go of the user data of the control and of its subtree.
    void ReleaseUserData();
    float GetDepth() const { return m_depth; }

    // --- Geometry ---
    const Vector2D& GetPosition() const { return m_position; }
    // Without parent the position; otherwise the parent's absolute position
    // plus its client offset plus the position.
    Vector2D GetAbsolutePosition() const;
    // Store, then the size-changed event. Non-finite or negative sizes are refused.
    void SetSize(const Vector2D& size);
    void SetWidth(float width);
    void SetHeight(float height);
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    const NRectangle& GetRectangle() const { return m_rectangle; }
    const NRectangle& GetClientRectangle() const { return m_clientRectangle; }
    const NRectangle& GetVisibleRectangle() const { return m_visibleRectangle; }
    const NRectangle& GetVisibleClientRectangle() const { return m_visibleClientRectangle; }
    // The screen without parent; otherwise the parent's visible client
    // rectangle (clip mode 2) or visible rectangle.
    NRectangle GetDrawClipRectangle() const;
    // Whether the mouse point lies in the control, clipped by its clip mode,
    // with the control and its ancestors visible.
    bool HitTest() const;
    // The same test for a given point (the HUD reads the mouse once a frame).
    bool HitTest(const Vector2D& point) const;
    bool IsHovered() const;
    const Vector2D& GetMousePosition() const { return m_mousePosition; }

    // --- Per frame ---
    void Update(float dt);
    // Rectangles of the control and its subtree from the positions.
    void RefreshLayout();
    void ResetDepth();
    // Gives the control's tree the keyboard (the reorder is one frame later).
    void BringToFront();
    // The press activation: the HUD's selected control and the parent's selected child.
    void Activate();
    // Unregisters the subtree and queues the control's erasure.
    void DestroyNow();
    // The modal rule: no modal form, or this control is it or its direct child.
    bool PassesModalRule() const;
    // Re-sorts the tab order (stably) and renumbers the tab indices.
    void SortTabOrder();

protected:
    void SetClientRectangle(const NRectangle& rectangle) { m_clientRectangle = rectangle; }
    void ResetTabCursors() { m_tabCursor = m_previousTabCursor = -1; }
    // Stores the size without the size-changed event.
    void StoreSize(float width, float height);
    // rectangle, client rectangle and clip rectangles of this control only.
    void RefreshOwnRectangles();
    void UpdateClipRectangles();
    // The hook on the control, then on every descendant (pre-order).
    void NotifySubtree(void (Control::*hook)());
    void NotifyEnabledChanged();
    void NotifyOpacityChanged();
    // Walks the list over a snapshot, so that handlers may change it.
    void InvokeHandlers(ControlEvent list, const MouseEventRecord* event);

private:
    friend class HUD;

    void InitialiseDefaults();
    bool IsFocusable() const;
    void EraseChild(Control* child);
    void ForgetChildLinks(const Control* child);
    void TakePendingRemovals();
    void SetUpChoiceGroup();
    void RunMouseStep(bool hovered, bool pressed, bool free);
    void ReleaseCheck();
    void ReselectChild();
    void UnregisterSubtree();
    void DropOwnUserData();
    bool ReadChildList(Core::File& file, std::vector<Core::RefPtr<Control>>& list, bool mustBeChildren);

    std::array<std::vector<std::shared_ptr<EventHandler>>, kControlEventCount> m_eventLists;
    Vector2D m_position;
    NRectangle m_rectangle;
    NRectangle m_clientRectangle;
    NRectangle m_visibleRectangle;
    NRectangle m_visibleClientRectangle;
    std::vector<Core::RefPtr<Control>> m_children;
    std::vector<Core::RefPtr<Control>> m_pendingChildRemovals;
    Control* m_parent = nullptr;
    Control* m_lastAddedChild = nullptr;
    Control* m_selectedChild = nullptr;
    Core::String m_name;
    Core::RefPtr<Cursor> m_cursor;
    Color m_modulationColor{1.0f, 1.0f, 1.0f, 1.0f};
    Color m_textModulationColor{1.0f, 1.0f, 1.0f, 1.0f};
    float m_opacity = 1.0f;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_tabStop = true;
    bool m_focused = false;
    bool m_needsInitialFocus = true;
    std::int32_t m_tabIndex = 0;
    Core::String m_text;
    Core::String m_fontName;
    Core::RefPtr<Engine::BitmapFont> m_font;
    Core::RefPtr<Engine::StringRenderContext> m_textRenderer;
    Core::String m_skinName;
    float m_depth = 0.0f;
    std::uint32_t m_clipMode = kClipToParentClient;
    std::int32_t m_tabCursor = -1;
    std::int32_t m_previousTabCursor = -1;
    Core::RefPtr<Core::Object> m_userData;
    std::vector<Core::RefPtr<Control>> m_tabOrder;
    float m_width = 0.0f;
    float m_height = 0.0f;
    Vector2D m_previousMousePosition;
    bool m_mouseInside = false;
    bool m_buttonDown = false;
    bool m_passActivationToParent = false;
    bool m_clickTimerArmed = false;
    float m_doubleClickMinimum = 0.1f;
    float m_doubleClickMaximum = 0.5f;
    float m_clickTimer = 0.0f;
    bool m_acceptsEnter = true;
    bool m_mouseOver = false;
    Vector2D m_mousePosition;
    Core::RefPtr<Control> m_frontChildRequest;
};

}  // namespace GUI

// For the subclasses: registration, Create, GetType and GetSize under the
// given name (controls are never cloned, so Clone stays the control's).
#define GUI_DECLARE_CONTROL_CLASS(Class) TUN_DECLARE_UNCLONABLE_CLASS(Class)

#define GUI_DEFINE_CONTROL_CLASS(Class, Name)                                                   \
    const ::Core::ClassRegistration Class::s_registration{Name, &Class::Create};                \
    ::Core::Object* Class::Create() { return ::Core::NewTracked<Class>(__FILE__, __LINE__); }   \
    const char* Class::GetType() const { return Name; }                                         \
    std::uint32_t Class::GetSize() const { return static_cast<std::uint32_t>(sizeof(Class)); }
