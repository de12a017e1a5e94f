#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_UiFrame.h"
#include "mygame/MyGame_VendingMachine.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_StageFixture.h"
#include "support/MyGame_TestGame.h"
#include "support/MyGame_WidgetFixture.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Level.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace mygametest {
namespace {

const Vector2D kMachineAt{527.0f, 166.0f};
constexpr os::VirtualKey kMachineOpenKey = 'X';

// The title level with the frame templates in its HUD layer and, in its
// world layer, "PushX", "Player" and a machine of one 116 x 154 frame.
class MenuMachineTest : public MyGameTest {
protected:
    void SetUp() override {
        MyGameTest::SetUp();
        m_textures->SetSize("test/machine.png", 116, 154);
        Content().OnBuild(1, 0, [](const LayerBuild& build) { PlaceTemplates(build); });
        Content().OnBuild(1, 1, [this](const LayerBuild& build) {
            PlaceSprite<Tundra::Sprite>(build, "PushX");
            m_player = &PlaceSprite<MenuPlayer>(build, "Player", {kMachineAt.x, kMachineAt.y});
            m_machine = TUN_NEW(VendingMachine, MachineAnimation());
            m_machine->SetName("Machine");
            m_machine->SetOldPosition(kMachineAt);
            build.layer.AddGameObject(m_machine);
        });
    }

    static std::vector<Core::RefPtr<Tundra::SpriteAnimation>> MachineAnimation() {
        return {TUN_NEW(Tundra::SpriteAnimation, "test/machine.png", 1, 1, std::vector<float>{1.0f})};
    }

    // The title level after its first update.
    void StartMenu() {
        StartGame();
        Step(2);
        ASSERT_TRUE(GoToLevel(1));
        Step();
    }

    // The title's drop moves the player down each update: it is put back
    // where the test wants it before every frame.
    void StepAt(float playerX, bool xHeld = false) {
        m_player->SetPositionXY(playerX, kMachineAt.y);
        HoldKey(kMachineOpenKey, xHeld);
        Step();
        HoldKey(kMachineOpenKey, false);
    }

    static std::array<Tundra::Sprite*, 9> Pieces(const UiFrame& frame) {
        return {frame.GetCentre(),        frame.GetPipes()[0].Get(),   frame.GetPipes()[1].Get(),
                frame.GetPipes()[2].Get(), frame.GetPipes()[3].Get(),   frame.GetCorners()[0].Get(),
                frame.GetCorners()[1].Get(), frame.GetCorners()[2].Get(), frame.GetCorners()[3].Get()};
    }

    MenuPlayer* m_player = nullptr;
    VendingMachine* m_machine = nullptr;
};

TEST_F(MenuMachineTest, ThePromptShowsStrictlyInsideTheRangeAndXOpensAndClosesTheMenu) {
    StartMenu();
    Tundra::Sprite* prompt = m_machine->GetPrompt();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->GetLayer(), Game().GetWorldLayer());
    EXPECT_EQ(prompt->GetPosition(), Vector2D(527.0f, 266.0f));
    m_player->SetControlsOn(true);

    // On the edge: out of range, and X does nothing.
    StepAt(585.0f, true);
    EXPECT_FALSE(prompt->GetVisible());
    EXPECT_FALSE(m_machine->IsOpen());
    EXPECT_TRUE(m_player->GetControlsOn());

    StepAt(584.0f);
    EXPECT_TRUE(prompt->GetVisible());
    EXPECT_FALSE(m_machine->IsOpen());

    StepAt(584.0f, true);
    EXPECT_TRUE(m_machine->IsOpen());
    EXPECT_FALSE(m_player->GetControlsOn());
    // Held, X triggers once.
    StepAt(584.0f);
    StepAt(584.0f, true);
    EXPECT_FALSE(m_machine->IsOpen());
    EXPECT_TRUE(m_player->GetControlsOn());

    // With the controls off a closed machine stays closed.
    m_player->SetControlsOn(false);
    StepAt(584.0f);
    StepAt(584.0f, true);
    EXPECT_FALSE(m_machine->IsOpen());
    EXPECT_FALSE(m_player->GetControlsOn());
}

TEST_F(MenuMachineTest, LeavingRangeClosesWithoutTouchingThePlayer) {
    StartMenu();
    m_player->SetControlsOn(true);
    StepAt(500.0f, true);
    ASSERT_TRUE(m_machine->IsOpen());
    StepAt(400.0f);
    EXPECT_FALSE(m_machine->IsOpen());
    EXPECT_FALSE(m_machine->GetPrompt()->GetVisible());
    EXPECT_FALSE(m_player->GetControlsOn());
}

// A menu's close button and X in the same frame, in either order, leave
// the player frozen exactly while the menu is open.
TEST_F(MenuMachineTest, XAndACloseInOneFrameNeverLeaveThePlayersFlagInverted) {
    StartMenu();
    m_player->SetControlsOn(true);
    StepAt(500.0f, true);
    ASSERT_TRUE(m_machine->IsOpen());
    StepAt(500.0f);

    // X first (it closes), then the button.
    StepAt(500.0f, true);
    m_machine->CloseMenu();
    EXPECT_FALSE(m_machine->IsOpen());
    EXPECT_TRUE(m_player->GetControlsOn());

    // The button first, then X (which opens again).
    StepAt(500.0f);
    StepAt(500.0f, true);
    ASSERT_TRUE(m_machine->IsOpen());
    StepAt(500.0f);
    m_machine->CloseMenu();
    StepAt(500.0f, true);
    EXPECT_TRUE(m_machine->IsOpen());
    EXPECT_FALSE(m_player->GetControlsOn());
}

TEST_F(MenuMachineTest, TheFrameLaysItsNinePiecesOnTheRectangle) {
    StartMenu();
    UiFrame frame(-100.0f, 50.0f, 100.0f, -50.0f, 1.0f);
    const std::array<Tundra::Sprite*, 9> pieces = Pieces(frame);
    struct Expected {
        Vector2D position;
        float angle;
        float scaleX;
    };
    const std::array<Expected, 9> expected{{{{0, 0}, 0, 200},
                                            {{-100, 0}, 90, 64},
                                            {{0, 50}, 0, 164},
                                            {{100, 0}, 90, 64},
                                            {{0, -50}, 0, 164},
                                            {{-92, -42}, 90, 1},
                                            {{-92, 42}, 0, 1},
                                            {{92, 42}, 270, 1},
                                            {{92, -42}, 180, 1}}};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(pieces[i], nullptr);
        EXPECT_EQ(pieces[i]->GetLayer(), Game().GetHudLayer());
        EXPECT_EQ(pieces[i]->GetPosition(), expected[i].position);
        EXPECT_EQ(pieces[i]->GetRotationAngle(), expected[i].angle);
        EXPECT_EQ(pieces[i]->GetScaleX(), expected[i].scaleX);
        EXPECT_EQ(pieces[i]->GetOpacity(), 1.0f);
    }
    EXPECT_EQ(frame.GetCentre()->GetScaleY(), 100.0f);
    EXPECT_EQ(frame.GetPipes()[0]->GetScaleY(), 1.0f);
    EXPECT_TRUE(frame.IsSettled());

    frame.Destroy();
    for (const Tundra::Sprite* piece : pieces) {
        EXPECT_TRUE(piece->IsDestroyRequested() || piece->IsDestroyed());
    }
}

// The steps the frame takes, by the same formula: how many updates until
// the summed distance falls below 0.001.
int UpdatesToSettle(float dt, const UiFrameRect& target) {
    std::array<float, 5> value{};
    const std::array<float, 5> goal{target.left, target.top, target.right, target.bottom, target.alpha};
    const float k = 8.0f * dt;
    for (int update = 1; update < 10000; ++update) {
        float distance = 0.0f;
        for (std::size_t i = 0; i < value.size(); ++i) {
            value[i] = value[i] + (goal[i] - value[i]) * k;
            distance += std::fabs(goal[i] - value[i]);
        }
        if (distance < 0.001f) {
            return update;
        }
    }
    return -1;
}

TEST_F(MenuMachineTest, TheFrameGlidesToItsTargetAndLandsOnIt) {
    StartMenu();
    const UiFrameRect target{-100.0f, 50.0f, 100.0f, -50.0f, 1.0f};
    struct Case {
        float dt;
        int updates;
        float firstRight;
    };
    // From 0.125 s on (8 dt at 1 or more) a step lands at once rather than
    // overshoot.
    for (const Case& test : {Case{kDt, 89, 100.0f * 8.0f * kDt}, Case{0.2f, 1, 100.0f},
                             Case{0.3f, 1, 100.0f}, Case{1000.0f, 1, 100.0f}}) {
        SCOPED_TRACE(test.dt);
        UiFrame frame(0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        EXPECT_EQ(frame.GetCentre()->GetOpacity(), 0.0f);
        frame.SetTargetRect(target.left, target.top, target.right, target.bottom, target.alpha);
        EXPECT_FALSE(frame.IsSettled());
        frame.Animate(test.dt);
        EXPECT_EQ(frame.GetCurrent().right, test.firstRight);
        int updates = 1;
        while (!frame.IsSettled() && updates < 10000) {
            frame.Animate(test.dt);
            ++updates;
        }
        EXPECT_EQ(updates, test.updates);
        EXPECT_EQ(frame.GetCurrent(), target);
        EXPECT_EQ(frame.GetCentre()->GetPosition(), Vector2D(0.0f, 0.0f));
        EXPECT_EQ(frame.GetCorners()[2]->GetPosition(), Vector2D(92.0f, 42.0f));
        frame.Destroy();
    }
    EXPECT_EQ(UpdatesToSettle(kDt, target), 89);

    // A settled frame stays where it is.
    UiFrame settled(1.0f, 2.0f, 3.0f, 4.0f, 0.5f);
    settled.Animate(kDt);
    EXPECT_EQ(settled.GetCurrent(), (UiFrameRect{1.0f, 2.0f, 3.0f, 4.0f, 0.5f}));
    settled.Destroy();
}

TEST_F(MenuMachineTest, WithoutTemplatesOrLevelTheFrameStillAnimates) {
    StartGame();
    Step();
    UiFrame frame(0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(frame.GetCentre(), nullptr);
    frame.SetTargetRect(1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    frame.Animate(1.0f);
    EXPECT_TRUE(frame.IsSettled());
    frame.Destroy();
}

TEST_F(MenuMachineTest, TheMachineEndsItsPromptAndFrameOnceAndACloneHasNone) {
    StartMenu();
    const Core::RefPtr<Tundra::Sprite> prompt(m_machine->GetPrompt());
    ASSERT_NE(prompt, nullptr);
    UiFrame* frame = m_machine->GetFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetCurrent(), UiFrameRect{});
    Tundra::Sprite* centre = frame->GetCentre();
    ASSERT_NE(centre, nullptr);
    EXPECT_EQ(centre->GetLayer(), Game().GetHudLayer());
    m_machine->OnEnd();
    EXPECT_EQ(m_machine->GetFrame(), nullptr);
    EXPECT_TRUE(centre->IsDestroyRequested() || centre->IsDestroyed());
    EXPECT_EQ(m_machine->GetPrompt(), nullptr);
    EXPECT_TRUE(prompt->IsDestroyRequested() || prompt->IsDestroyed());
    m_machine->OnEnd();

    const Core::RefPtr<VendingMachine> clone = static_cast<VendingMachine*>(m_machine->Clone());
    EXPECT_TRUE(clone->GetFrame() == nullptr && clone->GetPrompt() == nullptr && clone->GetPlayer() == nullptr);
    EXPECT_FALSE(clone->IsOpen());
    clone->OnEnd();
    clone->Update(kDt);
}

TEST_F(MenuMachineTest, AMachineSavedOpenLoadsClosedWithThePlayerFree) {
    StartMenu();
    m_player->SetControlsOn(true);
    StepAt(500.0f, true);
    m_machine->GetFrame()->SetTargetRect(-200.0f, 100.0f, 200.0f, -100.0f, 1.0f);
    StepAt(500.0f);
    const UiFrameRect current = m_machine->GetFrame()->GetCurrent();
    const std::size_t hudObjects = Game().GetHudLayer()->GetGameObjectsCount();
    Game().RequestSave("machine");
    Step();
    const Tundra::Level* before = Game().GetCurrentLevel();
    Game().RequestLoad("machine");
    Step();
    ASSERT_NE(Game().GetCurrentLevel(), before);

    auto* machine = Tundra::FindObject<VendingMachine>("Machine");
    ASSERT_NE(machine, nullptr);
    EXPECT_FALSE(machine->IsOpen());
    ASSERT_NE(machine->GetPlayer(), nullptr);
    EXPECT_EQ(machine->GetPlayer(), Tundra::FindObject<MenuPlayer>("Player"));
    EXPECT_EQ(machine->GetPrompt()->GetLayer(), Game().GetWorldLayer());
    EXPECT_TRUE(machine->GetPrompt()->GetVisible());
    // The frame goes on with its own pieces, none made anew.
    UiFrame* frame = machine->GetFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetTarget(), (UiFrameRect{-200.0f, 100.0f, 200.0f, -100.0f, 1.0f}));
    EXPECT_NE(frame->GetCurrent(), current);
    EXPECT_FALSE(frame->IsSettled());
    for (const Tundra::Sprite* piece : Pieces(*frame)) {
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(piece->GetLayer(), Game().GetHudLayer());
    }
    EXPECT_EQ(Game().GetHudLayer()->GetGameObjectsCount(), hudObjects);
    // Its first update frees the player (the frame after a load runs
    // nothing); X then opens it again.
    Step();
    EXPECT_TRUE(machine->GetPlayer()->GetControlsOn());
    EXPECT_FALSE(machine->IsOpen());
    machine->GetPlayer()->SetPositionXY(500.0f, kMachineAt.y);
    HoldKey(kMachineOpenKey, true);
    Step();
    EXPECT_TRUE(machine->IsOpen());
    EXPECT_FALSE(machine->GetPlayer()->GetControlsOn());
}

// A machine's own fields that it could not hold are refused, and it keeps
// what it had.
TEST_F(MenuMachineTest, AStreamTheMachineCannotHoldIsRefused) {
    StartGame();
    Step();
    const Core::RefPtr<VendingMachine> machine = TUN_NEW(VendingMachine, MachineAnimation());
    Core::MemoryFile file;
    machine->Save(file);
    const std::vector<std::uint8_t> bytes(file.GetData(), file.GetData() + file.GetSize());
    // The tail: open, half width, half height, prompt, player, frame flag.
    const std::size_t tail = bytes.size() - 12;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float negative = -1.0f;
    struct Mutation {
        std::size_t at;
        std::vector<std::uint8_t> value;
    };
    std::vector<Mutation> mutations{{tail, {2}}, {tail + 11, {2}}, {tail + 9, {2}}};
    for (const float bad : {nan, negative}) {
        std::vector<std::uint8_t> raw(4);
        std::memcpy(raw.data(), &bad, 4);
        mutations.push_back({tail + 1, raw});
        mutations.push_back({tail + 5, raw});
    }
    for (const Mutation& mutation : mutations) {
        SCOPED_TRACE(mutation.at);
        std::vector<std::uint8_t> damaged = bytes;
        std::copy(mutation.value.begin(), mutation.value.end(), damaged.begin() + static_cast<std::ptrdiff_t>(mutation.at));
        const Core::RefPtr<VendingMachine> read = TUN_NEW(VendingMachine, MachineAnimation());
        Core::MemoryFile reader(damaged.data(), static_cast<std::uint32_t>(damaged.size()));
        read->Load(reader);
        EXPECT_TRUE(reader.HasFailed());
        EXPECT_FALSE(read->IsOpen());
        EXPECT_EQ(read->GetHalfWidth(), 0.0f);
    }
    for (std::size_t size = tail; size < bytes.size(); ++size) {
        const Core::RefPtr<VendingMachine> read = TUN_NEW(VendingMachine, MachineAnimation());
        Core::MemoryFile reader(bytes.data(), static_cast<std::uint32_t>(size));
        read->Load(reader);
        EXPECT_TRUE(reader.HasFailed()) << size;
    }
}

using StagePanelTest = StageFixture;

// The stage's panel reads back with the pieces its HUD layer was read with:
// none made anew, none left behind unanimated.
TEST_F(StagePanelTest, AStageSavedWithItsPanelOpenGoesOnWithThatPanelsPieces) {
    ASSERT_TRUE(EnterStage(0));
    Step(10);
    Tap(os::VK_ESCAPE);
    Step(5);
    const auto centres = [this] {
        std::vector<Tundra::GameObject*> found;
        Game().GetHudLayer()->GetGameObjectsByName("FrameBGTemplate", found);
        return found.size();
    };
    ASSERT_EQ(centres(), 1u);
    Game().RequestSave("panel");
    Step();
    Game().RequestLoad("panel");
    Step(2);
    ASSERT_NE(Stage(), nullptr);
    const UiFrame* frame = Stage()->GetFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->GetCentre(), nullptr);
    EXPECT_EQ(frame->GetCentre()->GetLayer(), Game().GetHudLayer());
    EXPECT_EQ(centres(), 1u);
    EXPECT_EQ(frame->GetTarget(), (UiFrameRect{-200.0f, 225.0f, 200.0f, -225.0f, 1.0f}));
}

using FramePanelPixelTest = WidgetPixelTest;

// Centre, pipe and corner show their sheets' colours where they lie; at
// opacity 0 none of them is drawn.
TEST_F(FramePanelPixelTest, ThePiecesDrawTheirSheetsAndNothingAtOpacityZero) {
    const testsupport::Rgba centre{200, 0, 0, 255};
    const testsupport::Rgba pipe{0, 200, 0, 255};
    const testsupport::Rgba corner{0, 0, 200, 255};
    ASSERT_TRUE(Resources().WriteFlatSheet("FrameBG", {centre}));
    ASSERT_TRUE(Resources().WriteFlatSheet("FramePipe", {pipe}));
    ASSERT_TRUE(Resources().WriteFlatSheet("FrameCorner", {corner}));
    ASSERT_TRUE(EnterTitle());
    Find<Tundra::Sprite>("FadeTransition")->SetVisible(false);
    const std::unique_ptr<UiFrame> frame = MakeUiFrame(-100.0f, 50.0f, 100.0f, -50.0f, 0.0f);
    const Vector2D onCentre{0.0f, 0.0f};
    const Vector2D onPipe{-100.0f, 0.0f};
    const Vector2D onCorner{-92.0f, -42.0f};
    Step(2);
    for (const Vector2D& point : {onCentre, onPipe, onCorner}) {
        for (const testsupport::Rgba& colour : {centre, pipe, corner}) {
            EXPECT_FALSE(IsNear(PixelAt(point), colour)) << point.x;
        }
    }
    frame->SetRect(-100.0f, 50.0f, 100.0f, -50.0f, 1.0f);
    Step(2);
    EXPECT_TRUE(IsNear(PixelAt(onCentre), centre));
    EXPECT_TRUE(IsNear(PixelAt(onPipe), pipe));
    EXPECT_TRUE(IsNear(PixelAt(onCorner), corner));
    frame->Destroy();
}

}  // namespace
}  // namespace mygametest
