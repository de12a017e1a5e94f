#pragma once

#include "math/Math_Vector2D.h"
#include "os/OS_VirtualKeys.h"
#include "support/MyGame_TestContent.h"
#include "support/MyGame_TestGame.h"
#include "support/VideoDriver.h"
#include "tundra/Tundra_FindObject.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class Enemy;
class GameLevel;
class TestEnemy;

// A game over the stage's test content that enters a stage as the title
// level does: the profile's current stage set, then a change to level 2.
// Headless, on the scripted clock, keys and cursor; frames still take the
// generated sheets' sizes (the fake textures read the image headers).
namespace mygametest {

class StageFixture : public MyGameTest {
protected:
    // Runs after the stage's own rows of that layer (tests' extra objects);
    // set before EnterStage.
    void AlsoBuild(std::uint32_t layer, TestContent::Builder builder);
    // The stages entered from now on have no enemy templates (their waves
    // bring nothing), or no boss bodies.
    void LeaveOutEnemies() { m_leftOut.enemies = true; }
    void LeaveOutBosses() { m_leftOut.bosses = true; }
    // Ends a running game, starts one (seeded), lets the intro begin, then
    // enters the stage; false when the stage is not running within a few
    // frames.
    bool EnterStage(std::uint32_t stage, std::uint32_t seed = kSeed);
    // The same for the title level, over the title level's test content
    // (the stage's rows stay for a later stage); its first update has run.
    bool EnterTitle(std::uint32_t seed = kSeed);
    // The running stage; null outside one.
    GameLevel* Stage() const;

    // A boss fight: the stage entered, the enemies of its first wave sent
    // away, its run skipped to its end and its warning taken as shown, then
    // stepped until the ground has run out and the stage has called its boss
    // in. The boss, or null when the stage has none or it never came.
    Enemy* EnterBossFight(std::uint32_t stage, std::uint32_t seed = kSeed);
    // Every live enemy but the boss goes (leaving no drop), and the waves
    // still to come with them.
    void SendEnemiesAway();
    // From now on hits cost the player nothing (the fifth weapon's armour
    // takes the whole of each), so a fight lasts as long as a test needs:
    // in the running game and in every game entered after, also one that
    // then loads a save (the profile is no game state).
    void HoldHealth();

    // Steps one frame at a time until `done` holds after a frame; the
    // frames stepped, or nothing when it still did not hold after
    // `maxFrames`.
    std::optional<int> RunUntil(const std::function<bool()>& done, int maxFrames);

    // The first object of the name and class in the running level.
    template <class T = Tundra::GameObject>
    static T* Find(const char* name) {
        return Tundra::FindObject<T>(name);
    }

    // A test enemy of the kind in the stage's world layer, named as given,
    // with one collision circle (id 0) of group 0 that meets groups 0 and 2
    // (the player's bullets), appended to the stage's live enemies; null
    // outside a stage.
    TestEnemy* AddTestEnemy(const Vector2D& position, std::int32_t kind = 0, const char* name = "TestEnemy",
                            float radius = 30.0f);

    // The cursor over a point of the world layer (client pixels, y from the
    // bottom, are world units there).
    static void AimAt(const Vector2D& world);
    // Held from the next frame on, until released; a tap is a press for
    // one frame.
    static void Press(os::VirtualKey key) { HoldKey(key, true); }
    static void Release(os::VirtualKey key) { HoldKey(key, false); }
    void Tap(os::VirtualKey key);

private:
    void ApplyHeldHealth();
    bool EnterLevel(std::uint32_t level, std::uint32_t stage, std::uint32_t seed);

    std::vector<std::pair<std::uint32_t, TestContent::Builder>> m_extraBuilders;
    StageLeftOut m_leftOut;
    bool m_holdingHealth = false;
};

// A stage fixture (StageFixture or one made from it) on SDL's offscreen
// driver with real textures: sprites get the generated sheets' frame sizes
// from the renderer. Input there is the window system's, not the scripted
// one.
template <class Base>
class OffscreenOf : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        this->m_textures.reset();
    }

private:
    testsupport::ScopedVideoDriver m_driver{"offscreen"};
};

using OffscreenStageFixture = OffscreenOf<StageFixture>;

}  // namespace mygametest
