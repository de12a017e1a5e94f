#pragma once

#include "mygame/MyGame_GameLevel.h"
#include "support/MyGame_TestGame.h"
#include "support/TempDirectory.h"

#include <cstdint>
#include <vector>

// Plays of the play content: games started afresh with the same seeds, the
// intro skipped, the title level and a stage whose terrain and clouds the
// test drives; saved games in a folder of the test's own.
namespace mygametest {

class PlayTest : public MyGameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new game over the play content, as the fixture starts one, with
    // what an earlier game of the test left in the process put back.
    MyGame& StartPlay(std::uint32_t seed = kSeed);
    // A key pressed in the intro, let go once the title level runs; returns
    // once the title level updates every frame.
    void SkipIntro();
    // Through the game's own level change; then the stage's templates, its
    // ground laid and six clouds made (the next frame does not update).
    GameLevel& EnterStage();
    // A frame of the stage: the game's, then the ground's.
    void StepStage(GameLevel& stage);
    std::uint64_t Hash() const { return m_game->GetStateHash(); }

    testsupport::TempDirectory m_saves;
};

}  // namespace mygametest
