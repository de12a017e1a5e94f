#pragma once

#include "mygame/MyGame_ProfileText.h"
#include "support/MyGame_StageFixture.h"
#include "support/MyGame_StageStreamFixture.h"

#include <cstdint>

// Whole stages of the game's own levels (static-collision files read)
// played by the bot, saved and loaded in a saves folder of the test's own.
namespace mygametest {

// Headless: sprites take the generated sheets' sizes from the files'
// headers.
class BotStageFixture : public StageStreamFixture {
protected:
    BotStageFixture() { UseGameContent(); }

    // The bot's profile, written before the stage is entered: the scatter
    // gun in the left hand (the one the bot fires), the flame thrower in
    // the right, every upgrade at level 5.
    void WriteBotProfile();
    // One frame with the bot's input for what the stage shows now.
    void BotStep();
    // Records the next frames from here with the bot playing, replays them
    // and comes back: the hashes of the replay are those recorded, and the
    // game goes on from where the recording ended (the state the replay
    // saved as it started). The bot's hand then lets go (see LetGo). A
    // state's hash writes the whole state: a long recording may compare
    // only every `hashEvery`-th frame's. On the scripted clock the frame
    // after a level change or a load has no time behind it and runs nothing;
    // a recording asked for then starts after that frame.
    void RecordAndReplay(int frames, int hashEvery = 1);
    // After a load the game reads no mouse button until the buttons have
    // been free for two polls (as a player's hand would leave them), and no
    // key while one is held: the bot lets go of every key and button for the
    // frames that takes.
    void LetGo();
    // "profile.sav" as the game last wrote it.
    ReadProfile SavedProfile() const;

    std::int64_t m_botFrame = 0;
};

// The same on SDL's offscreen driver, every frame drawn with the generated
// sheets.
class WholeStageFixture : public OffscreenOf<BotStageFixture> {
protected:
    WholeStageFixture();
    ~WholeStageFixture() override;
};

}  // namespace mygametest
