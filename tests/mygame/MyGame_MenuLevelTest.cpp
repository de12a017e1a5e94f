#include "core/Core_MemoryFile.h"
#include "core/Core_MersenneTwister.h"
#include "input/Input_KeyTable.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MenuLevel.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_TitleSun.h"
#include "pal/PAL_Window.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_PhysicsEngine.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace mygametest {
namespace {

constexpr float kTitleStartY = 860.0f;
constexpr float kPlayerStartY = 300.0f;

os::VirtualKey KeyOfId(int keyId) {
    std::uint8_t code = 0;
    EXPECT_TRUE(Input::KeyCodeOfId(keyId, &code));
    return static_cast<os::VirtualKey>(code);
}

class MenuLevelTest : public GameTest {
protected:
    // The title screen's objects as the game's content places them; the
    // instructions start hidden and the sign stopped on its opening.
    void PlaceTitleScreen() {
        Content().OnBuild(1, 1, [this](const LayerBuild& build) {
            m_title = &PlaceSprite<Tundra::Sprite>(build, "Title", {512, kTitleStartY});
            m_player = &PlaceSprite<MenuPlayer>(build, "Player", {512, kPlayerStartY});
            m_sign = &PlaceSprite<Tundra::Sprite>(build, "ExitSign", {900, 100}, 2);
            m_sign->SetLoop(false);
            m_sign->Stop();
            m_sun = &PlaceSprite<TitleSun>(build, "TitleSun");
            m_sky = &PlaceSprite<Tundra::Sprite>(build, "SkyGradient", {}, 3);
            m_text = &PlaceText(build, "DropsCollectedText", "");
            for (const char* name : {"ControlsInstruction1", "ControlsInstruction2"}) {
                PlaceSprite<Tundra::Sprite>(build, name).SetVisible(false);
            }
            PlaceTileTemplates(build);
        });
    }

    // The title level started from the intro with the random generator
    // seeded just before; it has had its first update, and every Step from
    // here on is one more.
    MenuLevel& StartMenu(std::uint8_t highestStage = 0) {
        StartGame();
        Step(2);
        Game().GetProfile().highestStage = highestStage;
        Globals().paused = 1;
        Core::GameRandomGenerator().Seed(kSeed);
        EXPECT_TRUE(GoToLevel(1));
        // The frame after a level change measures the frame time afresh.
        Step();
        auto* menu = dynamic_cast<MenuLevel*>(Game().GetCurrentLevel());
        EXPECT_NE(menu, nullptr);
        return *menu;
    }

    static std::string StateName(const MenuLevel& menu) {
        const MenuLevel::Machine& machine = menu.GetMenuMachine();
        return std::string(machine.GetStates()[static_cast<std::size_t>(machine.GetCurrent())]->GetName());
    }

    static bool InstructionsVisible() {
        const auto* first = Tundra::FindObject<Tundra::GameObject>("ControlsInstruction1");
        const auto* second = Tundra::FindObject<Tundra::GameObject>("ControlsInstruction2");
        EXPECT_EQ(first->GetVisible(), second->GetVisible());
        return first->GetVisible();
    }

    // The clones of the tile template of that name, by x.
    std::vector<MapTile*> Tiles(const char* name) {
        std::vector<Tundra::GameObject*> objects;
        Game().GetCurrentLevel()->GetLayer(1)->GetGameObjectsByName(name, objects);
        std::vector<MapTile*> tiles;
        for (Tundra::GameObject* object : objects) {
            auto* tile = dynamic_cast<MapTile*>(object);
            if (tile != nullptr && tile->GetPositionY() != 0.0f) {
                tiles.push_back(tile);
            }
        }
        std::stable_sort(tiles.begin(), tiles.end(),
                         [](const MapTile* a, const MapTile* b) { return a->GetPositionX() < b->GetPositionX(); });
        return tiles;
    }

    Tundra::Sprite* m_title = nullptr;
    MenuPlayer* m_player = nullptr;
    Tundra::Sprite* m_sign = nullptr;
    TitleSun* m_sun = nullptr;
    Tundra::Sprite* m_sky = nullptr;
    Tundra::Text* m_text = nullptr;
};

struct ThemeCase {
    std::uint8_t highestStage;
    int topFirstFrame;
    int fillingFirstFrame;
    int sky;
};

class MenuThemeTest : public MenuLevelTest, public testing::WithParamInterface<ThemeCase> {};

TEST_P(MenuThemeTest, StartLaysTheGroundStripInTheThemeOfTheHighestStage) {
    const ThemeCase& test = GetParam();
    PlaceTitleScreen();
    StartMenu(test.highestStage);
    for (const auto& [name, y, firstFrame] : {std::tuple{"MapTileColliderTemplate", 72.0f, test.topFirstFrame},
                                              std::tuple{"MapTileTemplate", 24.0f, test.fillingFirstFrame}}) {
        const std::vector<MapTile*> tiles = Tiles(name);
        ASSERT_EQ(tiles.size(), 25u) << name;
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            EXPECT_EQ(tiles[i]->GetPositionX(), 48.0f * static_cast<float>(i));
            EXPECT_EQ(tiles[i]->GetPositionY(), y);
            EXPECT_TRUE(tiles[i]->GetVisible());
            EXPECT_GE(tiles[i]->GetCurrentFrameIndex(), firstFrame);
            EXPECT_LE(tiles[i]->GetCurrentFrameIndex(), firstFrame + 1);
        }
    }
    EXPECT_EQ(m_sky->GetCurrentAnimationIndex(), test.sky);
    EXPECT_EQ(m_text->GetText(), "300");
    EXPECT_EQ(Globals().paused, 0);
    EXPECT_EQ(Game().GetPhysicsEngine()->GetMaximumSimulationStep(), 0.02f);
}

INSTANTIATE_TEST_SUITE_P(Themes, MenuThemeTest, testing::Values(ThemeCase{0, 0, 0, 0}, ThemeCase{4, 3, 5, 1}),
                         [](const testing::TestParamInfo<ThemeCase>& info) {
                             return "HighestStage" + std::to_string(info.param.highestStage);
                         });

TEST_F(MenuLevelTest, TheFirstColumnTakesTheFirstDrawsOfTheSeed) {
    PlaceTitleScreen();
    StartMenu();
    // Seed 5489 draws 1, 0, 1, 1: top tile frame 1 unflipped, then the
    // filling tile frame 1 flipped.
    const MapTile& top = *Tiles("MapTileColliderTemplate").front();
    const MapTile& filling = *Tiles("MapTileTemplate").front();
    EXPECT_EQ(top.GetCurrentFrameIndex(), 1);
    EXPECT_FALSE(top.GetFlipHorizontal());
    EXPECT_EQ(filling.GetCurrentFrameIndex(), 1);
    EXPECT_TRUE(filling.GetFlipHorizontal());
}

TEST_F(MenuLevelTest, TheTitleDropsWaitsForAControlKeyAndRisesOutOfView) {
    PlaceTitleScreen();
    const MenuLevel& menu = StartMenu();
    // Update by update: what state each range of updates ends in.
    for (int update = 1; update <= 115; ++update) {
        if (update > 1) {
            Step();
        }
        ASSERT_EQ(StateName(menu), "START") << update;
        ASSERT_EQ(m_title->GetPositionY(), kTitleStartY - 3.0f * static_cast<float>(update)) << update;
        ASSERT_EQ(m_player->GetPositionY(), kPlayerStartY - 3.0f * static_cast<float>(update)) << update;
        // A control key held while the title slides changes nothing.
        HoldKey(KeyOfId(Globals().rightKeyId), update >= 100);
    }
    EXPECT_EQ(m_title->GetPositionY(), 515.0f);
    EXPECT_FALSE(InstructionsVisible());

    Step();  // 116
    EXPECT_EQ(StateName(menu), "TITLE");
    EXPECT_TRUE(InstructionsVisible());
    EXPECT_EQ(m_title->GetPositionY(), 515.0f);
    EXPECT_FALSE(m_player->GetControlsOn());
    EXPECT_FALSE(m_sign->IsPlaying());
    EXPECT_FALSE(m_sun->GetUseEndPath());

    Step();  // 117: the key still held leaves the title screen.
    HoldKey(KeyOfId(Globals().rightKeyId), false);
    EXPECT_EQ(StateName(menu), "CLEAN_TITLE");
    EXPECT_TRUE(m_player->GetControlsOn());
    EXPECT_TRUE(m_sign->IsPlaying());
    EXPECT_TRUE(m_sun->GetUseEndPath());
    EXPECT_EQ(m_title->GetPositionY(), 520.0f);
    EXPECT_TRUE(InstructionsVisible());

    // 515 + 5 x 69 = 860 on update 185; the next one leaves.
    Step(185 - 117);
    EXPECT_EQ(StateName(menu), "CLEAN_TITLE");
    EXPECT_EQ(m_title->GetPositionY(), 860.0f);
    Step();
    EXPECT_EQ(StateName(menu), "IN_MENU");
    EXPECT_FALSE(InstructionsVisible());
    EXPECT_EQ(m_title->GetPositionY(), 860.0f);

    // The sign's opening (12 frames of 0.1 s) ends, then its loop plays.
    EXPECT_EQ(m_sign->GetCurrentAnimationIndex(), 0);
    Step(80);
    EXPECT_EQ(m_sign->GetCurrentAnimationIndex(), 1);
    EXPECT_TRUE(m_sign->GetLoop());
    EXPECT_TRUE(m_sign->IsPlaying());
    EXPECT_TRUE(m_player->GetControlsOn());
}

TEST_F(MenuLevelTest, WalkingPastTheLeftEdgeQuits) {
    PlaceTitleScreen();
    const MenuLevel& menu = StartMenu();
    HoldKey(KeyOfId(Globals().jumpKeyId), true);
    for (int update = 0; update < 200 && StateName(menu) != "IN_MENU"; ++update) {
        Step();
    }
    HoldKey(KeyOfId(Globals().jumpKeyId), false);
    ASSERT_EQ(StateName(menu), "IN_MENU");
    PAL::RequestQuit();
    ASSERT_FALSE(PAL::PumpMessages());

    m_player->SetPosition({-32.0f, m_player->GetPositionY()});
    Step(2);
    EXPECT_EQ(StateName(menu), "IN_MENU");
    EXPECT_TRUE(PAL::PumpMessages());
    m_player->SetPosition({-33.0f, m_player->GetPositionY()});
    Step();
    EXPECT_EQ(StateName(menu), "EXIT");
    EXPECT_FALSE(PAL::PumpMessages());
}

TEST_F(MenuLevelTest, TheCurrencyTextFollowsPurchases) {
    PlaceTitleScreen();
    StartMenu();
    Game().GetProfile().currency = 1234;
    Step();
    EXPECT_EQ(m_text->GetText(), "1234");
}

TEST_F(MenuLevelTest, WithoutItsObjectsTheTitleLevelRunsAndWaits) {
    StartMenu();
    Step(300);
    EXPECT_EQ(StateName(*dynamic_cast<MenuLevel*>(Game().GetCurrentLevel())), "START");
}

TEST_F(MenuLevelTest, ALoadedTitleLevelGoesOnSlidingTheTitleItRead) {
    PlaceTitleScreen();
    StartMenu();
    Step(49);
    Game().RequestSave("MenuLevelTest-sliding");
    Step();
    const float savedY = m_title->GetPositionY();
    Step(20);

    Game().RequestLoad("MenuLevelTest-sliding");
    Step(2);
    const auto* menu = dynamic_cast<MenuLevel*>(Game().GetCurrentLevel());
    ASSERT_NE(menu, nullptr);
    const auto* title = Tundra::FindObject<Tundra::Sprite>("Title");
    ASSERT_NE(title, m_title);
    EXPECT_EQ(StateName(*menu), "START");
    EXPECT_EQ(title->GetPositionY(), savedY);
    Step();
    EXPECT_EQ(title->GetPositionY(), savedY - 3.0f);
}

// Test access to the player's movement fields.
struct ProbePlayer : MenuPlayer {
    ProbePlayer() : MenuPlayer(TestAnimations(1)) {}
    void Set(bool facingRight, float velocityX) {
        m_facingRight = facingRight ? 1 : 0;
        m_velocity = {velocityX, 0.0f};
    }
};

TEST_F(MenuLevelTest, EveryMenuPlayerWalksTenEachWay) {
    StartGame();
    const Core::RefPtr<MenuPlayer> fromAnimations = TUN_NEW(MenuPlayer, TestAnimations(1));
    const Core::RefPtr<MenuPlayer> made = dynamic_cast<MenuPlayer*>(CreateObjectByName("MenuPlayer"));
    const Core::RefPtr<MenuPlayer> cloned = static_cast<MenuPlayer*>(fromAnimations->Clone());
    for (const Core::RefPtr<MenuPlayer>& player : {fromAnimations, made, cloned}) {
        ASSERT_NE(player, nullptr);
        EXPECT_STREQ(player->GetType(), "MenuPlayer");
        EXPECT_EQ(player->GetRightStep(), 10);
        EXPECT_EQ(player->GetLeftStep(), -10);
    }
}

TEST_F(MenuLevelTest, TheControlsOnFlagTravelsInThePlayersStream) {
    StartGame();
    for (const bool on : {true, false}) {
        const Core::RefPtr<MenuPlayer> source = TUN_NEW(MenuPlayer, TestAnimations(1));
        source->SetControlsOn(on);
        Core::MemoryFile file;
        source->Save(file);
        const Core::RefPtr<MenuPlayer> read = TUN_NEW(MenuPlayer);
        read->SetControlsOn(!on);
        Core::MemoryFile reader(file.GetData(), file.GetSize());
        read->Load(reader);
        EXPECT_FALSE(reader.HasFailed());
        EXPECT_EQ(read->GetControlsOn(), on);
        EXPECT_EQ(read->GetRightStep(), 10);
    }
}

TEST_F(MenuLevelTest, TheMenuPlayerStandsStillUntilItsControlsAreOnAndStopsAtTheRightEdge) {
    struct Case {
        bool controlsOn;
        bool facingRight;
        float x;
        float velocityX;
        float expectedVelocityX;
    };
    const Case cases[] = {
        {false, true, 500.0f, 7.0f, 7.0f},   {false, false, 500.0f, 7.0f, 7.0f}, {true, true, 995.0f, 7.0f, 0.0f},
        {true, true, 994.0f, 7.0f, 7.0f},    {true, false, 995.0f, -7.0f, -7.0f},
    };
    StartGame();
    Step(2);
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.x);
        const Core::RefPtr<ProbePlayer> player = TUN_NEW(ProbePlayer);
        Game().GetCurrentLevel()->GetLayer(1)->AddGameObject(player.Get());
        ASSERT_TRUE(player->AddPhysicalProperties(&mass, 0));
        player->SetVelocity({3.0f, 4.0f});
        player->SetPosition({test.x, 0.0f});
        player->SetControlsOn(test.controlsOn);
        player->Set(test.facingRight, test.velocityX);
        player->Update(1.0f / 60.0f);
        EXPECT_EQ(player->GetFlipHorizontal(), !test.facingRight);
        EXPECT_EQ(player->GetVelocity().x, test.expectedVelocityX);
        Vector2D bodyVelocity;
        ASSERT_TRUE(player->Tundra::GameObject::GetVelocity(bodyVelocity));
        if (!test.controlsOn) {
            EXPECT_EQ(bodyVelocity.x, 0.0f);
            EXPECT_EQ(bodyVelocity.y, 0.0f);
        }
        player->Destroy();
    }
}

}  // namespace
}  // namespace mygametest
