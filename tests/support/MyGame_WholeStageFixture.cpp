#include "support/MyGame_WholeStageFixture.h"

#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "support/MyGame_StageBot.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mygametest {

namespace {

// Mesa's software renderer (the offscreen driver's, as in CI) reads this as
// it starts.
constexpr const char* kSoftwareRendererKnobs = "LP_PERF";

}  // namespace

// Pixels are no part of what these tests check, and drawing them was most of
// a frame's time: the software renderer skips shading, textures, blending and
// depth. The sheets still load, so frames keep their textures' sizes.
WholeStageFixture::WholeStageFixture() { setenv(kSoftwareRendererKnobs, "no_shade,no_tex,no_blend,no_depth", 1); }

WholeStageFixture::~WholeStageFixture() { unsetenv(kSoftwareRendererKnobs); }

void BotStageFixture::WriteBotProfile() {
    constexpr std::uint8_t kUpgradeLevel = 5;
    PlayerProfile profile = MakeNewProfile();
    profile.unlockedWeapons = 4 | 8;
    profile.selectedWeapons = 4 | (8u << 16);
    profile.upgradeLevels.fill(kUpgradeLevel);
    profile.fifthWeaponLevel = kUpgradeLevel;
    std::filesystem::create_directories(DataFolder());
    std::ofstream(DataFolder() + "/profile.sav", std::ios::binary) << FormatProfile(profile);
}

void BotStageFixture::BotStep() {
    ApplyStageInput(DecideStageInput(LookAtStage(*Stage(), m_botFrame++)));
    Step();
}

void BotStageFixture::RecordAndReplay(int frames, int hashEvery) {
    const PlayerProfile profile = m_game->GetProfile();
    const GameGlobals keys = Globals();
    // The replay's last frame is always compared.
    const auto hashed = [frames, hashEvery](int frame) {
        return hashEvery <= 1 || frame % hashEvery == hashEvery - 1 || frame + 2 == frames;
    };
    // A frame with no time behind it runs no update and takes no request:
    // the recording would start a frame after the first hash.
    if (m_game->GetLastFrameDuration() == 0.0) {
        Step();
    }
    m_game->ReplayRecordingStart("wholeStage");
    std::vector<std::uint64_t> recorded;
    for (int frame = 0; frame < frames; ++frame) {
        BotStep();
        recorded.push_back(hashed(frame) ? m_game->GetStateHash() : 0);
    }
    m_game->ReplayRecordingStop();
    Step();
    m_game->ReplayStart("wholeStage");
    // The data holds every recorded frame but the last.
    for (int frame = 0; frame + 1 < frames; ++frame) {
        Step();
        if (hashed(frame)) {
            ASSERT_EQ(m_game->GetStateHash(), recorded[static_cast<std::size_t>(frame)]) << "frame " << frame;
        }
    }
    // The replay's last frame asked for the way back, a load of the state
    // saved as the replay started; this one takes it.
    Step();
    EXPECT_FALSE(m_game->IsReplayPlaying());
    // Profile and settings are no game state: the replay leaves them to
    // the test.
    m_game->GetProfile() = profile;
    Globals().leftKeyId = keys.leftKeyId;
    Globals().rightKeyId = keys.rightKeyId;
    Globals().jumpKeyId = keys.jumpKeyId;
    LetGo();
}

void BotStageFixture::LetGo() {
    // The frame after the load polls nothing, the next poll takes the
    // cursor's place, the one after finds the buttons free.
    constexpr int kFreeFrames = 3;
    for (int frame = 0; frame < kFreeFrames; ++frame) {
        ApplyStageInput(StageInput{});
        Step();
    }
}

ReadProfile BotStageFixture::SavedProfile() const {
    std::ifstream file(DataFolder() + "/profile.sav", std::ios::binary);
    return ParseProfile(std::string(std::istreambuf_iterator<char>(file), {}));
}

}  // namespace mygametest
