#include "core/Core_File.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_Cursor.h"
#include "gui/GUI_CursorManager.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_Input.h"

#include <algorithm>
#include <unordered_set>

// The HUD's part of a saved game. A read appends to the lists; the forms
// must be controls without parent, and whatever else it names is taken only
// when it belongs to the form trees it read (anything else reads as none).
// A failed read puts the HUD back as it was.
namespace GUI {
namespace {

template <class Entry>
void WriteList(Core::File& file, const std::vector<Entry>& list) {
    file.WriteU32(static_cast<std::uint32_t>(list.size()));
    for (const Entry& entry : list) {
        file.WriteObject(&*entry);
    }
}

void CollectTree(Control* control, std::unordered_set<const Control*>& members) {
    members.insert(control);
    for (const Core::RefPtr<Control>& child : control->GetChildren()) {
        CollectTree(child.Get(), members);
    }
}

// Reads a count and that many references, each passing accept; false (the
// stream failed) on the first that does not.
template <class Read, class Accept>
bool ReadEntries(Core::File& file, Read read, Accept accept) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    for (std::uint32_t index = 0; index < count && !file.HasFailed(); ++index) {
        if (!accept(read())) {
            file.SetFailed();
        }
    }
    return !file.HasFailed();
}

}  // namespace

void HUD::WriteInformation(Core::File& file) const {
    WriteList(file, m_forms);
    WriteList(file, m_pendingFormRemovals);
    WriteList(file, m_registeredControls);
    WriteList(file, m_pendingDestroys);
    file << m_defaultCursor;
    for (Control* const* special : Specials()) {
        file << *special;
    }
    file.WriteU8(m_cursorVisible ? 1 : 0);
    file.WriteU8(m_systemCursorShown ? 1 : 0);
    file.WriteF32(GetUpdateCounter());
    m_graphics->Save(file);
    m_cursorManager->Save(file);
    const Vector2D mouse = input::GetMousePosition();
    file.WriteF32(mouse.x);
    file.WriteF32(mouse.y);
}

void HUD::ReadInformation(Core::File& file) {
    const std::size_t formCount = m_forms.size();
    const std::size_t removalCount = m_pendingFormRemovals.size();
    const std::size_t registeredCount = m_registeredControls.size();
    const std::size_t destroyCount = m_pendingDestroys.size();
    const Core::RefPtr<Cursor> defaultCursor = m_defaultCursor;
    const Core::RefPtr<Cursor> managerCursor = m_cursorManager->GetCursor();
    const auto specialPointers = Specials();
    std::array<Control*, 7> specials{};
    std::transform(specialPointers.begin(), specialPointers.end(), specials.begin(),
                   [](Control** special) { return *special; });
    const bool cursorVisible = m_cursorVisible;
    const bool systemCursorShown = m_systemCursorShown;
    const float counter = GetUpdateCounter();

    m_loading = true;
    std::unordered_set<const Control*> readTrees;
    const auto readControl = [&file] { return file.ReadObjectAs<Control>(); };
    const auto inReadTrees = [&readTrees](const Control* control) { return readTrees.contains(control); };
    Vector2D mouse;
    const bool listsRead =
        ReadEntries(
            file, [&file] { return Core::RefPtr<Control>(file.ReadObjectAs<Control>(Core::File::Reference::Owning)); },
            [&](const Core::RefPtr<Control>& form) {
                if (form == nullptr || form->GetParent() != nullptr || IsForm(form.Get())) {
                    return false;
                }
                m_forms.push_back(form);
                CollectTree(form.Get(), readTrees);
                return true;
            }) &&
        ReadEntries(file, readControl,
                    [&](Control* form) {
                        if (form != nullptr && form->GetParent() == nullptr && inReadTrees(form) &&
                            std::find(m_pendingFormRemovals.begin(), m_pendingFormRemovals.end(), form) ==
                                m_pendingFormRemovals.end()) {
                            m_pendingFormRemovals.emplace_back(form);
                        }
                        return true;
                    }) &&
        ReadEntries(file, readControl,
                    [&](Control* control) {
                        if (inReadTrees(control)) {
                            m_registeredControls.push_back(control);
                        }
                        return true;
                    }) &&
        ReadEntries(file, readControl, [&](Control* control) {
            if (inReadTrees(control)) {
                QueueDestroy(control);
            }
            return true;
        });
    if (listsRead) {
        Core::RefPtr<Cursor> cursor;
        file >> cursor;
        std::array<Control*, 7> readSpecials{};
        for (Control*& special : readSpecials) {
            special = readControl();
        }
        bool visible = m_cursorVisible;
        bool shown = m_systemCursorShown;
        float readCounter = counter;
        file.ReadBool(visible);
        file.ReadBool(shown);
        file.ReadF32(readCounter);
        m_graphics->Load(file);
        m_cursorManager->Load(file);
        file.ReadF32(mouse.x);
        file.ReadF32(mouse.y);
        if (!file.HasFailed()) {
            m_defaultCursor = cursor;
            // Only controls of the trees read are taken; anything else reads as none.
            const auto specialsNow = Specials();
            for (std::size_t index = 0; index < readSpecials.size(); ++index) {
                *specialsNow[index] = inReadTrees(readSpecials[index]) ? readSpecials[index] : nullptr;
            }
            m_cursorVisible = visible;
            m_systemCursorShown = shown;
            SetUpdateCounter(readCounter);
        }
    }
    m_loading = false;
    if (!file.HasFailed()) {
        // The pointer matters only to forms; without any the user's pointer
        // stays where it is (a replay's recorded pointer included).
        if (!m_forms.empty()) {
            input::WarpMouse(mouse);
        }
        return;
    }
    m_forms.resize(formCount);
    m_pendingFormRemovals.resize(removalCount);
    m_registeredControls.resize(registeredCount);
    m_pendingDestroys.resize(destroyCount);
    m_defaultCursor = defaultCursor;
    m_cursorManager->SetCursor(managerCursor);
    const auto specialsNow = Specials();
    for (std::size_t index = 0; index < specials.size(); ++index) {
        *specialsNow[index] = specials[index];
    }
    m_cursorVisible = cursorVisible;
    m_systemCursorShown = systemCursorShown;
}

}  // namespace GUI
