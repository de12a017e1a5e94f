#include "Fuzz_GameDataFiles.h"
#include "Fuzz_GameFrames.h"
#include "Fuzz_RunningGame.h"

#include "input/Input_Mouse.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_LevelUI.h"
#include "mygame/MyGame_MenuExit.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_OptionsUI.h"
#include "mygame/MyGame_ShopTabs.h"
#include "mygame/MyGame_ShopUI.h"
#include "mygame/MyGame_VendingMachine.h"
#include "mygame/MyGame_WepSelButton.h"
#include "mygame/MyGame_WepSelUI.h"
#include "os/OS_HeadlessInput.h"
#include "support/MyGame_TestContent.h"
#include "support/Renderer_FakeTextureCache.h"
#include "support/Renderer_ManifestSizes.h"
#include "tundra/Tundra_FindObject.h"

#include <algorithm>
#include <array>
#include <cmath>
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
    MenuClass{&ReadAs<VendingMachine>, false}, MenuClass{&ReadAs<MenuExit>, false},
    MenuClass{&ReadAs<WepSelUI>, true},        MenuClass{&ReadAs<ShopUI>, false},
    MenuClass{&ReadAs<ShopTabs>, true},        MenuClass{&ReadAs<LevelUI>, false},
    MenuClass{&ReadAs<OptionsUI>, false},      MenuClass{&ReadAs<WepSelButton>, true},
};

bool InTitle(MyGame& game) {
    return !game.IsLevelChangePending() && game.GetCurrentLevelIndex() == MyLevelFactory::kMenuLevel;
}

// The cursor over a client pixel from the next frame on; a read position
// may lie anywhere, the cursor stays in the 1024 x 768 window.
void PointAt(MyGame& game, const Vector2D& client) {
    const auto inWindow = [](float value, float size) {
        return static_cast<std::int32_t>(std::isfinite(value) ? std::clamp(value, 0.0f, size - 1.0f) : 0.0f);
    };
    if (Input::Mouse* mouse = game.GetMouse()) {
        mouse->SetPosition(inWindow(client.x, 1024.0f), inWindow(client.y, 768.0f));
    }
}

// The left mouse button, and X with it when asked.
void HoldButtons(bool down, bool withX) {
    os::headless::SetKey(os::VK_LBUTTON, down);
    os::headless::SetKey('X', down && withX);
}

// The title level entered: the player free, every weapon unlocked (so that
// the weapon panel offers some), the sign past its opening.
void EnterTitle(MyGame& game) {
    game.ChangeLevel(MyLevelFactory::kMenuLevel);
    for (int frame = 0; frame < 10 && !InTitle(game); ++frame) {
        Frames(game, 1);
    }
    fuzz::Check(InTitle(game), "no title level");
    auto* player = Find<MenuPlayer>("Player");
    auto* sign = Find<MenuExit>("ExitSign");
    fuzz::Check(player != nullptr && sign != nullptr, "no player or sign");
    player->SetControlsOn(true);
    game.GetProfile().unlockedWeapons = 15;
    sign->SetCurrentAnimationIndex(MenuExit::kIdleAnimation, false);
    Frames(game, 2);
}

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
        EnterTitle(*made);
        return made.Get();
    }();
    return *game;
}

// Where the cursor goes to reach the object: client pixels are world units
// in the title level, and the HUD's origin is the screen's centre.
Vector2D ClientPixelOver(const Tundra::GameObject& object, bool inHud) {
    return inHud ? object.GetPosition() + kHudCentre : object.GetPosition();
}

// The cursor comes over the client pixel, the button goes down and up.
void Play(MyGame& game, const Vector2D& client, bool withX = false) {
    PointAt(game, client);
    Frames(game, 1);
    HoldButtons(true, withX);
    Frames(game, 1);
    HoldButtons(false, withX);
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
    Play(game, client, true);
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
    // A read menu's own buttons may have left the level ("Play", "Reset
    // Save"): the next input finds the title again.
    if (!InTitle(game)) {
        EnterTitle(game);
    }
    return 0;
}

// The machine opened with the player in front of it, laid out over a few
// frames (the title screen lets the player sink: it is put back each frame).
template <class Machine>
Machine& OpenMachine(MyGame& game, const char* name) {
    auto* machine = Find<Machine>(name);
    auto* player = Find<MenuPlayer>("Player");
    fuzz::Check(machine != nullptr && player != nullptr, "no machine");
    machine->OpenMenu();
    for (int frame = 0; frame < 3; ++frame) {
        player->SetPosition(machine->GetPosition());
        Frames(game, 1);
    }
    fuzz::Check(machine->IsOpen(), "the machine did not open");
    return *machine;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    MyGame& game = RunningTitle();
    // The exit dialog opens under a press and release over the sign.
    auto* sign = Find<MenuExit>("ExitSign");
    Play(game, sign->GetPosition());
    fuzz::Check(sign->GetState() == MenuExit::kDialogOpen, "the exit dialog did not open");
    fuzz::AddStreamSeed(seeds, "exit", 1, {sign});
    Play(game, kHudCentre + Vector2D{0.0f, -65.0f});

    auto& options = OpenMachine<OptionsUI>(game, "OptionsUI");
    fuzz::AddStreamSeed(seeds, "options", 6, {&options});
    options.CloseMenu();
    auto& levels = OpenMachine<LevelUI>(game, "LevelSelUI");
    fuzz::AddStreamSeed(seeds, "levels", 5, {&levels});
    fuzz::AddStreamSeed(seeds, "machine", 0, {&levels});
    levels.CloseMenu();

    auto& shop = OpenMachine<ShopUI>(game, "ShopUI");
    fuzz::Check(!shop.GetTabs().empty() && shop.GetWeaponPanel() != nullptr, "no shop page");
    fuzz::AddStreamSeed(seeds, "shop", 3, {&shop});
    fuzz::AddStreamSeed(seeds, "tab", 4, {shop.GetTabs()[0].Get()});
    // The right hand's column open beside it.
    WepSelUI& panel = *shop.GetWeaponPanel();
    Play(game, panel.GetRightIcon()->GetPosition() + kHudCentre);
    Frames(game, 2);
    fuzz::Check(!panel.GetCandidates().empty(), "no weapon column");
    fuzz::AddStreamSeed(seeds, "panel", 2, {&panel});
    fuzz::AddStreamSeed(seeds, "weapon", 7, {panel.GetCandidates()[0].Get()});
}
