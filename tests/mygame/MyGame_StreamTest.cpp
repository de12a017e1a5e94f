#include "MyGame_PlayTest.h"

#include "mygame/MyGame_Cloud.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_IntroLevel.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Player.h"
#include "sound/Sound_JukeBox.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_SaveEnvelope.h"
#include "tundra/Tundra_Sound.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace mygametest;

namespace {

class StreamTest : public PlayTest {
protected:
    // Saved now, played on for `frames`, loaded and played again: every
    // frame's state is as it was the first time. The frame after a load has
    // no time behind it and does not update.
    void ExpectPlayGoesOnAfterALoad(const char* name, int frames) {
        m_game->RequestSave(name);
        Step();
        std::vector<std::uint64_t> first{Hash()};
        for (int frame = 0; frame < frames; ++frame) {
            Step();
            first.push_back(Hash());
        }
        m_game->RequestLoad(name);
        Step();
        ASSERT_EQ(Hash(), first[0]);
        Step();
        ASSERT_EQ(Hash(), first[0]);
        for (int frame = 1; frame <= frames; ++frame) {
            Step();
            ASSERT_EQ(Hash(), first[static_cast<std::size_t>(frame)]) << "frame " << frame;
        }
    }
    // The game saved now as "whole": the file's payload, past its envelope.
    std::vector<std::uint8_t> SavedPayload() {
        m_game->RequestSave("whole");
        Step();
        std::ifstream in(m_saves.Path() + "/Saves/whole", std::ios::binary);
        const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
        return file.size() < Tundra::SaveEnvelope::kHeaderSize
                   ? std::vector<std::uint8_t>()
                   : std::vector<std::uint8_t>(file.begin() + Tundra::SaveEnvelope::kHeaderSize, file.end());
    }
    // The payload sealed in a fresh envelope, so that only the stream can
    // tell what was changed, loaded at the next frame.
    void LoadSealed(std::span<const std::uint8_t> payload) {
        const std::vector<std::uint8_t> header = Tundra::SaveEnvelope::Header(payload);
        std::ofstream out(m_saves.Path() + "/Saves/sealed", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
        out.write(reinterpret_cast<const char*>(payload.data()), static_cast<std::streamsize>(payload.size()));
        out.close();
        m_game->RequestLoad("sealed");
        Step();
    }
    // Saved, then loaded at the next frame.
    void SaveAndLoad(const char* name) {
        m_game->RequestSave(name);
        Step();
        m_game->RequestLoad(name);
        Step();
    }
};

TEST_F(StreamTest, TheIntroGoesOnFromItsStep) {
    StartPlay();
    Step(100);
    ExpectPlayGoesOnAfterALoad("intro", 120);
    const auto* intro = dynamic_cast<const IntroLevel*>(m_game->GetCurrentLevel());
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->GetStep(), 4u);
    EXPECT_GT(Tundra::FindObject<Tundra::Sprite>("TdLogo")->GetOpacity(), 0.0f);
}

TEST_F(StreamTest, TheTitleGoesOnWithItsSlide) {
    StartPlay();
    SkipIntro();
    Step(30);
    ExpectPlayGoesOnAfterALoad("title", 60);
    const float y = Tundra::FindObject<Tundra::Sprite>("Title")->GetPositionY();
    Step();
    EXPECT_EQ(Tundra::FindObject<Tundra::Sprite>("Title")->GetPositionY(), y - 3.0f);
}

TEST_F(StreamTest, CloudsGoOnAtTheirSpeedAndTheCloudTemplateStillClones) {
    StartPlay();
    SkipIntro();
    EnterStage();
    Step(30);
    ExpectPlayGoesOnAfterALoad("stage", 120);
    std::vector<Tundra::GameObject*> clouds;
    const Core::String cloudName = kTemplateNames[kCloudTemplate];
    m_game->GetCurrentLevel()->GetGameObjects(&cloudName, clouds);
    // The content's six and the stage's own.
    ASSERT_GT(clouds.size(), 6u);
    for (Tundra::GameObject* cloud : clouds) {
        const float speed = static_cast<Cloud*>(cloud)->GetSpeed();
        EXPECT_TRUE(speed >= 90.0f && speed <= 130.0f) << speed;
    }
    // The stage holds the templates its content has: here the cloud.
    EXPECT_EQ(m_game->GetTemplate(kBulletTemplate), nullptr);
    EXPECT_NE(MakeCloud(-0.5f), nullptr);
}

// What the game links into the level is linked again into what was read:
// its templates, sounds, both jukeboxes, its player; the pause and the
// depth of the tiles come back as they were saved.
TEST_F(StreamTest, AfterALoadTheGameHoldsWhatWasRead) {
    StartPlay();
    SkipIntro();
    Globals().paused = 1;
    Terrain::SetTileDepthCounter(-0.25f);
    m_game->RequestSave("links");
    Step();
    Globals().paused = 0;
    Terrain::SetTileDepthCounter(0.0f);
    const Core::RefPtr<Tundra::Level> saved = m_game->GetCurrentLevel();
    m_game->RequestLoad("links");
    Step();
    const Tundra::Level* level = m_game->GetCurrentLevel();
    ASSERT_NE(level, saved.Get());
    EXPECT_EQ(Globals().paused, 1);
    EXPECT_EQ(Terrain::GetTileDepthCounter(), -0.25f);

    const std::vector<Tundra::Sound*>& sounds = m_game->GetEffectSounds();
    ASSERT_EQ(sounds.size(), 4u);
    for (const Tundra::Sound* sound : sounds) {
        EXPECT_EQ(sound->GetLayer(), m_game->GetWorldLayer());
    }
    const GameGlobals& globals = Globals();
    EXPECT_EQ((std::vector<Tundra::Sound*>{globals.buttonHoverSound, globals.playerHitSound,
                                           globals.playerDeathSound, globals.playerCollectSound}),
              sounds);
    EXPECT_EQ(m_game->GetMenuMusic(), level->GetJukeBox());
    EXPECT_NE(m_game->GetMenuMusic(), nullptr);
    EXPECT_EQ(m_game->GetLevelMusic(), nullptr);
    ASSERT_NE(globals.player, nullptr);
    EXPECT_EQ(globals.player, Tundra::FindObject<Player>("Player"));
    for (std::uint32_t slot = 0; slot < kTemplateCount; ++slot) {
        const Tundra::GameObject* held = m_game->GetTemplate(slot);
        ASSERT_NE(held, nullptr) << slot;
        EXPECT_EQ(held->GetLayer(), nullptr) << slot;
        EXPECT_EQ(held->GetName(), kTemplateNames[slot]);
    }
    // Loaded again into the level it read, the game changes level as before.
    SaveAndLoad("links");
    m_game->ChangeLevel(MyLevelFactory::kGameLevel);
    Step(2);
    EXPECT_EQ(m_game->GetCurrentLevelIndex(), MyLevelFactory::kGameLevel);
    // The stage takes its own templates.
    EXPECT_NE(m_game->GetTemplate(kBulletTemplate), nullptr);
}

// A file whose game part is damaged leaves the running game as it was.
TEST_F(StreamTest, ADamagedGamePartLeavesTheRunningGame) {
    StartPlay();
    SkipIntro();
    // A pause flag of 2 is no flag.
    Globals().paused = 2;
    m_game->RequestSave("damaged");
    Step();
    Globals().paused = 0;
    const Core::RefPtr<Tundra::Level> running = m_game->GetCurrentLevel();
    m_game->RequestLoad("damaged");
    Step();
    EXPECT_EQ(Globals().paused, 0);
    EXPECT_NE(m_game->GetCurrentLevel(), running.Get());
    EXPECT_NE(m_game->GetTemplate(kBulletTemplate), nullptr);
    EXPECT_NE(Globals().player, nullptr);
}

// The game's links are references into the level the file holds: a file
// that writes a sound in place of one, held by nothing but the stream, is
// refused rather than leaving a link to an object freed with the stream.
TEST_F(StreamTest, ALinkToAnObjectOnlyTheFileHoldsIsRefused) {
    StartPlay();
    SkipIntro();
    const Core::RefPtr<Tundra::Sound> loose = m_game->GetEffectSounds().front();
    loose->Destroy();
    Step();
    ASSERT_EQ(loose->GetLayer(), nullptr);
    m_game->RequestSave("loose");
    Step();
    m_game->LoadSoundEffects();
    m_game->RequestLoad("loose");
    Step();
    for (const Tundra::Sound* sound : m_game->GetEffectSounds()) {
        EXPECT_EQ(sound->GetLayer(), m_game->GetWorldLayer());
    }
    m_game->SetVolume(0.5f, 0.0f);
}

// A file listing a null among the effect sounds is refused: every sound the
// game lists is one it can set the volume of.
TEST_F(StreamTest, ANullEffectSoundIsRefused) {
    StartPlay();
    SkipIntro();
    std::vector<std::uint8_t> payload = SavedPayload();
    // The list: its count 4, then four sound references (present, class
    // name, id), which the globals' four repeat.
    const auto listsSounds = [&payload](std::size_t at) {
        if (at + 9 > payload.size() || payload[at] != 4 || payload[at + 1] != 0 || payload[at + 2] != 0 ||
            payload[at + 3] != 0 || payload[at + 4] != 1) {
            return false;
        }
        const std::size_t list = 4 * (9 + std::size_t{payload[at + 5]});
        const auto first = payload.begin() + static_cast<std::ptrdiff_t>(at + 4);
        return at + 4 + 2 * list <= payload.size() &&
               std::equal(first, first + static_cast<std::ptrdiff_t>(list), first + static_cast<std::ptrdiff_t>(list));
    };
    std::size_t count = payload.size();
    for (std::size_t at = 0; at < payload.size(); ++at) {
        if (listsSounds(at)) {
            count = at;
        }
    }
    ASSERT_LT(count, payload.size());
    payload[count] = 5;
    payload.insert(payload.begin() + static_cast<std::ptrdiff_t>(count + 4), 0);
    LoadSealed(payload);
    ASSERT_EQ(m_game->GetEffectSounds().size(), 4u);
    for (const Tundra::Sound* sound : m_game->GetEffectSounds()) {
        ASSERT_NE(sound, nullptr);
    }
    m_game->SetVolume(0.5f, 0.0f);
}

// Cut anywhere, and sealed again so that only the stream can tell, a saved
// game is refused and the game goes on linked to its own level.
TEST_F(StreamTest, ACutGameStateIsRefusedAndTheGameKeepsItsLinks) {
    StartPlay();
    SkipIntro();
    const std::vector<std::uint8_t> whole = SavedPayload();
    ASSERT_GT(whole.size(), 64u);
    const std::span<const std::uint8_t> payload(whole);
    std::vector<std::size_t> cuts;
    for (std::size_t cut = 1; cut <= 48; ++cut) {
        cuts.push_back(payload.size() - cut);
    }
    for (std::size_t cut = 2600; cut < payload.size(); cut += payload.size() / 40) {
        cuts.push_back(cut);
    }
    for (const std::size_t cut : cuts) {
        LoadSealed(payload.first(cut));
        ASSERT_EQ(m_game->GetCurrentLevelIndex(), MyLevelFactory::kMenuLevel) << cut;
        ASSERT_NE(m_game->GetTemplate(kBulletTemplate), nullptr) << cut;
        ASSERT_EQ(Globals().player, Tundra::FindObject<Player>("Player")) << cut;
        ASSERT_EQ(m_game->GetEffectSounds().size(), 4u) << cut;
    }
    EXPECT_NE(Globals().player, nullptr);
}

}  // namespace
