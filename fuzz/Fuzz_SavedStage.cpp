#include "Fuzz_GameDataFiles.h"
#include "Fuzz_GameFrames.h"
#include "Fuzz_SaveFiles.h"

#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameLevelTestHooks.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "support/MyGame_TestContent.h"
#include "support/Renderer_FakeTextureCache.h"

#include <cstdio>
#include <filesystem>
#include <cstdlib>

// A saved stage, changed by the fuzzer and put in its envelope as a save
// writes it (the seeds: a stage with its waves, paused, and the fights of
// the Bear and the final boss), loads into a running game of the stage's
// test content: either it loads and the stage plays and draws a few frames,
// or it is refused and the running game plays on. Either way the game then
// goes back to its own saved stage, which lets go of what was loaded.
namespace {

using fuzz::Frames;
using fuzz::SavePath;

constexpr int kFramesPerInput = 3;

void Load(MyGame& game, const char* name) {
    game.RequestLoad(name);
    Frames(game, 1);
}

GameLevel* EnterStage(MyGame& game, std::uint8_t index) {
    game.GetProfile().currentStage = index;
    game.ChangeLevel(MyLevelFactory::kGameLevel);
    GameLevel* stage = nullptr;
    for (int frame = 0; frame < 600 && stage == nullptr; ++frame) {
        Frames(game, 1);
        stage = game.IsLevelChangePending() ? nullptr : dynamic_cast<GameLevel*>(game.GetCurrentLevel());
    }
    fuzz::Check(stage != nullptr, "no stage");
    return stage;
}

// The stage's run skipped to its boss, which the ground calls in; a flyer
// and a walker join the fight, which is saved after the frames.
void SaveBossFight(MyGame& game, std::uint8_t index, int frames, const char* name) {
    GameLevel* stage = EnterStage(game, index);
    GameLevelTestAccess::SkipToBoss(*stage);
    Frames(game, frames);
    stage->SpawnFlyingEnemy(1, 0.0f);
    stage->SpawnGroundEnemy();
    Frames(game, 90);
    game.RequestSave(name);
    Frames(game, 1);
}

// Stage 0 run for a while with two test enemies alive, saved as "stage";
// "paused" the same with the pause dialog open; the Bear's fight as "bear",
// the final boss's as "final". One game for the whole run.
MyGame& RunningStage() {
    static MyGame* game = [] {
        static testsupport::FakeTextureCache textures;
        fuzz::UseHarnessClock();
        fuzz::DataHome();
        const std::string folder = fuzz::RunFolder("fuzz-saved-stage");
        // The stage's sheets stay where the build put them.
        std::filesystem::create_directory_symlink(os::ExecutableDirectory() + "/Resources", folder + "/Resources");
        os::SetExecutablePathForTesting(folder + "/game");
        Core::RefPtr<MyGame> made = MakeGame(mygametest::MakeStageContent());
        fuzz::Check(made != nullptr, "no game");
        made->AddReference();
        Frames(*made, 1);
        SaveBossFight(*made, 2, 500, "bear");
        SaveBossFight(*made, 8, 600, "final");
        GameLevel* stage = EnterStage(*made, 0);
        for (const Vector2D& position : {Vector2D{600.0f, 300.0f}, Vector2D{800.0f, 500.0f}}) {
            auto* enemy = TUN_NEW(Enemy, mygametest::TestAnimations(1));
            enemy->SetOldPosition(position);
            made->GetWorldLayer()->AddGameObject(enemy);
            stage->AddLiveEnemy(enemy);
        }
        Frames(*made, 90);
        made->RequestSave("stage");
        Frames(*made, 1);
        stage->ShowPauseDialog(true);
        stage->SetLevelPaused(true);
        made->RequestSave("paused");
        Frames(*made, 1);
        Load(*made, "stage");
        return made.Get();
    }();
    return *game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MyGame& game = RunningStage();
    fuzz::WriteEnveloped("input", data, size);
    Load(game, "input");
    Frames(game, kFramesPerInput);
    if (game.GetCurrentLevel() == nullptr) {
        std::fprintf(stderr, "a loaded stage left the game without a level\n");
        std::abort();
    }
    Load(game, "stage");
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    RunningStage();
    seeds.Add("stage", fuzz::PayloadOf("stage"));
    seeds.Add("paused", fuzz::PayloadOf("paused"));
    seeds.Add("bear", fuzz::PayloadOf("bear"));
    seeds.Add("final", fuzz::PayloadOf("final"));
}
