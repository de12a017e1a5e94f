#pragma once

#include "core/Core_Clock.h"
#include "core/Core_RefPtr.h"
#include "mygame/MyGame.h"
#include "os/OS_VirtualKeys.h"
#include "support/MyGame_RunningTest.h"
#include "support/MyGame_TestContent.h"
#include "support/Renderer_FakeTextureCache.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

// A headless Emberline over test content, its files in temporary folders,
// on a scripted clock with scripted keys and cursor.
namespace mygametest {

class MyGameTest : public testing::Test {
protected:
    static constexpr double kFrameMilliseconds = 1000.0 / 60.0;
    static constexpr std::uint32_t kSeed = 5489;

    void SetUp() override;
    // Shuts the game down and releases it, then restores the process.
    void TearDown() override;

    // The content of the game that runs, or else of the next StartGame: set
    // its builders first.
    TestContent& Content() { return *m_content; }
    // The games started from now on run on the game's own levels, as the
    // program's do (MakeGameContent(), static-collision files read), and
    // Content()'s builders go unused.
    void UseGameContent() { m_gameContent = true; }
    // Makes the game over the content and seeds both random generators; the
    // first Step builds the intro. The scripted clock, the depth counters
    // and the object ids start again, as in a fresh program: two games of
    // one seed and input play alike.
    MyGame& StartGame(std::uint32_t seed = kSeed);
    MyGame& Game() { return *m_game; }
    // Frames of 1/60 s each.
    void Step(int frames = 1);
    // One frame in which the game stops that long: the next frame's update
    // is given its whole length.
    void StepWithStop(double milliseconds);
    // Asks for the level and steps until it runs; false when it never came.
    bool GoToLevel(std::uint32_t index, int frameLimit = 4);
    // Shuts the game down and releases it (at once, as the program's end);
    // the next game gets a content of its own.
    void EndGame();

    // Held down (or let go) from the next frame's keyboard poll on.
    static void HoldKey(os::VirtualKey key, bool down);
    static void SetCursor(std::int32_t x, std::int32_t y);

    // XDG_DATA_HOME and HOME while the test runs.
    std::string DataHome() const { return m_folder.Path() + "/data"; }
    std::string Home() const { return m_folder.Path() + "/home"; }
    // Where the game's files go: DataHome()/Emberline.
    std::string DataFolder() const { return DataHome() + "/Emberline"; }

    std::optional<testsupport::FakeTextureCache> m_textures;
    Core::RefPtr<MyGame> m_game;

private:
    void FreshContent();
    // What a game reads of the process as the program starts it: the
    // scripted clock at 0 (a frame's length is a difference of two clock
    // readings, exact only as far as the readings are), the depth counters
    // of tiles and health bars, the object ids.
    static void RestartProcessState();

    struct SavedVariable {
        const char* name;
        std::optional<std::string> value;
    };

    std::uint8_t m_core = 0;
    Core::ClockFunction m_clock = nullptr;
    testsupport::TempDirectory m_folder;
    SavedVariable m_saved[3] = {{"XDG_DATA_HOME", {}}, {"HOME", {}}, {"USERPROFILE", {}}};
    std::unique_ptr<TestContent> m_ownedContent;
    TestContent* m_content = nullptr;
    bool m_gameContent = false;
};

// The fixture's first name, still used by the level factory's tests.
using GameTest = MyGameTest;

}  // namespace mygametest
