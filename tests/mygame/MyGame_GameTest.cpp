#include "core/Core_ClassRegistry.h"
#include "core/Core_MemoryPoolTestHooks.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_Templates.h"
#include "mygame/MyGame_TitleSun.h"
#include "physics/Physics_PhysicsEngine.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sprite.h"

#include <filesystem>
#include <tuple>

namespace mygametest {

// Counts its living instances, clones included.
struct CountedSprite : Tundra::Sprite {
    TUN_DECLARE_CLASS(CountedSprite);
    CountedSprite() { ++alive; }
    explicit CountedSprite(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
        : Sprite(animations) {
        ++alive;
    }
    CountedSprite(const CountedSprite& other) : Sprite(other) { ++alive; }
    ~CountedSprite() override { --alive; }
    static inline int alive = 0;
};

namespace {

TEST_F(MyGameTest, FirstRunSetsUpTheApplication) {
    MyGame& game = StartGame();
    EXPECT_EQ(game.GetTitle(), "Emberline");
    EXPECT_EQ(game.GetIcon(), Tundra::Game::GetDirectory() + "\\Resources\\GameIcon\\GameIcon.ico");
    EXPECT_EQ(game.GetDesiredFrameRate(), 60.0);
    EXPECT_TRUE(game.IsFrameRateLocked());
    EXPECT_EQ(game.GetMasterVolume(), 1.0f);
    EXPECT_EQ(game.GetPhysicsEngine()->GetScale(), 15.0f);
    EXPECT_EQ(game.GetPhysicsEngine()->GetAccuracy(), 150);
    EXPECT_EQ(game.GetMoveSpeedFactor(), 1.0f);
    EXPECT_EQ(game.GetVolume(), 0.8f);
    EXPECT_FALSE(game.IsMuted());
    EXPECT_EQ(Globals().leftKeyId, 53);
    EXPECT_EQ(Globals().rightKeyId, 56);
    EXPECT_EQ(Globals().jumpKeyId, 75);
    EXPECT_EQ(game.GetProfile(), MakeNewProfile());
    EXPECT_EQ(GetGame(), &game);
    Step(2);
    EXPECT_EQ(game.GetCurrentLevelIndex(), 0u);
    const Engine::StartupSettings settings = MakeStartupSettings();
    EXPECT_EQ(std::make_tuple(settings.width, settings.height, settings.refreshRate, settings.multisampleCount),
              std::make_tuple(1024u, 768u, 60u, 0u));
    EXPECT_TRUE(settings.fullScreen && settings.verticalSync);
}

// The heap gives out after `allowed` more blocks.
int g_allowedBlocks = 0;
void* FailingAllocator(std::size_t size) { return g_allowedBlocks-- > 0 ? std::malloc(size) : nullptr; }

TEST_F(MyGameTest, AGameThatCannotBeMadeIsNullAndLeavesNothing) {
    for (const int allowed : {0, 1}) {
        g_allowedBlocks = allowed;
        Core::testhooks::SetSystemAllocator(&FailingAllocator);
        const Core::RefPtr<MyGame> game = MakeGame(std::make_unique<TestContent>());
        Core::testhooks::SetSystemAllocator(nullptr);
        EXPECT_EQ(game, nullptr) << allowed;
        EXPECT_EQ(Tundra::Game::GetInstance(), nullptr) << allowed;
    }
}

TEST_F(MyGameTest, MoveSpeedAddsEachHandsMoveSpeedLevel) {
    MyGame& game = StartGame();
    PlayerProfile& profile = game.GetProfile();
    profile.selectedWeapons = (4u << 16) | 1u;
    profile.upgradeLevels[4 * 2 + 3] = 2;  // bit 4, stat 3
    profile.upgradeLevels[4 * 0 + 3] = 5;  // bit 1, stat 3
    game.UpdateMoveSpeed();
    EXPECT_EQ(game.GetMoveSpeedFactor(), 1.35000002f);
}

// The templates the content places in the intro's world layer: counted
// sprites, without the slots in `skip`, and a "Player".
void PlaceCountedTemplates(TestContent& content, std::uint32_t level, std::vector<std::uint32_t> skip,
                           bool realPlayer) {
    content.OnBuild(level, 1, [skip, realPlayer](const LayerBuild& build) {
        for (std::uint32_t slot = 0; slot < kTemplateCount; ++slot) {
            if (std::find(skip.begin(), skip.end(), slot) == skip.end()) {
                PlaceSprite<CountedSprite>(build, kTemplateNames[slot]);
            }
        }
        if (realPlayer) {
            PlaceSprite<Player>(build, "Player");
        } else {
            PlaceSprite<Tundra::Sprite>(build, "Player");
        }
    });
}

TEST_F(MyGameTest, CaptureClonesEachTemplateOutOfTheLevel) {
    for (const bool realPlayer : {true, false}) {
        PlaceCountedTemplates(Content(), 0, {kCloudTemplate}, realPlayer);
        MyGame& game = StartGame();
        Step(2);
        std::vector<Core::RefPtr<Tundra::GameObject>> originals;
        for (const char* name : kTemplateNames) {
            originals.emplace_back(Tundra::FindObject<Tundra::GameObject>(name));
        }
        game.CaptureTemplates();
        for (std::uint32_t slot = 0; slot < kTemplateCount; ++slot) {
            Tundra::GameObject* held = game.GetTemplate(slot);
            if (slot == kCloudTemplate) {
                EXPECT_EQ(held, nullptr);
                EXPECT_EQ(game.CloneTemplate(slot), nullptr);
                continue;
            }
            ASSERT_NE(held, nullptr) << slot;
            EXPECT_NE(held, originals[slot].Get());
            EXPECT_EQ(held->GetName(), kTemplateNames[slot]);
            EXPECT_EQ(held->GetLayer(), nullptr);
            EXPECT_EQ(Tundra::FindObject<Tundra::GameObject>(kTemplateNames[slot]), nullptr);
        }
        EXPECT_EQ(game.CloneTemplate(kTemplateCount), nullptr);
        {
            const Core::RefPtr<Tundra::GameObject> clone = game.CloneTemplate(kEnemyDropTemplate);
            ASSERT_NE(dynamic_cast<CountedSprite*>(clone.Get()), nullptr);
            EXPECT_NE(clone.Get(), game.GetTemplate(kEnemyDropTemplate));
            EXPECT_EQ(clone->GetName(), "EnemyDropTemplate");
            EXPECT_EQ(clone->GetLayer(), nullptr);
        }
        EXPECT_EQ(Globals().player, realPlayer ? Tundra::FindObject<Player>("Player") : nullptr);
        EXPECT_EQ(Globals().player != nullptr, realPlayer);
        Step();
        for (std::uint32_t slot = 0; slot < kTemplateCount; ++slot) {
            if (originals[slot]) {
                EXPECT_TRUE(originals[slot]->IsDestroyed()) << slot;
            }
        }
        originals.clear();
        EndGame();
        EXPECT_EQ(CountedSprite::alive, 0);
    }
}

TEST_F(MyGameTest, ChangeLevelSavesTheProfileHandsTheTemplatesBackAndSwitchesNextFrame) {
    PlaceCountedTemplates(Content(), 0, {kCloudTemplate}, true);
    MyGame& game = StartGame();
    Step(2);
    game.CaptureTemplates();
    const std::filesystem::path profile = std::filesystem::path(DataFolder()) / "profile.sav";
    std::filesystem::remove(profile);

    game.ChangeLevel(3);  // no such level: nothing changes
    EXPECT_FALSE(std::filesystem::exists(profile));
    EXPECT_FALSE(game.IsLevelChangePending());
    EXPECT_EQ(game.GetTemplate(kBulletTemplate)->GetLayer(), nullptr);

    game.ChangeLevel(2);
    EXPECT_TRUE(std::filesystem::exists(profile));
    EXPECT_EQ(game.GetCurrentLevelIndex(), 0u);
    for (std::uint32_t slot = 0; slot < kTemplateCount; ++slot) {
        if (Tundra::GameObject* held = game.GetTemplate(slot)) {
            EXPECT_EQ(held->GetLayer(), game.GetWorldLayer()) << slot;
            EXPECT_TRUE(held->IsDestroyRequested()) << slot;
        }
    }
    // Asked again in the same frame (the intro asks every frame): nothing more.
    game.ChangeLevel(2);
    Step();
    EXPECT_EQ(game.GetCurrentLevelIndex(), 2u);
    for (std::uint32_t slot = 0; slot < kTemplateCount; ++slot) {
        EXPECT_EQ(game.GetTemplate(slot), nullptr) << slot;
    }
    EXPECT_EQ(Globals().player, nullptr);
    EXPECT_EQ(CountedSprite::alive, 0);
}

TEST_F(MyGameTest, ShutDownFreesEveryTemplate) {
    PlaceCountedTemplates(Content(), 1, {}, true);
    MyGame& game = StartGame();
    ASSERT_TRUE(GoToLevel(1));
    ASSERT_NE(game.GetTemplate(kBulletTemplate), nullptr);
    EXPECT_GT(CountedSprite::alive, 0);
    EndGame();
    EXPECT_EQ(CountedSprite::alive, 0);
}

// Shut down but not yet released, the game names nothing of the level that
// went with the shut-down, and the templates went with it.
TEST_F(MyGameTest, ShutDownForgetsEveryLinkIntoTheLevel) {
    PlaceCountedTemplates(Content(), 1, {}, true);
    MyGame& game = StartGame();
    ASSERT_TRUE(GoToLevel(1));
    ASSERT_FALSE(game.GetEffectSounds().empty());
    ASSERT_NE(game.GetMenuMusic(), nullptr);
    ASSERT_NE(Globals().player, nullptr);
    game.Shutdown();
    EXPECT_TRUE(game.GetEffectSounds().empty());
    EXPECT_EQ(game.GetMenuMusic(), nullptr);
    EXPECT_EQ(Globals().player, nullptr);
    EXPECT_EQ(Globals().buttonHoverSound, nullptr);
    EXPECT_EQ(game.GetTemplate(kBulletTemplate), nullptr);
    EXPECT_EQ(CountedSprite::alive, 0);
    game.SetVolume(0.5f, 0.0f);
}

TEST_F(MyGameTest, WithoutALevelThereIsNoLayer) {
    MyGame& game = StartGame();
    EXPECT_EQ(game.GetWorldLayer(), nullptr);
    EXPECT_EQ(game.GetHudLayer(), nullptr);
    EXPECT_EQ(game.CreateSoundEffect("x.ogg"), nullptr);
    Step();
    ASSERT_NE(game.GetCurrentLevel(), nullptr);
    EXPECT_EQ(game.GetWorldLayer(), game.GetCurrentLevel()->GetLayer(1));
    EXPECT_EQ(game.GetHudLayer(), game.GetCurrentLevel()->GetLayer(0));
}

// The stage's classes stand in for what later work completes: each is made
// by its registered name, and a player walks at its standard steps from rest
// however it was made.
TEST_F(MyGameTest, StandInsAreRegisteredAndStartAtRest) {
    for (const char* name : {"Player", "TitleSun", "GameLevel"}) {
        const Core::RefPtr<Core::Object> made = CreateObjectByName(name);
        ASSERT_NE(made, nullptr) << name;
        EXPECT_STREQ(made->GetType(), name);
    }
    const Core::RefPtr<Player> made = TUN_NEW(Player, TestAnimations(1));
    const std::vector<Core::RefPtr<Player>> players = {made, static_cast<Player*>(made->Clone()),
                                                       static_cast<Player*>(CreateObjectByName("Player"))};
    for (const Core::RefPtr<Player>& player : players) {
        EXPECT_EQ(std::make_tuple(player->GetRightStep(), player->GetLeftStep()), std::make_tuple(5, -14));
        EXPECT_EQ(player->GetVelocity().x, 0.0f);
        EXPECT_EQ(player->GetVelocity().y, 0.0f);
    }
    const Core::RefPtr<TitleSun> sun = TUN_NEW(TitleSun, TestAnimations(1));
    sun->SetUseEndPath(true);
    sun->OnStart();
    EXPECT_FALSE(sun->GetUseEndPath());
}

}  // namespace
}  // namespace mygametest

TUN_DEFINE_CLASS(mygametest::CountedSprite)
