#include "gui/GUI_CursorManager.h"

#include "core/Core_File.h"
#include "input/Input_MouseImp.h"

namespace GUI {
namespace {
CursorManager* g_cursorManager = nullptr;
}  // namespace

TUN_DEFINE_CLASS_NAMED(CursorManager, "GUI::CursorManager");

CursorManager::CursorManager() { g_cursorManager = this; }

CursorManager::CursorManager(const CursorManager& other) : Core::Object(other), m_cursor(other.m_cursor) {
    g_cursorManager = this;
}

CursorManager::~CursorManager() {
    if (g_cursorManager == this) {
        g_cursorManager = nullptr;
    }
}

CursorManager* CursorManager::GetInstance() { return g_cursorManager; }

void CursorManager::Update(float) {
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    if (m_cursor && mouse != nullptr) {
        m_cursor->Draw(mouse->GetPosition());
    }
}

void CursorManager::Save(Core::File& file) const { file.WriteObject(m_cursor.Get()); }

void CursorManager::Load(Core::File& file) {
    Cursor* cursor = file.ReadObjectAs<Cursor>(Core::File::Reference::Owning);
    if (!file.HasFailed()) {
        m_cursor = Core::RefPtr<Cursor>(cursor);
    }
}

}  // namespace GUI
