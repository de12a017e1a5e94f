#pragma once

#include "mygame/MyGame_ProfileText.h"
#include "support/MyGame_StageFixture.h"
#include "support/MyGame_StageSaves.h"

#include <cstdint>

// Whole stages played by the bot on SDL's offscreen driver with the
// generated sheets.
namespace mygametest {

class WholeStageFixture : public OffscreenStageFixture {
protected:
    // The bot's profile, written before the stage is entered: the scatter
    // gun in the left hand (the one the bot fires), the flame thrower in
    // the right, every upgrade at level 5.
    void WriteBotProfile();
    // One frame with the bot's input for what the stage shows now.
    void BotStep();
    // Records the next frames from here with the bot playing, replays them
    // and comes back: the hashes of the replay are those recorded, and the
    // game goes on from where the recording ended (the state the replay
    // saved as it started).
    void RecordAndReplay(int frames);
    // "profile.sav" as the game last wrote it.
    ReadProfile SavedProfile() const;

    std::int64_t m_botFrame = 0;
    StageSaves m_saves;
};

}  // namespace mygametest
