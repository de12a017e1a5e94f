#include "engine/Engine_RenderQueue.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_ControlProbe.h"
#include "gui/GUI_Cursor.h"
#include "gui/GUI_CursorManager.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_StringRenderContext.h"
#include "support/GUI_HeadlessHud.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using GUI::Control;
using GUI::ControlEvent;
using guitest::MakeControl;

class HudTest : public testing::Test {
protected:
    Core::RefPtr<Control> AddForm(float x, float y, float width = 100, float height = 100) {
        Core::RefPtr<Control> form = MakeControl(x, y, width, height);
        Hud().AddForm(form.Get());
        return form;
    }
    GUI::HUD& Hud() { return m_hud.Hud(); }
    GUI::Cursor* ShownCursor() { return Hud().GetCursorManager()->GetCursor().Get(); }

    testsupport::HeadlessHud m_hud;
};

// Without forms the frame only keeps the OS cursor hidden over the window
// and gives the manager the arrow, or nothing once the GUI cursor is off.
TEST_F(HudTest, WithoutFormsTheFrameOnlyManagesTheCursors) {
    int shows = 0;
    int hides = 0;
    const auto frame = [&] {
        const bool before = Hud().IsSystemCursorShown();
        m_hud.Frame();
        shows += !before && Hud().IsSystemCursorShown();
        hides += before && !Hud().IsSystemCursorShown();
    };
    frame();
    EXPECT_EQ(ShownCursor(), Hud().GetDefaultCursor());
    m_hud.MoveMouse(-20, 50);
    frame(), frame();
    EXPECT_TRUE(Hud().IsSystemCursorShown() && shows == 1 && hides == 0);
    m_hud.MoveMouse(20, 50);
    frame(), frame();
    EXPECT_TRUE(!Hud().IsSystemCursorShown() && shows == 1 && hides == 1);
    Hud().SetCursorVisible(false);
    EXPECT_EQ(ShownCursor(), Hud().GetDefaultCursor());  // nothing happens at the call
    frame();
    EXPECT_EQ(ShownCursor(), nullptr);
    Hud().SetCursorVisible(true);
    frame();
    EXPECT_EQ(ShownCursor(), Hud().GetDefaultCursor());
}

TEST_F(HudTest, ClearEmptiesListsAndPointersAndDropsQueuedDrawing) {
    RenderQueue queue;
    const Core::RefPtr<Control> form = AddForm(0, 0);
    form->AddControl(MakeControl(0, 0, 10, 10).Get());
    m_hud.MoveMouse(-20, 50);
    m_hud.Frames(2);  // the OS cursor shows outside the window
    ASSERT_TRUE(Hud().IsSystemCursorShown() && m_hud.Mouse().IsCursorVisible());
    const Core::RefPtr<Engine::StringRenderContext> label(TUN_NEW(Engine::StringRenderContext));
    label->effect = Hud().GetGraphics()->GetTexturedEffect();
    label->texture = Hud().GetGraphics()->GetWhiteTexture();
    queue.SubmitScreenObject(label);
    ASSERT_EQ(queue.GetScreenObjectCount(), 1u);
    Hud().SetModalForm(form.Get());
    Hud().QueueDestroy(form.Get());
    Hud().Clear();
    EXPECT_FALSE(Hud().IsSystemCursorShown());
    EXPECT_TRUE(Hud().GetFormCount() == 0 && Hud().GetRegisteredCount() == 0);
    for (const Control* special : {Hud().GetActiveForm(), Hud().GetModalForm(), Hud().GetFrontRequest(),
                                   Hud().GetFocusedControl()}) {
        EXPECT_EQ(special, nullptr);
    }
    EXPECT_EQ(queue.GetScreenObjectCount(), 0u);
    EXPECT_FALSE(m_hud.Mouse().IsCursorVisible());
    m_hud.Frame();  // the queued destruction went with the lists
    EXPECT_EQ(form->GetReferenceCount(), 1u);
}

// A control outliving the HUD, and a second HUD, find the singleton right.
TEST_F(HudTest, TheSingletonIsTheLatestHudAndIsClearedWithIt) {
    const Core::RefPtr<Control> survivor = AddForm(0, 0);
    auto second = std::make_unique<GUI::HUD>();
    EXPECT_EQ(GUI::HUD::GetInstance(), second.get());
    second.reset();
    EXPECT_EQ(GUI::HUD::GetInstance(), nullptr);
    survivor->BringToFront();
    survivor->DestroyNow();
    survivor->Update(0.1f);
    EXPECT_TRUE(survivor->IsHovered() == false && survivor->PassesModalRule());
}

TEST_F(HudTest, ARemovedFormIsListedUntilTheNextFrameButTakesNoHit) {
    const Core::RefPtr<Control> form = AddForm(0, 0);
    m_hud.MoveMouse(50, 50);
    m_hud.Frame();
    ASSERT_EQ(Hud().GetHoveredControl(), form.Get());
    Hud().RemoveForm(form.Get());
    EXPECT_EQ(Hud().GetFormCount(), 1u);
    EXPECT_EQ(Hud().GetControlUnderMouse(), nullptr);
    EXPECT_EQ(Hud().GetHoveredControl(), nullptr);
    m_hud.Frame();
    EXPECT_EQ(Hud().GetFormCount(), 0u);
}

// The later of two overlapping forms wins; a click on the other brings it
// to the end of the list one frame later.
TEST_F(HudTest, OverlappingFormsAndBringToFront) {
    const Core::RefPtr<Control> back = AddForm(0, 0);
    const Core::RefPtr<Control> front = AddForm(50, 0);
    m_hud.MoveMouse(75, 50);
    m_hud.Frames(2);
    EXPECT_EQ(Hud().GetHoveredControl(), front.Get());
    m_hud.Click(25, 50);
    EXPECT_EQ(Hud().GetActiveForm(), back.Get());
    EXPECT_EQ(Hud().GetForm(1u), back.Get());
    m_hud.MoveMouse(75, 50);
    m_hud.Frames(2);
    EXPECT_EQ(Hud().GetHoveredControl(), back.Get());
}

TEST_F(HudTest, AModalFormTakesThePointersAndBlinksAtPressesElsewhere) {
    const Core::RefPtr<guitest::FramedControl> modal = guitest::MakeFramed(0, 0, 100, 100);
    Hud().AddForm(modal.Get());
    const Core::RefPtr<Control> other = AddForm(150, 0);
    Core::RefPtr<Control> button = MakeControl(10, 10, 20, 20);
    other->AddControl(button.Get());
    Hud().SetModalForm(modal.Get());
    EXPECT_TRUE(Hud().GetModalForm() == modal.Get() && Hud().GetActiveForm() == modal.Get() &&
                Hud().GetFrontRequest() == modal.Get());
    std::vector<int> log;
    guitest::LogEvents(*button, log);
    m_hud.Click(165, 15);
    EXPECT_EQ(modal->alerts, 1);
    EXPECT_TRUE(log.empty());
    Hud().SetModalForm(nullptr);
    EXPECT_TRUE(Hud().GetModalForm() == nullptr && Hud().GetActiveForm() == nullptr &&
                Hud().GetFrontRequest() == nullptr);
}

// Both queued in one frame: the form's destruction must not free the child
// before the child's turn.
TEST_F(HudTest, AFormAndItsChildQueuedTogetherBothGo) {
    Control* form = AddForm(0, 0).Get();
    Control* child = nullptr;
    {
        const Core::RefPtr<Control> held = MakeControl(0, 0, 10, 10);
        form->AddControl(held.Get());
        child = held.Get();
    }
    guitest::OnEvent(*form, ControlEvent::MouseEnter, [&](Control*) {
        Hud().QueueDestroy(form);
        Hud().QueueDestroy(child);
        Hud().QueueDestroy(child);
    });
    m_hud.MoveMouse(50, 50);
    m_hud.Frames(3);
    EXPECT_EQ(Hud().GetFormCount(), 0u);
    EXPECT_EQ(Hud().GetRegisteredCount(), 0u);
}

// Handlers may add forms and controls and destroy their own control while
// the frame walks the lists: nothing crashes and the siblings after it are
// still updated in that frame.
TEST_F(HudTest, HandlersMayChangeTheListsTheFrameWalks) {
    const Core::RefPtr<Control> form = AddForm(0, 0);
    std::vector<Core::RefPtr<Control>> children;
    for (int index = 0; index < 3; ++index) {
        children.push_back(MakeControl(10.0f + 30 * index, 10, 20, 20));
        form->AddControl(children.back().Get());
    }
    guitest::OnEvent(*children[0], ControlEvent::MouseEnter, [&](Control* self) {
        Hud().AddForm(MakeControl(200, 0, 50, 50).Get());
        form->AddControl(MakeControl(0, 150, 10, 10).Get());
        self->DestroyNow();
        Hud().QueueDestroy(self);
    });
    m_hud.MoveMouse(15, 15);
    m_hud.Frames(2);
    EXPECT_TRUE(children[1]->GetDepth() > children[0]->GetDepth() && children[2]->GetDepth() > children[1]->GetDepth());
    EXPECT_EQ(Hud().GetFormCount(), 2u);
    m_hud.Frame();
    EXPECT_EQ(form->GetControlsCount(), 3u);
    EXPECT_EQ(children[0]->GetParent(), nullptr);
}

}  // namespace
