#include "Fuzz_GameDataFiles.h"
#include "Fuzz_GameFrames.h"
#include "Fuzz_RunningGame.h"

#include "input/Input_Mouse.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_MenuExit.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_VendingMachine.h"
#include "os/OS_HeadlessInput.h"
#include "support/MyGame_TestContent.h"
#include "support/Renderer_FakeTextureCache.h"
#include "support/Renderer_ManifestSizes.h"
#include "tundra/Tundra_FindObject.h"

#include <array>
#include <vector>

// The title level's menus read from a stream into the running title level
// of the test content: the first byte picks the class, the rest is read as
// a save writes objects. What reads joins its layer beside a clone of
// itself, plays and draws a few frames under a cursor that comes over it,
// presses and lets go (the mouse button and X), then is destroyed and let
// go of. The seeds are each class written by the title level with its menu
// open.
namespace {

using fuzz::Frames;

template <class T>
T* Find(const char* name) {
    return Tundra::FindObject<T>(name);
}

// How each class is read and the layer it lives in.
struct MenuClass {
    Core::RefPtr<Tundra::GameObject> (*read)(Core::File& file);
    bool inHud;
};

template <class T>
Core::RefPtr<Tundra::GameObject> ReadAs(Core::File& file) {
    return Core::RefPtr<Tundra::GameObject>(file.ReadObjectAs<T>(Core::File::Reference::Owning));
}

constexpr std::array kClasses{
    MenuClass{&ReadAs<VendingMachine>, false},
    MenuClass{&ReadAs<MenuExit>, false},
};

bool InTitle(MyGame& game) {
    return !game.IsLevelChangePending() && game.GetCurrentLevelIndex() == MyLevelFactory::kMenuLevel;
}

// The cursor over a client pixel from the next frame on.
void PointAt(MyGame& game, const Vector2D& client) {
    if (Input::Mouse* mouse = game.GetMouse()) {
        mouse->SetPosition(static_cast<std::int32_t>(client.x), static_cast<std::int32_t>(client.y));
    }
}

void HoldButtons(bool down) {
    os::headless::SetKey(os::VK_LBUTTON, down);
    os::headless::SetKey('X', down);
}

// The title level past its title screen: the player free, the sign past its
// opening.
MyGame& RunningTitle() {
    static MyGame* game = [] {
        static testsupport::FakeTextureCache textures;
        testsupport::SizeSheetsAsManifest(textures);
        fuzz::UseHarnessClock();
        fuzz::DataHome();
        auto content = std::make_unique<mygametest::TestContent>();
        mygametest::AddStageContent(*content);
        mygametest::AddTitleContent(*content);
        Core::RefPtr<MyGame> made = MakeGame(std::move(content));
        fuzz::Check(made != nullptr, "no game");
        made->AddReference();
        Frames(*made, 1);
        made->ChangeLevel(MyLevelFactory::kMenuLevel);
        for (int frame = 0; frame < 10 && !InTitle(*made); ++frame) {
            Frames(*made, 1);
        }
        fuzz::Check(InTitle(*made), "no title level");
        auto* player = Find<MenuPlayer>("Player");
        auto* sign = Find<MenuExit>("ExitSign");
        fuzz::Check(player != nullptr && sign != nullptr, "no player or sign");
        player->SetControlsOn(true);
        sign->SetCurrentAnimationIndex(MenuExit::kIdleAnimation, false);
        Frames(*made, 2);
        return made.Get();
    }();
    return *game;
}

// Where the cursor goes to reach the object: client pixels are world units
// in the title level, and the HUD's origin is the screen's centre.
Vector2D ClientPixelOver(const Tundra::GameObject& object, bool inHud) {
    return inHud ? object.GetPosition() + kHudCentre : object.GetPosition();
}

void Play(MyGame& game, const Vector2D& client) {
    PointAt(game, client);
    Frames(game, 1);
    HoldButtons(true);
    Frames(game, 1);
    HoldButtons(false);
    Frames(game, 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MyGame& game = RunningTitle();
    fuzz::ChoiceAndStream input(data, size);
    const MenuClass& chosen = kClasses[input.choice % kClasses.size()];
    std::array<Core::RefPtr<Core::Object>, 2> read = fuzz::ReadTwo(input.file, [&] { return chosen.read(input.file); });
    // The second reference may name the first object again: it joins once.
    if (read[1] == read[0]) {
        read[1] = nullptr;
    }
    std::vector<Core::RefPtr<Core::Object>> clones;
    Vector2D client = kHudCentre;
    for (const Core::RefPtr<Core::Object>& object : read) {
        if (auto* menu = dynamic_cast<Tundra::GameObject*>(object.Get())) {
            Tundra::Layer* layer = chosen.inHud ? game.GetHudLayer() : game.GetWorldLayer();
            clones.push_back(fuzz::JoinWithClone(*layer, *menu));
            client = ClientPixelOver(*menu, chosen.inHud);
        }
    }
    Play(game, client);
    for (const auto& list : {std::vector<Core::RefPtr<Core::Object>>(read.begin(), read.end()), clones}) {
        for (const Core::RefPtr<Core::Object>& object : list) {
            if (auto* menu = dynamic_cast<Tundra::GameObject*>(object.Get())) {
                menu->Destroy();
            }
        }
    }
    read = {};
    clones.clear();
    Frames(game, 2);
    fuzz::Check(InTitle(game), "the title level went");
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    MyGame& game = RunningTitle();
    auto* machine = Find<VendingMachine>("OptionsUI");
    fuzz::Check(machine != nullptr, "no machine");
    machine->OpenMenu();
    Frames(game, 2);
    fuzz::AddStreamSeed(seeds, "machine", 0, {machine});
    machine->CloseMenu();
    // The exit dialog opens under a press and release over the sign.
    auto* sign = Find<MenuExit>("ExitSign");
    Play(game, sign->GetPosition());
    fuzz::Check(sign->GetState() == MenuExit::kDialogOpen, "the exit dialog did not open");
    fuzz::AddStreamSeed(seeds, "exit", 1, {sign});
}
