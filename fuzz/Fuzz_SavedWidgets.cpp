#include "Fuzz_GameDataFiles.h"
#include "Fuzz_GameFrames.h"
#include "Fuzz_RunningGame.h"

#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_FadingText.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameLevelTestHooks.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_TitleSun.h"
#include "support/MyGame_TestContent.h"
#include "support/Renderer_FakeTextureCache.h"
#include "tundra/Tundra_FindObject.h"

#include <array>
#include <vector>

// HUD widgets read from a stream into a running stage of the test content:
// the first byte picks the class (the three text classes, the progress strip
// with its warning machine, the title's sun), the rest is read as a save
// writes objects. What reads joins the stage beside a clone of itself, plays
// and draws a few frames, then is destroyed and let go of. The seeds are
// each class written by the stage in the middle of what it does: the strip
// showing the boss warning, a line being typed, a text fading in, the sun
// on its path.
namespace {

constexpr int kFramesPerInput = 3;

using fuzz::Frames;

GameLevel* Stage(MyGame& game) {
    return game.IsLevelChangePending() ? nullptr : dynamic_cast<GameLevel*>(game.GetCurrentLevel());
}

template <class T>
T* Find(const char* name) {
    return Tundra::FindObject<T>(name);
}

// The Bear's stage run to its end with no wave left, until its strip shows
// the boss warning; a long line being typed and a text fading in beside it.
MyGame& RunningStage() {
    static MyGame* game = [] {
        static testsupport::FakeTextureCache textures;
        fuzz::UseHarnessClock();
        fuzz::DataHome();
        Core::RefPtr<MyGame> made = MakeGame(mygametest::MakeStageContent());
        fuzz::Check(made != nullptr, "no game");
        made->AddReference();
        Frames(*made, 1);
        made->GetProfile().currentStage = 2;
        made->ChangeLevel(MyLevelFactory::kGameLevel);
        for (int frame = 0; frame < 10 && Stage(*made) == nullptr; ++frame) {
            Frames(*made, 1);
        }
        GameLevel* stage = Stage(*made);
        fuzz::Check(stage != nullptr, "no stage");
        GameLevelTestAccess::PlanWaves(*stage, {});
        GameLevelTestAccess::SkipToEnd(*stage);
        const DistanceUI* strip = Find<DistanceUI>("DistanceUI");
        fuzz::Check(strip != nullptr, "no strip");
        for (int frame = 0; frame < 1200 && strip->GetMachine()->GetCurrent() != DistanceUI::kDisplayWarning; ++frame) {
            Frames(*made, 1);
        }
        Find<DialogText>("DialogText")->SetLine("A line long enough to be broken in two rows while it is typed.");
        auto* fading = TUN_NEW(FadingText, "fading", "");
        fading->SetName("Fading");
        fading->SetOpacity(-3.0f);
        fading->SetShowPending(true);
        made->GetHudLayer()->AddGameObject(fading);
        auto* sun = TUN_NEW(TitleSun, mygametest::SheetAnimations({{"TitleSun", 1, 1, mygametest::Delays(1)}}));
        sun->SetName("Sun");
        made->GetWorldLayer()->AddGameObject(sun);
        CenteredText* centred = CreateCenteredText({40.0f, -60.0f}, "centred");
        fuzz::Check(centred != nullptr, "no centred text");
        centred->SetName("Centred");
        Frames(*made, 4);
        return made.Get();
    }();
    return *game;
}

Core::RefPtr<Tundra::GameObject> ReadWidget(fuzz::ChoiceAndStream& input) {
    return fuzz::ReadChosen<Tundra::GameObject, CenteredText, FadingText, DialogText, DistanceUI, TitleSun>(
        input.file, input.choice);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MyGame& game = RunningStage();
    fuzz::ChoiceAndStream input(data, size);
    std::array<Core::RefPtr<Core::Object>, 2> read = fuzz::ReadTwo(input.file, [&] { return ReadWidget(input); });
    std::vector<Core::RefPtr<Core::Object>> clones;
    // The second reference may name the first object again: it joins once.
    if (read[1] == read[0]) {
        read[1] = nullptr;
    }
    for (const Core::RefPtr<Core::Object>& object : read) {
        if (auto* widget = dynamic_cast<Tundra::GameObject*>(object.Get())) {
            clones.push_back(fuzz::JoinWithClone(*game.GetHudLayer(), *widget));
        }
    }
    Frames(game, kFramesPerInput);
    for (const auto& list : {std::vector<Core::RefPtr<Core::Object>>(read.begin(), read.end()), clones}) {
        for (const Core::RefPtr<Core::Object>& object : list) {
            if (auto* widget = dynamic_cast<Tundra::GameObject*>(object.Get())) {
                widget->Destroy();
            }
        }
    }
    read = {};
    clones.clear();
    Frames(game, 2);
    fuzz::Check(Stage(game) != nullptr, "the stage went");
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    RunningStage();
    fuzz::AddStreamSeed(seeds, "centred", 0, {Find<CenteredText>("Centred")});
    fuzz::AddStreamSeed(seeds, "fading", 1, {Find<FadingText>("Fading")});
    fuzz::AddStreamSeed(seeds, "typing", 2, {Find<DialogText>("DialogText")});
    fuzz::AddStreamSeed(seeds, "warning", 3, {Find<DistanceUI>("DistanceUI")});
    fuzz::AddStreamSeed(seeds, "sun", 4, {Find<TitleSun>("Sun")});
}
