#include "core/Core_File.h"
#include "engine/Engine_BitmapFontCache.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_Cursor.h"
#include "gui/GUI_ResourcePaths.h"

#include <algorithm>
#include <cmath>

// A control's part of a stream. Its children come back owned, its links as
// plain references; whatever would make the tree anything but a tree fails
// the stream, so that no later walk recurses without end.
namespace GUI {
namespace {

void WriteVector(Core::File& file, const Vector2D& value) {
    file.WriteF32(value.x);
    file.WriteF32(value.y);
}

void ReadVector(Core::File& file, Vector2D& value) {
    file.ReadF32(value.x);
    file.ReadF32(value.y);
}

void WriteList(Core::File& file, const std::vector<Core::RefPtr<Control>>& list) {
    file.WriteU32(static_cast<std::uint32_t>(list.size()));
    for (const Core::RefPtr<Control>& entry : list) {
        file << entry;
    }
}

bool Contains(const std::vector<Core::RefPtr<Control>>& list, const Control* control) {
    return std::find(list.begin(), list.end(), control) != list.end();
}

// A stored string replaces the field even when it is empty.
void ReadText(Core::File& file, Core::String& text) {
    Core::String read;
    file >> read;
    if (!file.HasFailed()) {
        text = std::move(read);
    }
}

// Only a cursor inside the list survives.
std::int32_t CheckedCursor(std::int32_t cursor, std::size_t count) {
    return cursor >= 0 && static_cast<std::size_t>(cursor) < count ? cursor : -1;
}

}  // namespace

void Control::Save(Core::File& file) const {
    WriteVector(file, m_position);
    m_rectangle.Write(file);
    m_clientRectangle.Write(file);
    m_visibleRectangle.Write(file);
    m_visibleClientRectangle.Write(file);
    WriteList(file, m_children);
    WriteList(file, m_pendingChildRemovals);
    file << m_parent << m_lastAddedChild << m_selectedChild;
    file << m_name << m_cursor << m_modulationColor << m_textModulationColor;
    file.WriteF32(m_opacity);
    for (const bool flag : {m_visible, m_enabled, m_tabStop, m_focused, m_needsInitialFocus}) {
        file.WriteU8(flag ? 1 : 0);
    }
    file.WriteI32(m_tabIndex);
    file << m_text << m_fontName << m_skinName;
    file.WriteF32(m_depth);
    file.WriteU32(m_clipMode);
    file.WriteI32(m_tabCursor);
    file.WriteI32(m_previousTabCursor);
    file << m_userData;
    WriteList(file, m_tabOrder);
    file.WriteF32(m_width);
    file.WriteF32(m_height);
    WriteVector(file, m_previousMousePosition);
    for (const bool flag : {m_mouseInside, m_buttonDown, m_passActivationToParent, m_clickTimerArmed}) {
        file.WriteU8(flag ? 1 : 0);
    }
    file.WriteF32(m_doubleClickMinimum);
    file.WriteF32(m_doubleClickMaximum);
    file.WriteF32(m_clickTimer);
    file.WriteU8(m_acceptsEnter ? 1 : 0);
    file.WriteU8(m_mouseOver ? 1 : 0);
    WriteVector(file, m_mousePosition);
    file << m_frontChildRequest;
}

bool Control::ReadChildList(Core::File& file, std::vector<Core::RefPtr<Control>>& list, bool mustBeChildren) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    std::vector<Core::RefPtr<Control>> read;
    for (std::uint32_t index = 0; index < count && !file.HasFailed(); ++index) {
        Core::RefPtr<Control> entry = file.ReadObjectAs<Control>(Core::File::Reference::Owning);
        const bool refused = entry == nullptr || entry == this || entry->IsAncestorOf(this) || Contains(read, entry.Get()) ||
                             (mustBeChildren ? !Contains(m_children, entry.Get()) : entry->m_parent != this);
        if (refused) {
            file.SetFailed();
        } else {
            read.push_back(std::move(entry));
        }
    }
    if (file.HasFailed()) {
        return false;
    }
    list = std::move(read);
    return true;
}

void Control::Load(Core::File& file) {
    ReadVector(file, m_position);
    m_rectangle.Read(file);
    m_clientRectangle.Read(file);
    m_visibleRectangle.Read(file);
    m_visibleClientRectangle.Read(file);
    for (const Core::RefPtr<Control>& child : m_children) {
        if (child->m_parent == this) {
            child->m_parent = nullptr;
        }
    }
    m_children.clear();
    m_tabOrder.clear();
    m_pendingChildRemovals.clear();
    if (!ReadChildList(file, m_children, false) || !ReadChildList(file, m_pendingChildRemovals, true)) {
        return;
    }
    Control* parent = file.ReadObjectAs<Control>();
    Control* lastAdded = file.ReadObjectAs<Control>();
    Control* selected = file.ReadObjectAs<Control>();
    if (parent == this || (parent != nullptr && IsAncestorOf(parent))) {
        file.SetFailed();
        return;
    }
    m_parent = parent;
    m_lastAddedChild = Contains(m_children, lastAdded) ? lastAdded : nullptr;
    m_selectedChild = Contains(m_children, selected) ? selected : nullptr;
    ReadText(file, m_name);
    file >> m_cursor >> m_modulationColor >> m_textModulationColor;
    float opacity = m_opacity;
    file.ReadF32(opacity);
    m_opacity = std::isnan(opacity) ? 0.0f : std::clamp(opacity, 0.0f, 1.0f);
    for (bool* flag : {&m_visible, &m_enabled, &m_tabStop, &m_focused, &m_needsInitialFocus}) {
        file.ReadBool(*flag);
    }
    file.ReadI32(m_tabIndex);
    ReadText(file, m_text);
    Core::String fontName = m_fontName;
    ReadText(file, fontName);
    ReadText(file, m_skinName);
    file.ReadF32(m_depth);
    std::uint32_t clipMode = m_clipMode;
    file.ReadU32(clipMode);
    if (clipMode > kClipToParentClient) {
        file.SetFailed();
        return;
    }
    m_clipMode = clipMode;
    std::int32_t tabCursor = -1;
    std::int32_t previousTabCursor = -1;
    file.ReadI32(tabCursor);
    file.ReadI32(previousTabCursor);
    file >> m_userData;
    if (!ReadChildList(file, m_tabOrder, true)) {
        return;
    }
    m_tabCursor = CheckedCursor(tabCursor, m_tabOrder.size());
    m_previousTabCursor = CheckedCursor(previousTabCursor, m_tabOrder.size());
    file.ReadF32(m_width);
    file.ReadF32(m_height);
    ReadVector(file, m_previousMousePosition);
    for (bool* flag : {&m_mouseInside, &m_buttonDown, &m_passActivationToParent, &m_clickTimerArmed}) {
        file.ReadBool(*flag);
    }
    file.ReadF32(m_doubleClickMinimum);
    file.ReadF32(m_doubleClickMaximum);
    file.ReadF32(m_clickTimer);
    file.ReadBool(m_acceptsEnter);
    file.ReadBool(m_mouseOver);
    ReadVector(file, m_mousePosition);
    Core::RefPtr<Control> frontRequest;
    file >> frontRequest;
    m_frontChildRequest = Contains(m_children, frontRequest.Get()) ? frontRequest : nullptr;
    if (!file.HasFailed() && fontName != m_fontName) {
        m_fontName = fontName;
        m_font = Engine::BitmapFontCache::Get(GetFontFilePath(fontName));
    }
}

}  // namespace GUI
