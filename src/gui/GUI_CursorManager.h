#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "gui/GUI_Cursor.h"

namespace GUI {

// Holds the cursor shown at the moment and draws it once a frame at the
// mouse. The manager constructed last is the process-wide one.
class CursorManager : public Core::Object {
    TUN_DECLARE_CLASS(CursorManager);

    // Becomes the process-wide manager.
    CursorManager();
    // A copy holds the same cursor and becomes the process-wide manager too.
    CursorManager(const CursorManager& other);
    CursorManager& operator=(const CursorManager&) = delete;
    // Clears the process-wide pointer when it is this one.
    ~CursorManager() override;

    // Null when none lives.
    static CursorManager* GetInstance();

    // Null shows no cursor.
    void SetCursor(const Core::RefPtr<Cursor>& cursor) { m_cursor = cursor; }
    const Core::RefPtr<Cursor>& GetCursor() const { return m_cursor; }

    // Draws the cursor at the mouse's client position (y from the bottom);
    // nothing without a cursor or a mouse. dt is not used.
    void Update(float dt);

    // The cursor as an object reference; a reference of another class fails
    // the stream and changes nothing.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

private:
    Core::RefPtr<Cursor> m_cursor;
};

}  // namespace GUI
