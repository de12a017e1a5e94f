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
    WholeStageFixture();
    ~WholeStageFixture() override;

    // The bot's profile, written before the stage is entered: the scatter
    // gun in the left hand (the one the bot fires), the flame thrower in
    // the right, every upgrade at level 5.
    void WriteBotProfile();
    // One frame with the bot's input for what the stage shows now.
    void BotStep();
    // Records the next frames from here with the bot playing, replays them
    // and comes back: the hashes of the replay are those recorded, and the
    // game goes on from where the recording ended (the state the replay
    // saved as it started). The bot's hand then lets go (see LetGo).
    void RecordAndReplay(int frames);
    // After a load the game reads no mouse button until the buttons have
    // been free for two polls (as a player's hand would leave them), and no
    // key while one is held: the bot lets go of every key and button for the
    // frames that takes.
    void LetGo();
    // "profile.sav" as the game last wrote it.
    ReadProfile SavedProfile() const;

    std::int64_t m_botFrame = 0;
    StageSaves m_saves;
};

}  // namespace mygametest
