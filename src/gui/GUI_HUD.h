#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace Core {
class File;
}

namespace GUI {

class Control;
class Cursor;
class CursorManager;
class Graphics;

// The screen-space layer of forms and controls drawn after the viewports:
// the top-level forms (the last one is the front-most), the registry of every
// control of their trees (the hit-test candidates), the special controls
// (active form, selected, focused, pressed, hovered, front request, modal),
// the GUI graphics object and the cursor manager with the default arrow.
//
// Forms and controls are held by counted references; the registry and the
// special pointers are plain and every removal path clears them. Removals
// are deferred to the next frame; lists that callbacks may change are walked
// over snapshots.
class HUD {
public:
    // Becomes the one HUD; hides the operating-system cursor.
    HUD();
    HUD(const HUD&) = delete;
    HUD& operator=(const HUD&) = delete;
    // Empties the lists before letting the forms go, then clears the singleton.
    ~HUD();

    // Null when no HUD lives.
    static HUD* GetInstance();

    // The update counter beside the HUD: reset each frame, advanced by every
    // control's update (its depth stamp).
    static float GetUpdateCounter();
    static float AdvanceUpdateCounter();

    // Appends a control without parent as a top-level form (its subtree
    // joins the registry), then the form's added hook and BringToFront.
    // Null, a control with a parent and a form already listed are ignored.
    void AddForm(Control* form);
    // First form of that name, or null.
    Control* GetForm(std::string_view name) const;
    // Null when the index is out of range.
    Control* GetForm(std::uint32_t index) const;
    std::uint32_t GetFormCount() const { return static_cast<std::uint32_t>(m_forms.size()); }
    // Dropped from the list at the next update; takes no hit at once.
    void RemoveForm(Control* form);
    // Appends to the registry (a control already present is appended again).
    void RegisterControl(Control* control);
    // Removes every occurrence, then ForgetControl.
    void UnregisterControl(Control* control);
    bool IsRegistered(const Control* control) const;
    // The control and its descendants that are not registered yet join the registry.
    void RegisterSubtree(Control* control);
    // Whether the control is one of the top-level forms (pending removal or not).
    bool IsForm(const Control* control) const;
    std::uint32_t GetRegisteredCount() const { return static_cast<std::uint32_t>(m_registeredControls.size()); }
    // DestroyNow at the end of the next update; once per control (null ignored).
    void QueueDestroy(Control* control);
    // Nulls each special pointer naming the control.
    void ForgetControl(const Control* control);

    void SetActiveForm(Control* form) { m_activeForm = form; }
    Control* GetActiveForm() const { return m_activeForm; }
    void SetActiveControl(Control* control) { m_selectedControl = control; }
    Control* GetActiveControl() const { return m_selectedControl; }
    void SetFocusedControl(Control* control) { m_focusedControl = control; }
    Control* GetFocusedControl() const { return m_focusedControl; }
    Control* GetPressedControl() const { return m_pressedControl; }
    Control* GetHoveredControl() const { return m_hoveredControl; }
    Control* GetModalForm() const { return m_modalForm; }
    void RequestFront(Control* form) { m_frontRequest = form; }
    Control* GetFrontRequest() const { return m_frontRequest; }
    // The modal, active and front-request pointers all take the argument.
    void SetModalForm(Control* form);
    // Asks the modal form to draw attention to itself.
    void AlertModalForm();

    // Whether the default arrow shows while no control is hovered.
    void SetCursorVisible(bool visible) { m_cursorVisible = visible; }
    bool IsCursorVisible() const { return m_cursorVisible; }
    bool IsSystemCursorShown() const { return m_systemCursorShown; }
    // Set while ReadInformation runs: forms built then skip their children.
    bool IsLoading() const { return m_loading; }

    // The frame's pass: cursors, removals, updates, layout, hit test,
    // pressed control, queued destructions.
    void Update(float dt);
    // Highest-depth enabled control under the mouse, or null.
    Control* GetControlUnderMouse() const;
    // Highest-depth enabled, visible control without parent, or null.
    Control* GetTopForm() const;

    // Draws the screen objects the controls queued during the update.
    void Render();
    // Level change: empties lists and pointers, hides the OS cursor and
    // drops the queued screen objects.
    void Clear();

    // The HUD's part of a saved game.
    void WriteInformation(Core::File& file) const;
    // Appends what it reads; special pointers and list entries naming
    // controls outside the form trees read become none. With forms held
    // afterwards, the pointer moves to the stored position (a non-finite one
    // is ignored, a finite one clamped to the window). A failed read removes
    // what it appended and leaves every pointer, flag and the counter as
    // they were.
    void ReadInformation(Core::File& file);

    Graphics* GetGraphics() const { return m_graphics.get(); }
    CursorManager* GetCursorManager() const { return m_cursorManager.Get(); }
    Cursor* GetDefaultCursor() const { return m_defaultCursor.Get(); }

private:

    static void SetUpdateCounter(float counter);
    // Empties every list and special pointer, then lets the controls go.
    void DropAllControls();
    void UnregisterSubtree(Control* control);
    void UpdateSystemCursor();
    void TakePendingFormRemovals();
    void TakeFrontRequest();
    void UpdatePressedControl();
    void RunQueuedDestroys();
    std::array<Control**, 7> Specials();
    std::array<Control* const*, 7> Specials() const;

    std::vector<Core::RefPtr<Control>> m_forms;
    std::vector<Core::RefPtr<Control>> m_pendingFormRemovals;
    std::vector<Control*> m_registeredControls;
    std::vector<Core::RefPtr<Control>> m_pendingDestroys;
    std::unique_ptr<Graphics> m_graphics;
    Core::RefPtr<CursorManager> m_cursorManager;
    Core::RefPtr<Cursor> m_defaultCursor;
    Control* m_activeForm = nullptr;
    Control* m_selectedControl = nullptr;
    Control* m_focusedControl = nullptr;
    Control* m_pressedControl = nullptr;
    Control* m_hoveredControl = nullptr;
    Control* m_frontRequest = nullptr;
    Control* m_modalForm = nullptr;
    bool m_cursorVisible = true;
    bool m_systemCursorShown = false;
    bool m_loading = false;
};

}  // namespace GUI

// The HUD's per-frame update (nothing without a HUD).
void UpdateHud(float dt);
