#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_Globals.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_TestContent.h"
#include "support/MyGame_WidgetFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace mygametest {
namespace {


// The strip of a running stage, driven update by update without the rest
// of the frame: the stage's own progress calls never interfere.
class DistanceUITest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        ASSERT_TRUE(EnterStage(0));
        m_ui = Find<DistanceUI>("DistanceUI");
        ASSERT_NE(m_ui, nullptr);
        for (const char* name : {"DistBar", "DistBG", "WarningText", "WarningBoss"}) {
            ASSERT_NE(Find<Tundra::Sprite>(name), nullptr) << name;
        }
    }

    static Tundra::Sprite& Bar() { return *Find<Tundra::Sprite>("DistBar"); }
    static Tundra::Sprite& Background() { return *Find<Tundra::Sprite>("DistBG"); }
    static Vector2D WarningAt(const char* name) { return Find<Tundra::Sprite>(name)->GetPosition(); }

    static std::string StateOf(const DistanceUI& ui) {
        const DistanceUI::StateMachine& machine = *ui.GetMachine();
        return std::string(machine.GetStates()[static_cast<std::size_t>(machine.GetCurrent())]->GetName());
    }

    // Switched on with the marker at the stage's end.
    void Activate() {
        m_ui->SetProgress(1.0f);
        m_ui->SetActive(true);
    }

    // Updates until the state is entered; the updates taken.
    int RunInto(DistanceUI& ui, const char* state) {
        for (int n = 1; n <= 1000; ++n) {
            ui.Update(kDt);
            if (StateOf(ui) == state) {
                return n;
            }
        }
        ADD_FAILURE() << "never entered " << state;
        return 0;
    }

    // The updates a two-second hold takes at kDt, summed as the machine does.
    static int HoldUpdates() {
        float timer = 0.0f;
        int updates = 0;
        while (!(2.0f <= timer)) {
            timer += kDt;
            ++updates;
        }
        return updates;
    }

    DistanceUI* m_ui = nullptr;
};

TEST_F(DistanceUITest, ProgressPlacesTheMarkerAndGrowsTheBarFromItsLeftEnd) {
    struct Row {
        float progress;
        float markerX;
    };
    for (const Row row : {Row{0.0f, -124.0f}, Row{0.3f, -49.0f}, Row{1.0f, 124.0f}}) {
        m_ui->SetProgress(row.progress);
        EXPECT_EQ(m_ui->GetPositionX(), row.markerX) << row.progress;
        EXPECT_EQ(Bar().GetScaleX(), row.progress);
        EXPECT_EQ(Bar().GetPositionX(), (row.progress - 1.0f) * 112.0f);
    }
    m_ui->SetProgress(NAN);
    EXPECT_EQ(m_ui->GetPositionX(), 124.0f);
    // Before its start has found the bar a strip ignores progress.
    DistanceUI unstarted(TestAnimations(1));
    unstarted.SetProgress(1.0f);
    EXPECT_EQ(unstarted.GetPositionX(), 0.0f);
    EXPECT_EQ(Bar().GetScaleX(), 1.0f);
    // A marker already left of the middle rises without sliding.
    m_ui->SetProgress(0.2f);
    m_ui->SetActive(true);
    EXPECT_EQ(RunInto(*m_ui, "ALL_TO_CENTRE"), 2);
    EXPECT_EQ(m_ui->GetPositionX(), 0.0f);
}

// The whole warning, update by update: the order of play, where each
// sprite is meanwhile, when the warning counts as shown, and the rest at
// the end.
TEST_F(DistanceUITest, TheWarningPlaysOnceInOrderAndComesToRestAtTheBottom) {
    Activate();
    std::vector<std::string> order;
    int warningUpdates = 0;
    for (int n = 0; n < 1000 && m_ui->IsActive(); ++n) {
        m_ui->Update(kDt);
        const std::string state = StateOf(*m_ui);
        if (order.empty() || order.back() != state) {
            order.push_back(state);
            // Shown on the update that leaves the warning, not before.
            EXPECT_EQ(m_ui->IsWarningShown(), order.size() >= 5) << state;
        }
        if (state == "DISPLAY_WARNING") {
            ++warningUpdates;
            EXPECT_FALSE(m_ui->IsWarningShown());
            EXPECT_EQ(WarningAt("WarningText"), (Vector2D{0.0f, 108.0f}));
        }
        if (state == "DISPLAY_TEXT") {
            EXPECT_EQ(WarningAt("WarningBoss"), (Vector2D{0.0f, -62.0f}));
        }
        if (state == "RESET_BAR") {
            EXPECT_EQ(WarningAt("WarningText"), (Vector2D{0.0f, -700.0f}));
            EXPECT_EQ(WarningAt("WarningBoss"), (Vector2D{0.0f, -700.0f}));
        }
        const bool swollen = state == "SCALE_BAR" || state == "DISPLAY_WARNING" || state == "DISPLAY_TEXT" ||
                             state == "RESET_BAR";
        EXPECT_EQ(Bar().GetZOrder(), swollen ? 0.11f : -0.1f) << state;
    }
    EXPECT_EQ(order, (std::vector<std::string>{"UI_TO_POS", "ALL_TO_CENTRE", "SCALE_BAR", "DISPLAY_WARNING",
                                               "DISPLAY_TEXT", "RESET_BAR", "ALL_BACK", "UI_TO_POS"}));
    EXPECT_EQ(warningUpdates, HoldUpdates());
    EXPECT_FALSE(m_ui->IsActive());
    EXPECT_TRUE(m_ui->IsWarningShown());
    m_ui->Update(kDt);
    EXPECT_EQ(m_ui->GetPosition(), (Vector2D{109.0f, -358.0f}));
    EXPECT_EQ(Bar().GetPositionY(), -358.0f);
    EXPECT_EQ(Background().GetPositionY(), -358.0f);
    EXPECT_TRUE(Bar().GetScaleX() == 1.0f && Bar().GetScaleY() == 1.0f && Bar().GetOpacity() == 1.0f);
}

// Paused, the strip stands still, and the warning's hold with it.
TEST_F(DistanceUITest, PausingInsideTheWarningDelaysItByThePausedUpdates) {
    Activate();
    RunInto(*m_ui, "DISPLAY_WARNING");
    for (int n = 0; n < 10; ++n) {
        m_ui->Update(kDt);
    }
    Globals().paused = 1;
    for (int n = 0; n < 30; ++n) {
        m_ui->Update(kDt);
    }
    Globals().paused = 0;
    EXPECT_FALSE(m_ui->IsWarningShown());
    EXPECT_EQ(10 + 30 + RunInto(*m_ui, "DISPLAY_TEXT"), HoldUpdates() + 30);
    EXPECT_TRUE(m_ui->IsWarningShown());
}

// A copy taken mid-rise drives itself with a machine of its own: neither
// the source nor the strip's sprites move (it has found none, and skips
// their steps).
TEST_F(DistanceUITest, ACloneTakenMidSequenceRunsItsOwnMachineOnItselfOnly) {
    Activate();
    RunInto(*m_ui, "ALL_TO_CENTRE");
    m_ui->Update(kDt);
    const Core::RefPtr<DistanceUI> clone(static_cast<DistanceUI*>(m_ui->Clone()));
    ASSERT_EQ(clone->GetMachine()->GetOwner(), clone.Get());
    const Vector2D source = m_ui->GetPosition();
    for (int n = 0; n < 10; ++n) {
        clone->Update(kDt);
    }
    EXPECT_EQ(clone->GetPositionY(), source.y + 55.0f);
    EXPECT_EQ(m_ui->GetPosition(), source);
    EXPECT_EQ(Bar().GetPositionY(), source.y);
    EXPECT_EQ(Background().GetPositionY(), source.y);
    EXPECT_EQ(StateOf(*m_ui), "ALL_TO_CENTRE");
    // Without the named sprites the warning still plays to its end.
    for (int n = 0; n < 1000 && clone->IsActive(); ++n) {
        clone->Update(kDt);
    }
    EXPECT_TRUE(clone->IsWarningShown() && !clone->IsActive());
    EXPECT_EQ(clone->GetPosition(), (Vector2D{109.0f, -358.0f}));
}

// Read back mid-swell, the strip finds its sprites again and finishes the
// warning from where it was.
TEST_F(DistanceUITest, SavedMidSequenceItLoadsAndContinues) {
    Activate();
    RunInto(*m_ui, "SCALE_BAR");
    m_ui->Update(kDt);
    Core::MemoryFile saved;
    saved.WriteObject(m_ui);
    Core::MemoryFile reader(saved.GetData(), saved.GetSize());
    const Core::RefPtr<DistanceUI> read(reader.ReadObjectAs<DistanceUI>());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(StateOf(*read), "SCALE_BAR");
    EXPECT_EQ(read->GetMachine()->GetTimeInState(), m_ui->GetMachine()->GetTimeInState());
    const float scaleY = Bar().GetScaleY();
    read->Update(kDt);
    EXPECT_EQ(Bar().GetScaleY(), scaleY + 1.5f);
    EXPECT_GT(RunInto(*read, "UI_TO_POS"), HoldUpdates() * 2);
    EXPECT_EQ(read->GetPosition(), (Vector2D{109.0f, -358.0f}));
    EXPECT_TRUE(read->IsWarningShown() && !read->IsActive());

    // An active flag out of range refuses the read.
    std::vector<std::uint8_t> bad(saved.GetData(), saved.GetData() + saved.GetSize());
    bad[bad.size() - 7] = 2;
    Core::MemoryFile badReader(bad.data(), static_cast<std::uint32_t>(bad.size()));
    EXPECT_EQ(badReader.ReadObjectAs<DistanceUI>(), nullptr);
}

}  // namespace
}  // namespace mygametest
