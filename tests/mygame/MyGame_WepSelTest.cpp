#include "core/Core_MemoryFile.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_CursorSprite.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "mygame/MyGame_WepSelUI.h"
#include "mygame/MyGame_WidgetStreamChecks.h"
#include "support/DamagedBytes.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_WidgetFixture.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mygametest {
namespace {

using SM = WepSelUI;
const Vector2D kPanelAt{368.0f, 246.0f};
const Vector2D kRightIconAt{425.0f, 224.0f};
const Vector2D kLeftIconAt{311.0f, 224.0f};
// Weight is stat 3; weapon bit 8 is row 3.
constexpr std::size_t kWeightOfBit8 = 3 * 4 + 3;

// The title level's panel opened where the menus open it, its icons shown.
class WepSelTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        ASSERT_TRUE(EnterTitle());
        m_panel = Find<WepSelUI>("WepSelFrame");
        ASSERT_NE(m_panel, nullptr);
        ASSERT_NE(m_panel->GetLeftIcon(), nullptr);
        ASSERT_NE(m_panel->GetRightIcon(), nullptr);
        m_panel->Open(kPanelAt.x, kPanelAt.y);
        Step(2);
    }

    PlayerProfile& Profile() { return Game().GetProfile(); }

    void SetHands(std::uint16_t unlocked, std::uint32_t left, std::uint32_t right) {
        Profile().unlockedWeapons = unlocked;
        Profile().selectedWeapons = left << 16 | right;
    }

    // A click on the button, then the updates the panel takes to follow it;
    // the machine's state after each of the click's and those frames, each
    // change once.
    std::vector<std::int32_t> Click(const WepSelButton* button) {
        std::vector<std::int32_t> states{m_panel->GetMachine()->GetCurrent()};
        const Vector2D at = button->GetPosition();
        PointAt(at);
        for (int frame = 0; frame < 7; ++frame) {
            HoldLeftButton(frame == 1);
            Step();
            if (m_panel->GetMachine()->GetCurrent() != states.back()) {
                states.push_back(m_panel->GetMachine()->GetCurrent());
            }
        }
        return states;
    }

    std::vector<int> CandidateAnimations() const {
        std::vector<int> animations;
        for (const Core::RefPtr<WepSelButton>& candidate : m_panel->GetCandidates()) {
            animations.push_back(candidate->GetCurrentAnimationIndex());
        }
        return animations;
    }

    std::size_t ButtonsInHud() {
        std::vector<Tundra::GameObject*> found;
        Game().GetHudLayer()->GetGameObjectsByName("WepSelTemplate", found);
        return found.size();
    }

    static StreamBytes MachineBytes(const WepSelUI& panel) {
        Core::MemoryFile file;
        panel.GetMachine()->Save(file);
        return {file.GetData(), file.GetData() + file.GetSize()};
    }

    WepSelUI* m_panel = nullptr;
};

TEST_F(WepSelTest, TheIconsShowTheProfilesHandsBesideThePanelAndHitTestInsideTheirFrame) {
    EXPECT_EQ(m_panel->GetPosition(), kPanelAt);
    const WepSelButton* right = m_panel->GetRightIcon();
    const WepSelButton* left = m_panel->GetLeftIcon();
    EXPECT_TRUE(right->GetPosition() == kRightIconAt && left->GetPosition() == kLeftIconAt);
    // A new profile: weapon 1 in the left hand, 2 in the right.
    EXPECT_TRUE(left->GetCurrentAnimationIndex() == 0 && right->GetCurrentAnimationIndex() == 1);
    EXPECT_TRUE(left->GetVisible() && right->GetVisible());
    EXPECT_EQ(right->GetWidth(), static_cast<float>(right->GetFrameWidth(1) - WepSelButton::kInset));
    EXPECT_EQ(right->GetHeight(), static_cast<float>(right->GetFrameHeight(1) - WepSelButton::kInset));
}

// Which weapons a hand's column offers, and where: the unlocked ones
// neither hand holds, in bit order, stacked 68 + 3 apart below the icon.
TEST_F(WepSelTest, AColumnOffersTheUnlockedWeaponsNeitherHandHolds) {
    struct Case {
        std::uint16_t unlocked;
        std::uint32_t left, right;
        bool leftHand;
        std::vector<int> animations;
        std::vector<float> ys;
    };
    const Case cases[] = {
        {3, 1, 2, false, {}, {}},
        {3, 1, 2, true, {}, {}},
        {15, 1, 2, false, {2, 3}, {153.0f, 82.0f}},
        {15, 4, 1, true, {1, 3}, {153.0f, 82.0f}},
        // Held in the left hand without being unlocked: still not offered.
        {1, 2, 1, false, {}, {}},
        {1, 2, 1, true, {}, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << test.unlocked << " " << test.left << " " << test.right << " "
                                        << test.leftHand);
        SetHands(test.unlocked, test.left, test.right);
        WepSelButton* icon = test.leftHand ? m_panel->GetLeftIcon() : m_panel->GetRightIcon();
        testing::internal::CaptureStdout();
        Click(icon);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "GetUnlockWeapons: " + std::to_string(test.unlocked) + "\n");
        EXPECT_EQ(m_panel->GetMachine()->GetCurrent(), test.leftHand ? SM::kLeftSel : SM::kRightSel);
        EXPECT_EQ(m_panel->GetMode(), test.leftHand ? SM::kChooseLeft : SM::kChooseRight);
        EXPECT_EQ(CandidateAnimations(), test.animations);
        for (std::size_t i = 0; i < test.ys.size() && i < m_panel->GetCandidates().size(); ++i) {
            const WepSelButton& candidate = *m_panel->GetCandidates()[i];
            EXPECT_EQ(candidate.GetPosition(), Vector2D(icon->GetPositionX(), test.ys[i]));
            EXPECT_TRUE(candidate.GetVisible());
        }
        // The same icon again closes the column.
        const std::vector<Core::RefPtr<WepSelButton>> column = m_panel->GetCandidates();
        EXPECT_EQ(Click(icon), (std::vector<std::int32_t>{test.leftHand ? SM::kLeftSel : SM::kRightSel,
                                                           SM::kCleanup, SM::kIdleSel}));
        EXPECT_TRUE(m_panel->GetCandidates().empty());
        for (const Core::RefPtr<WepSelButton>& candidate : column) {
            EXPECT_TRUE(candidate->IsDestroyed() || candidate->IsDestroyRequested());
        }
        EXPECT_EQ(ButtonsInHud(), 3u);
    }
}

TEST_F(WepSelTest, APickBecomesTheHandsWeaponEverywhereAndTheOtherIconSwitchesHands) {
    SetHands(15, 1, 2);
    Profile().upgradeLevels[kWeightOfBit8] = 4;
    auto* bar = Find<WeaponBar>("RightWeaponBar");
    auto* weapon = Find<WeaponSprite>("RightWeapon");
    auto* cursor = Find<CursorClass>("MainCursor");
    ASSERT_TRUE(bar != nullptr && weapon != nullptr && cursor != nullptr);
    ASSERT_NE(cursor->GetRightGaugeSprite(), nullptr);
    Click(m_panel->GetRightIcon());
    ASSERT_EQ(CandidateAnimations(), (std::vector<int>{2, 3}));
    const Core::RefPtr<WepSelButton> bit8 = m_panel->GetCandidates()[1];

    testing::internal::CaptureStdout();
    EXPECT_EQ(Click(bit8.Get()), (std::vector<std::int32_t>{SM::kRightSel, SM::kCleanup, SM::kIdleSel}));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    // Only the right hand's half changed.
    EXPECT_EQ(Profile().selectedWeapons, 65544u);
    EXPECT_EQ(m_panel->GetRightIcon()->GetCurrentAnimationIndex(), 3);
    EXPECT_EQ(m_panel->GetLeftIcon()->GetCurrentAnimationIndex(), 0);
    EXPECT_EQ(bar->GetCurrentAnimationIndex(), 3);
    EXPECT_EQ(weapon->GetWeapon(), 8u);
    const Color& gauge = cursor->GetRightGaugeSprite()->GetModulationColor();
    EXPECT_EQ((std::vector<float>{gauge.r, gauge.g, gauge.b, gauge.a}),
              (std::vector<float>{0.99607843f, 0.9882353f, 0.0f, 1.0f}));
    EXPECT_FLOAT_EQ(Game().GetMoveSpeedFactor(), 1.2f);
    EXPECT_TRUE(bit8->IsDestroyed() || bit8->IsDestroyRequested());
    EXPECT_TRUE(m_panel->GetCandidates().empty());
    EXPECT_EQ(m_panel->GetMode(), SM::kIdle);

    // The other icon while a column is open turns the column to its hand,
    // which is offered what neither hand holds now.
    Click(m_panel->GetRightIcon());
    const Core::RefPtr<WepSelButton> rightColumn = m_panel->GetCandidates()[0];
    EXPECT_EQ(Click(m_panel->GetLeftIcon()), (std::vector<std::int32_t>{SM::kRightSel, SM::kCleanup, SM::kLeftSel}));
    EXPECT_TRUE(rightColumn->IsDestroyed() || rightColumn->IsDestroyRequested());
    EXPECT_EQ(CandidateAnimations(), (std::vector<int>{1, 2}));
    EXPECT_EQ(m_panel->GetCandidates()[0]->GetPosition(), Vector2D(kLeftIconAt.x, 153.0f));
}

TEST_F(WepSelTest, CloseHidesEverythingAndTheNextShownUpdateStartsIdle) {
    SetHands(15, 1, 2);
    Click(m_panel->GetRightIcon());
    const Core::RefPtr<WepSelButton> candidate = m_panel->GetCandidates()[0];
    m_panel->Close();
    EXPECT_FALSE(m_panel->GetVisible());
    for (const WepSelButton* icon : {m_panel->GetLeftIcon(), m_panel->GetRightIcon()}) {
        EXPECT_FALSE(icon->GetVisible());
        EXPECT_EQ(icon->GetOpacity(), -3.0f);
    }
    EXPECT_TRUE(candidate->IsDestroyed() || candidate->IsDestroyRequested());
    EXPECT_EQ(m_panel->GetMode(), SM::kIdle);
    // Hidden, the machine waits with the switch.
    Step(3);
    EXPECT_EQ(m_panel->GetMachine()->GetCurrent(), SM::kRightSel);
    EXPECT_EQ(m_panel->GetMachine()->GetPending(), SM::kIdleSel);
    m_panel->Open(kPanelAt.x, kPanelAt.y);
    Step();
    EXPECT_EQ(m_panel->GetMachine()->GetCurrent(), SM::kIdleSel);
    EXPECT_TRUE(m_panel->GetRightIcon()->GetVisible());

    // Opened and closed before the icons' update: they stay hidden.
    m_panel->Close();
    m_panel->Open(kPanelAt.x, kPanelAt.y);
    m_panel->Close();
    Step(2);
    EXPECT_FALSE(m_panel->GetLeftIcon()->GetVisible() || m_panel->GetRightIcon()->GetVisible());
}

// A level saved with a column open comes back with the panel idle and, at
// its next update, without the column; one saved idle keeps its machine.
TEST_F(WepSelTest, ALoadBringsAnOpenColumnBackClosedAndKeepsAnIdleMachine) {
    SetHands(15, 1, 2);
    Game().RequestSave("idle");
    Step();
    Click(m_panel->GetRightIcon());
    ASSERT_EQ(m_panel->GetCandidates().size(), 2u);
    Game().RequestSave("open");
    Step();

    Game().RequestLoad("open");
    Step();
    auto* panel = Find<WepSelUI>("WepSelFrame");
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel, m_panel);
    EXPECT_EQ(panel->GetMachine()->GetCurrent(), SM::kIdleSel);
    EXPECT_EQ(panel->GetMode(), SM::kIdle);
    EXPECT_EQ(panel->GetMachine()->GetOwner(), panel);
    Step(2);
    EXPECT_TRUE(panel->GetCandidates().empty());
    EXPECT_EQ(ButtonsInHud(), 3u);
    // Still usable: the right icon opens its column again.
    m_panel = panel;
    Click(panel->GetRightIcon());
    EXPECT_EQ(CandidateAnimations(), (std::vector<int>{2, 3}));

    Game().RequestLoad("idle");
    Step();
    panel = Find<WepSelUI>("WepSelFrame");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetMachine()->GetCurrent(), SM::kIdleSel);
    EXPECT_FALSE(panel->GetMachine()->IsFirstUpdate());
    EXPECT_EQ(panel->GetMachine()->GetPending(), SM::StateMachine::kNone);
    EXPECT_EQ(panel->GetTemplate(), Find<WepSelButton>("WepSelTemplate"));
    ASSERT_NE(panel->GetLeftIcon(), nullptr);
    EXPECT_EQ(panel->GetLeftIcon()->GetLayer(), Game().GetHudLayer());
    EXPECT_EQ(ButtonsInHud(), 3u);
}

TEST_F(WepSelTest, ACloneKeepsTheMachinesStateAndItsMachineDrivesTheClone) {
    SetHands(15, 1, 2);
    const Core::RefPtr<WepSelUI> clone(static_cast<WepSelUI*>(m_panel->Clone()));
    EXPECT_EQ(MachineBytes(*clone), MachineBytes(*m_panel));
    EXPECT_EQ(clone->GetMachine()->GetOwner(), clone.Get());
    Game().GetHudLayer()->AddGameObject(clone.Get());
    Step();
    ASSERT_NE(clone->GetRightIcon(), nullptr);
    clone->Open(0.0f, 0.0f);
    Step(2);
    Click(clone->GetRightIcon());
    EXPECT_EQ(clone->GetMachine()->GetCurrent(), SM::kRightSel);
    EXPECT_EQ(clone->GetCandidates().size(), 2u);
    EXPECT_EQ(m_panel->GetMachine()->GetCurrent(), SM::kIdleSel);
    EXPECT_TRUE(m_panel->GetCandidates().empty());
}

// The panel's stream: intact it reads back alike; cut or holding what the
// panel could not hold it is refused and the panel keeps what it had.
TEST_F(WepSelTest, ThePanelsStreamReadsBackOrIsRefused) {
    ExpectStreamRoundTrip(*m_panel);

    // Read back open, the panel is idle.
    SetHands(15, 1, 2);
    Click(m_panel->GetRightIcon());
    const Core::RefPtr<WepSelUI> open = ReadBack<WepSelUI>(SavedBytes(*m_panel));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->GetMachine()->GetCurrent(), SM::kIdleSel);
    EXPECT_EQ(open->GetMode(), SM::kIdle);

    // A panel never started: machine, mode, three null links, no column.
    const Core::RefPtr<WepSelUI> bare(TUN_NEW(WepSelUI));
    Core::MemoryFile file;
    bare->Save(file);
    const StreamBytes bytes(file.GetData(), file.GetData() + file.GetSize());
    // From the end: the column's count, the links, the mode, then the
    // machine's first-update flag, initial, pending and current state.
    const std::size_t mode = 4 + 3 + 4;
    const std::size_t pending = mode + 1 + 4 + 4;
    const std::size_t current = pending + 4;
    std::vector<StreamBytes> refused{
        WithFieldFromEnd(bytes, mode, std::int32_t{3}),    WithFieldFromEnd(bytes, mode, std::int32_t{-1}),
        WithFieldFromEnd(bytes, current, std::int32_t{4}), WithFieldFromEnd(bytes, pending, std::int32_t{9}),
        WithFieldFromEnd(bytes, 4, std::uint32_t{1}),
    };
    refused.push_back(refused.back());
    refused.back().push_back(0);  // a null candidate
    for (const StreamBytes& damaged : refused) {
        SCOPED_TRACE(damaged.size());
        const Core::RefPtr<WepSelUI> read(TUN_NEW(WepSelUI));
        Core::MemoryFile reader(damaged.data(), static_cast<std::uint32_t>(damaged.size()));
        read->Load(reader);
        EXPECT_TRUE(reader.HasFailed());
        EXPECT_EQ(MachineBytes(*read), MachineBytes(*bare));
        EXPECT_EQ(read->GetMode(), SM::kIdle);
    }

    // Damaged copies of a panel with its column open read or fail; what
    // reads can be updated and closed.
    testsupport::ForEachDamaged(SavedBytes(*m_panel), 150, 4, kSeed, [](const StreamBytes& damaged, const char* what,
                                                                        std::size_t) {
        // Cuts are refused above.
        const Core::RefPtr<WepSelUI> read = std::string(what) == "mutated" ? ReadBack<WepSelUI>(damaged) : nullptr;
        if (read != nullptr) {
            read->Update(kDt);
            read->Close();
            read->Update(kDt);
        }
    });
}

}  // namespace
}  // namespace mygametest
