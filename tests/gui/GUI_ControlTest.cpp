#include "core/Core_MemoryFile.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_ControlProbe.h"
#include "support/GUI_HeadlessHud.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using GUI::Control;
using GUI::ControlEvent;
using guitest::LogEvents;
using guitest::MakeControl;
using Log = std::vector<int>;

class ControlTest : public testing::Test {
protected:
    // A form at (0, 0) filling the window's lower-left 200 x 200, holding children.
    Core::RefPtr<Control> AddForm(float x = 0, float y = 0, float width = 200, float height = 200) {
        Core::RefPtr<Control> form = MakeControl(x, y, width, height);
        m_hud.Hud().AddForm(form.Get());
        return form;
    }
    Core::RefPtr<Control> AddChild(Control& parent, float x, float y, float width = 40, float height = 40) {
        Core::RefPtr<Control> child = MakeControl(x, y, width, height);
        parent.AddControl(child.Get());
        return child;
    }

    testsupport::HeadlessHud m_hud;
};

TEST(ControlOpacity, IsClampedAndMultipliedOnlyUnderAFadedParent) {
    const struct {
        float set, stored;
    } cases[] = {{-0.5f, 0.0f}, {1.5f, 1.0f}, {std::numeric_limits<float>::quiet_NaN(), 0.0f}, {0.3f, 0.3f}};
    const Core::RefPtr<Control> control = MakeControl(0, 0, 10, 10);
    for (const auto& [set, stored] : cases) {
        control->SetOpacity(set);
        EXPECT_EQ(control->GetOpacity(), stored) << set;
    }
    const Core::RefPtr<Control> parent = MakeControl(0, 0, 10, 10);
    const Core::RefPtr<Control> child = MakeControl(0, 0, 5, 5);
    parent->AddControl(child.Get());
    child->SetOpacity(0.8f);
    parent->SetOpacity(0.5f);
    EXPECT_FLOAT_EQ(child->GetEffectiveOpacity(), 0.4f);
    parent->SetOpacity(1.0f);
    EXPECT_FLOAT_EQ(child->GetEffectiveOpacity(), 0.8f);
}

// Two releases 0.05 s apart are two clicks, 0.3 s apart a click and a
// double click, 0.7 s apart two clicks again.
TEST_F(ControlTest, ReleaseSpacingDecidesBetweenClicksAndDoubleClicks) {
    const struct {
        float gap;
        Log second;
    } cases[] = {{0.05f, {1, 4}}, {0.3f, {2, 5}}, {0.7f, {1, 4}}};
    for (const auto& [gap, second] : cases) {
        const Core::RefPtr<Control> form = AddForm();
        Log log;
        const auto clicks = [&log] {
            Log only;
            std::copy_if(log.begin(), log.end(), std::back_inserter(only), [](int list) { return list <= 5; });
            return only;
        };
        m_hud.MoveMouse(50, 50);
        m_hud.Frame();
        LogEvents(*form, log);
        m_hud.SetButton(0, true);
        m_hud.Frame();
        m_hud.SetButton(0, false);
        m_hud.Frame();
        EXPECT_EQ(clicks(), (Log{1, 4})) << gap;
        log.clear();
        // The second press and release take two frames of the gap.
        m_hud.Frame(gap - 2 * testsupport::HeadlessHud::kFrame);
        m_hud.SetButton(0, true);
        m_hud.Frame();
        m_hud.SetButton(0, false);
        m_hud.Frame();
        EXPECT_EQ(clicks(), second) << gap;
        m_hud.Hud().Clear();
    }
}

TEST_F(ControlTest, AClickRaisesDownClickAfterClickUpAndAReleaseOutsideOnlyUp) {
    const Core::RefPtr<Control> form = AddForm();
    Log log;
    LogEvents(*form, log);
    m_hud.Click(50, 50);
    log.erase(std::remove_if(log.begin(), log.end(), [](int list) { return list == 6 || list == 7 || list == 9; }),
              log.end());
    EXPECT_EQ(log, (Log{11, 1, 4, 10}));
    log.clear();
    m_hud.SetButton(0, true);
    m_hud.Frame();
    m_hud.MoveMouse(300, 220);
    m_hud.Frame();
    m_hud.SetButton(0, false);
    m_hud.Frame();
    // The move is seen while the control is still the hovered one; then it
    // is left, and the release is only a mouse up.
    EXPECT_EQ(log, (Log{7, 11, 9, 8, 10}));
}

// The control a press starts on keeps the mouse until every button is up.
TEST_F(ControlTest, APressDraggedOntoAnotherControlKeepsTheFirst) {
    const Core::RefPtr<Control> form = AddForm();
    const Core::RefPtr<Control> a = AddChild(*form, 10, 10);
    const Core::RefPtr<Control> b = AddChild(*form, 100, 10);
    Log logB;
    LogEvents(*b, logB);
    m_hud.MoveMouse(20, 20);
    m_hud.Frame();
    m_hud.SetButton(0, true);
    m_hud.SetButton(2, true);
    m_hud.Frames(2);
    m_hud.MoveMouse(110, 20);
    m_hud.Frames(2);
    EXPECT_EQ(m_hud.Hud().GetPressedControl(), a.Get());
    m_hud.SetButton(0, false);
    m_hud.Frames(2);
    EXPECT_EQ(m_hud.Hud().GetPressedControl(), a.Get());
    EXPECT_TRUE(logB.empty());
    m_hud.SetButton(2, false);
    m_hud.Frames(2);
    EXPECT_EQ(m_hud.Hud().GetPressedControl(), nullptr);
    EXPECT_EQ(logB.front(), 6);
}

TEST_F(ControlTest, TabSkipsADisabledStopAndWrapsAndIndicesAreRenumbered) {
    const Core::RefPtr<Control> form = AddForm();
    const Core::RefPtr<Control> stops[] = {AddChild(*form, 0, 0), AddChild(*form, 50, 0), AddChild(*form, 100, 0)};
    for (int index = 0; index < 3; ++index) {
        stops[index]->SetTabIndex(index);
    }
    form->SortTabOrder();
    stops[1]->SetEnabled(false);
    m_hud.Frame();
    EXPECT_TRUE(stops[0]->IsFocused());
    const Control* expected[] = {stops[2].Get(), stops[0].Get()};
    for (const Control* next : expected) {
        m_hud.TapKey(os::VK_TAB);
        EXPECT_EQ(m_hud.Hud().GetFocusedControl(), next);
    }
    EXPECT_FALSE(stops[2]->IsFocused());

    // The setter does not sort; the next AddControl of a tab stop does.
    const Core::RefPtr<Control> parent = MakeControl(0, 0, 10, 10);
    std::vector<Core::RefPtr<Control>> children;
    for (const int index : {5, 2, 9, 10}) {
        children.push_back(MakeControl(0, 0, 1, 1));
        if (children.size() == 4) {
            children[0]->SetTabIndex(5), children[1]->SetTabIndex(2), children[2]->SetTabIndex(9);
        }
        children.back()->SetTabIndex(index);
        parent->AddControl(children.back().Get());
    }
    EXPECT_EQ((std::vector{children[0]->GetTabIndex(), children[1]->GetTabIndex(), children[2]->GetTabIndex()}),
              (std::vector{1, 0, 2}));
}

// Only a control in its parent's tab order takes focus by a press: a
// control outside it does not hand focus to whichever stop has its index.
TEST_F(ControlTest, APressFocusesOnlyTabStops) {
    const Core::RefPtr<Control> form = AddForm();
    const Core::RefPtr<Control> first = AddChild(*form, 0, 0);
    const Core::RefPtr<Control> second = AddChild(*form, 50, 0);
    const Core::RefPtr<Control> plain = AddChild(*form, 100, 0);
    plain->SetTabStop(false);
    plain->SetTabIndex(0);
    m_hud.TapKey(os::VK_TAB);
    ASSERT_TRUE(second->IsFocused() && plain->GetTabIndex() == 0);
    m_hud.Click(110, 10);
    EXPECT_TRUE(second->IsFocused() && !first->IsFocused());
    m_hud.Click(10, 10);
    EXPECT_TRUE(first->IsFocused() && !second->IsFocused());
}

TEST_F(ControlTest, EnterClicksTheFocusedControlOnlyWhenItAcceptsEnter) {
    const Core::RefPtr<Control> form = AddForm();
    const Core::RefPtr<Control> child = AddChild(*form, 0, 0);
    m_hud.Frame();
    ASSERT_TRUE(child->IsFocused());
    Log log;
    guitest::OnEvent(*child, ControlEvent::Click, [&log](Control*) { log.push_back(1); });
    for (const bool accepts : {false, true}) {
        child->SetAcceptsEnter(accepts);
        m_hud.TapKey(os::VK_RETURN);
        EXPECT_EQ(log.size(), accepts ? 1u : 0u);
    }
}

TEST_F(ControlTest, HiddenParentsAndClippingDecideHits) {
    const Core::RefPtr<Control> form = AddForm(0, 0, 100, 100);
    const Core::RefPtr<Control> inside = AddChild(*form, 10, 10);
    const Core::RefPtr<Control> outside = AddChild(*form, 120, 10);
    const struct {
        int x;
        std::uint32_t clipMode;
        bool formVisible;
        const Control* hit;
    } cases[] = {{20, GUI::kClipToParentClient, true, inside.Get()},
                 {20, GUI::kClipToParentClient, false, nullptr},
                 {130, GUI::kClipToParentClient, true, nullptr},
                 {130, GUI::kClipToParent, true, nullptr},
                 {130, GUI::kClipNone, true, outside.Get()}};
    for (const auto& [x, clipMode, formVisible, hit] : cases) {
        outside->SetClipMode(clipMode);
        form->SetVisible(formVisible);
        m_hud.MoveMouse(x, 20);
        m_hud.Frame();
        EXPECT_EQ(m_hud.Hud().GetHoveredControl(), hit) << x << " " << clipMode << " " << formVisible;
    }
}

// The parent's offset counts once, however often the parent moves.
TEST_F(ControlTest, AChildFollowsItsParentsClientOrigin) {
    const Core::RefPtr<guitest::FramedControl> form = guitest::MakeFramed(100, 100, 100, 100);
    m_hud.Hud().AddForm(form.Get());
    const Core::RefPtr<Control> child = AddChild(*form, 10, 10);
    for (int move = 0; move < 3; ++move) {
        form->SetPosition({30.0f * move, 5.0f});
        child->UpdatePosition();
    }
    form->SetPosition({100, 100});
    EXPECT_EQ(child->GetAbsolutePosition(), Vector2D(118, 118));
    EXPECT_EQ(child->GetRectangle(), GUI::NRectangle(118, 118, 40, 40));
    EXPECT_EQ(child->GetPosition(), Vector2D(10, 10));
}

TEST_F(ControlTest, AHandlerIsAddedOnceAndTakenOutWithItsTarget) {
    struct Target {
        void OnClick(Control*) { ++clicks; }
        int clicks = 0;
    } target;
    using Handler = GUI::MemberFunction1Param<Target, Control*>;
    const Core::RefPtr<Control> control = MakeControl(0, 0, 10, 10);
    EXPECT_TRUE(control->AddEventHandler(ControlEvent::Click, std::make_shared<Handler>(&target, &Target::OnClick)));
    EXPECT_FALSE(control->AddEventHandler(ControlEvent::Click, std::make_shared<Handler>(&target, &Target::OnClick)));
    EXPECT_FALSE(control->AddEventHandler(static_cast<ControlEvent>(14), std::make_shared<Handler>(&target, &Target::OnClick)));
    control->FireClick();
    EXPECT_EQ(target.clicks, 1);
    control->RemoveEventHandlersFor(&target);
    control->FireClick();
    EXPECT_EQ(control->GetEventHandlerCount(ControlEvent::Click), 0u);
    EXPECT_EQ(target.clicks, 1);
}

// DestroyNow unregisters the subtree at once and the parent erases the
// control at its next update; no link names it afterwards.
TEST_F(ControlTest, DestroyNowUnregistersAtOnceAndTheParentErasesLater) {
    const Core::RefPtr<Control> form = AddForm();
    Control* child = AddChild(*form, 10, 10).Get();
    Control* grandchild = AddChild(*child, 0, 0, 10, 10).Get();
    m_hud.Click(40, 40);
    m_hud.Click(15, 15);
    ASSERT_EQ(form->GetSelectedChild(), child);
    ASSERT_EQ(m_hud.Hud().GetActiveControl(), grandchild);
    child->DestroyNow();
    EXPECT_FALSE(m_hud.Hud().IsRegistered(child) || m_hud.Hud().IsRegistered(grandchild));
    const auto& hud = m_hud.Hud();
    for (const Control* special : {hud.GetActiveControl(), hud.GetFocusedControl(), hud.GetHoveredControl()}) {
        EXPECT_TRUE(special != child && special != grandchild);
    }
    EXPECT_EQ(form->GetControlsCount(), 1u);
    m_hud.Frame();
    EXPECT_EQ(form->GetControlsCount(), 0u);
    EXPECT_EQ(form->GetLastAddedChild(), nullptr);
    EXPECT_EQ(form->GetSelectedChild(), nullptr);
    Core::MemoryFile file;
    file << form.Get();
    file.ResetObjectTables();
    Core::RefPtr<Control> loaded = file.ReadObjectAs<Control>(Core::File::Reference::Owning);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetLastAddedChild(), nullptr);
}

TEST_F(ControlTest, BadArgumentsChangeNothing) {
    const Core::RefPtr<Control> parent = MakeControl(0, 0, 10, 10);
    const Core::RefPtr<Control> child = MakeControl(0, 0, 5, 5);
    parent->AddControl(child.Get());
    for (Control* refused : {static_cast<Control*>(nullptr), parent.Get()}) {
        child->AddControl(refused);
    }
    const Core::RefPtr<Control> other = MakeControl(0, 0, 5, 5);
    other->AddControl(child.Get());
    EXPECT_TRUE(child->GetControlsCount() == 0 && other->GetControlsCount() == 0 && child->GetParent() == parent.Get());
    EXPECT_EQ(parent->GetControl(1u), nullptr);
    parent->SetSize({std::numeric_limits<float>::infinity(), 1});
    parent->SetWidth(-1);
    parent->SetClipMode(3);
    EXPECT_TRUE(parent->GetWidth() == 10 && parent->GetHeight() == 10 && parent->GetClipMode() == 2);
    EXPECT_FALSE(parent->SetFocusIndex(5));
}

// A control that counts its destructions.
struct CountedControl : Control {
    explicit CountedControl(int& destroyed) : Control({}, 10, 10), destroyed(destroyed) {}
    ~CountedControl() override { ++destroyed; }
    int& destroyed;
};

// The user data is held: dropped by everyone else it is still handed out
// alive, and it goes with the control, whichever way the control leaves,
// even when it is the control itself or its form.
TEST_F(ControlTest, UserDataLivesWithTheControlAndGoesWithIt) {
    int destroyed = 0;
    {
        const Core::RefPtr<Control> form = AddForm();
        Core::RefPtr<Control> data(TUN_NEW(CountedControl, destroyed));
        data->SetName("data");
        form->SetUserData(data.Get());
        data = nullptr;
        ASSERT_EQ(destroyed, 0);
        EXPECT_EQ(static_cast<Control*>(form->GetUserData())->GetName(), "data");
        m_hud.Hud().Clear();
        EXPECT_EQ(destroyed, 1);
    }
    // A form and its child, the child holding itself, its form or an object
    // of its own; the form holds itself but when it is simply let go.
    enum class Leave { DestroyNow, Clear, Released };
    enum class Holds { Itself, ItsForm, Other };
    const struct {
        Leave leave;
        Holds holds;
    } cases[] = {{Leave::DestroyNow, Holds::Itself}, {Leave::DestroyNow, Holds::ItsForm},
                 {Leave::Clear, Holds::Itself},      {Leave::Clear, Holds::ItsForm},
                 {Leave::Released, Holds::Other}};
    for (const auto& [leave, holds] : cases) {
        destroyed = 0;
        {
            Core::RefPtr<Control> form(TUN_NEW(CountedControl, destroyed));
            m_hud.Hud().AddForm(form.Get());
            Core::RefPtr<Control> child(TUN_NEW(CountedControl, destroyed));
            form->AddControl(child.Get());
            const Core::RefPtr<Control> other(TUN_NEW(CountedControl, destroyed));
            child->SetUserData(holds == Holds::Itself ? child.Get() : holds == Holds::ItsForm ? form.Get() : other.Get());
            form->SetUserData(leave == Leave::Released ? nullptr : form.Get());
            child = nullptr;
            if (leave == Leave::DestroyNow) {
                form->DestroyNow();
                m_hud.Frame();
            } else if (leave == Leave::Clear) {
                m_hud.Hud().Clear();
            } else {
                m_hud.Hud().RemoveForm(form.Get());
                m_hud.Frame();
            }
        }
        EXPECT_EQ(destroyed, 3) << static_cast<int>(leave) << " " << static_cast<int>(holds);
    }
}

// User data streams as an owned reference; naming the control itself (a
// cycle the stream could never free) is refused.
TEST_F(ControlTest, UserDataStreamsAndACycleIsRefused) {
    const Core::RefPtr<Control> form = MakeControl(0, 0, 100, 100);
    const Core::RefPtr<Control> data = MakeControl(0, 0, 5, 5);
    data->SetName("data");
    form->SetUserData(data.Get());
    Core::MemoryFile file;
    file << form.Get();
    file.ResetObjectTables();
    Core::RefPtr<Control> loaded = file.ReadObjectAs<Control>(Core::File::Reference::Owning);
    ASSERT_TRUE(loaded != nullptr && !file.HasFailed());
    file.ResetObjectTables();
    ASSERT_NE(loaded->GetUserData(), nullptr);
    EXPECT_EQ(static_cast<Control*>(loaded->GetUserData())->GetName(), "data");

    form->SetUserData(form.Get());
    Core::MemoryFile cyclic;
    cyclic << form.Get();
    cyclic.ResetObjectTables();
    EXPECT_EQ(cyclic.ReadObjectAs<Control>(Core::File::Reference::Owning), nullptr);
    EXPECT_TRUE(cyclic.HasFailed());
    form->SetUserData(nullptr);
}

}  // namespace
