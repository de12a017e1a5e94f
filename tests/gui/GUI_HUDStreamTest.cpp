#include "core/Core_MemoryFile.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_ControlProbe.h"
#include "gui/GUI_CursorManager.h"
#include "gui/GUI_HUD.h"
#include "support/DamagedBytes.h"
#include "support/GUI_HeadlessHud.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using GUI::Control;
using guitest::MakeControl;

// What a refused read must leave as it found it.
struct HudShape {
    std::vector<Control*> forms;
    std::uint32_t registered;
    std::array<Control*, 6> specials;
    bool cursorVisible;
    GUI::Cursor* defaultCursor;
    bool operator==(const HudShape&) const = default;
};

HudShape ShapeOf(const GUI::HUD& hud) {
    HudShape shape{{}, hud.GetRegisteredCount(),
                   {hud.GetActiveForm(), hud.GetActiveControl(), hud.GetFocusedControl(), hud.GetPressedControl(),
                    hud.GetFrontRequest(), hud.GetModalForm()},
                   hud.IsCursorVisible(), hud.GetDefaultCursor()};
    for (std::uint32_t index = 0; index < hud.GetFormCount(); ++index) {
        shape.forms.push_back(hud.GetForm(index));
    }
    return shape;
}

class HudStreamTest : public testing::Test {
protected:
    // Two forms (the second modal), three children of the first, one focused.
    void BuildScene() {
        const char* names[] = {"Main", "Dialog"};
        for (int index = 0; index < 2; ++index) {
            m_forms[index] = MakeControl(20.0f + 150 * index, 30, 120, 100);
            m_forms[index]->SetName(names[index]);
            Hud().AddForm(m_forms[index].Get());
        }
        for (int index = 0; index < 3; ++index) {
            const Core::RefPtr<Control> child = MakeControl(10.0f + 35 * index, 10, 30, 20);
            child->SetName(index == 0 ? "First" : index == 1 ? "Second" : "Third");
            child->SetTabIndex(2 - index);
            m_forms[0]->AddControl(child.Get());
        }
        m_forms[0]->SetOpacity(0.5f);
        Hud().SetModalForm(m_forms[1].Get());
        Hud().SetCursorVisible(false);
        m_hud.MoveMouse(50, 50);
        m_hud.Frames(2);
    }
    Bytes Write() {
        Core::MemoryFile file;
        Hud().WriteInformation(file);
        EXPECT_FALSE(file.HasFailed());
        return {file.GetData(), file.GetData() + file.GetSize()};
    }
    bool Read(const Bytes& bytes) {
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        Hud().ReadInformation(file);
        return !file.HasFailed();
    }
    GUI::HUD& Hud() { return m_hud.Hud(); }

    testsupport::HeadlessHud m_hud;
    std::array<Core::RefPtr<Control>, 2> m_forms;
};

// Read into a HUD that holds a form: the read forms are appended and come
// back whole; read into an empty HUD, the state writes the same bytes again.
TEST_F(HudStreamTest, AStateReadBackIsAppendedAndWritesTheSameBytes) {
    BuildScene();
    const Bytes written = Write();
    Hud().Clear();
    const Core::RefPtr<Control> present = MakeControl(0, 0, 10, 10);
    Hud().AddForm(present.Get());
    ASSERT_TRUE(Read(written));
    ASSERT_EQ(Hud().GetFormCount(), 3u);
    EXPECT_EQ(Hud().GetForm(0u), present.Get());
    Control* main = Hud().GetForm("Main");
    Control* dialog = Hud().GetForm("Dialog");
    ASSERT_TRUE(main != nullptr && dialog != nullptr && main != m_forms[0].Get());
    EXPECT_EQ(main->GetRectangle(), m_forms[0]->GetRectangle());
    EXPECT_EQ(main->GetOpacity(), 0.5f);
    EXPECT_TRUE(Hud().GetModalForm() == dialog && Hud().GetActiveForm() == dialog);
    EXPECT_FALSE(Hud().IsCursorVisible());
    EXPECT_EQ(Hud().GetRegisteredCount(), 1u + 5u);
    std::vector<Core::String> order;
    for (const auto& entry : main->GetTabOrder()) {
        order.push_back(entry->GetName());
    }
    EXPECT_EQ(order, (std::vector<Core::String>{"First", "Third", "Second"}));
    EXPECT_EQ(Hud().GetFocusedControl(), main->GetControl("First"));
    EXPECT_EQ(main->GetControl(0u)->GetParent(), main);
    EXPECT_EQ(main->GetControl("Third")->GetRectangle(), m_forms[0]->GetControl("Third")->GetRectangle());

    Hud().Clear();
    m_forms = {};
    ASSERT_TRUE(Read(written));
    EXPECT_EQ(Write(), written);
    m_hud.Frame();  // the loaded trees run
}

// Every truncation and a few thousand seeded mutations load or are refused;
// a refused read leaves the HUD exactly as it was.
TEST_F(HudStreamTest, DamagedStreamsLoadOrLeaveTheHudAsItWas) {
    BuildScene();
    const Bytes written = Write();
    Hud().Clear();
    m_forms = {};
    const Core::RefPtr<Control> present = MakeControl(0, 0, 10, 10);
    Hud().AddForm(present.Get());
    HudShape before = ShapeOf(Hud());
    const auto check = [&](const Bytes& bytes, const char* what, std::size_t case_) {
        if (Read(bytes)) {
            m_hud.Frame();
            Hud().Clear();
            Hud().AddForm(present.Get());
            before = ShapeOf(Hud());
            return;
        }
        EXPECT_FALSE(Hud().IsLoading());
        EXPECT_TRUE(ShapeOf(Hud()) == before) << what << " " << case_;
    };
    testsupport::ForEachDamaged(written, 2000, 4, 19, check);
}

// A state saved between removals and the frame that takes them reads back:
// a removed subtree keeps no pending entries, and queued or registered
// controls outside the forms' trees are dropped.
TEST_F(HudStreamTest, StatesAwaitingRemovalsReadBack) {
    BuildScene();
    Control* first = m_forms[0]->GetControl("First");
    first->AddControl(MakeControl(0, 0, 5, 5).Get());
    first->GetControl(0u)->DestroyNow();
    first->DestroyNow();
    const Core::RefPtr<Control> detached = MakeControl(0, 0, 5, 5);
    Hud().QueueDestroy(detached.Get());
    Hud().RegisterControl(detached.Get());
    const Bytes written = Write();
    Hud().Clear();
    ASSERT_TRUE(Read(written));
    Control* main = Hud().GetForm("Main");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Hud().GetRegisteredCount(), 4u);
    m_hud.Frame();
    EXPECT_EQ(main->GetControlsCount(), 2u);
}

// The pointer goes back where the state had it, clamped to the window; a
// position that is not finite leaves it alone.
TEST_F(HudStreamTest, TheStoredPointerIsClampedOrIgnored) {
    BuildScene();
    const Bytes written = Write();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float x, y;
        int expectedX, expectedY;
    } cases[] = {{nan, 5, 50, 50}, {100.7f, 20.2f, 100, 20}, {1e30f, -1e30f, testsupport::HeadlessHud::kWidth - 1, 0}};
    for (const auto& [x, y, expectedX, expectedY] : cases) {
        Bytes bytes = written;
        std::memcpy(&bytes[bytes.size() - 8], &x, 4);
        std::memcpy(&bytes[bytes.size() - 4], &y, 4);
        Hud().Clear();
        ASSERT_TRUE(Read(bytes));
        EXPECT_EQ(m_hud.Mouse().GetPositionX(), expectedX) << x;
        EXPECT_EQ(m_hud.Mouse().GetPositionY(), expectedY) << y;
    }
}

// Trees that are not trees are refused: a control listed as its own child,
// a child whose parent link names another control, a child holding its
// parent or an ancestor.
TEST_F(HudStreamTest, ChildListsThatAreNotTreesAreRefused) {
    const Core::RefPtr<Control> form = MakeControl(0, 0, 100, 100);
    form->AddControl(MakeControl(0, 0, 10, 10).Get());
    form->AddControl(MakeControl(20, 0, 10, 10).Get());
    form->GetControl(1u)->AddControl(MakeControl(0, 0, 5, 5).Get());
    Hud().AddForm(form.Get());
    const Bytes written = Write();
    // An object reference: flag, class name, id.
    const auto reference = [](std::uint32_t id) {
        Bytes bytes = {1, 12, 0, 0, 0};
        const char* name = "GUI::Control";
        bytes.insert(bytes.end(), name, name + 12);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(id >> shift));
        }
        return bytes;
    };
    const auto patched = [&](std::uint32_t from, std::uint32_t to, int occurrence) {
        Bytes bytes = written;
        const Bytes pattern = reference(from);
        auto at = bytes.begin();
        for (int seen = 0; seen <= occurrence; ++seen) {
            at = std::search(seen == 0 ? bytes.begin() : at + 1, bytes.end(), pattern.begin(), pattern.end());
            if (at == bytes.end()) {
                ADD_FAILURE() << "no reference " << from;
                return bytes;
            }
        }
        const Bytes replacement = reference(to);
        std::copy(replacement.begin(), replacement.end(), at);
        return bytes;
    };
    Hud().Clear();
    const HudShape before = ShapeOf(Hud());
    // Ids: 1 the form, 2 its first child (which names the form, id 1, as its
    // parent), then the cursor, the second child (4) and its child (5).
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {{"the form lists itself", patched(2, 1, 0)},
                 {"a child names itself its parent", patched(1, 2, 1)},
                 {"a child holds its parent", patched(5, 4, 0)},
                 {"a grandchild holds the form", patched(5, 1, 0)}};
    for (const auto& [what, bytes] : cases) {
        EXPECT_FALSE(Read(bytes)) << what;
        EXPECT_TRUE(ShapeOf(Hud()) == before) << what;
    }
    EXPECT_TRUE(Read(written));
}

}  // namespace
