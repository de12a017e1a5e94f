#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_PlayerMovement.h"
#include "mygame/MyGame_UiFrame.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "tundra/Tundra_Layer.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_PlayerFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <tuple>
#include <vector>

namespace mygametest {
namespace {

enum PlayerState : std::int32_t { kInvulnerable = 0, kIdle = 1, kDying = 2, kYouLose = 3 };

class GamePlayerTest : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        m_gamePlayer = dynamic_cast<GamePlayer*>(m_player);
        ASSERT_NE(m_gamePlayer, nullptr);
        ASSERT_EQ(State(), kIdle);
    }

    std::int32_t State() const { return m_gamePlayer->GetPlayerState()->GetCurrent(); }
    // A hit that takes all the health, then the death played out.
    void Die() {
        Stage()->DamagePlayer(Stage()->GetHealth());
        ASSERT_EQ(Stage()->GetHealth(), 0.0f);
        ASSERT_TRUE(RunUntil([this] { return State() == kYouLose; }, 600));
    }
    bool WeaponsHidden() const {
        return !m_player->GetLeftWeapon()->GetVisible() && !m_player->GetRightWeapon()->GetVisible();
    }

    GamePlayer* m_gamePlayer = nullptr;
};

TEST_F(GamePlayerTest, AHitBlinksUntilItsTimeRunsOut) {
    struct Case {
        int secondHitFrame;  // 0: one hit
        float seconds;
    };
    for (const Case& c : {Case{0, 0.5f}, Case{12, 0.7f}}) {
        Stage()->DamagePlayer(0.05f);
        Step();
        ASSERT_EQ(State(), kInvulnerable);
        int frames = 1;
        float lowestOpacity = 1.0f;
        while (State() == kInvulnerable && frames < 120) {
            if (frames == c.secondHitFrame) {
                Stage()->DamagePlayer(0.05f);
            }
            Step();
            ++frames;
            lowestOpacity = std::min(lowestOpacity, m_player->GetOpacity());
            EXPECT_EQ(m_player->GetLeftWeapon()->GetOpacity(), m_player->GetOpacity());
        }
        EXPECT_NEAR(static_cast<float>(frames) / 60.0f, c.seconds, 1.5f / 60.0f);
        EXPECT_LT(lowestOpacity, 0.1f);
        EXPECT_EQ(State(), kIdle);
        EXPECT_EQ(m_player->GetOpacity(), 1.0f);
        EXPECT_EQ(m_player->GetRightWeapon()->GetOpacity(), 1.0f);
    }
}

TEST_F(GamePlayerTest, AKillingHitPlaysTheDeathThenShowsTheDefeat) {
    const std::uint32_t stage = Game().GetProfile().currentStage;
    const auto currency = Game().GetProfile().currency;
    Stage()->DamagePlayer(Stage()->GetHealth());
    Step();
    ASSERT_EQ(State(), kDying);
    EXPECT_EQ(m_player->GetCollisionObject()->GetCollisionType(), 0);
    EXPECT_EQ(BodyVelocity().x, 0.0f);
    EXPECT_EQ(BodyVelocity().y, 0.0f);
    EXPECT_EQ(m_player->GetCurrentAnimationIndex(), 2);
    EXPECT_NE(Globals().paused, 0);
    // The death plays to its end in the paused stage (17 frames of 0.3 s).
    const std::optional<int> frames = RunUntil([this] { return State() == kYouLose; }, 600);
    ASSERT_TRUE(frames.has_value());
    EXPECT_GE(*frames, 17 * 18);
    EXPECT_TRUE(m_player->IsEndOfAnimation());
    auto* text = Find<CenteredText>("EndGameDialog");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string_view(text->GetText()), "defeat");
    EXPECT_TRUE(text->GetVisible());
    EXPECT_FALSE(m_player->GetVisible());
    EXPECT_TRUE(WeaponsHidden());
    LabeledButton* restart = FindButton("restart");
    LabeledButton* exit = FindButton("exit to menu");
    ASSERT_NE(restart, nullptr);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(restart->GetPosition(), (Vector2D{0.0f, 0.0f}));
    EXPECT_EQ(exit->GetPosition(), (Vector2D{0.0f, -70.0f}));
    ASSERT_NE(Stage()->GetFrame(), nullptr);
    EXPECT_EQ(Stage()->GetFrame()->GetTarget(), (UiFrameRect{-200.0f, 200.0f, 200.0f, -200.0f, 1.0f}));
    ASSERT_TRUE(PressButton(restart));
    ASSERT_TRUE(RunUntil([this] { return Stage() != nullptr && Stage()->GetHealth() == 1.0f; }, 600));
    EXPECT_EQ(Game().GetProfile().currentStage, stage);
    EXPECT_EQ(Game().GetProfile().currency, currency);
}

TEST_F(GamePlayerTest, TheDefeatLoadedShowsButtonsThatWork) {
    Die();
    Game().RequestSave("defeat");
    Step();
    Game().RequestLoad("defeat");
    Step(3);
    m_gamePlayer = Find<GamePlayer>("Player");
    ASSERT_NE(m_gamePlayer, nullptr);
    EXPECT_EQ(State(), kYouLose);
    std::vector<Tundra::GameObject*> buttons;
    Game().GetHudLayer()->GetGameObjects(buttons);
    const auto restarts = std::count_if(buttons.begin(), buttons.end(), [](Tundra::GameObject* object) {
        auto* button = dynamic_cast<LabeledButton*>(object);
        return button != nullptr && !button->IsDestroyRequested() && !button->IsDestroyed() && button->GetLabel() != nullptr &&
               std::string_view(button->GetLabel()->GetText()) == "restart";
    });
    EXPECT_EQ(restarts, 1);
    ASSERT_TRUE(PressButton("exit to menu"));
    ASSERT_TRUE(RunUntil([this] { return Game().GetCurrentLevelIndex() == MyLevelFactory::kMenuLevel; }, 600));
}

TEST_F(GamePlayerTest, AKillingHitWhileBlinkingPassesThroughIdle) {
    Stage()->DamagePlayer(0.05f);
    ASSERT_TRUE(RunUntil([this] { return State() == kInvulnerable; }, 5));
    Stage()->DamagePlayer(Stage()->GetHealth());
    Step();
    EXPECT_EQ(State(), kIdle);
    Step();
    EXPECT_EQ(State(), kDying);
}

TEST_F(GamePlayerTest, PausedItNeitherMovesNorChangesState) {
    Stage()->SetLevelPaused(true);
    Press(kLeftKey);
    const Vector2D position = m_player->GetPosition();
    Stage()->DamagePlayer(0.05f);
    Step(60);
    EXPECT_EQ(State(), kIdle);
    EXPECT_EQ(MovementState(), kMovementIdle);
    EXPECT_EQ(m_player->GetPosition(), position);
}

TEST_F(GamePlayerTest, TheStagePlayerStopsAWalkAtTheScreenEdge) {
    StandAt(20.0f);
    Press(kLeftKey);
    ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementWalking; }, 10));
    EXPECT_EQ(BodyVelocity().x, 0.0f);
}

// A blinking player's stream cut anywhere in the stage player's own part
// fails and leaves an idle player's timers and "PlayerState" as they were;
// the whole stream loads. (Copies of the player have no weapons, which
// only their layer could give a read player.)
TEST_F(GamePlayerTest, ACutStreamLeavesTheStagePlayersOwnPartUnchanged) {
    const auto copy = [this] { return Core::RefPtr<GamePlayer>(static_cast<GamePlayer*>(m_gamePlayer->Clone())); };
    Stage()->DamagePlayer(0.05f);
    Step(3);
    ASSERT_EQ(State(), kInvulnerable);
    Core::MemoryFile blinking;
    Core::MemoryFile playerPart;
    copy()->Save(blinking);
    copy()->Player::Save(playerPart);
    ASSERT_TRUE(RunUntil([this] { return State() == kIdle; }, 120));
    const Core::RefPtr<GamePlayer> idle = copy();
    const auto own = [&idle] {
        Core::MemoryFile machine;
        idle->GetPlayerState()->Save(machine);
        std::vector<std::uint8_t> bytes(machine.GetData(), machine.GetData() + machine.GetSize());
        return std::tuple(bytes, idle->GetInvulnerableTime(), idle->GetBlinkPhase());
    };
    const auto before = own();
    for (std::uint32_t size = playerPart.GetSize(); size < blinking.GetSize(); ++size) {
        Core::MemoryFile cut(blinking.GetData(), size);
        idle->Load(cut);
        EXPECT_TRUE(cut.HasFailed()) << "size " << size;
        EXPECT_TRUE(own() == before) << "size " << size;
    }
    Core::MemoryFile whole(blinking.GetData(), blinking.GetSize());
    idle->Load(whole);
    EXPECT_FALSE(whole.HasFailed());
    EXPECT_EQ(idle->GetPlayerState()->GetCurrent(), kInvulnerable);
}

// What a save must carry of the stage's player.
struct PlayerTrace {
    Vector2D position;
    Vector2D velocity;
    std::int32_t movement;
    std::int32_t state;
    float invulnerableTime;
    float blinkPhase;
    float opacity;
    bool operator==(const PlayerTrace&) const = default;
};

TEST_F(GamePlayerTest, ASaveMidJumpAndBlinkingPlaysOnAlike) {
    Tap(kJumpKey);
    Step(5);
    Stage()->DamagePlayer(0.05f);
    Step(3);
    ASSERT_EQ(MovementState(), kMovementJump);
    ASSERT_EQ(State(), kInvulnerable);
    const auto trace = [this](int frames) {
        std::vector<PlayerTrace> traces;
        for (int frame = 0; frame < frames; ++frame) {
            Step();
            auto* player = Find<GamePlayer>("Player");
            traces.push_back({player->GetPosition(), player->GetVelocity(),
                              player->GetMovementMachine()->GetCurrent(), player->GetPlayerState()->GetCurrent(),
                              player->GetInvulnerableTime(), player->GetBlinkPhase(), player->GetOpacity()});
        }
        return traces;
    };
    // Through the rest of the rise and the blinking, up to just before the
    // player touches down.
    constexpr int kFrames = 40;
    Game().RequestSave("player");
    const std::vector<PlayerTrace> first = trace(kFrames);
    Game().RequestLoad("player");
    // The frame of the load reads the saved state; the next one has no time
    // behind it and does not update.
    Step();
    const std::vector<PlayerTrace> second = trace(kFrames);
    EXPECT_EQ(first.back().state, kIdle);
    EXPECT_EQ(first.back().movement, kMovementInAir);
    for (std::size_t frame = 0; frame < second.size(); ++frame) {
        ASSERT_TRUE(second[frame] == first[frame]) << "frame " << frame;
    }
}

}  // namespace
}  // namespace mygametest
