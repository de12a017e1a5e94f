#include "core/Core_MemoryFile.h"
#include "core/Core_MersenneTwister.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MenuLevel.h"
#include "pal/PAL_Window.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_PhysicsEngine.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_FindObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mygametest {
namespace {

constexpr float kTitleY = 860.0f;
constexpr float kPlayerY = 300.0f;

// The default right key: a letter is its own key code.
constexpr os::VirtualKey kRightKey = 'D';

class MenuLevelTest : public GameTest {
protected:
    // The title screen's objects as the content places them: the
    // instructions hidden, the sign stopped on its opening.
    void PlaceTitleScreen() {
        Content().OnBuild(1, 1, [this](const LayerBuild& build) {
            m_title = &PlaceSprite<Tundra::Sprite>(build, "Title", {512, kTitleY});
            m_player = &PlaceSprite<MenuPlayer>(build, "Player", {512, kPlayerY});
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

    // The title level reached from the intro, seeded just before its start;
    // it has had its first update and each Step is one more.
    MenuLevel& StartMenu(std::uint8_t highestStage = 0) {
        StartGame();
        Step(2);
        Game().GetProfile().highestStage = highestStage;
        Globals().paused = 1;
        Core::GameRandomGenerator().Seed(kSeed);
        EXPECT_TRUE(GoToLevel(1));
        // The frame after a level change measures the frame time afresh.
        Step();
        return *dynamic_cast<MenuLevel*>(Game().GetCurrentLevel());
    }

    static std::string StateOf(const MenuLevel& menu) {
        const MenuLevel::Machine& machine = menu.GetMenuMachine();
        return std::string(machine.GetStates()[static_cast<std::size_t>(machine.GetCurrent())]->GetName());
    }

    static bool InstructionsShown() {
        return Tundra::FindObject<Tundra::GameObject>("ControlsInstruction1")->GetVisible() &&
               Tundra::FindObject<Tundra::GameObject>("ControlsInstruction2")->GetVisible();
    }

    // The tiles laid from the template of that name (not the template), by x.
    std::vector<MapTile*> Tiles(const char* name) {
        std::vector<Tundra::GameObject*> objects;
        Game().GetCurrentLevel()->GetLayer(1)->GetGameObjectsByName(name, objects);
        std::vector<MapTile*> tiles;
        for (std::size_t i = 1; i < objects.size(); ++i) {
            tiles.push_back(dynamic_cast<MapTile*>(objects[i]));
        }
        return tiles;
    }

    Tundra::Sprite* m_title = nullptr;
    MenuPlayer* m_player = nullptr;
    Tundra::Sprite* m_sign = nullptr;
    TitleSun* m_sun = nullptr;
    Tundra::Sprite* m_sky = nullptr;
    Tundra::Text* m_text = nullptr;
};

class MenuThemeTest : public MenuLevelTest, public testing::WithParamInterface<std::uint8_t> {};

TEST_P(MenuThemeTest, StartLaysTheGroundStripInTheThemeOfTheHighestStage) {
    const std::uint8_t highestStage = GetParam();
    const int theme = highestStage == 4 ? 1 : 0;
    PlaceTitleScreen();
    StartMenu(highestStage);
    struct Row {
        const char* name;
        float y;
        int firstFrame;
        // Seed 5489 draws 1, 0, 1, 1: the first top tile shows its second
        // frame unflipped, the first filling tile its second frame flipped.
        bool firstFlipped;
    };
    for (const Row& row :
         {Row{"MapTileColliderTemplate", 72, theme * 3, false}, Row{"MapTileTemplate", 24, theme * 5, true}}) {
        SCOPED_TRACE(row.name);
        const std::vector<MapTile*> tiles = Tiles(row.name);
        ASSERT_EQ(tiles.size(), 25u);
        EXPECT_EQ(tiles[0]->GetCurrentFrameIndex(), row.firstFrame + 1);
        EXPECT_EQ(tiles[0]->GetFlipHorizontal(), row.firstFlipped);
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            EXPECT_EQ(tiles[i]->GetPosition(), Vector2D(48.0f * static_cast<float>(i), row.y));
            EXPECT_TRUE(tiles[i]->GetVisible());
            const int look = tiles[i]->GetCurrentFrameIndex() - row.firstFrame;
            EXPECT_TRUE(look == 0 || look == 1) << i;
        }
    }
    EXPECT_EQ(m_sky->GetCurrentAnimationIndex(), theme);
    EXPECT_EQ(m_text->GetText(), "300");
    EXPECT_EQ(Globals().paused, 0);
    EXPECT_EQ(Game().GetPhysicsEngine()->GetMaximumSimulationStep(), 0.02f);
}

INSTANTIATE_TEST_SUITE_P(HighestStage, MenuThemeTest, testing::Values(0, 4));

TEST_F(MenuLevelTest, TheTitleDropsWaitsForAControlKeyAndRisesOutOfView) {
    PlaceTitleScreen();
    const MenuLevel& menu = StartMenu();
    for (int update = 1; update <= 115; ++update) {
        ASSERT_EQ(StateOf(menu), "START") << update;
        ASSERT_EQ(m_title->GetPositionY(), kTitleY - 3.0f * static_cast<float>(update)) << update;
        ASSERT_EQ(m_player->GetPositionY(), kPlayerY - 3.0f * static_cast<float>(update)) << update;
        // A control key held while the title slides changes nothing.
        HoldKey(kRightKey, update >= 100);
        Step();
    }
    EXPECT_EQ(StateOf(menu), "TITLE");  // 116
    EXPECT_EQ(m_title->GetPositionY(), 515.0f);
    EXPECT_TRUE(InstructionsShown());
    EXPECT_FALSE(m_player->GetControlsOn());
    EXPECT_FALSE(m_sign->IsPlaying() || m_sun->GetUseEndPath());

    Step();  // 117: the key still held leaves the title screen.
    HoldKey(kRightKey, false);
    EXPECT_EQ(StateOf(menu), "CLEAN_TITLE");
    EXPECT_TRUE(m_player->GetControlsOn() && m_sign->IsPlaying() && m_sun->GetUseEndPath());
    EXPECT_EQ(m_title->GetPositionY(), 520.0f);

    Step(185 - 117);  // 515 + 5 x 69 = 860 on update 185; the next one leaves.
    EXPECT_EQ(StateOf(menu), "CLEAN_TITLE");
    EXPECT_TRUE(InstructionsShown());
    Step();
    EXPECT_EQ(StateOf(menu), "IN_MENU");
    EXPECT_FALSE(InstructionsShown());
    EXPECT_EQ(m_title->GetPositionY(), 860.0f);

    // The sign's opening (12 frames of 0.1 s) ends, then its loop plays.
    EXPECT_EQ(m_sign->GetCurrentAnimationIndex(), 0);
    Step(80);
    EXPECT_EQ(m_sign->GetCurrentAnimationIndex(), 1);
    EXPECT_TRUE(m_sign->GetLoop() && m_sign->IsPlaying() && m_player->GetControlsOn());

    // Purchases show at once.
    Game().GetProfile().currency = 1234;
    Step();
    EXPECT_EQ(m_text->GetText(), "1234");

    // Strictly past the left edge quits.
    PAL::RequestQuit();
    ASSERT_FALSE(PAL::PumpMessages());
    for (const float x : {-32.0f, -33.0f}) {
        m_player->SetPosition({x, 0.0f});
        Step();
        EXPECT_EQ(StateOf(menu), x < -32.0f ? "EXIT" : "IN_MENU");
        EXPECT_EQ(PAL::PumpMessages(), x >= -32.0f);
    }
}

TEST_F(MenuLevelTest, WithoutItsObjectsTheTitleLevelRunsAndWaits) {
    const MenuLevel& menu = StartMenu();
    Step(300);
    EXPECT_EQ(StateOf(menu), "START");
}

// Test access to the player's movement fields.
struct ProbePlayer : MenuPlayer {
    ProbePlayer(bool facingRight, float velocityX) : MenuPlayer(TestAnimations(1)) {
        m_facingRight = facingRight ? 1 : 0;
        m_velocity = {velocityX, 0.0f};
    }
};

TEST_F(MenuLevelTest, TheMenuPlayerStandsStillUntilItsControlsAreOnAndStopsAtTheRightEdge) {
    struct Case {
        bool controlsOn, facingRight;
        float x, velocityX, expectedVelocityX;
    };
    const Case cases[] = {{false, true, 500, 7, 7}, {false, false, 995, 7, 7}, {true, true, 995, 7, 0},
                          {true, true, 994, 7, 7},  {true, false, 995, -7, -7}};
    StartGame();
    Step(2);
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.x);
        const Core::RefPtr<ProbePlayer> player = TUN_NEW(ProbePlayer, test.facingRight, test.velocityX);
        Game().GetCurrentLevel()->GetLayer(1)->AddGameObject(player.Get());
        ASSERT_TRUE(player->AddPhysicalProperties(&mass, 0));
        player->SetVelocity({3.0f, 4.0f});
        player->SetPosition({test.x, 0.0f});
        player->SetControlsOn(test.controlsOn);
        player->Update(1.0f / 60.0f);
        // With the controls on the player's own update turns it toward the
        // cursor, which rests at x 0, left of every probe.
        EXPECT_EQ(player->GetFlipHorizontal(), test.controlsOn || !test.facingRight);
        EXPECT_EQ(player->GetVelocity().x, test.expectedVelocityX);
        Vector2D body;
        ASSERT_TRUE(player->Tundra::GameObject::GetVelocity(body));
        EXPECT_EQ(body == Vector2D(0.0f, 0.0f), !test.controlsOn);
        player->Destroy();
    }

    // Built, read from a stream and cloned, it walks 10 each way; its flag
    // travels in its stream.
    const Core::RefPtr<MenuPlayer> built = TUN_NEW(MenuPlayer, TestAnimations(1));
    built->SetControlsOn(true);
    Core::MemoryFile file;
    built->Save(file);
    const Core::RefPtr<MenuPlayer> read = dynamic_cast<MenuPlayer*>(CreateObjectByName("MenuPlayer"));
    Core::MemoryFile reader(file.GetData(), file.GetSize());
    read->Load(reader);
    EXPECT_TRUE(!reader.HasFailed() && read->GetControlsOn());
    // A flag other than 0 or 1 is refused and the flag stays as it was.
    std::vector<std::uint8_t> bytes(file.GetData(), file.GetData() + file.GetSize());
    bytes.back() = 2;
    const Core::RefPtr<MenuPlayer> refused = TUN_NEW(MenuPlayer, TestAnimations(1));
    Core::MemoryFile hostile(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    refused->Load(hostile);
    EXPECT_TRUE(hostile.HasFailed());
    EXPECT_FALSE(refused->GetControlsOn());
    const Core::RefPtr<MenuPlayer> cloned = static_cast<MenuPlayer*>(built->Clone());
    for (const Core::RefPtr<MenuPlayer>& player : {built, read, cloned}) {
        EXPECT_EQ(player->GetRightStep(), 10);
        EXPECT_EQ(player->GetLeftStep(), -10);
    }
}

}  // namespace
}  // namespace mygametest
