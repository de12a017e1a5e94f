#include "support/MyGame_StageStreamFixture.h"

#include "sound/Sound_JukeBox.h"
#include "tundra/Tundra_Level.h"

#include <algorithm>
#include <random>

namespace mygametest {

std::vector<std::uint64_t> StageStreamFixture::SaveAndPlayOn(const char* name, int frames) {
    std::vector<std::uint64_t> hashes{m_game->GetStateHash()};
    m_game->RequestSave(name);
    for (int frame = 0; frame < frames; ++frame) {
        Step();
        hashes.push_back(m_game->GetStateHash());
    }
    return hashes;
}

void StageStreamFixture::ExpectLoadPlaysOn(const char* name, std::uint32_t stage,
                                           const std::vector<std::uint64_t>& uninterrupted) {
    EndGame();
    ASSERT_TRUE(EnterStage(stage, kSeed + 1));
    // The load's frame goes on as the save's did.
    Load(name);
    ASSERT_EQ(m_game->GetStateHash(), uninterrupted[1]);
    // The frame after a load has no time behind it.
    Step();
    ASSERT_EQ(m_game->GetStateHash(), uninterrupted[1]);
    for (std::size_t frame = 2; frame < uninterrupted.size(); ++frame) {
        Step();
        ASSERT_EQ(m_game->GetStateHash(), uninterrupted[frame]) << "frame " << frame;
    }
}

void StageStreamFixture::ExpectSaveLoadSaveGivesTheSameBytes() {
    ASSERT_NE(m_game->GetCurrentLevel(), nullptr);
    Tundra::JukeBox* music = m_game->GetCurrentLevel()->GetJukeBox();
    ASSERT_NE(music, nullptr);
    music->SetFadeTime(0.0f);
    music->StopMusic();
    Step();
    Save("start");
    Save("played");
    Load("start");
    Save("replayed");
    const std::vector<std::uint8_t> played = m_saves.Payload("played");
    const std::vector<std::uint8_t> replayed = m_saves.Payload("replayed");
    const auto differs = std::mismatch(played.begin(), played.end(), replayed.begin(), replayed.end());
    EXPECT_EQ(played, replayed) << "sizes " << played.size() << " and " << replayed.size()
                                << ", first difference at byte " << differs.first - played.begin();
}

void StageStreamFixture::Load(const char* name) {
    const Tundra::Level* before = m_game->GetCurrentLevel();
    m_game->RequestLoad(name);
    ASSERT_TRUE(RunUntil([&] { return m_game->GetCurrentLevel() != before; }, 3)) << name;
}

void StageStreamFixture::Save(const char* name) {
    m_game->RequestSave(name);
    ASSERT_TRUE(RunUntil([&] { return !m_saves.Payload(name).empty(); }, 3)) << name;
}

void StageStreamFixture::LoadCutsAndMutations(std::span<const std::uint8_t> payload, std::size_t cuts,
                                              int mutations) {
    const auto loadAndPlay = [this](std::span<const std::uint8_t> bytes) {
        m_saves.WriteSealed("changed", bytes);
        m_game->RequestLoad("changed");
        Step(3);
        ASSERT_NE(m_game->GetCurrentLevel(), nullptr);
    };
    for (std::size_t cut = 0; cut < payload.size(); cut += std::max<std::size_t>(payload.size() / cuts, 1)) {
        loadAndPlay(payload.first(cut));
    }
    std::mt19937 random(kSeed);
    for (int mutation = 0; mutation < mutations; ++mutation) {
        std::vector<std::uint8_t> changed(payload.begin(), payload.end());
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int change = 0; change < changes; ++change) {
            changed[random() % changed.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        }
        loadAndPlay(changed);
    }
}

}  // namespace mygametest
