#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_Globals.h"
#include "sound/Sound_JukeBox.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Sound.h"

#include <limits>
#include <string>
#include <vector>

namespace mygametest {
namespace {

Core::String SoundFile(const std::string& name) {
    return Tundra::Game::GetDirectory() + "\\Resources\\Sounds\\" + name.c_str();
}

class GameAudioTest : public MyGameTest {
protected:
    // The game at the intro, whose layers hold what the sounds need.
    MyGame& StartAt(bool muted) {
        MyGame& game = StartGame();
        game.SetMuted(muted);
        Step(2);
        return game;
    }

    // Long enough for any fade the game asked for.
    void Settle() { Step(150); }
};

TEST_F(GameAudioTest, EffectSoundsComeInOrderAtTheGameVolume) {
    const std::vector<Core::String> files = {SoundFile("buttonHover.ogg"), SoundFile("playerHit.ogg"),
                                             SoundFile("playerDeath.ogg"), SoundFile("playerCollect.ogg")};
    for (const bool muted : {false, true}) {
        MyGame& game = StartAt(muted);
        game.LoadSoundEffects();
        game.LoadSoundEffects();  // starts the list afresh
        const std::vector<Tundra::Sound*>& sounds = game.GetEffectSounds();
        ASSERT_EQ(sounds.size(), files.size());
        const GameGlobals& globals = Globals();
        EXPECT_EQ(sounds[0], globals.buttonHoverSound);
        EXPECT_EQ(sounds[1], globals.playerHitSound);
        EXPECT_EQ(sounds[2], globals.playerDeathSound);
        EXPECT_EQ(sounds[3], globals.playerCollectSound);
        for (std::size_t i = 0; i < sounds.size(); ++i) {
            EXPECT_EQ(sounds[i]->GetFileName(), files[i]) << i;
            EXPECT_EQ(sounds[i]->GetVolume(), muted ? 0.0f : 0.8f) << i;
            EXPECT_EQ(sounds[i]->GetLayer(), game.GetWorldLayer()) << i;
            EXPECT_EQ(sounds[i]->GetPositioning(), Tundra::Sound::kRelative) << i;
            EXPECT_EQ(sounds[i]->GetIntensity(), 10.0f) << i;
            EXPECT_FALSE(sounds[i]->GetLooping()) << i;
            EXPECT_FALSE(sounds[i]->IsPlaying()) << i;
        }
        EndGame();
    }
}

TEST_F(GameAudioTest, ThePlaylistShufflesNineTracksForTheLevel) {
    for (const bool muted : {false, true}) {
        MyGame& game = StartAt(muted);
        game.LoadMusicPlaylist();
        Tundra::JukeBox* music = game.GetMenuMusic();
        ASSERT_NE(music, nullptr);
        EXPECT_EQ(game.GetCurrentLevel()->GetJukeBox(), music);
        EXPECT_EQ(music->GetMusicSoundsCount(), 9u);
        for (const char digit : std::string("123456789")) {
            EXPECT_NE(music->FindMusicSound(SoundFile(std::string("music (") + digit + ").ogg")), nullptr) << digit;
        }
        EXPECT_EQ(music->GetFadeTime(), 2.0f);
        EXPECT_TRUE(music->GetRepeat());
        EXPECT_TRUE(music->GetShuffle());
        EXPECT_TRUE(music->IsPlaying());
        Settle();
        EXPECT_EQ(music->GetMusicVolume(), muted ? 0.0f : 0.8f);
        EndGame();
    }
}

TEST_F(GameAudioTest, LevelMusicFollowsTheCurrentStagesTheme) {
    MyGame& game = StartAt(false);
    game.GetProfile().currentStage = 4;
    ASSERT_EQ(GetLevelInfo(4).Theme(), 1);
    game.LoadMusicPlaylist();
    game.LoadLevelMusic();
    Tundra::JukeBox* music = game.GetLevelMusic();
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(game.GetCurrentLevel()->GetJukeBox(), music);
    // The level let the playlist go with its reference.
    EXPECT_EQ(game.GetMenuMusic(), nullptr);
    EXPECT_EQ(music->GetMusicSoundsCount(), 1u);
    EXPECT_NE(music->FindMusicSound(SoundFile("bgm1.ogg")), nullptr);
    EXPECT_EQ(music->GetFadeTime(), 2.0f);
    EXPECT_TRUE(music->GetRepeat());
    EXPECT_FALSE(music->GetShuffle());
    EXPECT_TRUE(music->IsPlaying());
}

TEST_F(GameAudioTest, SetVolumeReachesEveryEffectAndTheMusicButIsNotStored) {
    for (const bool levelMusic : {false, true}) {
        MyGame& game = StartAt(false);
        game.LoadSoundEffects();
        game.LoadMusicPlaylist();
        if (levelMusic) {
            game.LoadLevelMusic();
        }
        Settle();
        game.SetVolume(0.25f, 0.0f);
        for (const float refused : {-0.5f, 1.5f, std::numeric_limits<float>::quiet_NaN()}) {
            game.SetVolume(refused, 0.0f);
        }
        Settle();
        for (const Tundra::Sound* sound : game.GetEffectSounds()) {
            EXPECT_EQ(sound->GetVolume(), 0.25f);
        }
        Tundra::JukeBox* music = levelMusic ? game.GetLevelMusic() : game.GetMenuMusic();
        ASSERT_NE(music, nullptr);
        EXPECT_EQ(music->GetMusicVolume(), 0.25f) << levelMusic;
        EXPECT_EQ(game.GetVolume(), 0.8f);
        EndGame();
    }
}

TEST_F(GameAudioTest, ALevelChangeForgetsTheSoundsAndMusic) {
    MyGame& game = StartAt(false);
    ASSERT_TRUE(GoToLevel(1));
    game.LoadSoundEffects();
    game.LoadMusicPlaylist();
    game.LoadLevelMusic();
    ASSERT_TRUE(GoToLevel(0));
    EXPECT_TRUE(game.GetEffectSounds().empty());
    EXPECT_EQ(game.GetMenuMusic(), nullptr);
    EXPECT_EQ(game.GetLevelMusic(), nullptr);
    const GameGlobals& globals = Globals();
    for (const Tundra::Sound* sound :
         {globals.buttonHoverSound, globals.playerHitSound, globals.playerDeathSound, globals.playerCollectSound}) {
        EXPECT_EQ(sound, nullptr);
    }
    game.SetVolume(0.5f, 1.0f);
    Step();
}

}  // namespace
}  // namespace mygametest
